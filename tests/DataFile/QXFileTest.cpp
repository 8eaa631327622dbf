#include "QXFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "QXTestSupport.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kShortValues = "Could not read the required number of values from the file";

// Each test works in its own temporary directory, removed afterwards, and
// has its reports captured.
class QXFileTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(mkdtemp(directory), nullptr); }
  void TearDown() override { std::filesystem::remove_all(directory); }
  std::string Path(const std::string& name) const { return directory + ("/" + name); }
  // Writes the bytes into the named file and opens it.
  QXFile Open(std::string bytes, std::string name = "data",
              QXFile::OpenType mode = QXFile::ReadOnly) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return QXFile(Path(name), mode);
  }
  std::string Contents(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(Path(name), std::ios::binary).rdbuf();
    return text.str();
  }
  // The reports made since the last call, as "operation: message" lines.
  Lines Reports() { return std::exchange(QXErrorList(), Lines{}); }
  char directory[32] = "/tmp/qxfiletest.XXXXXX";
  QXReportCapture capture;  // for the whole test
};

// The elements, separated by spaces.
template <class Array>
std::string Values(const Array& A) {
  std::ostringstream text;
  for (int i = 0; i < A.Length(); i++) text << (i > 0 ? " " : "") << +A(i);
  return text.str();
}

TEST_F(QXFileTest, HandlesThatCannotReadOrWriteSayWhy) {
  const std::string path = Path("missing");
  QXFile reading(path, QXFile::ReadOnly), updating(path, QXFile::ExistingReadWrite);
  QXFile readOnly = Open("keep");
  QXMutableDoubleArray doubles(2, 1, 1);
  QXMutableUCharArray bytes(2, 1, 1);
  EXPECT_TRUE(reading.ReadLine().empty() && reading.ReadString(4).empty());
  EXPECT_FALSE(reading.ReadBinary(bytes, 0, 1) || reading.ReadAscii(doubles));
  EXPECT_TRUE(std::isnan(reading.ReadAsciiNumber()));
  EXPECT_FALSE(reading.WriteString("x") || updating.WriteBinary(doubles));  // not "Read only"
  EXPECT_FALSE(readOnly.WriteString("x") || readOnly.WriteString("") ||
               readOnly.WriteUnsignedShort(1));
  const std::string notOpened = "QXFile(name,type): Could not open the file \"" + path + "\"";
  Lines expected = {notOpened, notOpened};
  for (const char* operation :
       {"ReadLine()", "ReadString(int)", "ReadBinary(UCharArray)", "ReadAscii(DoubleArray)",
        "ReadAsciiNumber(QXFile)", "WriteString(string)", "WriteBinary(QXDoubleArray)"})
    expected.push_back("QXFile::" + std::string(operation) + ": No file");
  for (const char* operation :
       {"WriteString(string)", "WriteString(string)", "WriteUnsignedShort(value)"})
    expected.push_back("QXFile::" + std::string(operation) + ": Read only");
  EXPECT_EQ(Reports(), expected);
  reading.MoveToEnd();
  EXPECT_EQ(reading.Position() + reading.Length() + updating.Position() + updating.Length(), 0);
  EXPECT_TRUE(updating.Name() == path && !updating.IsReadOnly() && reading.IsReadOnly() &&
              QXFile().IsReadOnly());
}

