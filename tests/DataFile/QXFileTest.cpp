#include "QXFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "QXTestSupport.h"

namespace {

// Each test gets its own temporary directory, removed afterwards.
class QXFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qxfiletest.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(directory); }

  std::string Path(const std::string& name) const { return directory + "/" + name; }
  std::string MakeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  std::string Contents(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::string directory;
};

// The file a descriptor of this process refers to, or "" when it is closed.
std::string DescriptorTarget(int fd) {
  char target[4096];
  const ssize_t length =
      readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
  return length < 0 ? std::string() : std::string(target, static_cast<size_t>(length));
}

// Limits the address space to what the process maps now plus the headroom,
// so that a larger allocation fails; restores the old limit afterwards.
class QXAddressSpaceHeadroom {
 public:
  explicit QXAddressSpaceHeadroom(size_t headroom) {
    getrlimit(RLIMIT_AS, &old);
    std::ifstream status("/proc/self/status");
    std::string key;
    size_t kilobytes = 0;
    while (status >> key && key != "VmSize:") status.ignore(1 << 20, '\n');
    status >> kilobytes;
    rlimit lowered = old;
    lowered.rlim_cur = kilobytes * 1024 + headroom;
    setrlimit(RLIMIT_AS, &lowered);
  }
  ~QXAddressSpaceHeadroom() { setrlimit(RLIMIT_AS, &old); }

 private:
  rlimit old{};
};

std::vector<std::string> Errors(std::initializer_list<const char*> texts) {
  return std::vector<std::string>(texts.begin(), texts.end());
}

}  // namespace

// --- Opening, sharing and closing ---------------------------------------------------

TEST_F(QXFileTest, MissingFileIsReportedAndEveryUseSaysNoFile) {
  const std::string path = Path("missing.bin");
  QXReportCapture capture;
  QXFile reading(path, QXFile::ReadOnly);
  QXFile updating(path, QXFile::ExistingReadWrite);
  QXMutableDoubleArray doubles(2, 1, 1);
  QXMutableUCharArray bytes(2, 1, 1);
  EXPECT_EQ(reading.ReadLine(), "");
  EXPECT_EQ(reading.ReadString(4), "");
  EXPECT_FALSE(reading.ReadBinary(bytes, 0, 1));
  EXPECT_FALSE(reading.ReadAscii(doubles));
  EXPECT_TRUE(std::isnan(reading.ReadAsciiNumber()));
  EXPECT_FALSE(reading.WriteString("x"));  // "No file" comes before "Read only"
  EXPECT_FALSE(updating.WriteBinary(doubles));
  capture.Finish();
  const std::string notOpened = "QXFile(name,type): Could not open the file \"" + path + "\"";
  EXPECT_EQ(
      capture.errors,
      (std::vector<std::string>{
          notOpened, notOpened, "QXFile::ReadLine(): No file", "QXFile::ReadString(int): No file",
          "QXFile::ReadBinary(UCharArray): No file", "QXFile::ReadAscii(DoubleArray): No file",
          "QXFile::ReadAsciiNumber(QXFile): No file", "QXFile::WriteString(string): No file",
          "QXFile::WriteBinary(QXDoubleArray): No file"}));
  for (const QXFile* file : {&reading, &updating}) {
    EXPECT_FALSE(file->IsOpen());
    EXPECT_EQ(file->Name(), path);
    file->MoveToEnd();
    EXPECT_EQ(file->Position(), 0);
    EXPECT_EQ(file->Length(), 0);
  }
  EXPECT_TRUE(reading.IsReadOnly());
  EXPECT_FALSE(updating.IsReadOnly());
  EXPECT_TRUE(QXFile().IsReadOnly());
}

