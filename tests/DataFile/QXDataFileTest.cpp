#include "QXDataFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <tuple>

#include "QXArrayConversion.h"
#include "QXTestSupport.h"

namespace {

const std::string kHeader("Varnholm Binary File v1\0", 24);

// value as `bytes` big-endian bytes.
std::string BigEndian(uint64_t value, int bytes) {
  std::string text;
  for (int i = bytes - 1; i >= 0; i--) text.push_back(char((value >> (8 * i)) & 0xFF));
  return text;
}

// An entry header from its block length, type, m, n, o and name length.
std::string Header(const std::array<int64_t, 6>& fields) {
  std::string bytes = BigEndian(uint64_t(fields[0]), 8);
  for (int i = 1; i < 6; i++) bytes += BigEndian(uint64_t(fields[i]), 4);
  return bytes;
}

// One entry as a writer lays it out, the name followed by its zero byte.
std::string Entry(int64_t type, int64_t m, int64_t n, int64_t o, const std::string& name,
                  const std::string& data) {
  const int64_t nameLength = int64_t(name.size() + 1);
  return Header({28 + nameLength + int64_t(data.size()), type, m, n, o, nameLength}) + name + '\0' +
         data;
}

std::string IntEntry(const std::string& name, int32_t v) {
  return Entry(8, 1, 1, 1, name, BigEndian(uint32_t(v), 4));
}

// "m n o: elements" of an array.
template <class T>
std::string Text(const QXArray<T>& A) {
  std::ostringstream text;
  text << A.m() << ' ' << A.n() << ' ' << A.o() << ':';
  for (int i = 0; i < A.Length(); i++) text << ' ' << +A(i);
  return text.str();
}

// The file opened as asked, and the reports that opening made.
std::pair<QXDataFile, std::vector<std::string>> Open(const std::string& path,
                                                     QXFile::OpenType type) {
  QXReportCapture capture;
  QXDataFile file(path, type);
  capture.Finish();
  return {file, capture.errors};
}

class QXDataFileTest : public testing::Test {
 protected:
  void TearDown() override { std::remove(path.c_str()); }

