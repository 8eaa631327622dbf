// Helpers for the Matlab v4 file tests: MAT records written byte by byte in
// either byte order, and temporary files that remove themselves.
#ifndef QXMATLABFILEBYTES_H
#define QXMATLABFILEBYTES_H

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "QXDataStorage.h"

// Builds the bytes of a MAT v4 file in the chosen byte order.
class QXMatBytes {
 public:
  explicit QXMatBytes(bool bigEndian) : bigEndian(bigEndian) {}

  // Appends one value in the builder's byte order.
  template <class T>
  QXMatBytes& Put(T value) {
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    if (bigEndian != QXDataStorage::RunningOnBigEndianMachine()) std::reverse(raw, raw + sizeof(T));
    bytes.append(reinterpret_cast<const char*>(raw), sizeof(T));
    return *this;
  }
  // A header whose type gets the byte-order digit of the builder's order.
  QXMatBytes& Header(int32_t type, int32_t mrows, int32_t ncols, int32_t namelen) {
    return Put<int32_t>(type + (bigEndian ? 1000 : 0))
        .Put<int32_t>(mrows)
        .Put<int32_t>(ncols)
        .Put<int32_t>(0)
        .Put<int32_t>(namelen);
  }
  QXMatBytes& Name(const std::string& name) {
    bytes += name;
    bytes += '\0';
    return *this;
  }
  // A whole record: header, name and the values in column-major order.
  template <class T>
  QXMatBytes& Record(int32_t type, int32_t mrows, int32_t ncols, const std::string& name,
                     const std::vector<T>& values) {
    Header(type, mrows, ncols, static_cast<int32_t>(name.size() + 1)).Name(name);
    for (T v : values) Put<T>(v);
    return *this;
  }
  QXMatBytes& Text(const std::string& name, const std::string& text) {
    Header(51, static_cast<int32_t>(text.size()), 1, static_cast<int32_t>(name.size() + 1))
        .Name(name);
    bytes += text;
    return *this;
  }

  bool bigEndian;
  std::string bytes;
};

// A path under the temporary folder, unique in this process; the file is
// removed when the object goes.
class QXTempPath {
 public:
  explicit QXTempPath(const std::string& stem, const std::string& extension = ".mat") {
    static int counter = 0;
    path = "/tmp/qx_" + stem + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++) +
           extension;
    std::remove(path.c_str());
  }
  ~QXTempPath() { std::remove(path.c_str()); }
  QXTempPath(const QXTempPath&) = delete;
  QXTempPath& operator=(const QXTempPath&) = delete;

  void Write(const std::string& bytes) const {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  std::string Read() const {
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
  }

  std::string path;
};

#endif