TEST_F(QXFileTest, NewReadWriteReplacesTheFileAndExistingReadWriteKeepsIt) {
  MakeFile("new", "old content");
  MakeFile("kept", "abcdef");
  QXFile replaced(Path("new"), QXFile::NewReadWrite);
  QXFile kept(Path("kept"), QXFile::ExistingReadWrite);
  EXPECT_EQ(replaced.Length(), 0);
  EXPECT_EQ(kept.Length(), 6);
  EXPECT_EQ(kept.Position(), 0);
  EXPECT_TRUE(replaced.WriteString("new"));
  EXPECT_TRUE(kept.WriteString("XY"));
  replaced.Flush();
  kept.Flush();
  EXPECT_EQ(Contents("new"), "new");
  EXPECT_EQ(Contents("kept"), "XYcdef");
  replaced.SetPosition(0);
  EXPECT_EQ(replaced.ReadString(3), "new");  // both modes also read
}

TEST_F(QXFileTest, PathWithZeroByteIsRefusedWithoutRemovingAnything) {
  const std::string kept = MakeFile("a", "keep");
  const std::string path = kept + std::string(1, '\0') + "b";
  QXReportCapture capture;
  QXFile file(path, QXFile::NewReadWrite);
  capture.Finish();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(capture.errors.size(), 1u);
  EXPECT_EQ(Contents("a"), "keep");
}

TEST_F(QXFileTest, CopiesShareOneStreamClosedByTheLastCopy) {
  const std::string path = Path("shared");
  int fd = -1;
  {
    QXFile first(path, QXFile::NewReadWrite);
    ASSERT_TRUE(first.IsOpen());
    fd = fileno(first.GetFILE());
    {
      QXFile second(first);
      QXFile third;
      third = second;
      EXPECT_EQ(third.GetFILE(), first.GetFILE());
      EXPECT_EQ(third.Name(), path);
      EXPECT_FALSE(third.IsReadOnly());
      EXPECT_TRUE(third.WriteString("abc"));
      EXPECT_EQ(first.Position(), 3);  // one shared position
      third = third;                   // sharing one count: nothing happens
    }
    EXPECT_EQ(DescriptorTarget(fd), path);  // still open for the first handle
    EXPECT_TRUE(first.WriteString("d"));
  }
  EXPECT_NE(DescriptorTarget(fd), path);
  EXPECT_EQ(Contents("shared"), "abcd");  // flushed by the close
}

TEST_F(QXFileTest, AssignmentClosesTheStreamItWasTheLastHolderOf) {
  QXFile target(MakeFile("old", "1"), QXFile::ReadOnly);
  const QXFile source(MakeFile("new", "2"), QXFile::ReadOnly);
  const int oldDescriptor = fileno(target.GetFILE());
  target = source;
  EXPECT_NE(DescriptorTarget(oldDescriptor), Path("old"));
  EXPECT_EQ(target.Name(), Path("new"));
  EXPECT_EQ(target.ReadString(1), "2");
}

TEST_F(QXFileTest, PositioningMovesTheSharedPosition) {
  QXFile file(MakeFile("data", "0123456789"), QXFile::ReadOnly);
  file.SetPosition(4);
  file.MovePosition(-3);
  EXPECT_EQ(file.ReadString(2), "12");
  EXPECT_EQ(file.Length(), 10);
  EXPECT_EQ(file.Position(), 3);  // Length() restores the position
  file.MoveToEnd();
  EXPECT_EQ(file.Position(), 10);
}

TEST_F(QXFileTest, PinfoNamesThePathAndReadOnlyFlag) {
  const std::string path = MakeFile("data", "");
  QXReportCapture capture;
  QXFile(path, QXFile::ReadOnly).pinfo();
  QXFile(path, QXFile::ExistingReadWrite).pinfo();
  capture.Finish();
  EXPECT_EQ(capture.stderrText, "File = " + path + " [read only]\nFile = " + path + "\n");
}

// --- Lines, strings and 16-bit numbers -------------------------------------------------

TEST_F(QXFileTest, ReadLineEndsAtCarriageReturnOrLineFeed) {
  QXFile file(MakeFile("text", "one\rtwo\nthree\r\nfour"), QXFile::ReadOnly);
  QXReportCapture capture;
  for (const char* expected : {"one", "two", "three", "", "four", "", ""})
    EXPECT_EQ(file.ReadLine(), expected);
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());  // the end of the file is not an error
}

