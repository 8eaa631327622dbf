#include "QXByteReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// A temporary stream holding bytes 0, 1, 2, ... (mod 256).
FILE* CountingStream(size_t length) {
  FILE* stream = std::tmpfile();
  for (size_t i = 0; i < length; i++) std::fputc(static_cast<int>(i & 255), stream);
  std::fflush(stream);
  return stream;
}

}  // namespace

TEST(QXByteReader, ReadsAndSkipsAcrossBufferBoundaries) {
  const size_t length = 300000;
  FILE* stream = CountingStream(length);
  QXByteReader reader(stream, static_cast<long>(length), 10);
  unsigned char bytes[3];
  ASSERT_TRUE(reader.Read(bytes, 3));
  EXPECT_EQ(bytes[0], 10);
  EXPECT_EQ(bytes[2], 12);
  ASSERT_TRUE(reader.Skip(100));  // inside the buffer
  ASSERT_TRUE(reader.Read(bytes, 1));
  EXPECT_EQ(bytes[0], (113) & 255);
  ASSERT_TRUE(reader.Skip(200000));  // past the buffer
  EXPECT_EQ(reader.Position(), 200114);
  ASSERT_TRUE(reader.Read(bytes, 2));
  EXPECT_EQ(bytes[0], 200114 & 255);
  // A read that straddles the end of the buffered block.
  std::vector<unsigned char> block(70000);
  ASSERT_TRUE(reader.Read(block.data(), block.size()));
  for (size_t i = 0; i < block.size(); i++) ASSERT_EQ(block[i], (200116 + i) & 255);
  std::fclose(stream);
}

TEST(QXByteReader, RefusesToPassTheEnd) {
  FILE* stream = CountingStream(50);
  QXByteReader reader(stream, 50, 0);
  unsigned char bytes[64];
  EXPECT_FALSE(reader.Read(bytes, 51));
  EXPECT_EQ(reader.Position(), 0);
  EXPECT_FALSE(reader.Skip(51));
  EXPECT_FALSE(reader.Skip(-1));
  ASSERT_TRUE(reader.Skip(48));
  EXPECT_EQ(reader.Remaining(), 2);
  EXPECT_FALSE(reader.Read(bytes, 3));
  ASSERT_TRUE(reader.Read(bytes, 2));
  EXPECT_EQ(bytes[1], 49);
  EXPECT_FALSE(reader.Read(bytes, 1));
  std::fclose(stream);
}

TEST(QXByteReader, AStreamShorterThanClaimedFailsCleanly) {
  FILE* stream = CountingStream(10);
  QXByteReader reader(stream, 1000, 0);  // the caller overstated the length
  unsigned char bytes[20];
  EXPECT_FALSE(reader.Read(bytes, 20));
  EXPECT_EQ(reader.Position(), 0);
  ASSERT_TRUE(reader.Read(bytes, 10));
  EXPECT_EQ(bytes[9], 9);
  std::fclose(stream);
}
