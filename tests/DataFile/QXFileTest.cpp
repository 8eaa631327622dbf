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
  // Writes the bytes into the named file (by default a new one) and opens it.
  QXFile Open(std::string bytes, QXFile::OpenType mode = QXFile::ReadOnly, std::string name = "") {
    if (name.empty()) name = std::to_string(++files);
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return QXFile(Path(name), mode);
  }
  // What a fresh handle reads of a file without line ends.
  std::string Contents(std::string n) { return QXFile(Path(n), QXFile::ReadOnly).ReadLine(); }
  // The reports made since the last call, as "operation: message" lines.
  Lines Reports() { return QXTakeReports(); }
  char directory[32] = "/tmp/qxfiletest.XXXXXX";
  int files = 0;
  QXReportCapture capture;  // for the whole test
};

// The elements, separated by spaces.
template <class Array>
std::string Values(const Array& A) {
  std::ostringstream text;
  for (int i = 0; i < A.Length(); i++) text << (i > 0 ? " " : "") << +A(i);
  return text.str();
}

TEST_F(QXFileTest, OpenModesSharedHandlesAndHandlesThatCannotReadOrWriteSayWhy) {
  const std::string path = Path("missing");
  QXFile none(path, QXFile::ReadOnly), updating(path, QXFile::ExistingReadWrite);
  QXFile kept = Open("keep");
  QXMutableDoubleArray doubles(2, 1, 1);
  QXMutableUCharArray bytes(2, 1, 1);
  EXPECT_TRUE(none.ReadLine().empty() && none.ReadString(4).empty() &&
              !none.ReadBinary(bytes, 0, 1) && !none.ReadAscii(doubles) &&
              std::isnan(none.ReadAsciiNumber()) && !none.WriteString("x") &&
              !updating.WriteBinary(doubles) && !kept.WriteString("x") && !kept.WriteString("") &&
              !kept.WriteUnsignedShort(1));
  Lines expected(2, "QXFile(name,type): Could not open the file \"" + path + "\"");
  for (const std::string op :
       {"ReadLine()", "ReadString(int)", "ReadBinary(UCharArray)", "ReadAscii(DoubleArray)",
        "ReadAsciiNumber(QXFile)", "WriteString(string)", "WriteBinary(QXDoubleArray)",
        "WriteString(string)", "WriteString(string)", "WriteUnsignedShort(value)"})
    expected.push_back("QXFile::" + op + (expected.size() < 9 ? ": No file" : ": Read only"));
  EXPECT_EQ(Reports(), expected);
  none.MoveToEnd();
  EXPECT_TRUE(none.Position() + none.Length() + updating.Position() + updating.Length() == 0 &&
              updating.Name() == path && !updating.IsReadOnly() && none.IsReadOnly() &&
              QXFile().IsReadOnly());
  // NewReadWrite empties the file, ExistingReadWrite keeps it; copies share one
  // stream and position, and the last copy to go closes it.
  // Each temporary handle is the only one: its file is closed, and so written, at the ";".
  EXPECT_TRUE(Open("old content", QXFile::NewReadWrite, "new").WriteString("new") &&
              Open("abcdef", QXFile::ExistingReadWrite, "kept").WriteString("XY"));
  // A zero byte would name another file to the system: nothing is removed.
  EXPECT_TRUE(!QXFile(Path("kept") + '\0' + "x", QXFile::NewReadWrite).IsOpen() &&
              Reports().size() == 1);
  EXPECT_EQ(Contents("new") + Contents("kept"), "newXYcdef");
  QXFile first = Open("", QXFile::NewReadWrite, "shared"), second(first), third = Open("1");
  const int fd = fileno(first.GetFILE()), otherFd = fileno(third.GetFILE());
  third = second;  // the last holder of the other file lets it go: it is closed
  EXPECT_TRUE(fcntl(otherFd, F_GETFD) == -1 && third.GetFILE() == first.GetFILE() &&
              third.WriteString("0123456789"));
  third.SetPosition(4);
  second.MovePosition(-3);
  // Length() puts the position back.
  EXPECT_TRUE(first.ReadString(2) == "12" && third.Length() == 10 && second.Position() == 3);
  second = third = QXFile();
  first = std::as_const(first);  // sharing with itself: nothing happens
  EXPECT_TRUE(fcntl(fd, F_GETFD) != -1 && first.WriteString("x"));
  first = QXFile();  // closes the file, and so flushes it
  EXPECT_TRUE(fcntl(fd, F_GETFD) == -1 && Contents("shared") == "012x456789");
}

