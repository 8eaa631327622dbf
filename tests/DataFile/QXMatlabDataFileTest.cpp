#include "QXMatlabDataFile.h"

#include <climits>
#include <cmath>
#include <tuple>

#include "QXMatlabFileBytes.h"

namespace {

const std::string kNotFound = "Did not find the variable \"no\" inside the datafile.";
const std::string kInvalidHeader =
    "Reading In File Content: Invalid file format, make sure you used the -v4 in matlab.";

class QXMatlabDataFileTest : public QXReportingTest {
 protected:
  // Writes the bytes and opens them for reading and appending.
  QXMatlabDataFile Open(const std::string& bytes) {
    file.Write(bytes);
    return QXMatlabDataFile(file.path, QXFile::ExistingReadWrite);
  }

  QXTempPath file{"matlab"};
  const bool big = kBigEndianMachine;
};

// The scipy test checks the element type written for each array type.
TEST_F(QXMatlabDataFileTest, SavesAppendOneRecordPerVariableInTheMachinesOrder) {
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    storage.Save(MakeArray<double>(2, 1, 2, {1, 2, 3, 4}), "A");
    storage.Save(MakeArray<float>(1, 1, 1, {0.25f}), "f");
    storage.Save(MakeArray<int>(2, 1, 1, {INT_MIN, INT_MAX}), "i");
    storage.Save(MakeArray<signed char>(1, 2, 1, {'h', 'i'}), "c");
    storage.Save(std::string("text"), "t");
    storage.Save(7, "n");
    storage.Save(QXFloatArray(), "e");
    storage.Save(8.0, "n");
  }
  QXMatBytes expected{big};
  expected.Record<double>(0, 2, 2, "A", {1, 2, 3, 4});
  expected.Record<double>(0, 1, 1, "A_3D", {2});  // a 3-D array's row count, after it
  expected.Record<float>(10, 1, 1, "f", {0.25f});
  expected.Record<int32_t>(20, 2, 1, "i", {INT_MIN, INT_MAX});
  expected.Record<char>(51, 1, 2, "c", {'h', 'i'});
  expected.Text("t", "text");
  expected.Record<double>(0, 1, 1, "n", {7});
  expected.Record<float>(10, 0, 0, "e", {});
  expected.Record<double>(0, 1, 1, "n", {8});  // a new record, and no companion for a 2-D value
  EXPECT_EQ(file.Read(), expected.bytes);
}

TEST_F(QXMatlabDataFileTest, ReadsRecordsOfEitherByteOrder) {
  for (bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
    QXMatBytes bytes{bigEndian};
    bytes.Record<double>(0, 1, 2, "d", {-1.5, 1e300});
    bytes.Record<int32_t>(20, 1, 1, "i", {INT_MIN});
    bytes.Record<int16_t>(30, 1, 1, "s", {-32768});
    bytes.Record<uint8_t>(50, 1, 1, "uc", {200});
    bytes.Text("t", "hi");
    const QXMatlabDataFile storage = Open(bytes.bytes);
    EXPECT_EQ(Elements(storage.ReadDoubleArray("d")), (std::vector<double>{-1.5, 1e300}));
    EXPECT_EQ(Elements(storage.ReadIntArray("i")), std::vector<int>{INT_MIN});
    EXPECT_EQ(Elements(storage.ReadShortIntArray("s")), std::vector<short>{-32768});
    EXPECT_EQ(Elements(storage.ReadUCharArray("uc")), std::vector<unsigned char>{200});
    EXPECT_EQ(storage.ReadString("t"), "hi");
  }
}

TEST_F(QXMatlabDataFileTest, UnsignedBytesReadAsSignedOnlyThroughTheCharRead) {
  const auto storage = Open(QXMatBytes{big}.Record<uint8_t>(50, 1, 1, "uc", {200}).bytes);
  EXPECT_EQ(Elements(storage.ReadIntArray("uc")), std::vector<int>{200});
  EXPECT_EQ(Elements(storage.ReadCharArray("uc")), std::vector<signed char>{-56});
}

TEST_F(QXMatlabDataFileTest, SavesIntoAFileOfTheOtherOrderKeepItsOrder) {
  const std::string before = QXMatBytes{!big}.Record<double>(0, 1, 1, "x", {1}).bytes;
  Open(before).Save(MakeArray<int>(1, 2, 1, {-5, 6}), "new");
  EXPECT_EQ(file.Read(), before + QXMatBytes{!big}.Record<int32_t>(20, 1, 2, "new", {-5, 6}).bytes);
}

// The companion "name_3D" holds the row count m of an m x n x o array saved
// as (m n) x o.
TEST_F(QXMatlabDataFileTest, CompanionGivesTheThirdDimensionOnlyWhenItFits) {
  const std::pair<std::vector<double>, std::vector<int>> cases[] = {
      {{3.0}, {3, 2, 2}},       // fitting
      {{0.0}, {6, 2, 1}},       // zero
      {{4.0}, {6, 2, 1}},       // not dividing the rows
      {{3.0, 3.0}, {6, 2, 1}},  // two values
  };
  for (const auto& [companion, size] : cases) {
    SCOPED_TRACE(testing::PrintToString(companion));
    QXMatBytes bytes{big};
    bytes.Record(0, 1, static_cast<int32_t>(companion.size()), "A_3D", companion);
    bytes.Record(0, 6, 2, "A", std::vector<double>(12, 1.0));
    EXPECT_EQ(SizeOf(Open(bytes.bytes), "A"), size);
  }
}

