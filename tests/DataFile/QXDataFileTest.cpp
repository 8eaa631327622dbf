#include "QXDataFile.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "QXArrayConversion.h"
#include "QXMatlabFileBytes.h"

namespace {

const std::string kHeader("Varnholm Binary File v1\0", 24);

// The value's bytes, most significant first.
template <class T>
std::string Big(T value) {
  return QXMatBytes{true}.Put(value).bytes;
}

// An entry header from its block length, type, m, n, o and name length.
std::string Header(const std::array<int64_t, 6>& fields) {
  std::string bytes = Big(fields[0]);
  for (int i = 1; i < 6; i++) bytes += Big(int32_t(fields[i]));
  return bytes;
}

// One entry as a writer lays it out, the name followed by its zero byte.
std::string Entry(int32_t type, int32_t m, int32_t n, int32_t o, const std::string& name,
                  const std::string& data) {
  const int64_t length = int64_t(name.size() + 1);
  return Header({28 + length + int64_t(data.size()), type, m, n, o, length}) + name + '\0' + data;
}

std::string IntEntry(const std::string& name, int32_t v) { return Entry(8, 1, 1, 1, name, Big(v)); }

// The file opened as asked, and the reports that opening made.
std::pair<QXDataFile, Texts> Open(const std::string& path, QXFile::OpenType type) {
  QXReportCapture capture;
  QXDataFile file(path, type);
  capture.Finish();
  return {file, capture.errors};
}

class QXDataFileTest : public testing::Test {
 protected:
  // The listing of a read-only open of the file.
  std::string Listing() const { return ::Listing(QXDataFile(path, QXFile::ReadOnly)); }