  std::string FileBytes() const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  void WriteFile(const std::string& bytes) const {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  // The listing of a read-only open of the file, and the heading it starts with.
  std::string Listing() const {
    QXReportCapture capture;
    QXDataFile(path, QXFile::ReadOnly).printInfo();
    capture.Finish();
    return capture.stderrText;
  }
  std::string Heading(const std::string& count) const {
    const std::string rule(64, '-');
    return rule + "\nContent of \"" + path + "\" (" + count + " )\n" + rule + "\n";
  }

  const std::string path = testing::TempDir() + "qxdatafile_" +
                           testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                           std::to_string(getpid()) + ".vbf";
};

TEST_F(QXDataFileTest, WritesTheFormatByteForByteAndTheLastEntryOfANameCounts) {
  QXMutableDoubleArray A(1, 2, 1);
  A(0) = 1.0;
  A(1) = 2.5;
  {
    QXDataFile file(path, QXFile::NewReadWrite);
    file.Save(7, "i");
    file.Save(A, "s");
    file.AsPointer()->Save(std::string("abc"), "s");  // copies share the index
    EXPECT_EQ(file.ReadString("s"), "abc");
  }
  // Block length, type, m, n, o, name length; the name and its zero byte; the data.
  EXPECT_EQ(FileBytes(), kHeader + Header({34, 8, 1, 1, 1, 2}) + std::string("i\0", 2) +
                             BigEndian(7, 4) + Header({46, 1, 1, 2, 1, 2}) + std::string("s\0", 2) +
                             BigEndian(0x3FF0000000000000, 8) + BigEndian(0x4004000000000000, 8) +
                             Header({34, 20, 4, 1, 1, 2}) + std::string("s\0abc\0", 6));
  EXPECT_EQ(A(1), 2.5);  // the caller's array keeps the machine's order
  auto [file, reports] = Open(path, QXFile::ExistingReadWrite);
  EXPECT_TRUE(file.AllVariableNames().Length() == 2 && file.ReadString("s") == "abc");
  file.Save(3.0, "s");
  file.Flush();
  EXPECT_EQ(QXDataFile(path, QXFile::ReadOnly).ReadNumber("s"), 3.0);
}

TEST_F(QXDataFileTest, ReadsAndListsAHandBuiltFileAndReportsWhatItCannotRead) {
  const std::string longName(29, 'L');  // with its space as wide as the dotted column
  WriteFile(
      kHeader + Entry(8, 1, 1, 1, "count", BigEndian(uint32_t(-3), 4) + "spare bytes") +
      Entry(1, 2, 1, 1, "x", BigEndian(0xC000000000000000, 8) + BigEndian(0x3FE0000000000000, 8)) +
      Entry(2, 1, 1, 2, "f", BigEndian(0x3FC0000040200000, 8)) +
      Entry(10, 1, 2, 1, "s", "\xFF\xFE\x01\x02") + Entry(12, 2, 1, 1, "c", "\xC8\x05") +
      Entry(11, 0, 1, 1, "e", "") + Entry(77, 3, 1, 1, "odd", "whatever it holds") +
      Entry(20, 3, 1, 1, "t", std::string("hi\0", 3)) +
      Entry(20, 3, 1, 1, "open", "xyz") +  // no closing zero: read whole
      Entry(20, 5, 1, 1, "inner", std::string("ab\0d\0", 5)) +
      Entry(20, 26, 1, 1, longName, std::string("abcdefghijklmnopqrstuvwxy\0", 26)));
  auto [file, reports] = Open(path, QXFile::ReadOnly);
  QXReportCapture capture;
  EXPECT_EQ(file.ReadInt("count"), -3);
  EXPECT_EQ(Text(file.ReadDoubleArray("x")), "2 1 1: -2 0.5");
  EXPECT_EQ(Text(file.ReadFloatArray("f")), "1 1 2: 1.5 2.5");
  EXPECT_EQ(Text(file.ReadShortIntArray("s")), "1 2 1: -2 258");
  EXPECT_EQ(Text(file.ReadCharArray("c")), "2 1 1: -56 5");
  // The byte reads take a string's bytes, zero included, and a char entry's as they are.
  EXPECT_EQ(Text(file.ReadCharArray("t")) + Text(file.ReadUCharArray("c")),
            "3 1 1: 104 105 02 1 1: 200 5");
  EXPECT_EQ(file.ReadString("t") + file.ReadString("open") + file.ReadString("inner"), "hixyzab");
  EXPECT_TRUE(file.SavedAsDouble("x") && !file.SavedAsDouble("count"));
  EXPECT_TRUE(file.SavedAsString("t") && !file.SavedAsString("x") && !file.SavedAsString("no"));
  // A list's elements are evaluated in order, and so are the reports.
  const std::vector<int> unread = {
      file.ReadDoubleArray("t").Length(),      file.ReadFloatArray("t").Length(),
      file.ReadShortIntArray("odd").Length(),  file.ReadCharArray("odd").Length(),
      file.ReadUCharArray("odd").Length(),     int(file.ReadString("count").size()),
      int(file.ReadString("none").size()),     file.ReadIntArray("none").Length(),
      file.ReadUShortIntArray("none").Length()};
  capture.Finish();
  EXPECT_EQ(unread, std::vector<int>(9, 0));
  const std::string string = "(name): Trying to read in a string.",
                    other = "(name): Haven't taken care of this case.",
                    none = "(name): Did not find the variable \"none\" inside the datafile.";
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{
                "dataFile.ReadDoubleArray" + string, "dataFile.ReadFloatArray" + string,
                "dataFile.ReadShortIntArray" + string, "dataFile.ReadCharArray" + other,
                "dataFile.ReadUCharArray" + other,
                "dataFile.ReadString(name): The variable \"count\" is not a string.",
                "dataFile.ReadString(name): Did not find the string \"none\" inside the datafile.",
                "dataFile.ReadIntArray" + none, "dataFile.ReadUShortIntArray" + none}));
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(Listing(), Heading("11 entries") + R"(count ........................ -    int - -3
x ............................ - double - 2 numbers
f ............................ -  float - 1 x 1 x 2 array
s ............................ -  short - 1 x 2 array
c ............................ -   char - 2 numbers
e ............................ -  UChar - Empty
odd .......................... - ?????? - 3 numbers
t ............................ - string - "hi"
open ......................... - string - "xyz"
inner ........................ - string - "ab"
LLLLLLLLLLLLLLLLLLLLLLLLLLLLL  - string - "abcdefghijklmno..." - 26 characters
)");
}