TEST_F(QXMatlabDataFileTest, NameEndsAtItsFirstZeroByte) {
  QXMatBytes bytes{big};
  bytes.Header(0, 1, 1, 8, std::string("ab\0junk\0", 8)).Put(3.0);
  EXPECT_EQ(Open(bytes.bytes).ReadNumber("ab"), 3.0);
}

// The reads name their operations after the element type.
TEST_F(QXMatlabDataFileTest, MissingNameIsReportedUnderTheReadsName) {
  const QXMatlabDataFile storage = Open("");
  EXPECT_TRUE(storage.ReadUShortIntArray("no").IsEmpty());
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadUShortIntArray(name): " + kNotFound});
  EXPECT_EQ(storage.ReadString("no"), "");
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadString(name): " + kNotFound});
}

// The char read takes a text whole. Another read gives zeros and reports an
// illegal type; the two short reads report under names of their own.
TEST_F(QXMatlabDataFileTest, OnlyTheCharReadTakesAText) {
  const QXMatlabDataFile storage = Open(QXMatBytes{big}.Text("t", "hi").bytes);
  EXPECT_EQ(Elements(storage.ReadCharArray("t")), (std::vector<signed char>{'h', 'i'}));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("t")), (std::vector<double>{0, 0}));
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadDoubleArray(name): Illegal type."});
  storage.ReadShortIntArray("t");
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadShortArray(name): Illegal type."});
  storage.ReadUShortIntArray("t");
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadUShortArray(name): Illegal type."});
}

// Precision digits 6 and 7 exist only below 1000, in little-endian type codes.
TEST_F(QXMatlabDataFileTest, EmptyRecordOfAnUnknownPrecisionIsIndexedButNotRead) {
  QXMatBytes bytes{false};
  bytes.Record<double>(0, 1, 1, "x", {1}).Record<double>(60, 0, 0, "odd", {});
  EXPECT_TRUE(Open(bytes.bytes).ReadCharArray("odd").IsEmpty());
  EXPECT_EQ(Reports(), Texts{"dataFile.ReadCharArray(name): Haven't taken care of this case."});
}

TEST_F(QXMatlabDataFileTest, RecordOfAnUnknownPrecisionWithDataEndsTheIndex) {
  QXMatBytes bytes{false};
  bytes.Record<double>(0, 1, 1, "x", {1}).Record<double>(70, 1, 1, "odd", {1});
  bytes.Record<double>(0, 1, 1, "after", {2});
  const QXMatlabDataFile storage = Open(bytes.bytes);
  EXPECT_EQ(Reports(),
            Texts{"dataFile.ReadDoubleArray(name): Unexpected variable type in the file."});
  EXPECT_EQ(Names(storage), Texts{"x"});
}

// In the other byte order, so the kept record also shows that the order found
// at the start holds.
TEST_F(QXMatlabDataFileTest, InvalidHeaderEndsTheIndexKeepingEarlierRecords) {
  const std::tuple<const char*, int32_t, int32_t, int32_t, int32_t> cases[] = {
      {"no name", 0, 1, 1, 0},
      {"negative rows", 0, -1, 1, 2},
      {"type above 1052", 1053, 1, 1, 2},
  };
  for (const auto& [what, type, mrows, ncols, namelen] : cases) {
    SCOPED_TRACE(what);
    QXMatBytes bytes{!big};
    bytes.Record<double>(0, 1, 1, "kept", {1.5});
    bytes.Header(type, mrows, ncols, namelen, std::string("x\0", 2));
    const QXMatlabDataFile storage = Open(bytes.bytes);
    EXPECT_EQ(Reports(), Texts{kInvalidHeader});
    EXPECT_EQ(Names(storage), Texts{"kept"});
    EXPECT_EQ(storage.ReadNumber("kept"), 1.5);
  }
}

// Such records are left out of the index, and never allocated for.
TEST_F(QXMatlabDataFileTest, RecordsThatTheFileDoesNotHoldAreNotIndexed) {
  const std::pair<const char*, std::string> cases[] = {
      {"size beyond 32 bits", QXMatBytes{big}.Record<double>(0, INT_MAX, INT_MAX, "r", {1}).bytes},
      {"text beyond 32 bits", QXMatBytes{big}.Record<char>(51, 1 << 30, 4, "r", {'a'}).bytes},
  };
  for (const auto& [what, bytes] : cases) EXPECT_FALSE(Open(bytes).Contains("r")) << what;
}

TEST_F(QXMatlabDataFileTest, ThreeDArrayIsRefusedWhenItsCompanionsNameIsTooLong) {
  Open("").Save(MakeArray<double>(1, 1, 2, {1, 2}), std::string(252, 'n'));
  EXPECT_EQ(Reports(), Texts{"QXMatlabDataFile::Save: The name is longer than 254 characters."});
  EXPECT_EQ(file.Read(), "");
}

// Long strings are cut as in the binary data file's listing.
TEST_F(QXMatlabDataFileTest, ListingDescribesEachRecordInFileOrder) {
  QXMatBytes bytes{big};
  bytes.Record<double>(0, 1, 1, "number", {1234567});
  bytes.Record<int32_t>(20, 3, 1, "column", {1, 2, 3});
  bytes.Record<int16_t>(30, 2, 2, "matrix", {1, 2, 3, 4});
  bytes.Record<float>(10, 0, 0, "empty", {});
  bytes.Text("text", "hi");
  Open(bytes.bytes).pinfo();
  EXPECT_EQ(Printed(), Heading(file.path) + Line("number", "double - 1.23457e+06") +
                           Line("column", "   int - 3 numbers") +
                           Line("matrix", " short - 2 x 2 array") +
                           Line("empty", " float - Empty") + Line("text", "string - \"hi\""));
}

}  // namespace
