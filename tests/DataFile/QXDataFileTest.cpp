#include "QXDataFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "QXArrayConversion.h"
#include "QXTestSupport.h"

namespace {

const std::string kHeader("Varnholm Binary File v1\0", 24);
const std::string kInvalid = "Reading In File Content: Invalid file format.";

// value as `bytes` big-endian bytes.
std::string BigEndian(uint64_t value, int bytes) {
  std::string text;
  for (int i = bytes - 1; i >= 0; i--) text.push_back(char((value >> (8 * i)) & 0xFF));
  return text;
}

std::string BigEndianDouble(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  return BigEndian(bits, 8);
}

// One entry as a writer lays it out; the fields can be spoiled before Bytes().
struct RawEntry {
  RawEntry(uint32_t type, uint32_t m, uint32_t n, uint32_t o, const std::string& name,
           std::string data)
      : type(type), m(m), n(n), o(o), nameField(name + std::string(1, '\0')), data(data) {
    nameLength = uint32_t(nameField.size());
    blockLength = int64_t(28 + nameField.size() + data.size());
  }
  std::string Bytes() const {
    return BigEndian(uint64_t(blockLength), 8) + BigEndian(type, 4) + BigEndian(m, 4) +
           BigEndian(n, 4) + BigEndian(o, 4) + BigEndian(nameLength, 4) + nameField + data;
  }
  uint32_t type, m, n, o;
  std::string nameField, data;
  uint32_t nameLength;
  int64_t blockLength;
};

RawEntry IntEntry(const std::string& name, int32_t v) {
  return RawEntry(8, 1, 1, 1, name, BigEndian(uint32_t(v), 4));
}

template <class T>
QXMutableArray<T> Filled(int m, int n, int o, std::vector<T> values) {
  QXMutableArray<T> A(m, n, o);
  for (int i = 0; i < A.Length(); i++) A(i) = values[size_t(i) % values.size()];
  return A;
}

template <class T>
QXArray<T> ReadAs(const QXDataStorage& s, const std::string& name) {
  if constexpr (std::is_same_v<T, double>) return s.ReadDoubleArray(name);
  if constexpr (std::is_same_v<T, float>) return s.ReadFloatArray(name);
  if constexpr (std::is_same_v<T, int>) return s.ReadIntArray(name);
  if constexpr (std::is_same_v<T, short>) return s.ReadShortIntArray(name);
  if constexpr (std::is_same_v<T, unsigned short>) return s.ReadUShortIntArray(name);
  if constexpr (std::is_same_v<T, signed char>) return s.ReadCharArray(name);
  if constexpr (std::is_same_v<T, unsigned char>) return s.ReadUCharArray(name);
}

template <class F>
void ForEachElementType(F f) {
  f(double());
  f(float());
  f(int());
  f(short());
  f(static_cast<unsigned short>(0));
  f(static_cast<signed char>(0));
  f(static_cast<unsigned char>(0));
}

class QXDataFileTest : public testing::Test {
 protected:
  void SetUp() override {
    path = testing::TempDir() + "qxdatafile_" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
           std::to_string(getpid()) + ".vbf";
  }
  void TearDown() override { std::remove(path.c_str()); }

