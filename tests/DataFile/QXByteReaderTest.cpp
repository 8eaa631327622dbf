#include "QXByteReaderInternal.h"

#include <string>
#include <vector>

#include "QXTestSupport.h"

namespace {

// A file holding bytes 0, 1, 2, ... (mod 256), open for reading.
class QXByteReaderTest : public testing::Test {
 protected:
  QXFile Counting(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; i++) bytes[i] = static_cast<char>(i & 255);
    path.Write(bytes);
    return QXFile(path.path, QXFile::ReadOnly);
  }

  QXTempPath path{"bytereader", ".bin"};
};

// Skipping within and beyond the buffer, and refusing to read past the end,
// are shown by the storages' indexing of large and cut-short files.
TEST_F(QXByteReaderTest, ReadsABlockLargerThanItsBufferFromTheStartingOffset) {
  const QXFile file = Counting(300000);
  QXByteReader reader(file, 300000, 5);
  const unsigned char* block = reader.Next(70000);
  ASSERT_NE(block, nullptr);
  for (size_t i = 0; i < 70000; i++) ASSERT_EQ(block[i], (5 + i) & 255) << "byte " << i;
  EXPECT_EQ(reader.Position(), 70005);
}

TEST_F(QXByteReaderTest, RefusesToSkipPastTheEndOrBackwards) {
  const QXFile file = Counting(50);
  QXByteReader reader(file, 50, 0);
  EXPECT_FALSE(reader.Skip(51));
  EXPECT_FALSE(reader.Skip(-1));
  EXPECT_EQ(reader.Position(), 0);
  EXPECT_TRUE(reader.Skip(50));
}

TEST_F(QXByteReaderTest, AFileShorterThanClaimedFailsWithoutMoving) {
  const QXFile file = Counting(10);
  QXByteReader reader(file, 1000, 0);  // the caller overstated the length
  EXPECT_EQ(reader.Next(20), nullptr);
  EXPECT_EQ(reader.Position(), 0);
  EXPECT_EQ(reader.Next(10)[9], 9);
}

}  // namespace
