#include "QXDataFile.h"

#include <unistd.h>

#include <array>
#include <fstream>

#include "QXMatlabFileBytes.h"

namespace {

const std::string kHeader("Varnholm Binary File v1\0", 24);
const std::string kNotADataFile = "Not a valid Varnholm binary format.";

// The value's bytes, most significant first.
template <class T>
std::string Big(T value) {
  return QXMatBytes{true}.Put(value).bytes;
}

// An entry header from its block length, type, m, n, o and name length.
std::string Header(const std::array<int64_t, 6>& fields) {
  std::string bytes = Big(fields[0]);
  for (int i = 1; i < 6; i++) bytes += Big(static_cast<int32_t>(fields[i]));
  return bytes;
}

// One entry as a writer lays it out, the name followed by its zero byte.
std::string Entry(int32_t type, int32_t m, int32_t n, int32_t o, const std::string& name,
                  const std::string& data) {
  const int64_t length = static_cast<int64_t>(name.size() + 1);
  return Header({28 + length + static_cast<int64_t>(data.size()), type, m, n, o, length}) + name +
         '\0' + data;
}

std::string IntEntry(const std::string& name, int32_t v) { return Entry(8, 1, 1, 1, name, Big(v)); }

// A file with an entry of each type, one of a type unknown, and strings.
std::string EveryType() {
  std::string bytes = kHeader;
  bytes += Entry(8, 1, 1, 1, "int", Big(-3) + "spare bytes in the block");
  bytes += Entry(1, 2, 1, 1, "double", Big(-2.0) + Big(0.5));
  bytes += Entry(2, 1, 1, 2, "float", Big(1.5f) + Big(2.5f));
  bytes += Entry(10, 1, 2, 1, "short", "\xFF\xFE\x01\x02");
  bytes += Entry(12, 2, 1, 1, "char", "\xC8\x05");
  bytes += Entry(11, 0, 1, 1, "empty", "");
  bytes += Entry(77, 3, 1, 1, "odd", "whatever it holds");
  bytes += Entry(20, 3, 1, 1, "t", std::string("hi\0", 3));
  return bytes +
         Entry(20, 26, 1, 1, std::string(29, 'L'), std::string("abcdefghijklmnopqrstuvwxy\0", 26));
}

class QXDataFileTest : public QXReportingTest {
 protected:
  // Writes the bytes and opens them.
  QXDataFile Open(const std::string& bytes, QXFile::OpenType type = QXFile::ReadOnly) {
    temp.Write(bytes);
    return QXDataFile(path, type);
  }

  QXTempPath temp{"datafile", ".vbf"};
  const std::string& path = temp.path;
};

// Block length, type, m, n, o, name length; the name and its zero byte; the data.
TEST_F(QXDataFileTest, SavesWriteBigEndianEntriesAfterTheFileHeader) {
  QXMutableDoubleArray A = MakeArray<double>(1, 2, 1, {1.0, 2.5});
  {
    QXDataFile file(path, QXFile::NewReadWrite);
    file.Save(7, "i");
    file.Save(A, "d");
    file.Save(std::string("abc"), "s");
  }
  std::string expected = kHeader;
  expected += Header({34, 8, 1, 1, 1, 2}) + std::string("i\0", 2) + Big(int32_t(7));
  expected += Header({46, 1, 1, 2, 1, 2}) + std::string("d\0", 2) + Big(1.0) + Big(2.5);
  expected += Header({34, 20, 4, 1, 1, 2}) + std::string("s\0abc\0", 6);
  EXPECT_EQ(temp.Read(), expected);
  EXPECT_EQ(A(1), 2.5);  // the caller's array keeps the machine's order
}

TEST_F(QXDataFileTest, CopiesShareTheIndex) {
  QXDataFile file(path, QXFile::NewReadWrite);
  const QXDataFile copy = file;
  file.Save(3, "new");
  EXPECT_EQ(copy.ReadInt("new"), 3);
}

TEST_F(QXDataFileTest, ReadsEachTypeOfAHandBuiltFile) {
  const QXDataFile file = Open(EveryType());
  EXPECT_EQ(Elements(file.ReadIntArray("int")), std::vector<int>{-3});
  EXPECT_EQ(Elements(file.ReadDoubleArray("double")), (std::vector<double>{-2.0, 0.5}));
  EXPECT_EQ(Elements(file.ReadFloatArray("float")), (std::vector<float>{1.5f, 2.5f}));
  EXPECT_EQ(SizeOf(file, "float"), (std::vector<int>{1, 1, 2}));
  EXPECT_EQ(Elements(file.ReadShortIntArray("short")), (std::vector<short>{-2, 258}));
  EXPECT_EQ(Elements(file.ReadCharArray("char")), (std::vector<signed char>{-56, 5}));
  EXPECT_EQ(Elements(file.ReadUCharArray("char")), (std::vector<unsigned char>{200, 5}));
}

// The text up to its first zero byte, or all of it when it has none; the byte
// reads take every byte.
TEST_F(QXDataFileTest, StringEndsAtItsFirstZeroByte) {
  const QXDataFile file = Open(kHeader + Entry(20, 5, 1, 1, "t", std::string("ab\0d\0", 5)) +
                               Entry(20, 3, 1, 1, "u", "xyz"));
  EXPECT_EQ(file.ReadString("t"), "ab");
  EXPECT_EQ(file.ReadString("u"), "xyz");
  EXPECT_EQ(Elements(file.ReadCharArray("t")), (std::vector<signed char>{'a', 'b', 0, 'd', 0}));
}

TEST_F(QXDataFileTest, EntryOfAnUnknownTypeIsIndexedButNotRead) {
  const QXDataFile file = Open(EveryType());
  EXPECT_TRUE(file.ReadIntArray("odd").IsEmpty());
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadIntArray(name): Trying to read in a string."});
  EXPECT_TRUE(file.ReadUCharArray("odd").IsEmpty());
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadUCharArray(name): Haven't taken care of this case."});
  EXPECT_EQ(file.ReadString("odd"), "");
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadString(name): The variable \"odd\" is not a string."});
}

