#include "QXByteReader.h"

#include <cstring>

namespace {

// Large enough that a walk over small records costs few reads, small enough
// to stay in cache.
constexpr size_t kBufferSize = size_t(64) << 10;

}  // namespace

QXByteReader::QXByteReader(FILE* stream, long streamLength, long offset)
    : stream(stream),
      streamLength(streamLength < 0 ? 0 : streamLength),
      bufferStart(offset < 0 ? 0 : offset),
      cursor(0),
      filled(0),
      buffer(kBufferSize) {}

bool QXByteReader::Read(void* destination, size_t count) {
  if (count == 0) return true;
  if (count > static_cast<unsigned long>(Remaining() < 0 ? 0 : Remaining())) return false;
  if (!Fill(count)) return false;
  std::memcpy(destination, buffer.data() + cursor, count);
  cursor += count;
  return true;
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
  if (stream == nullptr) return false;
  // Keep the unread bytes, move them to the front and read after them.
  size_t kept = filled - cursor;
  std::memmove(buffer.data(), buffer.data() + cursor, kept);
  bufferStart += static_cast<long>(cursor);
  cursor = 0;
  filled = kept;
  if (buffer.size() < count) buffer.resize(count);
  long readFrom = bufferStart + static_cast<long>(filled);
  if (std::fseek(stream, readFrom, SEEK_SET) != 0) return false;
  long wanted = streamLength - readFrom;
  size_t room = buffer.size() - filled;
  size_t toRead = static_cast<size_t>(wanted) < room ? static_cast<size_t>(wanted) : room;
  filled += std::fread(buffer.data() + filled, 1, toRead, stream);
  return filled >= count;
}
