// Helpers for the Matlab v4 file tests: records written byte by byte in
// either byte order, arrays from value lists, and temporary files that
// remove themselves.
#ifndef QXMATLABFILEBYTES_H
#define QXMATLABFILEBYTES_H

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "QXDataStorage.h"

// The bytes of a MAT v4 file in the chosen byte order.
struct QXMatBytes {
  bool bigEndian;
  std::string bytes = std::string();

  template <class T>
  QXMatBytes& Put(T value) {
    const std::string raw(reinterpret_cast<const char*>(&value), sizeof(T));
    const bool swap = bigEndian != QXDataStorage::RunningOnBigEndianMachine();
    bytes += swap ? std::string(raw.rbegin(), raw.rend()) : raw;
    return *this;
  }
  // A header, its type given the byte-order digit, then the name field as is.
  QXMatBytes& Header(int32_t type, int32_t mrows, int32_t ncols, int32_t namelen,
                     const std::string& field) {
    for (int32_t value : {type + (bigEndian ? 1000 : 0), mrows, ncols, 0, namelen}) Put(value);
    bytes += field;
    return *this;
  }
  // A whole record: header, name and the values in column-major order.
  template <class T>
  QXMatBytes& Record(int32_t type, int32_t mrows, int32_t ncols, const std::string& name,
                     const std::vector<T>& values) {
    Header(type, mrows, ncols, static_cast<int32_t>(name.size() + 1), name + '\0');
    for (T value : values) Put(value);
    return *this;
  }
  QXMatBytes& Text(const std::string& name, const std::string& text) {
    return Record<char>(51, static_cast<int32_t>(text.size()), 1, name, {text.begin(), text.end()});
  }
};

template <class T>
QXMutableArray<T> MakeArray(int m, int n, int o, const std::vector<T>& values) {
  QXMutableArray<T> A(m, n, o);
  std::copy(values.begin(), values.end(), A.Pointer());
  return A;
}

// A path under /tmp, unique in this process; the file goes with the object.
struct QXTempPath {
  explicit QXTempPath(const std::string& stem, const std::string& extension = ".mat") {
    static int counter = 0;
    path = "/tmp/qx_" + stem + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++) +
           extension;
  }
  ~QXTempPath() { std::remove(path.c_str()); }

  void Write(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
  std::string Read() const {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string path;
};

#endif
