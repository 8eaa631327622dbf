// The pieces behind QXDataFile: the shared content with its index, one index
// entry, the entry header as it lies in the file, and a listing line. Only
// the storage includes this header.
//
// An entry in the file is a 28-byte big-endian header (block length as a
// signed 64-bit value; type, m, n, o and name length as unsigned 32-bit
// values), the name with a zero byte, then the data, big-endian element by
// element.
#ifndef QXDATAFILEINTERNAL_H
#define QXDATAFILEINTERNAL_H

#include <cstdint>
#include <string>
#include <vector>

#include "QXFile.h"
#include "QXStorageInternal.h"

// Where one variable's data lie in the file, and what they are.
struct QXDataEntry {
  QXDataEntry() = default;
  QXDataEntry(int m, int n, int o, int type, long location)
      : m(m), n(n), o(o), type(type), location(location) {}

  int m = 0;
  int n = 0;
  int o = 0;
  int type = 0;
  // File offset of the first data byte; -1 for an entry that was not found.
  long location = -1;
  // Where the index keeps the data of a small entry, or -1.
  int64_t small = -1;
};

// An entry header in memory, in the machine's byte order.
struct QXDataFileStructure {
  static constexpr int kEncodedSize = 28;

  QXDataFileStructure() = default;
  QXDataFileStructure(uint32_t m, uint32_t n, uint32_t o, int64_t blockLength, uint32_t type,
                      uint32_t nameLength)
      : blockLength(blockLength), type(type), m(m), n(n), o(o), nameLength(nameLength) {}

  // The 28 bytes of the header as the file holds them (big-endian).
  void Encode(unsigned char bytes[kEncodedSize]) const;
  static QXDataFileStructure Decode(const unsigned char bytes[kEncodedSize]);

  int64_t blockLength = 0;
  uint32_t type = 0;
  uint32_t m = 0;
  uint32_t n = 0;
  uint32_t o = 0;
  uint32_t nameLength = 0;
};

// One line of the listing; lines are put in file order by their data offset.
struct QXDataFilePosString {
  long pos = 0;
  std::string description;

  bool operator<(const QXDataFilePosString& other) const { return pos < other.pos; }
};

// The content shared by every copy of one QXDataFile.
struct QXDataFileContent {
  explicit QXDataFileContent(const QXFile& file) : file(file) {}

  int referenceCount = 1;
  // Name to entry.
  QXStorageIndex<QXDataEntry> content;
  QXFile file;
  // Where saves append, and what the walk found where it stopped.
  QXAppendState tail;
};

// The type codes of the file format.
enum QXDataFileTypeCode {
  QXDataFileDouble = 1,
  QXDataFileFloat = 2,
  QXDataFileInt = 8,
  QXDataFileUShortInt = 9,
  QXDataFileShortInt = 10,
  QXDataFileUChar = 11,
  QXDataFileChar = 12,
  QXDataFileString = 20
};

#endif