TEST_F(QXDataFileTest, MissingNameIsReported) {
  const QXDataFile file = Open(kHeader);
  const std::string name = "\"none\" inside the datafile.";
  EXPECT_TRUE(file.ReadFloatArray("none").IsEmpty());
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadFloatArray(name): Did not find the variable " + name});
  EXPECT_EQ(file.ReadString("none"), "");
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadString(name): Did not find the string " + name});
}

TEST_F(QXDataFileTest, ListingGivesTheCountAndDescribesEachEntry) {
  Open(EveryType()).pinfo();
  EXPECT_EQ(Printed(), Heading(path, "9 entries") + R"(int .......................... -    int - -3
double ....................... - double - 2 numbers
float ........................ -  float - 1 x 1 x 2 array
short ........................ -  short - 1 x 2 array
char ......................... -   char - 2 numbers
empty ........................ -  UChar - Empty
odd .......................... - ?????? - 3 numbers
t ............................ - string - "hi"
LLLLLLLLLLLLLLLLLLLLLLLLLLLLL  - string - "abcdefghijklmno..." - 26 characters
)");
}

// The first 390 and the last nine entries.
// The Skipping line announces the entries really left out: 500 - 399.
TEST_F(QXDataFileTest, ListingOfMoreThan400EntriesSkipsTheMiddle) {
  const auto name = [](int i) { return "v" + std::to_string(i); };
  const auto line = [&](int i) { return Line(name(i), "   int - " + std::to_string(i)); };
  std::string bytes = kHeader;
  for (int i = 1000; i < 1500; i++) bytes += IntEntry(name(i), i);
  std::string shown = Heading(path, "500 entries");
  for (int i = 1000; i < 1390; i++) shown += line(i);
  std::string last;
  for (int i = 1491; i < 1500; i++) last += line(i);
  Open(bytes).pinfo();
  const std::string listing = Printed();
  EXPECT_EQ(listing.substr(0, shown.size()), shown);
  EXPECT_EQ(listing.substr(shown.size(), 22), "Skipping 101 entries.\n");
  EXPECT_EQ(listing.substr(listing.size() - last.size()), last);
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 3 + 390 + 1 + 9);
}

TEST_F(QXDataFileTest, EmptyFileOpenedForReadingStaysEmpty) {
  Open("").pinfo();
  EXPECT_EQ(Printed(), Heading(path, "Empty"));
  EXPECT_EQ(temp.Read(), "");
}

// Any other first 24 bytes are refused the same way (see the storage safety
// tests), whatever entries follow them.
TEST_F(QXDataFileTest, FileShorterThanTheHeaderIsReportedAndIndexesNothing) {
  EXPECT_EQ(Names(Open(kHeader.substr(0, 10))), Texts{});
  EXPECT_EQ(Reports(), Texts{"QXDataFile::ReadInContent: " + kNotADataFile});
}

// Each header belongs to an entry holding "x", its zero byte and 4 data bytes.
TEST_F(QXDataFileTest, DamagedEntryEndsTheIndexWithAReport) {
  const std::pair<const char*, std::array<int64_t, 6>> damaged[] = {
      {"no block length", {0, 8, 1, 1, 1, 2}},
      {"type code out of range", {34, 2001, 1, 1, 1, 2}},
      {"name too long", {34, 8, 1, 1, 1, 256}},
      {"data longer than the block", {34, 8, 2, 1, 1, 2}},
      {"block shorter than the header", {20, 8, 1, 1, 1, 2}},
      {"no zero byte in the name", {34, 8, 1, 1, 1, 1}},
      {"size overflowing 64 bits", {34, 1, 1 << 29, 2, 1 << 29, 2}},
      {"unknown type without room for the name", {29, 5, 1, 1, 1, 2}},
  };
  for (const auto& [what, header] : damaged) {
    const std::string bytes = kHeader + IntEntry("before", 1) + Header(header) + "x" + '\0';
    EXPECT_EQ(Names(Open(bytes + Big(1) + IntEntry("after", 2))), Texts{"before"}) << what;
    EXPECT_EQ(Reports(), Texts{"Reading In File Content: Invalid file format."}) << what;
  }
}

// A sparse file whose second entry starts past 2 GiB.
TEST_F(QXDataFileTest, IndexesAndAppendsEntriesBeyondTwoGigabytes) {
  const int64_t count = 300000000, block = 32 + count * 8;  // 2.4 GB of doubles
  temp.Write(kHeader + Header({block, 1, count, 1, 1, 4}) + std::string("big\0", 4));
  ASSERT_EQ(truncate(path.c_str(), off_t(24 + block)), 0);
  std::ofstream(path, std::ios::binary | std::ios::app) << IntEntry("far", 42);
  QXDataFile file(path, QXFile::ExistingReadWrite);
  file.Save(43, "farther");
  EXPECT_EQ(file.ReadInt("far"), 42);
  EXPECT_EQ(file.ReadInt("farther"), 43);
}

}  // namespace