  std::string FileBytes() const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  void WriteFile(const std::string& bytes) const {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  // The listing lines of a read-only open of the file.
  std::vector<std::string> Listing() const {
    QXDataFile file(path, QXFile::ReadOnly);
    QXReportCapture capture;
    file.printInfo();
    capture.Finish();
    std::vector<std::string> lines;
    std::istringstream text(capture.stderrText);
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  }

  std::string path;
};

TEST_F(QXDataFileTest, WritesTheFormatByteForByte) {
  QXMutableDoubleArray A = Filled<double>(1, 2, 1, {1.0, 2.5});
  {
    QXDataFile file(path, QXFile::NewReadWrite);
    file.Save(7, "i");
    file.Save(A, "d");
    file.Save(std::string("abc"), "s");
  }
  const std::string expected =
      kHeader +
      // block length 34, type 8 (int), 1 x 1 x 1, name length 2, "i\0", 7
      BigEndian(34, 8) + BigEndian(8, 4) + BigEndian(1, 4) + BigEndian(1, 4) + BigEndian(1, 4) +
      BigEndian(2, 4) + std::string("i\0", 2) + BigEndian(7, 4) +
      // block length 46, type 1 (double), 1 x 2 x 1, "d\0", 1.0 and 2.5
      BigEndian(46, 8) + BigEndian(1, 4) + BigEndian(1, 4) + BigEndian(2, 4) + BigEndian(1, 4) +
      BigEndian(2, 4) + std::string("d\0", 2) + "\x3F\xF0" + std::string(6, '\0') + "\x40\x04" +
      std::string(6, '\0') +
      // block length 34, type 20 (string), m = 4, "s\0", "abc\0"
      BigEndian(34, 8) + BigEndian(20, 4) + BigEndian(4, 4) + BigEndian(1, 4) + BigEndian(1, 4) +
      BigEndian(2, 4) + std::string("s\0", 2) + std::string("abc\0", 4);
  EXPECT_EQ(FileBytes(), expected);
  // The caller's array keeps the machine's order.
  EXPECT_EQ(A(0), 1.0);
  EXPECT_EQ(A(1), 2.5);
}

TEST_F(QXDataFileTest, ReadsAHandBuiltFile) {
  WriteFile(
      kHeader + IntEntry("count", -3).Bytes() +
      RawEntry(1, 2, 1, 1, "x", BigEndianDouble(-2.0) + BigEndianDouble(0.5)).Bytes() +
      RawEntry(2, 1, 1, 2, "f", std::string("\x3F\xC0\0\0\x40\x20\0\0", 8)).Bytes() +  // 1.5, 2.5
      RawEntry(10, 1, 2, 1, "s", "\xFF\xFE\x01\x02").Bytes() +                         // -2, 258
      RawEntry(9, 1, 1, 1, "u", "\xFF\xFE").Bytes() +                                  // 65534
      RawEntry(20, 3, 1, 1, "t", std::string("hi\0", 3)).Bytes() +
      RawEntry(20, 3, 1, 1, "open", "xyz").Bytes() +  // no closing zero: read whole
      RawEntry(20, 5, 1, 1, "inner", std::string("ab\0d\0", 5)).Bytes());
  QXDataFile file(path, QXFile::ReadOnly);
  QXReportCapture capture;
  EXPECT_EQ(file.ReadInt("count"), -3);
  QXDoubleArray x = file.ReadDoubleArray("x");
  ASSERT_EQ(x.Length(), 2);
  EXPECT_EQ(x(0), -2.0);
  EXPECT_EQ(x(1), 0.5);
  QXFloatArray f = file.ReadFloatArray("f");
  EXPECT_EQ(f.o(), 2);
  EXPECT_EQ(f(0, 0, 1), 2.5f);
  QXShortIntArray s = file.ReadShortIntArray("s");
  EXPECT_EQ(s(0, 0), -2);
  EXPECT_EQ(s(0, 1), 258);
  EXPECT_EQ(file.ReadUShortIntArray("u")(0), 65534);
  EXPECT_EQ(file.ReadString("t"), "hi");
  EXPECT_EQ(file.ReadString("open"), "xyz");
  EXPECT_EQ(file.ReadString("inner"), "ab");
  EXPECT_TRUE(file.SavedAsDouble("x"));
  EXPECT_FALSE(file.SavedAsDouble("count"));
  EXPECT_TRUE(file.SavedAsString("t"));
  EXPECT_FALSE(file.SavedAsString("missing"));
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(QXDataFileTest, EveryTypeRoundTripsAndConvertsToEveryOther) {
  // Each stored array is made from these doubles by the library's conversion.
  const QXMutableDoubleArray source =
      Filled<double>(2, 3, 2, {-1.5, 0.9, 255.5, 300.7, -56.0, 65535.0, 70000.25, 2.0, 128.0});
  std::vector<std::string> names;
  {
    QXDataFile file(path, QXFile::NewReadWrite);
    ForEachElementType([&](auto stored) {
      using S = decltype(stored);
      QXMutableArray<S> A(2, 3, 2);
      if constexpr (std::is_same_v<S, double>)
        A = source.Copy();
      else
        ConvertArray(source, A);
      names.push_back("v" + std::to_string(names.size()));
      file.Save(A, names.back());
    });
  }
  QXDataFile file(path, QXFile::ReadOnly);
  size_t k = 0;
  QXReportCapture capture;
  ForEachElementType([&](auto stored) {
    using S = decltype(stored);
    const QXArray<S> original = ReadAs<S>(file, names[k]);
    ASSERT_EQ(original.o(), 2);
    ForEachElementType([&](auto target) {
      using T = decltype(target);
      QXMutableArray<T> expected(2, 3, 2);
      if constexpr (std::is_same_v<S, T>)
        expected = original.Copy();
      else
        ConvertArray(original, expected);
      EXPECT_TRUE(ReadAs<T>(file, names[k]) == expected) << "stored " << k;
    });
    k++;
  });
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
  // The plain-value rule seen through the file; empty arrays and numbers.
  QXDataFile writer(path, QXFile::ExistingReadWrite);
  writer.Save(Filled<double>(2, 1, 1, {2.7, -2.7}), "real");
  writer.Save(QXFloatArray(), "empty");
  writer.Save(-4, "n");
  EXPECT_TRUE(writer.ReadIntArray("real") == Filled<int>(2, 1, 1, {2, -2}));
  EXPECT_TRUE(writer.Contains("empty"));
  EXPECT_TRUE(writer.ReadDoubleArray("empty").IsEmpty());
  EXPECT_EQ(writer.ReadNumber("n"), -4.0);
}

TEST_F(QXDataFileTest, TheLastEntryOfANameCounts) {
  {
    QXDataFile file(path, QXFile::NewReadWrite);
    file.Save(1.0, "x");
    file.Save(std::string("second"), "x");
    EXPECT_EQ(file.ReadString("x"), "second");
  }
  // Both entries stay in the file: 24 + (28 + 2 + 8) + (28 + 2 + 7).
  EXPECT_EQ(FileBytes().size(), 24u + 38u + 37u);
  QXDataFile file(path, QXFile::ExistingReadWrite);
  EXPECT_EQ(file.ReadString("x"), "second");
  EXPECT_EQ(file.AllVariableNames().Length(), 1);
  file.Save(3.0, "x");
  file.Flush();
  QXDataFile reopened(path, QXFile::ReadOnly);
  EXPECT_EQ(reopened.ReadNumber("x"), 3.0);
}

TEST_F(QXDataFileTest, RefusesToSaveWhenReadOnlyOrWithoutAFile) {
  { QXDataFile(path, QXFile::NewReadWrite).Save(1, "a"); }
  const std::string before = FileBytes();
  QXDataFile readOnly(path, QXFile::ReadOnly);
  const std::string missing = testing::TempDir() + "no_such_dir_qx/x.vbf";
  QXReportCapture capture;
  QXDataFile unopened(missing, QXFile::NewReadWrite);
  readOnly.Save(2, "b");
  readOnly.Save(std::string("t"), "c");
  unopened.Save(2.0, "b");
  capture.Finish();
  ASSERT_EQ(capture.errors.size(), 4u);
  EXPECT_EQ(capture.errors[1], "QXDataFile::Save: File is read only.");
  EXPECT_EQ(capture.errors[2], "QXDataFile::Save: File is read only.");
  EXPECT_EQ(capture.errors[3], "QXDataFile::Save: File is not open.");
  EXPECT_EQ(FileBytes(), before);
  EXPECT_FALSE(readOnly.Contains("b"));
  EXPECT_FALSE(unopened.Contains("b"));
}

TEST_F(QXDataFileTest, RefusesNamesTheFileCannotHold) {
  QXDataFile file(path, QXFile::NewReadWrite);
  QXReportCapture capture;
  file.Save(1, std::string(255, 'n'));
  file.Save(1, std::string("a\0b", 3));
  file.Save(1, std::string(254, 'n'));
  capture.Finish();
  EXPECT_EQ(capture.errors.size(), 2u);
  QXDataFile reopened(path, QXFile::ReadOnly);
  EXPECT_EQ(reopened.AllVariableNames().Length(), 1);
  EXPECT_EQ(reopened.ReadInt(std::string(254, 'n')), 1);
}

TEST_F(QXDataFileTest, CopiesShareTheIndexAndTheFile) {
  QXDataFile file(path, QXFile::NewReadWrite);
  QXDataFile copy = file;
  QXMutablePointer<QXDataStorage> pointer = file.AsPointer();
  pointer->Save(5, "p");
  copy.Save(6, "c");
  EXPECT_EQ(file.ReadInt("p"), 5);
  EXPECT_EQ(pointer->ReadInt("c"), 6);
  file.Flush();
  QXDataFile reader(path, QXFile::ReadOnly);
  EXPECT_EQ(reader.AllVariableNames()(0), "c");
  EXPECT_EQ(reader.AllVariableNames()(1), "p");
}

TEST_F(QXDataFileTest, NewFileHoldsOnlyTheHeaderAndListsEmpty) {
  { QXDataFile file(path, QXFile::NewReadWrite); }
  EXPECT_EQ(FileBytes(), kHeader);
  const std::string rule(64, '-');
  EXPECT_EQ(Listing(),
            (std::vector<std::string>{rule, "Content of \"" + path + "\" (Empty )", rule}));
}

TEST_F(QXDataFileTest, ListsEntriesInFileOrder) {
  {
    QXDataFile file(path, QXFile::NewReadWrite);
    file.Save(Filled<double>(3, 4, 1, {0}), "grid");
    file.Save(2.5, "a");
    file.Save(Filled<int>(5, 1, 1, {1}), "vector");
    file.Save(Filled<short>(2, 3, 4, {1}), "block");
    file.Save(QXUCharArray(), "nothing");
    file.Save(std::string("short text"), "s1");
    file.Save(std::string("abcdefghijklmnopqrstuvwxy"), "s2");
    file.Save(1, std::string(40, 'L'));
  }
  const std::vector<std::string> lines = Listing();
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[1], "Content of \"" + path + "\" (8 entries )");
  EXPECT_EQ(lines[3], "grid " + std::string(25, '.') + " - double - 3 x 4 array");
  EXPECT_EQ(lines[4], "a " + std::string(28, '.') + " - double - 2.5");
  EXPECT_EQ(lines[5], "vector " + std::string(23, '.') + " -    int - 5 numbers");
  EXPECT_EQ(lines[6], "block " + std::string(24, '.') + " -  short - 2 x 3 x 4 array");
  EXPECT_EQ(lines[7], "nothing " + std::string(22, '.') + " -  UChar - Empty");
  EXPECT_EQ(lines[8], "s1 " + std::string(27, '.') + " - string - \"short text\"");
  EXPECT_EQ(lines[9],
            "s2 " + std::string(27, '.') + " - string - \"abcdefghijklmno...\" - 26 characters");
  EXPECT_EQ(lines[10], std::string(40, 'L') + "  -    int - 1");
}

TEST_F(QXDataFileTest, LongListingsSkipTheMiddle) {
  {
    QXDataFile file(path, QXFile::NewReadWrite);
    char name[8];
    for (int i = 0; i < 500; i++) {
      std::snprintf(name, sizeof name, "v%03d", i);
      file.Save(i, name);
    }
  }
  const std::vector<std::string> lines = Listing();
  ASSERT_EQ(lines.size(), 3u + 390u + 1u + 9u);
  EXPECT_EQ(lines[1], "Content of \"" + path + "\" (500 entries )");
  EXPECT_EQ(lines[3], "v000 " + std::string(25, '.') + " -    int - 0");
  EXPECT_EQ(lines[3 + 389].substr(0, 5), "v389 ");
  EXPECT_EQ(lines[3 + 390], "Skipping 100 entries.");
  for (int k = 0; k < 9; k++)
    EXPECT_EQ(lines[3 + 391 + k].substr(0, 4), "v" + std::to_string(491 + k));
}

TEST_F(QXDataFileTest, ReadsReportWhatTheyCannotReturn) {
  WriteFile(kHeader + RawEntry(20, 4, 1, 1, "s", std::string("abc\0", 4)).Bytes() +
            RawEntry(12, 2, 1, 1, "c", "\xC8\x05").Bytes() +
            RawEntry(7, 1, 1, 1, "odd", "\x01").Bytes() + IntEntry("i", 1).Bytes());
  QXDataFile file(path, QXFile::ReadOnly);
  QXReportCapture capture;
  EXPECT_TRUE(file.ReadDoubleArray("s").IsEmpty());
  EXPECT_TRUE(file.ReadFloatArray("s").IsEmpty());
  EXPECT_TRUE(file.ReadShortIntArray("odd").IsEmpty());
  EXPECT_TRUE(file.ReadCharArray("odd").IsEmpty());
  EXPECT_TRUE(file.ReadUCharArray("odd").IsEmpty());
  EXPECT_EQ(file.ReadString("i"), "");
  EXPECT_EQ(file.ReadString("none"), "");
  EXPECT_TRUE(file.ReadIntArray("none").IsEmpty());
  EXPECT_TRUE(file.ReadUShortIntArray("none").IsEmpty());
  capture.Finish();
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{
                "dataFile.ReadDoubleArray(name): Trying to read in a string.",
                "dataFile.ReadFloatArray(name): Trying to read in a string.",
                "dataFile.ReadShortIntArray(name): Trying to read in a string.",
                "dataFile.ReadCharArray(name): Haven't taken care of this case.",
                "dataFile.ReadUCharArray(name): Haven't taken care of this case.",
                "dataFile.ReadString(name): The variable \"i\" is not a string.",
                "dataFile.ReadString(name): Did not find the string \"none\" inside the datafile.",
                "dataFile.ReadIntArray(name): Did not find the variable \"none\" inside the "
                "datafile.",
                "dataFile.ReadUShortIntArray(name): Did not find the variable \"none\" inside the "
                "datafile."}));
  // The byte reads take a string's bytes, zero included, and a char entry's bytes.
  QXCharArray text = file.ReadCharArray("s");
  ASSERT_EQ(text.Length(), 4);
  EXPECT_EQ(text(0), 'a');
  EXPECT_EQ(text(3), 0);
  EXPECT_EQ(file.ReadUCharArray("s")(2), 'c');
  EXPECT_EQ(file.ReadUCharArray("c")(0), 200);
  EXPECT_EQ(file.ReadCharArray("c")(0), -56);
  EXPECT_EQ(file.ReadString("s"), "abc");
}