TEST_F(QXFileTest, ReadLineKeepsLongLinesAndEveryByteValue) {
  std::string line(120, 'a');
  line[10] = '\xff';
  line[11] = '\0';
  line[119] = 'z';
  QXFile file(MakeFile("text", line + "\nnext"), QXFile::ReadOnly);
  EXPECT_EQ(file.ReadLine(), line);
  EXPECT_EQ(file.ReadLine(), "next");
}

TEST_F(QXFileTest, ReadStringReturnsExactlyTheBytesAsked) {
  QXFile file(MakeFile("data", std::string("ab\0cd", 5) + "ef"), QXFile::ReadOnly);
  EXPECT_EQ(file.ReadString(0), "");
  EXPECT_EQ(file.ReadString(-3), "");
  EXPECT_EQ(file.Position(), 0);
  EXPECT_EQ(file.ReadString(5), std::string("ab\0cd", 5));
  QXReportCapture capture;
  EXPECT_EQ(file.ReadString(3), "");  // only two bytes left
  capture.Finish();
  EXPECT_EQ(capture.errors,
            Errors({"QXFile::ReadString(int): Could not read the required number of characters "
                    "from the file"}));
}

TEST_F(QXFileTest, HugeStringLengthOnSmallFileAllocatesOnlyWhatTheFileHolds) {
  QXFile file(MakeFile("data", "short"), QXFile::ReadOnly);
  QXReportCapture capture;
  {
    QXAddressSpaceHeadroom limit(size_t(256) << 20);  // an INT_MAX buffer would not fit
    EXPECT_EQ(file.ReadString(INT_MAX), "");
  }
  capture.Finish();
  EXPECT_EQ(capture.errors.size(), 1u);
}

TEST_F(QXFileTest, UnsignedShortsRoundTripInHostOrder) {
  QXFile file(Path("data"), QXFile::NewReadWrite);
  EXPECT_TRUE(file.WriteUnsignedShort(0xBEEF));
  EXPECT_TRUE(file.WriteString("z"));
  file.SetPosition(0);
  EXPECT_EQ(file.ReadUnsignedShort(), 0xBEEF);
  QXReportCapture capture;
  EXPECT_EQ(file.ReadUnsignedShort(), 0);  // a single byte is left
  capture.Finish();
  EXPECT_EQ(capture.errors, Errors({"QXFile::ReadUnsignedShort(): Could not read the number"}));
}

TEST_F(QXFileTest, EveryWriteOnAReadOnlyHandleIsRefused) {
  QXFile file(MakeFile("data", "keep"), QXFile::ReadOnly);
  QXReportCapture capture;
  EXPECT_FALSE(file.WriteString("x"));
  EXPECT_FALSE(file.WriteString(""));
  EXPECT_FALSE(file.WriteUnsignedShort(1));
  capture.Finish();
  EXPECT_EQ(capture.errors, Errors({"QXFile::WriteString(string): Read only",
                                    "QXFile::WriteString(string): Read only",
                                    "QXFile::WriteUnsignedShort(value): Read only"}));
  file.Flush();
  EXPECT_EQ(Contents("data"), "keep");
}

// --- Binary arrays of every element type -----------------------------------------------

template <class Mutable>
class QXFileBinary : public QXFileTest {
 protected:
  using Element = typename Mutable::Element;
  // The type's word in the operation names: "Double" for ReadBinary(DoubleArray).
  static std::string Word() {
    std::string name = QXArrayTraits<Element>::name;  // "QXDoubleArray"
    return name.substr(2, name.size() - 2 - 5);
  }
  static Mutable Counting(int length) {
    Mutable A(length, 1, 1);
    for (int i = 0; i < length; i++) A(i) = static_cast<Element>(i + 1);
    return A;
  }
};

using QXFileArrayTypes =
    testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray,
                   QXMutableShortIntArray, QXMutableUShortIntArray, QXMutableCharArray,
                   QXMutableUCharArray>;
TYPED_TEST_SUITE(QXFileBinary, QXFileArrayTypes);