  QXTempPath temp{"datafile", ".vbf"};
  const std::string& path = temp.path;
};

TEST_F(QXDataFileTest, WritesTheFormatByteForByteReadsTheLastOfANameAndConvertsTypes) {
  QXMutableDoubleArray A = MakeArray<double>(1, 2, 1, {1.0, 2.5});
  {
    QXDataFile file(path, QXFile::NewReadWrite);
    file.Save(7, "i"), file.Save(A, "s");
    file.AsPointer()->Save(std::string("abc"), "s");  // copies share the index
    EXPECT_EQ(file.ReadString("s"), "abc");
  }
  // Block length, type, m, n, o, name length; the name and its zero byte; the data.
  EXPECT_EQ(temp.Read(), kHeader + Header({34, 8, 1, 1, 1, 2}) + std::string("i\0", 2) +
                             Big(int32_t(7)) + Header({46, 1, 1, 2, 1, 2}) + std::string("s\0", 2) +
                             Big(uint64_t(0x3FF0000000000000)) + Big(uint64_t(0x4004000000000000)) +
                             Header({34, 20, 4, 1, 1, 2}) + std::string("s\0abc\0", 6));
  EXPECT_EQ(A(1), 2.5);  // the caller's array keeps the machine's order
  QXDataFile file(path, QXFile::ExistingReadWrite);
  EXPECT_TRUE(file.AllVariableNames().Length() == 2 && file.ReadString("s") == "abc");
  // Every type saved reads back as every other, converted as the arrays convert.
  const auto source = MakeArray<double>(
      2, 3, 2, {-1.5, 0.9, 255.5, 300.7, -56.0, 65535.0, 70000.25, 2.0, 128.0, -1.5, 0.9, 255.5});
  const auto forEachType = [](auto f) {
    std::apply([&](auto... types) { (f(types), ...); },
               std::tuple<double, float, int, short, unsigned short, signed char, unsigned char>());
  };
  forEachType([&](auto stored) {
    using S = decltype(stored);
    QXMutableArray<S> B(2, 3, 2);
    if constexpr (std::is_same_v<S, double>) B = source;
    if constexpr (!std::is_same_v<S, double>) ConvertArray(source, B);
    file.Save(B, "saved");
    forEachType([&](auto target) {
      using T = decltype(target);
      QXMutableArray<T> expected(2, 3, 2);
      if constexpr (std::is_same_v<S, T>) expected = B;
      if constexpr (!std::is_same_v<S, T>) ConvertArray(B, expected);
      QXArray<T> read;
      ReadFromFile(file, "saved", read);
      EXPECT_TRUE(read == expected) << typeid(S).name() << " as " << typeid(T).name();
    });
  });
  file.Save(QXFloatArray(), "empty");
  EXPECT_TRUE(file.Contains("empty") && file.ReadDoubleArray("empty").IsEmpty());
}

TEST_F(QXDataFileTest, ReadsAndListsAHandBuiltFileAndReportsWhatItCannotRead) {
  const std::string longName(29, 'L');  // with its space as wide as the dotted column
  temp.Write(kHeader + Entry(8, 1, 1, 1, "count", Big(-3) + "spare bytes") +
             Entry(1, 2, 1, 1, "x", Big(-2.0) + Big(0.5)) +
             Entry(2, 1, 1, 2, "f", Big(1.5f) + Big(2.5f)) +
             Entry(10, 1, 2, 1, "s", "\xFF\xFE\x01\x02") + Entry(12, 2, 1, 1, "c", "\xC8\x05") +
             Entry(11, 0, 1, 1, "e", "") + Entry(77, 3, 1, 1, "odd", "whatever it holds") +
             Entry(20, 3, 1, 1, "t", std::string("hi\0", 3)) +
             Entry(20, 3, 1, 1, "open", "xyz") +  // no closing zero: read whole
             Entry(20, 5, 1, 1, "inner", std::string("ab\0d\0", 5)) +
             Entry(20, 26, 1, 1, longName, std::string("abcdefghijklmnopqrstuvwxy\0", 26)));
  auto [file, reports] = Open(path, QXFile::ReadOnly);
  QXReportCapture capture;
  // Byte reads take a string's bytes, zero included, and a char entry's.
  EXPECT_EQ(
      Text(file.ReadIntArray("count")) + Text(file.ReadDoubleArray("x")) +
          Text(file.ReadFloatArray("f")) + Text(file.ReadShortIntArray("s")) +
          Text(file.ReadCharArray("c")) + Text(file.ReadCharArray("t")) +
          Text(file.ReadUCharArray("c")),
      "1 1 1: -3; 2 1 1: -2 0.5; 1 1 2: 1.5 2.5; 1 2 1: -2 258; 2 1 1: -56 5; 3 1 1: 104 105 0; "
      "2 1 1: 200 5; ");
  EXPECT_EQ(file.ReadString("t") + file.ReadString("open") + file.ReadString("inner"), "hixyzab");
  EXPECT_TRUE(file.SavedAsDouble("x") && !file.SavedAsDouble("count"));
  EXPECT_TRUE(file.SavedAsString("t") && !file.SavedAsString("x") && !file.SavedAsString("no"));
  EXPECT_TRUE(reports.empty() && (capture.Finish(), capture.errors.empty()));
  // An unknown type is refused; all but the byte reads report it as they report a string.
  Texts odd = EveryRead(": Trying to read in a string."), string = odd,
        none = EveryRead(": Did not find the variable \"none\" inside the datafile.");
  for (int i : {3, 4}) odd[i] = kReads[i] + ": Haven't taken care of this case.";
  odd[7] = kReads[7] + ": The variable \"odd\" is not a string.";
  string.erase(string.begin() + 7), string.erase(string.begin() + 3, string.begin() + 5);
  none[7] = kReads[7] + ": Did not find the string \"none\" inside the datafile.";
  EXPECT_EQ(ReadAll(file, "odd", 0), odd);
  EXPECT_EQ(ReadAll(file, "t", 0, 3), string);
  EXPECT_EQ(ReadAll(file, "none", 0), none);
  EXPECT_EQ(Listing(), Heading(path, "11 entries") + R"(count ........................ -    int - -3
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

// Saves refused for the mode, the name or a file without the header leave the file as it
// was; opening a file without the header reports it and indexes nothing.
TEST_F(QXDataFileTest, RefusesSavesItCannotMakeAndLeavesTheFileAlone) {
  const std::string valid = kHeader + IntEntry("a", 1), v2("Varnholm Binary File v2\0", 24),
                    invalid = "Not a valid Varnholm binary format.";
  const auto existing = QXFile::ExistingReadWrite;
  // A new file in a missing folder cannot be opened.
  const std::tuple<std::string, QXFile::OpenType, std::string, std::string> cases[] = {
      {valid, QXFile::ReadOnly, "b", "File is read only."},
      {valid, QXFile::NewReadWrite, "b", "File is not open."},
      {v2, existing, "b", invalid},
      {kHeader.substr(0, 10), existing, "b", invalid},
      {"Varnholm Binary File v1X" + IntEntry("a", 1), existing, "b", invalid},
      {valid, existing, std::string(255, 'n'), "The name is longer than 254 characters."},
      {valid, existing, std::string("b\0c", 3), "The name contains a zero byte."}};
  for (const auto& [bytes, type, name, message] : cases) {
    temp.Write(bytes);
    const bool opened = type != QXFile::NewReadWrite;
    auto [file, reports] = Open(opened ? path : testing::TempDir() + "no_dir_qx/x.vbf", type);
    EXPECT_EQ(opened ? reports : Texts(),
              Texts(message == invalid, "QXDataFile::ReadInContent: " + invalid));
    EXPECT_EQ(file.Contains("a"), opened && message != invalid) << message;
    QXReportCapture capture;
    file.Save(2, name), file.Save(std::string("t"), name);
    EXPECT_EQ((capture.Finish(), capture.errors), Texts(2, "QXDataFile::Save: " + message));
    EXPECT_TRUE(temp.Read() == bytes && !file.Contains(name)) << message;
  }
  QXDataFile(path, QXFile::NewReadWrite).Save(1, std::string(254, 'n'));  // the longest name
  EXPECT_EQ(QXDataFile(path, QXFile::ReadOnly).ReadInt(std::string(254, 'n')), 1);
}

// Listings of more than 400 entries skip all but the first 390 and last 9; an empty file
// lists as such, and is given the header only when opened for appending.
TEST_F(QXDataFileTest, ListingsOfLongEmptyAndCutShortFiles) {
  std::string bytes = kHeader, expected = Heading(path, "500 entries");
  for (int i = 1000; i < 1500; i++) {
    bytes += IntEntry("v" + std::to_string(i), i);
    if (i < 1390 || i >= 1491)
      expected += Line("v" + std::to_string(i), "   int - " + std::to_string(i));
    if (i == 1390) expected += "Skipping 100 entries.\n";
  }
  temp.Write(bytes);
  EXPECT_EQ(Listing(), expected);
  temp.Write("");
  EXPECT_TRUE(Open(path, QXFile::ReadOnly).second.empty() && temp.Read().empty());
  EXPECT_TRUE(Open(path, QXFile::ExistingReadWrite).second.empty());
  EXPECT_EQ(temp.Read(), kHeader);
  EXPECT_EQ(Listing(), Heading(path, "Empty"));
  // A last entry cut short is left out without a report; the next save takes its place.
  const std::string whole = kHeader + IntEntry("a", 1) + IntEntry("b", 2);
  for (size_t cut : {1, 10, 34}) {
    temp.Write(whole.substr(0, whole.size() - cut));
    EXPECT_EQ(Listing(), Heading(path, "1 entry") + Line("a", "   int - 1"));
    auto [file, reports] = Open(path, QXFile::ExistingReadWrite);
    EXPECT_TRUE(reports.empty() && file.Contains("a") && !file.Contains("b")) << cut;
    file.Save(2, "b"), file.Flush();
    EXPECT_EQ(temp.Read(), whole) << cut;
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
    temp.Write(kHeader + IntEntry("before", 1) + Header(header) + std::string("x\0", 2) + Big(1) +
               IntEntry("after", 2));
    auto [file, reports] = Open(path, QXFile::ReadOnly);
    EXPECT_EQ(reports, Texts{"Reading In File Content: Invalid file format."});
    EXPECT_TRUE(file.ReadInt("before") == 1 && !file.Contains("x") && !file.Contains("after"));
  }
}

// Offsets beyond 2 GiB: a sparse file whose second entry starts past them.
TEST_F(QXDataFileTest, IndexesEntriesBeyondTwoGigabytes) {
  const int64_t count = 300000000, block = 32 + count * 8;  // 2.4 GB of doubles
  temp.Write(kHeader + Header({block, 1, count, 1, 1, 4}) + std::string("big\0", 4));
  ASSERT_EQ(truncate(path.c_str(), off_t(24 + block)), 0);
  std::ofstream(path, std::ios::binary | std::ios::app) << IntEntry("far", 42);
  auto [file, reports] = Open(path, QXFile::ExistingReadWrite);
  file.Save(43, "farther");
  EXPECT_TRUE(file.Contains("big") && file.ReadInt("far") == 42 && file.ReadInt("farther") == 43);
}

}  // namespace