TEST_F(QXDataFileTest, RejectsFilesWithoutTheHeader) {
  for (const std::string& bytes :
       {std::string("Varnholm Binary File v2\0", 24), kHeader.substr(0, 10),
        std::string("Varnholm Binary File v1X") + IntEntry("a", 1).Bytes()}) {
    WriteFile(bytes);
    QXReportCapture capture;
    QXDataFile file(path, QXFile::ExistingReadWrite);
    capture.Finish();
    EXPECT_EQ(
        capture.errors,
        std::vector<std::string>{"QXDataFile::ReadInContent: Not a valid Varnholm binary format."});
    EXPECT_EQ(file.AllVariableNames().Length(), 0);
  }
}

TEST_F(QXDataFileTest, EmptyFilesGetTheHeaderOnlyWhenWritable) {
  WriteFile("");
  QXReportCapture capture;
  { QXDataFile file(path, QXFile::ReadOnly); }
  EXPECT_EQ(FileBytes(), "");
  { QXDataFile file(path, QXFile::ExistingReadWrite); }
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
  EXPECT_EQ(FileBytes(), kHeader);
}

TEST_F(QXDataFileTest, TruncatedLastEntryIsLeftOutSilently) {
  const std::string whole = kHeader + IntEntry("a", 1).Bytes() + IntEntry("b", 2).Bytes();
  for (size_t cut : {size_t(1), size_t(10), size_t(34)}) {
    WriteFile(whole.substr(0, whole.size() - cut));
    QXReportCapture capture;
    QXDataFile file(path, QXFile::ReadOnly);
    capture.Finish();
    EXPECT_TRUE(capture.errors.empty());
    EXPECT_TRUE(file.Contains("a"));
    EXPECT_FALSE(file.Contains("b"));
  }
}

