// Helpers for the data file tests: Matlab v4 records written byte by byte in
// either byte order, the names and sizes a storage holds, and listing lines.
#ifndef QXMATLABFILEBYTES_H
#define QXMATLABFILEBYTES_H

#include <cstdint>
#include <string>
#include <vector>

#include "QXDataStorage.h"
#include "QXArrayValues.h"
#include "QXReportingTest.h"

using Texts = std::vector<std::string>;

// The machine's byte order, from the compiler: the library's own answer is
// what the byte-exact tests check.
constexpr bool kBigEndianMachine = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

// The bytes of a MAT v4 file in the chosen byte order.
struct QXMatBytes {
  bool bigEndian;
  std::string bytes = std::string();

  template <class T>
  QXMatBytes& Put(T value) {
    const std::string raw(reinterpret_cast<const char*>(&value), sizeof(T));
    const bool swap = bigEndian != kBigEndianMachine;
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

inline std::vector<int> SizeOf(const QXDataStorage& s, const std::string& name) {
  return SizeOf(s.ReadDoubleArray(name));
}

inline Texts Names(const QXDataStorage& s) {
  const QXList<std::string> list = s.AllVariableNames();
  Texts names;
  for (int i = 0; i < list.Length(); i++) names.push_back(list(i));
  return names;
}

// A listing line: the name, dots up to the type column, then the rest.
inline std::string Line(const std::string& name, const std::string& rest) {
  return name + " " + std::string(29 - name.size(), '.') + " - " + rest + "\n";
}
// The heading of a storage's listing, with the count of entries if the file gives it.
inline std::string Heading(const std::string& path, const std::string& count = "") {
  const std::string rule(64, '-'), counted = count.empty() ? "" : " (" + count + " )";
  return rule + "\nContent of \"" + path + "\"" + counted + "\n" + rule + "\n";
}

#endif
