// Opens arbitrary bytes as a Matlab v4 file and reads every name, and every
// name with its companion suffix removed, as every variable type: the readers
// must turn any stored shape into a value or a report, never a crash, a read
// out of range or an allocation the file does not back.
#include <string>

#include "QXFuzzStorage.h"
#include "QXMatlabDataFile.h"
#include "QXSource.h"

namespace {

template <class... Types>
void ReadAsEach(const QXDataStorage& storage, const std::string& name) {
  (
      [&] {
        Types value;
        ReadFromFile(storage, name, value);
      }(),
      ...);
}

void ReadAsEveryType(const QXDataStorage& storage, const std::string& name) {
  ReadAsEach<QXPoint2D, QXPoint2DValue, QXPoint3D, QXPoint3DValue, QXVector3D, QXRegion1D,
             QXRegion2D, QXRegion3D, QXShiftScale2D, QXShiftScale3D, QXPlane3D,
             QXCoordinatePlane3D, QXPointCollection2D, QXPointValueCollection2D,
             QXVectorCollection2D, QXPointCollection3D, QXPointValueCollection3D,
             QXAtomCollection3D, QXMask, QXMesh1DGrid, QXMesh2DGrid, QXMesh2D>(storage, name);
}

// The name a companion entry belongs to: "mesh_dom_dim" gives "mesh_dom" and
// "mesh", so the readers meet the companions the file holds.
void ReadWithOwners(const QXDataStorage& storage, const std::string& name) {
  ReadAsEveryType(storage, name);
  std::string owner = name;
  for (int level = 0; level < 2; level++) {
    const size_t cut = owner.rfind('_');
    if (cut == std::string::npos || cut == 0) return;
    owner.erase(cut);
    ReadAsEveryType(storage, owner);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/qxfuzz_variables_" + std::to_string(static_cast<long>(getpid())) + ".mat";
  if (!QXFuzzWriteInput(path, data, size)) return 0;
  {
    const QXMatlabDataFile storage(path, QXFile::ReadOnly);
    const QXList<std::string> names = storage.AllVariableNames();
    for (int i = 0; i < names.Length(); i++) ReadWithOwners(storage, names(i));
  }
  std::remove(path.c_str());
  QXClearErrorList();
  return 0;
}
