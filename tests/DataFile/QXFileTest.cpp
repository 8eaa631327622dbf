#include "QXFile.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <climits>
#include <cmath>
#include <tuple>
#include <utility>

#include "QXMatlabFileBytes.h"

namespace {

const std::string kShortValues = "Could not read the required number of values from the file";

class QXFileTest : public QXReportingTest {
 protected:
  // Writes the bytes into the file and opens it.
  QXFile Open(const std::string& bytes, QXFile::OpenType mode = QXFile::ReadOnly) {
    temp.Write(bytes);
    return QXFile(temp.path, mode);
  }

  QXTempPath temp{"file", ".bin"};
};

TEST_F(QXFileTest, HandleWithoutAStreamReportsNoFileBeforeReadOnly) {
  QXFile file;  // read-only as well
  EXPECT_EQ(file.ReadString(1), "");
  EXPECT_EQ(Reports(), Texts{"QXFile::ReadString(int): No file"});
  EXPECT_FALSE(file.WriteString("x"));
  EXPECT_EQ(Reports(), Texts{"QXFile::WriteString(string): No file"});
}

// Without ever waiting for a pipe's writer.
TEST_F(QXFileTest, PathsThatAreNoRegularFileAreRefusedWithTheirReason) {
  ASSERT_EQ(mkfifo(temp.path.c_str(), 0600), 0);
  const std::tuple<std::string, QXFile::OpenType, std::string> cases[] = {
      {"/tmp", QXFile::ReadOnly, ": it is a directory."},
      {temp.path, QXFile::ReadOnly, ": it is a pipe."},
      {"/dev/null", QXFile::ExistingReadWrite, ": it is a device."},
  };
  for (const auto& [path, type, reason] : cases) {
    EXPECT_FALSE(QXFile(path, type).IsOpen());
    EXPECT_EQ(Reports(),
              Texts{"QXFile(name,type): Could not open the file \"" + path + "\"" + reason});
  }
}

TEST_F(QXFileTest, AReadOnlyHandleTakesNoWriteLock) {
  const QXFile reader = Open("data");
  EXPECT_TRUE(QXFile(temp.path, QXFile::ExistingReadWrite).IsOpen());
}

// A zero byte would make the system see the path of another file.
TEST_F(QXFileTest, PathWithAZeroByteIsRefusedAndRemovesNothing) {
  temp.Write("kept");
  const std::string path = temp.path + '\0' + "x";
  EXPECT_FALSE(QXFile(path, QXFile::NewReadWrite).IsOpen());
  EXPECT_EQ(Reports(), Texts{"QXFile(name,type): Could not open the file \"" + path + "\""});
  EXPECT_EQ(temp.Read(), "kept");
}

TEST_F(QXFileTest, LastCopyToGoClosesTheStream) {
  QXFile first = Open("x");
  const int descriptor = fileno(first.GetFILE());
  QXFile second = first;
  first = QXFile();
  second = std::as_const(second);  // sharing with itself: nothing happens
  EXPECT_NE(fcntl(descriptor, F_GETFD), -1);
  second = QXFile();
  EXPECT_EQ(fcntl(descriptor, F_GETFD), -1);
}

// A line longer than the first buffer comes whole, every byte kept.
TEST_F(QXFileTest, ReadLineEndsAtACarriageReturnOrALineFeed) {
  const std::string line = std::string(60, 'a') + "\xff" + '\0' + std::string(60, 'z');
  const QXFile file = Open("one\rtwo\nthree\r\n" + line);
  EXPECT_EQ(file.ReadLine(), "one");
  EXPECT_EQ(file.ReadLine(), "two");
  EXPECT_EQ(file.ReadLine(), "three");
  EXPECT_EQ(file.ReadLine(), "");  // between the CR and the LF
  EXPECT_EQ(file.ReadLine(), line);
  EXPECT_EQ(file.ReadLine(), "");  // the end, which is not reported
}

// The address space is limited to what is mapped now plus 256 MiB, far below
// INT_MAX bytes.
TEST_F(QXFileTest, ReadStringPastTheEndReportsWithoutTakingMemoryForTheLength) {
  const QXFile file = Open("abc");
  rlimit old{};
  getrlimit(RLIMIT_AS, &old);
  rlim_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlimit lowered{pages * sysconf(_SC_PAGESIZE) + (rlim_t(256) << 20), old.rlim_max};
  setrlimit(RLIMIT_AS, &lowered);
  const std::string text = file.ReadString(INT_MAX);
  setrlimit(RLIMIT_AS, &old);
  EXPECT_EQ(text, "");
  EXPECT_EQ(Reports(), Texts{"QXFile::ReadString(int): Could not read the required number of "
                             "characters from the file"});
}

TEST_F(QXFileTest, ReadAsciiOfFloatsSkipsAnyRunOfUnreadableBytes) {
  QXMutableFloatArray values(3, 1, 1);
  EXPECT_TRUE(Open("a1;;;2xyz 3.25").ReadAscii(values));
  EXPECT_EQ(Elements(values), (std::vector<float>{1, 2, 3.25}));
}

// The values read stay; only the end of the file is reported.
TEST_F(QXFileTest, ReadAsciiOfDoublesStopsAtTheSecondUnreadableByteInARowOrAtTheEnd) {
  const std::tuple<std::string, std::vector<double>, Texts> cases[] = {
      {"1,-2e2,,3", {1, -200, -1}, {}},
      {" 1.5\n2 ", {1.5, 2, -1}, {"QXFile::ReadAscii(DoubleArray): " + kShortValues}},
  };
  for (const auto& [text, read, reports] : cases) {
    QXMutableDoubleArray values(3, 1, 1);
    values = -1;
    EXPECT_FALSE(Open(text).ReadAscii(values));
    EXPECT_EQ(Reports(), reports);
    EXPECT_EQ(Elements(values), read);
  }
}

TEST_F(QXFileTest, ReadAsciiNumberSkipsUnreadableBytesAndGivesNaNAtTheEnd) {
  const QXFile file = Open("##42;; 7 x");
  EXPECT_EQ(file.ReadAsciiNumber(), 42);
  EXPECT_EQ(file.ReadAsciiNumber(), 7);
  EXPECT_TRUE(std::isnan(file.ReadAsciiNumber()));
}

// An empty array is read before the range is checked; a range within the
// array is read into it from its start.
TEST_F(QXFileTest, ByteRangeIsReadIntoTheArrayOnlyWithinIt) {
  const QXFile file = Open("ABCDEFGH");
  QXMutableUCharArray bytes(4, 1, 1);
  const std::pair<int, int> ranges[] = {
      {-1, 2},       // a start before the array
      {0, -1},       // a negative length
      {3, 2},        // an end past the array
      {1, INT_MAX},  // an end past the int range
  };
  for (const auto& [start, length] : ranges) {
    SCOPED_TRACE(testing::Message() << "start " << start << ", length " << length);
    EXPECT_FALSE(file.ReadBinary(bytes, start, length));
    EXPECT_EQ(Reports(),
              Texts{"QXFile::ReadBinary(UCharArray,int start,int length): Invalid range"});
  }
  QXMutableUCharArray empty;
  EXPECT_TRUE(file.ReadBinary(empty, 0, 3));
  EXPECT_EQ(file.Position(), 0);
  bytes = '.';
  EXPECT_TRUE(file.ReadBinary(bytes, 2, 2));
  EXPECT_EQ(Elements(bytes), (std::vector<unsigned char>{'.', '.', 'A', 'B'}));
}

TEST_F(QXFileTest, ByteLengthLongerThanTheArrayIsRefused) {
  const QXFile file = Open("ABCDEFGH");
  QXMutableUCharArray bytes(4, 1, 1);
  QXMutableCharArray chars(4, 1, 1);
  EXPECT_FALSE(file.ReadBinary(bytes, 5));
  EXPECT_EQ(Reports(), Texts{"QXFile::ReadBinary(UCharArray,int): Invalid length"});
  EXPECT_FALSE(file.ReadBinary(chars, 5));
  EXPECT_EQ(Reports(), Texts{"QXFile::ReadBinary(CharArray,int): Invalid length"});
}

template <class Mutable>
class QXFileArrayTest : public QXFileTest {};

TYPED_TEST_SUITE(QXFileArrayTest, QXMutableArrayTypes);

// The elements read stay in the array.
TYPED_TEST(QXFileArrayTest, ShortReadReportsAndKeepsTheElementsRead) {
  using Element = typename TypeParam::Element;
  const std::string name = QXArrayTraits<Element>::name;
  QXFile file = this->Open("", QXFile::NewReadWrite);
  EXPECT_TRUE(file.WriteBinary(MakeArray<Element>(2, 1, 1, {1, 2})));
  file.SetPosition(0);
  TypeParam read = MakeArray<Element>(3, 1, 1, {0, 0, 0});
  EXPECT_FALSE(file.ReadBinary(read));
  EXPECT_EQ(this->Reports(), Texts{"QXFile::ReadBinary(" + name.substr(2) + "): " + kShortValues});
  EXPECT_EQ(Elements(read), (std::vector<Element>{1, 2, 0}));
}

TYPED_TEST(QXFileArrayTest, WriteOnAReadOnlyHandleReportsReadOnly) {
  const std::string name = QXArrayTraits<typename TypeParam::Element>::name;
  EXPECT_FALSE(this->Open("").WriteBinary(TypeParam(2, 1, 1)));
  EXPECT_EQ(this->Reports(), Texts{"QXFile::WriteBinary(" + name + "): Read only"});
}

}  // namespace