TEST_F(QXDataFileTest, EveryTypeConvertsToEveryOther) {
  QXMutableDoubleArray source(2, 3, 2);
  const double values[] = {-1.5, 0.9, 255.5, 300.7, -56.0, 65535.0, 70000.25, 2.0, 128.0};
  for (int i = 0; i < source.Length(); i++) source(i) = values[i % 9];
  QXDataFile file(path, QXFile::NewReadWrite);
  const auto forEachType = [](auto f) {
    std::apply([&](auto... types) { (f(types), ...); },
               std::tuple<double, float, int, short, unsigned short, signed char, unsigned char>());
  };
  forEachType([&](auto stored) {
    using S = decltype(stored);
    QXMutableArray<S> A(2, 3, 2);
    if constexpr (std::is_same_v<S, double>) A = source;
    if constexpr (!std::is_same_v<S, double>) ConvertArray(source, A);
    file.Save(A, "saved");
    forEachType([&](auto target) {
      using T = decltype(target);
      QXMutableArray<T> expected(2, 3, 2);
      if constexpr (std::is_same_v<S, T>) expected = A;
      if constexpr (!std::is_same_v<S, T>) ConvertArray(A, expected);
      QXArray<T> read;
      ReadFromFile(file, "saved", read);
      EXPECT_TRUE(read == expected) << typeid(S).name() << " as " << typeid(T).name();
    });
  });
  file.Save(QXFloatArray(), "empty");
  EXPECT_TRUE(file.Contains("empty") && file.ReadDoubleArray("empty").IsEmpty());
}

TEST_F(QXDataFileTest, RefusesSavesItCannotMakeAndLeavesTheFileAlone) {
  const std::string valid = kHeader + IntEntry("a", 1), foreign = "MATLAB 5.0 MAT-file";
  const std::string noDirectory = testing::TempDir() + "no_such_dir_qx/x.vbf";
  const std::tuple<std::string, std::string, QXFile::OpenType, std::string, std::string> cases[] = {
      {valid, path, QXFile::ReadOnly, "b", "File is read only."},
      {valid, noDirectory, QXFile::NewReadWrite, "b", "File is not open."},
      {foreign, path, QXFile::ExistingReadWrite, "b", "Not a valid Varnholm binary format."},
      {valid, path, QXFile::ExistingReadWrite, std::string(255, 'n'),
       "The name is longer than 254 characters."},
      {valid, path, QXFile::ExistingReadWrite, std::string("b\0c", 3),
       "The name contains a zero byte."}};
  for (const auto& [bytes, where, type, name, message] : cases) {
    WriteFile(bytes);
    QXDataFile file = Open(where, type).first;
    QXReportCapture capture;
    file.Save(2, name);
    file.Save(std::string("t"), name);
    capture.Finish();
    EXPECT_EQ(capture.errors, std::vector<std::string>(2, "QXDataFile::Save: " + message));
    EXPECT_TRUE(FileBytes() == bytes && !file.Contains(name)) << message;
  }
  QXDataFile(path, QXFile::NewReadWrite).Save(1, std::string(254, 'n'));  // the longest name
  EXPECT_EQ(QXDataFile(path, QXFile::ReadOnly).ReadInt(std::string(254, 'n')), 1);
}

TEST_F(QXDataFileTest, LongListingsSkipTheMiddle) {
  std::string bytes = kHeader, expected = Heading("500 entries");
  char name[8];
  for (int i = 0; i < 500; i++) {
    std::snprintf(name, sizeof name, "v%03d", i);
    bytes += IntEntry(name, i);
    if (i < 390 || i >= 491)
      expected += name + std::string(" ") + std::string(25, '.') + " -    int - " +
                  std::to_string(i) + "\n";
    if (i == 390) expected += "Skipping 100 entries.\n";
  }
  WriteFile(bytes);
  EXPECT_EQ(Listing(), expected);
}

