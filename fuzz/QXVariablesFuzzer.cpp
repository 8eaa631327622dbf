// Opens arbitrary bytes as a Matlab v4 file and reads every name, and every
// name with its companion suffix removed, as every variable type, then walks
// what was read: the readers must turn any stored shape into a value or a
// report, and no value read may make a walk crash, read out of range, run
// forever or allocate what the file does not back.
#include <string>

#include "QXFuzzStorage.h"
#include "QXMatlabDataFile.h"
#include "QXSource.h"

namespace {

// The walks over a value beyond its reader's own checks; nothing for the
// types whose reader already walks everything it keeps.
template <class T>
void Use(const T&) {}

void Use(const QXBitmap2D& bitmap) { ConvertTo8Bits(bitmap); }

void Use(const QXPath2D& path) {
  BoundingBox(path);
  path.NumberOfLoops();
  const QXMutableDoubleArray values(path.NumberOfPoints(), 1, 1);
  Combine(path, values);
}

void Use(const QXPath2DValues& path) {
  BoundingBox(path);
  ValueRange(path);
  path.NumberOfPoints();
  path.NumberOfLoops();
}

void Use(const QXPath3D& path) { BoundingBox(path); }

void Use(const QXPath3DValues& path) {
  BoundingBox(path);
  ValueRange(path);
}

void Use(const QXPlot1D& plot) {
  BoundingRange(plot);
  ValueRange(plot);
  plot.UniformlySpaced();
  plot.XValues();
}

void Use(const QXSurface3D& surface) { BoundingBox(surface); }

void Use(const QXTetrahedralGrid3D& grid) { BoundingBox(grid); }

void Use(const QXTriangularGrid2D& grid) { BoundingBox(grid); }

void Use(const QXSurfaceValues3D& surface) {
  BoundingBox(surface);
  ValueRange(surface);
}

void Use(const QXTetrahedralMesh3D& mesh) {
  BoundingBox(mesh);
  ValueRange(mesh);
}

void Use(const QXTetrahedralVectorField3D& field) { BoundingBox(field); }

void Use(const QXTriangularMesh2D& mesh) {
  BoundingBox(mesh);
  ValueRange(mesh);
}

// Full coordinate arrays are made only for grids of up to this many points:
// a grid of a few stored numbers may span 2^31 - 1 points, and its full
// arrays are an allocation the caller asks for, not one the file claims.
constexpr long long kLargestFullGrid = 1 << 20;

void Use(const QXStructuredGrid2D& grid) {
  BoundingBox(grid);
  if (static_cast<long long>(grid.m()) * grid.n() > kLargestFullGrid) return;
  grid.FullXArray();
  grid.FullYArray();
}

void Use(const QXStructuredGrid3D& grid) {
  BoundingBox(grid);
  if (static_cast<long long>(grid.m()) * grid.n() * grid.o() > kLargestFullGrid) return;
  grid.FullXArray();
  grid.FullYArray();
  grid.FullZArray();
}

void Use(const QXStructuredMesh2D& mesh) {
  Use(mesh.Grid());
  ValueRange(mesh);
}

void Use(const QXMesh3D& mesh) {
  BoundingBox(mesh);
  ValueRange(mesh);
}

void Use(const QXVectorField2D& field) { BoundingBox(field); }

void Use(const QXVectorField3D& field) { BoundingBox(field); }

template <class... Types>
void ReadAsEach(const QXDataStorage& storage, const std::string& name) {
  (
      [&] {
        Types value;
        ReadFromFile(storage, name, value);
        Use(value);
      }(),
      ...);
}

void ReadAsEveryType(const QXDataStorage& storage, const std::string& name) {
  ReadAsEach<QXPoint2D, QXPoint2DValue, QXPoint3D, QXPoint3DValue, QXVector3D, QXRegion1D,
             QXRegion2D, QXRegion3D, QXShiftScale2D, QXShiftScale3D, QXPlane3D, QXCoordinatePlane3D,
             QXPointCollection2D, QXPointValueCollection2D, QXVectorCollection2D,
             QXPointCollection3D, QXPointValueCollection3D, QXAtomCollection3D, QXMask,
             QXMesh1DGrid, QXMesh2DGrid, QXMesh2D, QXBitmap2D, QXPath2D, QXPath2DValues, QXPath3D,
             QXPath3DValues, QXPlot1D, QXSurface3D, QXSurfaceValues3D, QXTetrahedralGrid3D,
             QXTetrahedralMesh3D, QXTetrahedralVectorField3D, QXTriangularGrid2D,
             QXTriangularMesh2D, QXStructuredGrid2D, QXStructuredGrid3D, QXStructuredMesh2D,
             QXMesh3DGrid, QXMesh3D, QXVectorField2D, QXVectorField3D>(storage, name);
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
  static const std::string path =
      "/tmp/qxfuzz_variables_" + std::to_string(static_cast<long>(getpid())) + ".mat";
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
