// Opens arbitrary bytes as a binary data file and performs every read on every
// indexed name, a read of a missing name, and the listing.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "QXDataFile.h"
#include "QXError.h"

namespace {

std::string InputPath() {
  static const std::string path =
      "/tmp/qxdatafile_fuzz_" + std::to_string(static_cast<long>(getpid())) + ".vbf";
  return path;
}

bool WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(data, 1, size, out) == size;
  return std::fclose(out) == 0 && written;
}

void ReadEverything(const QXDataFile& file, const std::string& name) {
  file.ReadDoubleArray(name);
  file.ReadFloatArray(name);
  file.ReadIntArray(name);
  file.ReadCharArray(name);
  file.ReadUCharArray(name);
  file.ReadShortIntArray(name);
  file.ReadUShortIntArray(name);
  file.ReadString(name);
  file.ReadNumber(name);
  file.ReadInt(name);
  file.SavedAsDouble(name);
  file.SavedAsString(name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = InputPath();
  if (!WriteInput(path, data, size)) return 0;
  {
    QXDataFile file(path, QXFile::ReadOnly);
    const QXList<std::string> names = file.AllVariableNames();
    for (int i = 0; i < names.Length(); i++) ReadEverything(file, names(i));
    ReadEverything(file, "no such variable");
    file.printInfo();
  }
  std::remove(path.c_str());
  // The error list is process-wide; without this it grows with every input.
  QXErrorList().clear();
  return 0;
}
