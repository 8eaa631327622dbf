// What every storage fuzz target does with its input: write the bytes to a
// file, open it read-only as the storage, perform every read on every indexed
// name and on a few missing ones, and write the listing; then save into it
// and read the saves back.
#ifndef QXFUZZSTORAGE_H
#define QXFUZZSTORAGE_H

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "QXDataStorage.h"
#include "QXError.h"
#include "QXFile.h"

inline bool QXFuzzWriteInput(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(data, 1, size, out) == size;
  return std::fclose(out) == 0 && written;
}

inline void QXFuzzReadEverything(const QXDataStorage& storage, const std::string& name) {
  storage.ReadDoubleArray(name);
  storage.ReadFloatArray(name);
  storage.ReadIntArray(name);
  storage.ReadCharArray(name);
  storage.ReadUCharArray(name);
  storage.ReadShortIntArray(name);
  storage.ReadUShortIntArray(name);
  storage.ReadString(name);
  storage.ReadNumber(name);
  storage.ReadInt(name);
  storage.SavedAsDouble(name);
  storage.SavedAsString(name);
  storage.ResolveName(name);
}

// report(storage) runs on the read-only storage after the reads.
template <class Storage, class Report>
int QXFuzzStorage(const uint8_t* data, size_t size, const char* fileSuffix, Report report) {
  static const std::string path =
      "/tmp/qxfuzz_" + std::to_string(static_cast<long>(getpid())) + fileSuffix;
  if (!QXFuzzWriteInput(path, data, size)) return 0;
  {
    Storage storage(path, QXFile::ReadOnly);
    const QXList<std::string> names = storage.AllVariableNames();
    for (int i = 0; i < names.Length(); i++) QXFuzzReadEverything(storage, names(i));
    for (const char* missing : {"", "no such variable", "A_3D"})
      QXFuzzReadEverything(storage, missing);
    storage.pinfo();
    report(storage);
  }
  // Saves into the same bytes: the tail check and the appends must hold on
  // any file, and what they save must read back.
  {
    Storage storage(path, QXFile::ExistingReadWrite);
    storage.Save(2.5, "fuzz number");
    QXMutableDoubleArray volume(2, 1, 2);
    volume = 1.0;
    storage.Save(volume, "A");
    storage.Save(std::string("text"), "A");
    QXFuzzReadEverything(storage, "A");
    QXFuzzReadEverything(storage, "fuzz number");
  }
  {
    Storage storage(path, QXFile::ReadOnly);
    QXFuzzReadEverything(storage, "fuzz number");
  }
  std::remove(path.c_str());
  // The error list is process-wide; without this it grows with every input.
  QXClearErrorList();
  return 0;
}

#endif