TEST_F(QXFileTest, ReadsGiveExactlyWhatIsThereAndReportShortReads) {
  const std::string longLine = std::string(10, 'a') + "\xff" + '\0' + std::string(108, 'z');
  QXFile file = Open("one\rtwo\nthree\r\n" + longLine + "\nfour");
  for (const std::string& line : Lines{"one", "two", "three", "", longLine, "four", "", ""})
    EXPECT_EQ(file.ReadLine(), line);
  file.SetPosition(8);
  EXPECT_TRUE(file.ReadString(0).empty() && file.ReadString(-3).empty() && file.Position() == 8);
  EXPECT_EQ(file.ReadString(19), "three\r\n" + longLine.substr(0, 12));
  // A huge length costs no more memory than the file holds: limit the address
  // space to what is mapped now plus 256 MiB, far below INT_MAX bytes.
  rlimit old{}, lowered{};
  getrlimit(RLIMIT_AS, &old);
  std::ifstream("/proc/self/statm") >> lowered.rlim_cur;  // pages
  lowered = {lowered.rlim_cur * sysconf(_SC_PAGESIZE) + (rlim_t(256) << 20), old.rlim_max};
  setrlimit(RLIMIT_AS, &lowered);
  EXPECT_EQ(file.ReadString(INT_MAX), "");
  setrlimit(RLIMIT_AS, &old);
  QXFile shorts = Open("", QXFile::NewReadWrite);
  EXPECT_TRUE(shorts.WriteUnsignedShort(0xBEEF) && shorts.WriteString("z"));
  shorts.SetPosition(0);
  EXPECT_TRUE(shorts.ReadUnsignedShort() == 0xBEEF && shorts.ReadUnsignedShort() == 0);
  // The double form skips one unreadable byte between numbers and stops
  // silently at a second; the float form skips any run of them. Only running
  // out of numbers is reported.

  QXFile commas = Open("1,2,3 4,,5"), junk = Open("a1;;;2xyz 3.25 4");
  QXFile letters = Open("abc"), mixed = Open("##42;; 7"), numbers = Open(" 1.5\n-2e3 \n 4 5");
  QXMutableDoubleArray doubles(5, 1, 1), two(2, 1, 1);
  QXMutableFloatArray floats(5, 1, 1);
  doubles = -1, floats = -1;
  EXPECT_TRUE(!commas.ReadAscii(doubles) && !junk.ReadAscii(floats));
  EXPECT_EQ(mixed.ReadAsciiNumber() + mixed.ReadAsciiNumber(), 49);
  EXPECT_TRUE(std::isnan(mixed.ReadAsciiNumber()) && std::isnan(letters.ReadAsciiNumber()));
  EXPECT_EQ(Values(doubles) + " | " + Values(floats), "1 2 3 4 -1 | 1 2 3.25 4 -1");
  // Again into the doubles: a short read keeps the elements it did not reach.
  EXPECT_TRUE(numbers.ReadAscii(two) && !numbers.ReadAscii(doubles));
  EXPECT_EQ(Values(two) + " | " + Values(doubles), "1.5 -2000 | 4 5 3 4 -1");
  // Byte ranges and lengths are checked before reading.
  file = Open("ABCDEFGH");
  QXMutableUCharArray bytes(4, 1, 1), emptyBytes;
  QXMutableCharArray chars(4, 1, 1), emptyChars;
  bytes = '.', chars = '.';
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
  // Only the short reads are reported: the end of the file is not an error for ReadLine.
  EXPECT_EQ(Reports(), (Lines{"QXFile::ReadString(int): Could not read the required number of "
                              "characters from the file",
                              "QXFile::ReadUnsignedShort(): Could not read the number",
                              "QXFile::ReadAscii(FloatArray): " + kShortValues,
                              "QXFile::ReadAscii(DoubleArray): " + kShortValues, uLength, length,
                              uLength, length, range, range, range, range, range,
                              "QXFile::ReadBinary(CharArray): " + kShortValues}));
  // Every array type makes the round trip; a short read keeps what it read and reports it.
  auto trip = [this](auto empty) {
    const std::string name = QXArrayTraits<typename decltype(empty)::Element>::name;
    decltype(empty) written(3, 1, 1), read(5, 1, 1);
    written = 7, read = 0;
    QXFile out = Open("", QXFile::NewReadWrite);
    EXPECT_TRUE(out.WriteBinary(empty) && out.WriteBinary(written));
    out.SetPosition(0);
    EXPECT_TRUE(out.ReadBinary(empty) && out.Position() == 0 && !out.ReadBinary(read));
    EXPECT_FALSE(QXFile(out.Name(), QXFile::ReadOnly).WriteBinary(written));
    EXPECT_EQ(Reports(), (Lines{"QXFile::ReadBinary(" + name.substr(2) + "): " + kShortValues,
                                "QXFile::WriteBinary(" + name + "): Read only"}));
    EXPECT_EQ(Values(read), "7 7 7 0 0") << name;
  };
  trip(QXMutableDoubleArray()), trip(QXMutableFloatArray()), trip(QXMutableIntArray()),
      trip(QXMutableShortIntArray()), trip(QXMutableUShortIntArray()), trip(QXMutableCharArray()),
      trip(QXMutableUCharArray());
}

}  // namespace
