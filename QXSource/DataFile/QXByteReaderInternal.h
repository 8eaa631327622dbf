// A sequential reader for walking a file's records: it reads ahead in large
// blocks, skips small gaps inside its buffer and jumps across large ones, and
// never reads past the length it was given. The file parsers use it to index
// a file with a handful of system calls however many records it has.
//
//   QXByteReader reader(file, file.Size(), 0);
//   while (const unsigned char* header = reader.Next(20)) { ...; reader.Skip(dataBytes); }
//
// It reads with positioned reads, so the file's stream position is untouched.
#ifndef QXBYTEREADERINTERNAL_H
#define QXBYTEREADERINTERNAL_H

#include <cstddef>
#include <vector>

#include "QXFile.h"

class QXByteReader {
 public:
  // Reads the file from offset on; length is where the data end.
  QXByteReader(const QXFile& file, long length, long offset);

  // The offset of the next byte to be read.
  long Position() const { return bufferStart + static_cast<long>(cursor); }
  // The bytes from Position() to the end.
  long Remaining() const { return length - Position(); }

  // The next count bytes, valid until the reader is used again, and advances
  // past them. When fewer remain, or the file delivers fewer, returns null
  // and leaves the position unchanged.
  const unsigned char* Next(size_t count);
  // Advances count bytes; returns false, without moving, when that would pass
  // the end or count is negative.
  bool Skip(long long count);

 private:
  // Makes at least count bytes available at the cursor; false if it cannot.
  bool Fill(size_t count);

  const QXFile& file;
  long length;
  long bufferStart;  // file offset of buffer[0]
  size_t cursor;     // index of the next byte in buffer
  size_t filled;     // bytes of buffer that hold file data
  std::vector<unsigned char> buffer;
};

#endif
