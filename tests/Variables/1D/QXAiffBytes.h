// AIFF files written out byte by byte for the audio tests.
#ifndef QXAIFFBYTES_H
#define QXAIFFBYTES_H

#include <cstdint>
#include <string>

// value's low `bytes` bytes, most significant first.
inline std::string Be(int64_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; i--) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

// A chunk: its identifier, its size, the body and a pad byte after an odd size.
inline std::string Chunk(const std::string& id, const std::string& body) {
  return id + Be(static_cast<int64_t>(body.size()), 4) + body + std::string(body.size() % 2, '\0');
}

// 8000 as an 80-bit extended number.
const std::string kRate8000("\x40\x0b\xfa\0\0\0\0\0\0\0", 10);

inline std::string Comm(int channels, int64_t frames, int bits) {
  return Chunk("COMM", Be(channels, 2) + Be(frames, 4) + Be(bits, 2) + kRate8000);
}
inline std::string Ssnd(const std::string& frames, int64_t offset = 0) {
  return Chunk("SSND", Be(offset, 4) + Be(0, 4) + frames);
}
inline std::string Form(const std::string& chunks) { return Chunk("FORM", "AIFF" + chunks); }

#endif