// NewReadWrite empties the file, ExistingReadWrite keeps it; copies share one
// stream and position, and the last copy to go closes it.
TEST_F(QXFileTest, OpenModesAndSharedHandles) {
  // Each temporary handle is the only one: its file is closed, and so written, at the ";".
  EXPECT_TRUE(Open("old content", "new", QXFile::NewReadWrite).WriteString("new"));
  EXPECT_TRUE(Open("abcdef", "kept", QXFile::ExistingReadWrite).WriteString("XY"));
  EXPECT_EQ(Contents("new") + Contents("kept"), "newXYcdef");
  // A zero byte would name another file to the system: nothing is removed.
  EXPECT_FALSE(QXFile(Path("kept") + '\0' + "x", QXFile::NewReadWrite).IsOpen());
  EXPECT_EQ(Reports().size(), 1u);
  EXPECT_EQ(Contents("kept"), "XYcdef");
  QXFile first = Open("", "shared", QXFile::NewReadWrite), second(first);
  QXFile third = Open("1", "other");
  const int fd = fileno(first.GetFILE()), otherFd = fileno(third.GetFILE());
  third = second;                          // the last holder of "other" lets it go
  EXPECT_EQ(fcntl(otherFd, F_GETFD), -1);  // closed
  EXPECT_TRUE(third.GetFILE() == first.GetFILE() && third.Name() == Path("shared"));
  EXPECT_TRUE(third.WriteString("0123456789"));
  third.SetPosition(4);
  second.MovePosition(-3);
  EXPECT_EQ(first.ReadString(2), "12");
  EXPECT_EQ(third.Length(), 10);
  EXPECT_EQ(second.Position(), 3);  // Length() puts the position back
  second = third = QXFile();
  first = std::as_const(first);  // sharing with itself: nothing happens
  EXPECT_TRUE(fcntl(fd, F_GETFD) != -1 && first.WriteString("x"));
  first = QXFile();
  EXPECT_EQ(fcntl(fd, F_GETFD), -1);
  EXPECT_EQ(Contents("shared"), "012x456789");  // flushed by the close
}

TEST_F(QXFileTest, LinesStringsAndShortsReadExactlyWhatIsThere) {
  const std::string longLine = std::string(10, 'a') + "\xff" + '\0' + std::string(108, 'z');
  QXFile file = Open("one\rtwo\nthree\r\n" + longLine + "\nfour");
  for (const std::string& line : Lines{"one", "two", "three", "", longLine, "four", "", ""})
    EXPECT_EQ(file.ReadLine(), line);
  file.SetPosition(8);
  EXPECT_TRUE(file.ReadString(0).empty() && file.ReadString(-3).empty() && file.Position() == 8);
  EXPECT_EQ(file.ReadString(19), "three\r\n" + longLine.substr(0, 12));
  // A huge length costs no more memory than the file holds: limit the address
  // space to what is mapped now plus 256 MiB, far below INT_MAX bytes.
  rlimit old{};
  getrlimit(RLIMIT_AS, &old);
  size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlimit lowered{pages * sysconf(_SC_PAGESIZE) + (size_t(256) << 20), old.rlim_max};
  setrlimit(RLIMIT_AS, &lowered);
  file.SetPosition(0);
  EXPECT_EQ(file.ReadString(INT_MAX), "");
  setrlimit(RLIMIT_AS, &old);
  QXFile shorts = Open("", "shorts", QXFile::NewReadWrite);
  EXPECT_TRUE(shorts.WriteUnsignedShort(0xBEEF) && shorts.WriteString("z"));
  shorts.SetPosition(0);
  EXPECT_TRUE(shorts.ReadUnsignedShort() == 0xBEEF && shorts.ReadUnsignedShort() == 0);
  // Only the short reads are reported: the end of the file is not an error for ReadLine.
  EXPECT_EQ(Reports(), (Lines{"QXFile::ReadString(int): Could not read the required number of "
                              "characters from the file",
                              "QXFile::ReadUnsignedShort(): Could not read the number"}));
}

template <class Mutable>
class QXFileBinary : public QXFileTest {};
using QXFileArrayTypes =
    testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray,
                   QXMutableShortIntArray, QXMutableUShortIntArray, QXMutableCharArray,
                   QXMutableUCharArray>;
TYPED_TEST_SUITE(QXFileBinary, QXFileArrayTypes);

TYPED_TEST(QXFileBinary, ArraysRoundTripAndShortReadsKeepWhatWasRead) {
  using Element = typename TypeParam::Element;
  const std::string name = QXArrayTraits<Element>::name;  // "QXDoubleArray"
  TypeParam written(3, 1, 1), read(5, 1, 1), empty;
  for (int i = 0; i < 3; i++) written(i) = static_cast<Element>(i + 1);
  read = 0;
  QXFile file = this->Open("", "data", QXFile::NewReadWrite);
  EXPECT_TRUE(file.WriteBinary(empty) && file.WriteBinary(written));
  file.SetPosition(0);
  EXPECT_TRUE(file.ReadBinary(empty) && file.Position() == 0);
  EXPECT_FALSE(file.ReadBinary(read));
  EXPECT_FALSE(QXFile(this->Path("data"), QXFile::ReadOnly).WriteBinary(written));
  EXPECT_EQ(this->Reports(), (Lines{"QXFile::ReadBinary(" + name.substr(2) + "): " + kShortValues,
                                    "QXFile::WriteBinary(" + name + "): Read only"}));
  EXPECT_EQ(Values(read), "1 2 3 0 0");
}

