// The index and the shared state behind QXMatlabDataFile handles. Only the
// storage includes this header.
#ifndef QXMATLABDATAFILEINTERNAL_H
#define QXMATLABDATAFILEINTERNAL_H

#include <cstdint>
#include <string>
#include <vector>

#include "QXFile.h"
#include "QXStorageInternal.h"

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
  // Where the index keeps the data of a small record, or -1.
  int64_t small = -1;
};

// The state that every copy of one storage handle shares.
struct QXMatlabDataFileContent {
  explicit QXMatlabDataFileContent(const QXFile& file) : file(file) {}

  // The file's byte order differs from the machine's; found while indexing.
  bool needToSwapEndian = false;
  // The handles sharing this content.
  int referenceCount = 1;
  // Name to record.
  QXStorageIndex<QXMatlabDataEntry> content;
  QXFile file;
  // Where saves append, and what the walk found where it stopped.
  QXAppendState tail;
  // How many names end in "_3D": while none does, no read looks for a companion.
  int companions = 0;
};

// A record about to be appended: its header, name and data go to the writer
// at once; the index learns of it only once the write has succeeded.
struct QXMatlabPendingRecord {
  std::string name;
  QXMatlabDataEntry entry;
  std::vector<unsigned char> smallData;  // the data as in the file, when small
};

// One line of the listing: the record's file offset and its text.
struct QXMatlabDataFilePosString {
  long pos;
  std::string description;

  bool operator<(const QXMatlabDataFilePosString& other) const { return pos < other.pos; }
};

#endif
