// A sequential reader for walking a file's records: it reads ahead in large
// blocks, skips small gaps inside its buffer and seeks only across large
// ones, and never reads past the length it was given. The file parsers use it
// to index a file with a handful of system calls however many records it has.
//
//   QXByteReader reader(file.GetFILE(), file.Length(), 0);
//   unsigned char header[20];
//   while (reader.Read(header, sizeof header)) { ...; reader.Skip(dataBytes); }
//
// The reader moves the stream's position as it likes: callers set the
// position themselves before using the stream directly again.
#ifndef QXBYTEREADER_H
#define QXBYTEREADER_H

#include <cstddef>
#include <cstdio>
#include <vector>

class QXByteReader {
 public:
  // Reads the stream from offset on; streamLength is where the data end.
  QXByteReader(FILE* stream, long streamLength, long offset);

  // The offset of the next byte to be read.
  long Position() const { return bufferStart + static_cast<long>(cursor); }
  // The bytes from Position() to the end.
  long Remaining() const { return streamLength - Position(); }

  // Copies the next count bytes and advances. When fewer remain, or the
  // stream delivers fewer, returns false and leaves the position unchanged.
  bool Read(void* destination, size_t count);
  // Advances count bytes; returns false, without moving, when that would pass
  // the end or count is negative.
  bool Skip(long long count);

 private:
  // Makes at least count bytes available at the cursor; false if it cannot.
  bool Fill(size_t count);

  FILE* stream;
  long streamLength;
  long bufferStart;  // file offset of buffer[0]
  size_t cursor;     // index of the next byte in buffer
  size_t filled;     // bytes of buffer that hold file data
  std::vector<unsigned char> buffer;
};

#endif