TEST_F(QXDataFileTest, SavingAfterATruncatedEntryKeepsTheNewEntriesReadable) {
  const std::string good = kHeader + IntEntry("a", 1).Bytes();
  WriteFile(good + RawEntry(1, 4, 1, 1, "cut", std::string(32, '\0')).Bytes().substr(0, 40));
  { QXDataFile(path, QXFile::ExistingReadWrite).Save(2, "b"); }
  EXPECT_EQ(FileBytes(), good + IntEntry("b", 2).Bytes());
}

TEST_F(QXDataFileTest, NeverAppendsToAFileOfAnotherKind) {
  WriteFile("MATLAB 5.0 MAT-file, not ours");
  QXReportCapture capture;
  QXDataFile file(path, QXFile::ExistingReadWrite);
  file.Save(1, "a");
  capture.Finish();
  EXPECT_EQ(capture.errors.back(), "QXDataFile::Save: Not a valid Varnholm binary format.");
  EXPECT_EQ(FileBytes(), "MATLAB 5.0 MAT-file, not ours");
}

TEST_F(QXDataFileTest, DamagedEntryEndsTheIndexWithAReport) {
  const RawEntry x = IntEntry("x", 1);
  std::vector<RawEntry> damaged(13, x);
  damaged[0].blockLength = 0;
  damaged[1].blockLength = -34;
  damaged[2].type = 2001;
  damaged[3].nameLength = 256;
  damaged[4].m = 2;  // data longer than the block
  damaged[5].blockLength = 20;
  damaged[6].nameField = "xy";  // no zero byte
  damaged[7].nameLength = 0;
  damaged[7].nameField = "";
  damaged[7].blockLength = 32;
  // Sizes beyond the int range must not wrap into small dimensions.
  damaged[8].m = 0x80000001u;
  damaged[9].o = 0xFFFFFFFFu;
  damaged[10] = RawEntry(11, 65536, 65536, 1, "x", "\x01");
  damaged[11] = RawEntry(1, 0x20000000u, 2, 0x20000000u, "x", "");
  // An unknown type has no known data length, but still needs room for its name.
  damaged[12] = RawEntry(5, 1, 1, 1, "x", "");
  damaged[12].blockLength = 29;
  for (size_t k = 0; k < damaged.size(); k++) {
    WriteFile(kHeader + IntEntry("before", 1).Bytes() + damaged[k].Bytes() +
              IntEntry("after", 2).Bytes());
    QXReportCapture capture;
    QXDataFile file(path, QXFile::ReadOnly);
    capture.Finish();
    EXPECT_EQ(capture.errors, std::vector<std::string>{kInvalid}) << "case " << k;
    EXPECT_EQ(file.ReadInt("before"), 1) << "case " << k;
    EXPECT_FALSE(file.Contains("x")) << "case " << k;
    EXPECT_FALSE(file.Contains("after")) << "case " << k;
  }
}