TYPED_TEST(QXFileBinary, WrittenArrayReadsBackAndEmptyArraysMoveNothing) {
  QXFile file(this->Path("data"), QXFile::NewReadWrite);
  const TypeParam written = this->Counting(5);
  TypeParam read(5, 1, 1), empty;
  EXPECT_TRUE(file.WriteBinary(empty));
  EXPECT_EQ(file.Position(), 0);
  EXPECT_TRUE(file.WriteBinary(written));
  EXPECT_EQ(file.Length(), static_cast<long>(5 * sizeof(typename TestFixture::Element)));
  file.SetPosition(0);
  EXPECT_TRUE(file.ReadBinary(empty));
  EXPECT_EQ(file.Position(), 0);
  EXPECT_TRUE(file.ReadBinary(read));
  EXPECT_TRUE(read == written);
}

TYPED_TEST(QXFileBinary, ShortReadIsReportedAndKeepsTheValuesRead) {
  QXFile file(this->Path("data"), QXFile::NewReadWrite);
  file.WriteBinary(this->Counting(3));
  file.SetPosition(0);
  TypeParam read(5, 1, 1);
  read = 0;
  QXReportCapture capture;
  EXPECT_FALSE(file.ReadBinary(read));
  capture.Finish();
  EXPECT_EQ(capture.errors, std::vector<std::string>{"QXFile::ReadBinary(" + this->Word() +
                                                     "Array): Could not read the required "
                                                     "number of values from the file"});
  for (int i = 0; i < 3; i++) EXPECT_EQ(read(i), i + 1);
  EXPECT_EQ(read(3), 0);
}

TYPED_TEST(QXFileBinary, WriteOnAReadOnlyHandleNamesTheType) {
  QXFile file(this->MakeFile("data", ""), QXFile::ReadOnly);
  QXReportCapture capture;
  EXPECT_FALSE(file.WriteBinary(this->Counting(2)));
  capture.Finish();
  EXPECT_EQ(capture.errors, std::vector<std::string>{"QXFile::WriteBinary(QX" + this->Word() +
                                                     "Array): Read only"});
}

// --- Partial byte reads ----------------------------------------------------------------

TEST_F(QXFileTest, UCharRangesAreCheckedBeforeReading) {
  QXFile file(MakeFile("data", "ABCDEFGH"), QXFile::ReadOnly);
  QXMutableUCharArray bytes(4, 1, 1);
  bytes = '.';
  QXReportCapture capture;
  EXPECT_FALSE(file.ReadBinary(bytes, -1));
  EXPECT_FALSE(file.ReadBinary(bytes, 5));
  EXPECT_FALSE(file.ReadBinary(bytes, -1, 2));
  EXPECT_FALSE(file.ReadBinary(bytes, 0, -1));
  EXPECT_FALSE(file.ReadBinary(bytes, 3, 2));
  EXPECT_FALSE(file.ReadBinary(bytes, INT_MAX, 1));
  EXPECT_FALSE(file.ReadBinary(bytes, 1, INT_MAX));
  capture.Finish();
  const char* range = "QXFile::ReadBinary(UCharArray,int start,int length): Invalid range";
  EXPECT_EQ(capture.errors, Errors({"QXFile::ReadBinary(UCharArray,int): Invalid length",
                                    "QXFile::ReadBinary(UCharArray,int): Invalid length", range,
                                    range, range, range, range}));
  EXPECT_EQ(file.Position(), 0);
  EXPECT_TRUE(file.ReadBinary(bytes, 4, 0));  // nothing to read
  EXPECT_EQ(file.Position(), 0);
  EXPECT_TRUE(file.ReadBinary(bytes, 1, 2));
  EXPECT_TRUE(file.ReadBinary(bytes, 1));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.Pointer()), 4), "CAB.");
  QXMutableUCharArray empty;
  EXPECT_TRUE(file.ReadBinary(empty, 0, 3));  // an empty array comes before the range
}

