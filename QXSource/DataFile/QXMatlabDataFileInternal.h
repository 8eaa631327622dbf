// The index and the shared state behind QXMatlabDataFile handles. Only the
// storage and its tests include this header.
#ifndef QXMATLABDATAFILEINTERNAL_H
#define QXMATLABDATAFILEINTERNAL_H

#include <cstdint>
#include <map>
#include <string>

#include "QXFile.h"

// A record's 20-byte header: five signed 32-bit integers in file order.
struct FMatrix {
  int32_t type;  // M*1000 + O*100 + P*10 + T: byte order, element type, text flag
  int32_t mrows;
  int32_t ncols;
  int32_t imagf;    // written as 0, not used on reading
  int32_t namelen;  // the name field's length, its terminating 0 byte included
};

// One indexed record.
struct QXMatlabDataEntry {
  // The header in host order, with the byte-order digit removed from type.
  FMatrix Fmtrx = {0, 0, 0, 0, 0};
  // Offset of the record's header in the file; -1 stands for no record.
  long location = -1;
};

// The state that every copy of one storage handle shares.
struct QXMatlabDataFileContent {
  explicit QXMatlabDataFileContent(const QXFile& file) : file(file) {}

  // The file's byte order differs from the machine's; found while indexing.
  bool needToSwapEndian = false;
  // The handles sharing this content.
  int referenceCount = 1;
  // Name to record, in byte-wise order of the names.
  std::map<std::string, QXMatlabDataEntry> content;
  QXFile file;
  // Where a record cut short at the end of the file begins (a save that did
  // not finish), or -1. The first save removes it, so that the records
  // appended after it stay readable when the file is opened again.
  long partialTail = -1;
};

// One line of the listing: the record's file offset and its text.
struct QXMatlabDataFilePosString {
  long pos;
  std::string description;

  bool operator<(const QXMatlabDataFilePosString& other) const { return pos < other.pos; }
};

#endif