TEST_F(QXDataFileTest, NeedsTheHeaderAndWritesItIntoAnEmptyFile) {
  for (const std::string& bytes :
       {std::string("Varnholm Binary File v2\0", 24), kHeader.substr(0, 10),
        std::string("Varnholm Binary File v1X") + IntEntry("a", 1)}) {
    WriteFile(bytes);
    auto [file, reports] = Open(path, QXFile::ExistingReadWrite);
    EXPECT_EQ(reports, std::vector<std::string>{
                           "QXDataFile::ReadInContent: Not a valid Varnholm binary format."});
    EXPECT_EQ(file.AllVariableNames().Length(), 0);
  }
  WriteFile("");
  EXPECT_TRUE(Open(path, QXFile::ReadOnly).second.empty());
  EXPECT_EQ(FileBytes(), "");
  EXPECT_TRUE(Open(path, QXFile::ExistingReadWrite).second.empty());
  EXPECT_EQ(FileBytes(), kHeader);
  EXPECT_EQ(Listing(), Heading("Empty"));
}

// A last entry cut short is left out without a report; the next save takes its place.
TEST_F(QXDataFileTest, TruncatedLastEntryIsLeftOutSilently) {
  const std::string whole = kHeader + IntEntry("a", 1) + IntEntry("b", 2);
  for (size_t cut : {1, 10, 34}) {
    WriteFile(whole.substr(0, whole.size() - cut));
    EXPECT_EQ(Listing(), Heading("1 entry") + "a " + std::string(28, '.') + " -    int - 1\n");
    auto [file, reports] = Open(path, QXFile::ExistingReadWrite);
    EXPECT_TRUE(reports.empty() && file.Contains("a") && !file.Contains("b")) << cut;
    file.Save(2, "b");
    file.Flush();
    EXPECT_EQ(FileBytes(), whole) << cut;
  }
}

TEST_F(QXDataFileTest, DamagedEntryEndsTheIndexWithAReport) {
  // Headers of an entry holding "x", its zero byte and 4 data bytes: no block length, a
  // negative one, a type code out of range, a name too long, data longer than the block, a
  // block shorter than the header, no zero byte in the name, nor in an empty name field.
  // Then sizes beyond the int range, which must not wrap into small dimensions, and an
  // unknown type, whose block has no known data length but still needs room for the name.
  const std::array<int64_t, 6> damaged[] = {
      {0, 8, 1, 1, 1, 2},           {-34, 8, 1, 1, 1, 2},         {34, 2001, 1, 1, 1, 2},
      {34, 8, 1, 1, 1, 256},        {34, 8, 2, 1, 1, 2},          {20, 8, 1, 1, 1, 2},
      {34, 8, 1, 1, 1, 1},          {34, 8, 1, 1, 1, 0},          {34, 8, 0x80000001, 1, 1, 2},
      {34, 8, 1, 1, 0xFFFFFFFF, 2}, {34, 11, 65536, 65536, 1, 2}, {34, 1, 1 << 29, 2, 1 << 29, 2},
      {29, 5, 1, 1, 1, 2}};
  for (const auto& header : damaged) {
    SCOPED_TRACE(&header - damaged);
    WriteFile(kHeader + IntEntry("before", 1) + Header(header) + std::string("x\0", 2) +
              BigEndian(1, 4) + IntEntry("after", 2));
    auto [file, reports] = Open(path, QXFile::ReadOnly);
    EXPECT_EQ(reports, std::vector<std::string>{"Reading In File Content: Invalid file format."});
    EXPECT_EQ(file.ReadInt("before"), 1);
    EXPECT_FALSE(file.Contains("x") || file.Contains("after"));
  }
}

// Offsets beyond 2 GiB: a sparse file whose second entry starts past them.
TEST_F(QXDataFileTest, IndexesEntriesBeyondTwoGigabytes) {
  const int64_t count = 300000000, block = 32 + count * 8;  // 2.4 GB of doubles
  WriteFile(kHeader + Header({block, 1, count, 1, 1, 4}) + std::string("big\0", 4));
  ASSERT_EQ(truncate(path.c_str(), off_t(24 + block)), 0);
  std::ofstream(path, std::ios::binary | std::ios::app) << IntEntry("far", 42);
  auto [file, reports] = Open(path, QXFile::ExistingReadWrite);
  file.Save(43, "farther");
  EXPECT_TRUE(file.Contains("big") && file.ReadInt("far") == 42 && file.ReadInt("farther") == 43);
}

}  // namespace