TEST_F(QXFileTest, CharLengthsAreCheckedBeforeReading) {
  QXFile file(MakeFile("data", "abc"), QXFile::ReadOnly);
  QXMutableCharArray chars(4, 1, 1);
  chars = '.';
  QXMutableCharArray empty;
  QXReportCapture capture;
  EXPECT_TRUE(file.ReadBinary(empty, 7));  // an empty array comes before the length
  EXPECT_FALSE(file.ReadBinary(chars, 5));
  EXPECT_FALSE(file.ReadBinary(chars, -1));
  EXPECT_TRUE(file.ReadBinary(chars, 2));
  EXPECT_FALSE(file.ReadBinary(chars, 2));  // one byte left
  capture.Finish();
  EXPECT_EQ(capture.errors, Errors({"QXFile::ReadBinary(CharArray,int): Invalid length",
                                    "QXFile::ReadBinary(CharArray,int): Invalid length",
                                    "QXFile::ReadBinary(CharArray): Could not read the required "
                                    "number of values from the file"}));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(chars.Pointer()), 4), "cb..");
}

// --- Text numbers ----------------------------------------------------------------------

TEST_F(QXFileTest, ReadAsciiDoubleSkipsOneSeparatorButStopsSilentlyAtTwo) {
  QXFile single(MakeFile("single", "1,2,3"), QXFile::ReadOnly);
  QXFile doubled(MakeFile("doubled", "1,,2"), QXFile::ReadOnly);
  QXMutableDoubleArray values(3, 1, 1), stopped(2, 1, 1);
  stopped = -1;
  QXReportCapture capture;
  EXPECT_TRUE(single.ReadAscii(values));
  EXPECT_FALSE(doubled.ReadAscii(stopped));
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
  for (int i = 0; i < 3; i++) EXPECT_EQ(values(i), i + 1);
  EXPECT_EQ(stopped(0), 1);
  EXPECT_EQ(stopped(1), -1);
}

TEST_F(QXFileTest, ReadAsciiReportsRunningOutOfNumbers) {
  QXFile file(MakeFile("text", " 1.5\n-2e3 \n 4 5"), QXFile::ReadOnly);
  QXMutableDoubleArray doubles(2, 1, 1);
  QXMutableFloatArray floats(3, 1, 1);
  EXPECT_TRUE(file.ReadAscii(doubles));
  EXPECT_EQ(doubles(1), -2000);
  QXReportCapture capture;
  EXPECT_FALSE(file.ReadAscii(floats));
  file.SetPosition(0);
  QXMutableDoubleArray tooMany(5, 1, 1);
  EXPECT_FALSE(file.ReadAscii(tooMany));
  capture.Finish();
  EXPECT_EQ(floats(1), 5);
  const char* message = "Could not read the required number of values from the file";
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{std::string("QXFile::ReadAscii(FloatArray): ") + message,
                                      std::string("QXFile::ReadAscii(DoubleArray): ") + message}));
}

TEST_F(QXFileTest, ReadAsciiFloatSkipsAnyRunOfJunk) {
  QXFile file(MakeFile("text", "a1;;;2xyz 3.25"), QXFile::ReadOnly);
  QXMutableFloatArray values(3, 1, 1);
  EXPECT_TRUE(file.ReadAscii(values));
  EXPECT_EQ(values(0), 1);
  EXPECT_EQ(values(1), 2);
  EXPECT_EQ(values(2), 3.25f);
}

TEST_F(QXFileTest, ReadAsciiNumberSkipsJunkAndGivesNaNAtTheEnd) {
  QXFile letters(MakeFile("letters", "abc"), QXFile::ReadOnly);
  QXFile mixed(MakeFile("mixed", "##42;; 7"), QXFile::ReadOnly);
  QXReportCapture capture;
  EXPECT_TRUE(std::isnan(letters.ReadAsciiNumber()));
  EXPECT_EQ(mixed.ReadAsciiNumber(), 42);
  EXPECT_EQ(mixed.ReadAsciiNumber(), 7);
  EXPECT_TRUE(std::isnan(mixed.ReadAsciiNumber()));
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
}