TEST_F(QXDataFileTest, SkipsSpareBytesAndUnknownTypes) {
  RawEntry roomy = IntEntry("roomy", 9);
  roomy.data += "spare bytes";
  roomy.blockLength += 11;
  RawEntry unknown(77, 3, 1, 1, "unknown", "whatever it holds");
  WriteFile(kHeader + roomy.Bytes() + unknown.Bytes() + IntEntry("after", 2).Bytes());
  QXDataFile file(path, QXFile::ReadOnly);
  EXPECT_EQ(file.ReadInt("roomy"), 9);
  EXPECT_EQ(file.ReadInt("after"), 2);
  ASSERT_TRUE(file.Contains("unknown"));
  EXPECT_EQ(Listing()[4], "unknown " + std::string(22, '.') + " - ?????? - 3 numbers");
}

// Offsets beyond 2 GiB: a sparse file whose second entry starts past them.
TEST_F(QXDataFileTest, IndexesEntriesBeyondTwoGigabytes) {
  const uint32_t count = 300000000;  // 2.4 GB of doubles
  RawEntry big(1, count, 1, 1, "big", "");
  big.blockLength = int64_t(28 + 4) + int64_t(count) * 8;
  const std::string head = kHeader + big.Bytes();
  {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(head.data(), 1, head.size(), out);
    ASSERT_EQ(fseeko(out, off_t(24 + big.blockLength), SEEK_SET), 0);
    const std::string tail = IntEntry("far", 42).Bytes();
    std::fwrite(tail.data(), 1, tail.size(), out);
    std::fclose(out);
  }
  QXDataFile file(path, QXFile::ExistingReadWrite);
  EXPECT_TRUE(file.Contains("big"));
  EXPECT_EQ(file.ReadInt("far"), 42);
  file.Save(43, "farther");
  EXPECT_EQ(file.ReadInt("farther"), 43);
  EXPECT_EQ(file.ReadInt("far"), 42);
}

}  // namespace