TEST_F(QXFileTest, ByteRangesAndLengthsAreCheckedBeforeReading) {
  QXFile file = Open("ABCDEFGH");
  QXMutableUCharArray bytes(4, 1, 1), emptyBytes;
  QXMutableCharArray chars(4, 1, 1), emptyChars;
  bytes = '.';
  chars = '.';
  for (int wrong : {-1, 5})
    EXPECT_FALSE(file.ReadBinary(bytes, wrong) || file.ReadBinary(chars, wrong));
  for (auto [start, length] : {std::pair{-1, 2}, {0, -1}, {3, 2}, {INT_MAX, 1}, {1, INT_MAX}})
    EXPECT_FALSE(file.ReadBinary(bytes, start, length));
  // An empty array passes whatever the range; an empty range reads nothing.
  EXPECT_TRUE(file.ReadBinary(emptyBytes, 0, 3) && file.ReadBinary(emptyChars, 7));
  EXPECT_TRUE(file.ReadBinary(bytes, 4, 0) && file.Position() == 0);
  EXPECT_TRUE(file.ReadBinary(bytes, 1, 2) && file.ReadBinary(bytes, 1));
  file.SetPosition(5);
  EXPECT_TRUE(file.ReadBinary(chars, 2) && !file.ReadBinary(chars, 2));           // one byte left
  EXPECT_EQ(Values(bytes) + " | " + Values(chars), "67 65 66 46 | 72 71 46 46");  // CAB. HG..
  const std::string range = "QXFile::ReadBinary(UCharArray,int start,int length): Invalid range";
  const std::string uLength = "QXFile::ReadBinary(UCharArray,int): Invalid length";
  const std::string length = "QXFile::ReadBinary(CharArray,int): Invalid length";
  EXPECT_EQ(Reports(), (Lines{uLength, length, uLength, length, range, range, range, range, range,
                              "QXFile::ReadBinary(CharArray): " + kShortValues}));
}

// The double form skips one unreadable byte between numbers and stops
// silently at a second; the float form skips any run of them. Only running
// out of numbers is reported.
TEST_F(QXFileTest, ReadAsciiSkipsJunkAsEachFormAllows) {
  QXFile commas = Open("1,2,3 4,,5", "commas"), junk = Open("a1;;;2xyz 3.25 4", "junk");
  QXFile letters = Open("abc", "letters"), mixed = Open("##42;; 7", "mixed");
  QXMutableDoubleArray doubles(5, 1, 1);
  QXMutableFloatArray floats(4, 1, 1);
  doubles = -1;
  EXPECT_TRUE(!commas.ReadAscii(doubles) && junk.ReadAscii(floats));
  EXPECT_TRUE(std::isnan(letters.ReadAsciiNumber()));
  EXPECT_EQ(mixed.ReadAsciiNumber() + mixed.ReadAsciiNumber(), 49);
  EXPECT_TRUE(std::isnan(mixed.ReadAsciiNumber()));
  EXPECT_EQ(Values(doubles) + " | " + Values(floats), "1 2 3 4 -1 | 1 2 3.25 4");
  QXFile file = Open(" 1.5\n-2e3 \n 4 5");
  QXMutableDoubleArray two(2, 1, 1), tooMany(5, 1, 1);
  floats = -1;
  EXPECT_TRUE(file.ReadAscii(two) && !file.ReadAscii(floats));
  file.SetPosition(0);
  EXPECT_FALSE(file.ReadAscii(tooMany));
  EXPECT_EQ(Values(two) + " | " + Values(floats), "1.5 -2000 | 4 5 -1 -1");
  EXPECT_EQ(Reports(), (Lines{"QXFile::ReadAscii(FloatArray): " + kShortValues,
                              "QXFile::ReadAscii(DoubleArray): " + kShortValues}));
}

}  // namespace
