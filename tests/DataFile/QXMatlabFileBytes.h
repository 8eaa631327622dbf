// Helpers for the data file tests: Matlab v4 records written byte by byte in
// either byte order, arrays from value lists and as text, and the eight reads
// of a name.
#ifndef QXMATLABFILEBYTES_H
#define QXMATLABFILEBYTES_H

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "QXDataStorage.h"
#include "QXTestSupport.h"

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

// "m n o: elements; " of an array.
template <class T>
std::string Text(const QXArray<T>& A) {
  std::ostringstream text;
  text << A.m() << ' ' << A.n() << ' ' << A.o() << ':';
  for (int i = 0; i < A.Length(); i++) text << ' ' << +A(i);
  return text.str() + "; ";
}

inline std::string Dots(int count) { return std::string(count, '.'); }
// A listing line: the name, dots up to the type column, then the rest.
inline std::string Line(const std::string& name, const std::string& rest) {
  return name + " " + Dots(29 - int(name.size())) + " - " + rest + "\n";
}
// The heading of a storage's listing, with the count of entries if the file gives it.
inline std::string Heading(const std::string& path, const std::string& count = "") {
  const std::string rule(64, '-'), counted = count.empty() ? "" : " (" + count + " )";
  return rule + "\nContent of \"" + path + "\"" + counted + "\n" + rule + "\n";
}

// A storage's listing.
inline std::string Listing(const QXDataStorage& s) {
  return Captured([&] { s.pinfo(); }).stderrText;
}

using Texts = std::vector<std::string>;
// The operations of the eight reads that ReadAll runs, in its order.
const Texts kReads = {"dataFile.ReadDoubleArray(name)",    "dataFile.ReadFloatArray(name)",
                      "dataFile.ReadIntArray(name)",       "dataFile.ReadUCharArray(name)",
                      "dataFile.ReadCharArray(name)",      "dataFile.ReadShortIntArray(name)",
                      "dataFile.ReadUShortIntArray(name)", "dataFile.ReadString(name)"};

// Each of the eight reads' operation followed by the same message.
inline Texts EveryRead(const std::string& message) {
  Texts reports;
  for (const std::string& read : kReads) reports.push_back(read + message);
  return reports;
}

// The reports of the eight reads of a name; each array read must give `length`
// elements, the two byte reads `bytes` if that is given.
inline Texts ReadAll(const QXDataStorage& s, const std::string& name, int length, int bytes = -1) {
  const int byteLength = bytes < 0 ? length : bytes;
  return Captured([&] {
           for (auto [got, expected] : {std::pair{s.ReadDoubleArray(name).Length(), length},
                                        {s.ReadFloatArray(name).Length(), length},
                                        {s.ReadIntArray(name).Length(), length},
                                        {s.ReadUCharArray(name).Length(), byteLength},
                                        {s.ReadCharArray(name).Length(), byteLength},
                                        {s.ReadShortIntArray(name).Length(), length},
                                        {s.ReadUShortIntArray(name).Length(), length}})
             EXPECT_EQ(got, expected) << name;
           s.ReadString(name);
         })
      .errors;
}

#endif
