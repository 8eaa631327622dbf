#include "QXByteReaderInternal.h"

#include <cstring>

namespace {

// Large enough that a walk over small records costs few reads, small enough
// to stay in cache.
constexpr size_t kBufferSize = size_t{64} << 10;

}  // namespace

QXByteReader::QXByteReader(const QXFile& file, long length, long offset)
    : file(file),
      length(length < 0 ? 0 : length),
      bufferStart(offset < 0 ? 0 : offset),
      cursor(0),
      filled(0),
      buffer(kBufferSize) {}

const unsigned char* QXByteReader::Next(size_t count) {
  const long remaining = Remaining();
  if (remaining < 0 || count > static_cast<unsigned long>(remaining)) return nullptr;
  if (!Fill(count)) return nullptr;
  const unsigned char* bytes = buffer.data() + cursor;
  cursor += count;
  return bytes;
}

bool QXByteReader::Skip(long long count) {
  if (count < 0 || count > Remaining()) return false;
  if (count <= static_cast<long long>(filled - cursor)) {
    cursor += static_cast<size_t>(count);
    return true;
  }
  // Beyond the buffer: drop it and start again at the new offset.
  bufferStart = Position() + static_cast<long>(count);
  cursor = 0;
  filled = 0;
  return true;
}

bool QXByteReader::Fill(size_t count) {
  if (filled - cursor >= count) return true;
  // Keep the unread bytes, move them to the front and read after them.
  const size_t kept = filled - cursor;
  std::memmove(buffer.data(), buffer.data() + cursor, kept);
  bufferStart += static_cast<long>(cursor);
  cursor = 0;
  filled = kept;
  if (buffer.size() < count) buffer.resize(count);
  const long readFrom = bufferStart + static_cast<long>(filled);
  const size_t room = buffer.size() - filled;
  const size_t wanted = static_cast<size_t>(length - readFrom);
  const long got = file.ReadSomeAt(readFrom, buffer.data() + filled, wanted < room ? wanted : room);
  if (got > 0) filled += static_cast<size_t>(got);
  return filled >= count;
}
