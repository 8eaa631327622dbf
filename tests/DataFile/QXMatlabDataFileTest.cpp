#include "QXMatlabDataFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "QXMatlabDataFileInternal.h"  // FMatrix
#include "QXMatlabFileBytes.h"
#include "QXTestSupport.h"

namespace {

const char* const kInvalidFormat =
    "Reading In File Content: Invalid file format, make sure you used the -v4 in matlab.";

template <class T>
QXMutableArray<T> MakeArray(int m, int n, int o, const std::vector<T>& values) {
  QXMutableArray<T> A(m, n, o);
  for (int i = 0; i < A.Length(); i++) A(i) = values[static_cast<size_t>(i)];
  return A;
}

template <class T>
std::vector<T> Values(const QXArray<T>& A) {
  return std::vector<T>(A.Pointer(), A.Pointer() + A.Length());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The listing's lines after its three heading lines.
std::vector<std::string> ListingBody(const QXDataStorage& storage) {
  QXReportCapture capture;
  storage.pinfo();
  capture.Finish();
  std::vector<std::string> lines = Lines(capture.stderrText);
  if (lines.size() < 3) return {};
  return std::vector<std::string>(lines.begin() + 3, lines.end());
}

// Saves one array of each element type, with values at the edges of each range.
void SaveOneOfEach(QXDataStorage& storage) {
  storage.Save(MakeArray<double>(2, 2, 1, {1.5, -2.25, 1e300, -0.0}), "d");
  storage.Save(MakeArray<float>(1, 3, 1, {1.5f, -3.0e38f, 7.0f}), "f");
  storage.Save(MakeArray<int>(3, 1, 1, {INT_MIN, -1, INT_MAX}), "i");
  storage.Save(MakeArray<short>(1, 2, 1, {-32768, 32767}), "s");
  storage.Save(MakeArray<unsigned short>(2, 1, 1, {0, 65535}), "us");
  storage.Save(MakeArray<signed char>(1, 4, 1, {-128, 0, 65, 127}), "c");
  storage.Save(MakeArray<unsigned char>(1, 2, 1, {0, 255}), "uc");
}

void ExpectOneOfEach(const QXDataStorage& storage) {
  EXPECT_EQ(storage.ReadDoubleArray("d"), MakeArray<double>(2, 2, 1, {1.5, -2.25, 1e300, -0.0}));
  EXPECT_EQ(storage.ReadFloatArray("f"), MakeArray<float>(1, 3, 1, {1.5f, -3.0e38f, 7.0f}));
  EXPECT_EQ(storage.ReadIntArray("i"), MakeArray<int>(3, 1, 1, {INT_MIN, -1, INT_MAX}));
  EXPECT_EQ(storage.ReadShortIntArray("s"), MakeArray<short>(1, 2, 1, {-32768, 32767}));
  EXPECT_EQ(storage.ReadUShortIntArray("us"), MakeArray<unsigned short>(2, 1, 1, {0, 65535}));
  EXPECT_EQ(storage.ReadCharArray("c"), MakeArray<signed char>(1, 4, 1, {-128, 0, 65, 127}));
  EXPECT_EQ(storage.ReadUCharArray("uc"), MakeArray<unsigned char>(1, 2, 1, {0, 255}));
}

// The header stored in the file for a name, as the index has it.
FMatrix HeaderInFile(const QXTempPath& file, const std::string& name, bool bigEndian) {
  const std::string bytes = file.Read();
  for (size_t at = 0; at + 20 <= bytes.size();) {
    int32_t fields[5];
    std::memcpy(fields, bytes.data() + at, 20);
    if (bigEndian != QXDataStorage::RunningOnBigEndianMachine())
      for (int32_t& f : fields)
        f = static_cast<int32_t>(__builtin_bswap32(static_cast<uint32_t>(f)));
    const std::string found(bytes.data() + at + 20);
    const int sizes[] = {8, 4, 4, 2, 2, 1};
    if (found == name) return {fields[0], fields[1], fields[2], fields[3], fields[4]};
    at += 20 + static_cast<size_t>(fields[4]) +
          static_cast<size_t>(fields[1]) * fields[2] * sizes[(fields[0] % 100) / 10];
  }
  return {-1, -1, -1, -1, -1};
}

class QXMatlabDataFileTest : public testing::Test {
 protected:
  QXTempPath file{"matlab"};
  const bool bigMachine = QXDataStorage::RunningOnBigEndianMachine();
};

// --- Round trips and conversion ---------------------------------------------

TEST_F(QXMatlabDataFileTest, EveryElementTypeRoundTripsBeforeAndAfterReopening) {
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    SaveOneOfEach(storage);
    ExpectOneOfEach(storage);
  }
  QXReportCapture capture;
  QXMatlabDataFile reopened(file.path, QXFile::ReadOnly);
  ExpectOneOfEach(reopened);
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
  const QXList<std::string> names = reopened.AllVariableNames();
  ASSERT_EQ(names.Length(), 7);
  const char* sorted[] = {"c", "d", "f", "i", "s", "uc", "us"};
  for (int i = 0; i < 7; i++) EXPECT_EQ(names(i), sorted[i]);
}

TEST_F(QXMatlabDataFileTest, SavesWriteTheMachinesTypeCodes) {
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  SaveOneOfEach(storage);
  storage.Save(std::string("text"), "t");
  storage.Save(3, "n");
  storage.Flush();
  const int base = bigMachine ? 1000 : 0;
  const std::pair<const char*, int> codes[] = {{"d", 0},  {"f", 10},  {"i", 20},
                                               {"s", 30}, {"us", 40}, {"uc", 50},
                                               {"c", 51}, {"t", 51},  {"n", 0}};
  for (const auto& code : codes)
    EXPECT_EQ(HeaderInFile(file, code.first, bigMachine).type, base + code.second) << code.first;
  const FMatrix text = HeaderInFile(file, "t", bigMachine);
  EXPECT_EQ(text.mrows, 4);
  EXPECT_EQ(text.ncols, 1);
  EXPECT_EQ(text.namelen, 2);
  EXPECT_TRUE(storage.SavedAsDouble("n"));
  EXPECT_EQ(storage.ReadNumber("n"), 3.0);
}

TEST_F(QXMatlabDataFileTest, ReadsConvertEveryRecordTypeIntoEveryArrayType) {
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  storage.Save(MakeArray<double>(1, 3, 1, {300.7, -1.5, 70000.0}), "d");
  storage.Save(MakeArray<int>(1, 3, 1, {300, -1, 70000}), "i");
  storage.Save(MakeArray<unsigned char>(1, 2, 1, {200, 7}), "uc");
  storage.Save(MakeArray<unsigned short>(1, 1, 1, {65535}), "us");

  EXPECT_EQ(Values(storage.ReadUCharArray("d")), (std::vector<unsigned char>{44, 255, 112}));
  EXPECT_EQ(Values(storage.ReadIntArray("d")), (std::vector<int>{300, -1, 70000}));
  EXPECT_EQ(Values(storage.ReadShortIntArray("i")), (std::vector<short>{300, -1, 4464}));
  EXPECT_EQ(Values(storage.ReadFloatArray("i")), (std::vector<float>{300.f, -1.f, 70000.f}));
  EXPECT_EQ(Values(storage.ReadShortIntArray("us")), (std::vector<short>{-1}));
  EXPECT_EQ(Values(storage.ReadDoubleArray("us")), (std::vector<double>{65535.0}));
  // Unsigned bytes stay unsigned in every wider type; only the signed char
  // read sees their bits as signed.
  EXPECT_EQ(Values(storage.ReadUCharArray("uc")), (std::vector<unsigned char>{200, 7}));
  EXPECT_EQ(Values(storage.ReadDoubleArray("uc")), (std::vector<double>{200.0, 7.0}));
  EXPECT_EQ(Values(storage.ReadFloatArray("uc")), (std::vector<float>{200.f, 7.f}));
  EXPECT_EQ(Values(storage.ReadIntArray("uc")), (std::vector<int>{200, 7}));
  EXPECT_EQ(Values(storage.ReadShortIntArray("uc")), (std::vector<short>{200, 7}));
  EXPECT_EQ(Values(storage.ReadUShortIntArray("uc")), (std::vector<unsigned short>{200, 7}));
  EXPECT_EQ(Values(storage.ReadCharArray("uc")), (std::vector<signed char>{-56, 7}));
  const QXDoubleArray asDouble = storage.ReadDoubleArray("i");
  EXPECT_EQ(asDouble.m(), 1);
  EXPECT_EQ(asDouble.n(), 3);
}

TEST_F(QXMatlabDataFileTest, NumbersAreSingleElementsOnly) {
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  storage.Save(2.5, "x");
  storage.Save(MakeArray<double>(1, 2, 1, {1.0, 2.0}), "pair");
  storage.Save(MakeArray<float>(1, 1, 1, {-7.9f}), "f");
  EXPECT_EQ(storage.ReadNumber("x"), 2.5);
  EXPECT_EQ(storage.ReadInt("x"), 2);
  EXPECT_EQ(storage.ReadNumber("pair"), 0.0);
  EXPECT_EQ(storage.ReadInt("pair"), 0);
  EXPECT_EQ(storage.ReadInt("f"), -7);
  QXReportCapture capture;
  EXPECT_EQ(storage.ReadNumber("missing"), 0.0);
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>{"dataFile.ReadDoubleArray(name): Did not find "
                                     "the variable \"missing\" inside the datafile."});
}

TEST_F(QXMatlabDataFileTest, ACharacterArrayReadsBackAsCharacters) {
  // Character arrays are stored as text records; their own read takes them
  // whole, zero bytes and negative values included.
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  const QXMutableCharArray chars = MakeArray<signed char>(3, 2, 1, {104, 105, 0, -56, 65, 0});
  storage.Save(chars, "chars");
  EXPECT_TRUE(storage.SavedAsString("chars"));
  EXPECT_EQ(storage.ReadCharArray("chars"), chars);
  EXPECT_EQ(storage.ReadString("chars"), "hi");
}

// --- 3-D arrays -------------------------------------------------------------

TEST_F(QXMatlabDataFileTest, ThreeDimensionalArraysUseTheCompanionRecord) {
  std::vector<double> values(24);
  for (int i = 0; i < 24; i++) values[static_cast<size_t>(i)] = i * 0.5;
  const QXMutableDoubleArray A = MakeArray<double>(2, 3, 4, values);
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    storage.Save(A, "A");
    storage.Save(MakeArray<short>(2, 1, 3, {1, 2, 3, 4, 5, -6}), "S");
    EXPECT_EQ(storage.ReadDoubleArray("A"), A);
  }
  const FMatrix record = HeaderInFile(file, "A", bigMachine);
  EXPECT_EQ(record.mrows, 6);
  EXPECT_EQ(record.ncols, 4);
  QXMatlabDataFile reopened(file.path, QXFile::ReadOnly);
  EXPECT_TRUE(reopened.SavedAsDouble("A_3D"));
  EXPECT_EQ(reopened.ReadNumber("A_3D"), 2.0);
  EXPECT_EQ(reopened.ReadDoubleArray("A"), A);
  const QXIntArray asInt = reopened.ReadIntArray("A");
  EXPECT_EQ(asInt.m(), 2);
  EXPECT_EQ(asInt.n(), 3);
  EXPECT_EQ(asInt.o(), 4);
  EXPECT_EQ(asInt(1, 2, 3), 11);
  EXPECT_EQ(reopened.ReadShortIntArray("S"), MakeArray<short>(2, 1, 3, {1, 2, 3, 4, 5, -6}));
}

TEST_F(QXMatlabDataFileTest, CompanionsThatDoNotFitTheRecordAreIgnored) {
  // A is 6 x 4; each companion below is wrong for it in its own way.
  std::vector<double> values(24);
  for (int i = 0; i < 24; i++) values[static_cast<size_t>(i)] = i;
  QXMatBytes bytes(false);
  const std::vector<std::pair<std::string, std::vector<double>>> companions = {
      {"zero", {0.0}},  {"negative", {-3.0}},    {"notDividing", {4.0}},
      {"huge", {1e12}}, {"nan", {std::nan("")}}, {"twoValues", {2.0, 3.0}}};
  for (const auto& companion : companions) {
    const auto& k = companion.second;
    bytes.Record<double>(0, 1, static_cast<int32_t>(k.size()), companion.first + "_3D", k);
    bytes.Record<double>(0, 6, 4, companion.first, values);
  }
  bytes.Text("text_3D", "3").Record<double>(0, 6, 4, "text", values);
  bytes.Record<double>(0, 1, 1, "whole_3D", {6.0}).Record<double>(0, 6, 4, "whole", values);
  file.Write(bytes.bytes);

  QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
  for (const char* name : {"zero", "negative", "notDividing", "huge", "nan", "twoValues", "text"}) {
    QXReportCapture capture;
    const QXDoubleArray A = storage.ReadDoubleArray(name);
    capture.Finish();
    EXPECT_EQ(A, MakeArray<double>(6, 4, 1, values)) << name;
  }
  // A companion equal to the row count makes 6 x 1 x 4.
  EXPECT_EQ(storage.ReadDoubleArray("whole"), MakeArray<double>(6, 1, 4, values));
}

// --- Strings ----------------------------------------------------------------

TEST_F(QXMatlabDataFileTest, StringsRoundTripAndOtherRecordsAreNoStrings) {
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    storage.Save(std::string("abc"), "s");
    storage.Save(std::string(), "empty");
    storage.Save(std::string("ab\0cd", 5), "zero");
    storage.Save(1.0, "number");
    storage.Save(QXDoubleArray(), "nothing");
    EXPECT_EQ(storage.ReadString("s"), "abc");
  }
  QXMatlabDataFile reopened(file.path, QXFile::ReadOnly);
  QXReportCapture capture;
  EXPECT_EQ(reopened.ReadString("s"), "abc");
  EXPECT_TRUE(reopened.SavedAsString("s"));
  EXPECT_FALSE(reopened.SavedAsDouble("s"));
  EXPECT_EQ(reopened.ReadString("empty"), "");
  EXPECT_TRUE(reopened.SavedAsString("empty"));
  EXPECT_EQ(reopened.ReadString("zero"), "ab");
  EXPECT_FALSE(reopened.SavedAsString("missing"));
  EXPECT_FALSE(reopened.SavedAsDouble("missing"));
  EXPECT_EQ(reopened.ReadString("nothing"), "");  // an empty record of any type: no report
  EXPECT_EQ(reopened.ReadString("number"), "");
  EXPECT_EQ(reopened.ReadString("gone"), "");
  capture.Finish();
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{
                "dataFile.ReadString(name): The variable \"number\" is not save as a string.",
                "dataFile.ReadString(name): Did not find the variable \"gone\" inside the "
                "datafile."}));
}

// --- Reports of the reads ---------------------------------------------------

TEST_F(QXMatlabDataFileTest, MissingNamesReportUnderEachReadsName) {
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  QXReportCapture capture;
  EXPECT_TRUE(storage.ReadDoubleArray("x").IsEmpty());
  EXPECT_TRUE(storage.ReadFloatArray("x").IsEmpty());
  EXPECT_TRUE(storage.ReadIntArray("x").IsEmpty());
  EXPECT_TRUE(storage.ReadUCharArray("x").IsEmpty());
  EXPECT_TRUE(storage.ReadCharArray("x").IsEmpty());
  EXPECT_TRUE(storage.ReadShortIntArray("x").IsEmpty());
  EXPECT_TRUE(storage.ReadUShortIntArray("x").IsEmpty());
  capture.Finish();
  const std::string tail = ": Did not find the variable \"x\" inside the datafile.";
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{
                "dataFile.ReadDoubleArray(name)" + tail, "dataFile.ReadFloatArray(name)" + tail,
                "dataFile.ReadIntArray(name)" + tail, "dataFile.ReadUCharArray(name)" + tail,
                "dataFile.ReadCharArray(name)" + tail, "dataFile.ReadShortIntArray(name)" + tail,
                "dataFile.ReadUShortIntArray(name)" + tail}));
}

TEST_F(QXMatlabDataFileTest, TextRecordsAreIllegalForNumericReadsAndGiveZeros) {
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  storage.Save(std::string("hello"), "t");
  QXReportCapture capture;
  const QXDoubleArray d = storage.ReadDoubleArray("t");
  const QXShortIntArray s = storage.ReadShortIntArray("t");
  const QXUShortIntArray us = storage.ReadUShortIntArray("t");
  const QXUCharArray uc = storage.ReadUCharArray("t");
  capture.Finish();
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{"dataFile.ReadDoubleArray(name): Illegal type.",
                                      "dataFile.ReadShortArray(name): Illegal type.",
                                      "dataFile.ReadUShortArray(name): Illegal type.",
                                      "dataFile.ReadUCharArray(name): Illegal type."}));
  EXPECT_EQ(d, MakeArray<double>(5, 1, 1, {0, 0, 0, 0, 0}));
  EXPECT_EQ(Values(s), std::vector<short>(5, 0));
  EXPECT_EQ(Values(us), std::vector<unsigned short>(5, 0));
  EXPECT_EQ(Values(uc), std::vector<unsigned char>(5, 0));
}

TEST_F(QXMatlabDataFileTest, ElementTypesWithoutASizeEndTheIndexOrAreIllegal) {
  // Little-endian codes: with the big-endian digit, 1060 and 1070 lie above
  // the largest valid code 1052 and make invalid headers instead.
  QXMatBytes bytes(false);
  bytes.Record<double>(0, 1, 1, "before", {4.0});
  bytes.Header(60, 0, 0, 6).Name("empty");  // no elements: indexed
  bytes.Header(70, 2, 2, 4).Name("bad");    // elements of no size: the index ends
  bytes.Record<double>(0, 1, 1, "after", {5.0});
  file.Write(bytes.bytes);
  QXReportCapture capture;
  QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
  const QXCharArray chars = storage.ReadCharArray("empty");
  const QXIntArray ints = storage.ReadIntArray("empty");
  capture.Finish();
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{
                "dataFile.ReadDoubleArray(name): Unexpected variable type in the file.",
                "dataFile.ReadCharArray(name): Haven't taken care of this case.",
                "dataFile.ReadIntArray(name): Illegal type."}));
  EXPECT_TRUE(chars.IsEmpty());
  EXPECT_TRUE(ints.IsEmpty());
  EXPECT_EQ(storage.ReadNumber("before"), 4.0);
  EXPECT_FALSE(storage.Contains("bad"));
  EXPECT_FALSE(storage.Contains("after"));
  EXPECT_EQ(ListingBody(storage),
            (std::vector<std::string>{"before " + std::string(23, '.') + " - double - 4",
                                      "empty " + std::string(24, '.') + " - ?????? - Empty"}));
}

// --- Indexing of odd and damaged files --------------------------------------

TEST_F(QXMatlabDataFileTest, EmptyAndMissingFilesGiveAnEmptyIndex) {
  file.Write("");
  QXReportCapture capture;
  QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
  capture.Finish();
  EXPECT_TRUE(storage.IsOpen());
  EXPECT_EQ(storage.AllVariableNames().Length(), 0);
  EXPECT_TRUE(capture.errors.empty());

  QXReportCapture missingCapture;
  QXMatlabDataFile missing(file.path + ".missing", QXFile::ReadOnly);
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(missing.GetFile(), nullptr);
  EXPECT_TRUE(missing.ReadDoubleArray("x").IsEmpty());
  missingCapture.Finish();
  ASSERT_EQ(missingCapture.errors.size(), 2u);
  EXPECT_EQ(missingCapture.errors[0],
            "QXFile(name,type): Could not open the file \"" + file.path + ".missing\"");
}

TEST_F(QXMatlabDataFileTest, InvalidHeadersEndTheIndexKeepingEarlierRecords) {
  struct Case {
    const char* what;
    int32_t type, mrows, ncols, namelen;
  };
  const Case cases[] = {{"namelen 0", 0, 1, 1, 0},
                        {"namelen 256", 0, 1, 1, 256},
                        {"negative mrows", 0, -1, 1, 2},
                        {"negative ncols", 0, 1, -5, 2},
                        {"type above 1052", 1053, 1, 1, 2}};
  for (const Case& c : cases) {
    QXMatBytes first(bigMachine);
    first.Header(c.type, c.mrows, c.ncols, c.namelen).Name("x");
    QXMatBytes later(bigMachine);
    later.Record<double>(0, 1, 1, "kept", {1.0}).bytes += first.bytes;
    for (bool afterAValidRecord : {false, true}) {
      file.Write(afterAValidRecord ? later.bytes : first.bytes);
      QXReportCapture capture;
      QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
      capture.Finish();
      EXPECT_EQ(capture.errors, std::vector<std::string>{kInvalidFormat}) << c.what;
      EXPECT_FALSE(storage.Contains("x")) << c.what;
      EXPECT_EQ(storage.Contains("kept"), afterAValidRecord) << c.what;
    }
  }
}

TEST_F(QXMatlabDataFileTest, NamesEndAtTheirFirstZeroByteAndTheLastRecordWins) {
  QXMatBytes bytes(bigMachine);
  bytes.Record<double>(0, 1, 1, "x", {1.0}).Record<int>(20, 1, 2, "x", {7, 8});
  bytes.Header(0, 1, 1, 8).bytes += std::string("ab\0junk\0", 8);
  bytes.Put<double>(3.0).Header(0, 1, 1, 3).bytes += "xyz";  // no zero: the field is the name
  bytes.Put<double>(4.0);
  file.Write(bytes.bytes);
  QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
  EXPECT_EQ(storage.ReadNumber("ab"), 3.0);
  EXPECT_EQ(storage.ReadNumber("xyz"), 4.0);
  EXPECT_EQ(Values(storage.ReadDoubleArray("x")), (std::vector<double>{7.0, 8.0}));
  EXPECT_FALSE(storage.SavedAsDouble("x"));
  EXPECT_EQ(storage.AllVariableNames().Length(), 3);
}

TEST_F(QXMatlabDataFileTest, ARecordCutShortIsIndexedButEveryReadReports) {
  QXMatBytes bytes(bigMachine);
  bytes.Record<double>(0, 1, 1, "ok", {1.0});
  bytes.Record<double>(0, 4, 1, "cut", {1.0, 2.0, 3.0, 4.0});
  bytes.bytes.resize(bytes.bytes.size() - 3);
  file.Write(bytes.bytes);
  QXReportCapture capture;
  QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
  EXPECT_TRUE(storage.Contains("cut"));
  EXPECT_TRUE(storage.ReadDoubleArray("cut").IsEmpty());
  EXPECT_TRUE(storage.ReadFloatArray("cut").IsEmpty());
  EXPECT_TRUE(storage.ReadUShortIntArray("cut").IsEmpty());
  EXPECT_EQ(storage.ReadNumber("ok"), 1.0);
  capture.Finish();
  const std::string message = ": Could not read the required number of values from the file";
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{"dataFile.ReadDoubleArray(name)" + message,
                                      "dataFile.ReadFloatArray(name)" + message,
                                      "dataFile.ReadUShortIntArray(name)" + message}));
}

TEST_F(QXMatlabDataFileTest, HugeSizesInAHeaderAllocateNothing) {
  QXMatBytes bytes(bigMachine);
  bytes.Header(0, INT_MAX, INT_MAX, 2).Name("h").Put<double>(1.0);
  bytes.Header(51, 1 << 30, 4, 2).Name("t");
  file.Write(bytes.bytes);
  QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
  EXPECT_TRUE(storage.Contains("h"));
  EXPECT_FALSE(storage.Contains("t"));  // behind data that run past the end
  QXReportCapture capture;
  EXPECT_TRUE(storage.ReadDoubleArray("h").IsEmpty());
  EXPECT_TRUE(storage.ReadUCharArray("h").IsEmpty());
  capture.Finish();
  EXPECT_EQ(capture.errors.size(), 2u);

  QXMatBytes text(bigMachine);
  text.Header(51, 1 << 30, 4, 2).Name("t").bytes += "abc";
  file.Write(text.bytes);
  QXMatlabDataFile textFile(file.path, QXFile::ReadOnly);
  QXReportCapture textCapture;
  EXPECT_EQ(textFile.ReadString("t"), "");
  EXPECT_TRUE(textFile.ReadDoubleArray("t").IsEmpty());
  textCapture.Finish();
  EXPECT_EQ(textCapture.errors,
            (std::vector<std::string>{
                "dataFile.ReadString(name): Could not read the required number of values from "
                "the file",
                "dataFile.ReadDoubleArray(name): Could not read the required number of values "
                "from the file"}));
}

// --- Byte order -------------------------------------------------------------

// One file of each order holding the same values reads the same on any machine.
TEST_F(QXMatlabDataFileTest, ReadsFilesOfEitherByteOrder) {
  for (bool bigEndian : {true, false}) {
    QXMatBytes bytes(bigEndian);
    bytes.Record<double>(0, 2, 1, "d", {1.0, -2.5});
    bytes.Record<float>(10, 1, 1, "f", {0.25f});
    bytes.Record<int32_t>(20, 1, 2, "i", {-100000, 7});
    bytes.Record<int16_t>(30, 1, 1, "s", {-300});
    bytes.Record<uint16_t>(40, 1, 1, "us", {60000});
    bytes.Record<uint8_t>(50, 1, 1, "uc", {200});
    bytes.Text("t", "text");
    file.Write(bytes.bytes);
    QXReportCapture capture;
    QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
    EXPECT_EQ(Values(storage.ReadDoubleArray("d")), (std::vector<double>{1.0, -2.5}));
    EXPECT_EQ(storage.ReadNumber("f"), 0.25);
    EXPECT_EQ(Values(storage.ReadIntArray("i")), (std::vector<int>{-100000, 7}));
    EXPECT_EQ(storage.ReadInt("s"), -300);
    EXPECT_EQ(Values(storage.ReadUShortIntArray("us")), (std::vector<unsigned short>{60000}));
    EXPECT_EQ(storage.ReadNumber("uc"), 200.0);
    EXPECT_EQ(storage.ReadString("t"), "text");
    EXPECT_TRUE(storage.SavedAsString("t"));
    EXPECT_TRUE(storage.SavedAsDouble("d"));
    capture.Finish();
    EXPECT_TRUE(capture.errors.empty()) << (bigEndian ? "big-endian" : "little-endian");
  }
}

TEST_F(QXMatlabDataFileTest, AnInvalidLaterHeaderKeepsTheFilesByteOrder) {
  QXMatBytes bytes(!bigMachine);
  bytes.Record<double>(0, 1, 2, "x", {1.5, 3.0}).Header(0, 1, 1, 0);
  file.Write(bytes.bytes);
  QXReportCapture capture;
  QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
  capture.Finish();
  EXPECT_EQ(capture.errors, std::vector<std::string>{kInvalidFormat});
  EXPECT_EQ(Values(storage.ReadDoubleArray("x")), (std::vector<double>{1.5, 3.0}));
}

TEST_F(QXMatlabDataFileTest, AppendingToAFileOfTheOtherOrderKeepsItReadable) {
  QXMatBytes bytes(!bigMachine);
  bytes.Record<double>(0, 1, 1, "old", {1.25});
  file.Write(bytes.bytes);
  {
    QXMatlabDataFile storage(file.path, QXFile::ExistingReadWrite);
    storage.Save(MakeArray<int>(1, 2, 1, {-5, 6}), "new");
    storage.Save(std::string("txt"), "s");
    EXPECT_EQ(Values(storage.ReadIntArray("new")), (std::vector<int>{-5, 6}));
  }
  EXPECT_EQ(HeaderInFile(file, "new", !bigMachine).type, (bigMachine ? 0 : 1000) + 20);
  QXReportCapture capture;
  QXMatlabDataFile reopened(file.path, QXFile::ReadOnly);
  EXPECT_EQ(reopened.ReadNumber("old"), 1.25);
  EXPECT_EQ(Values(reopened.ReadIntArray("new")), (std::vector<int>{-5, 6}));
  EXPECT_EQ(reopened.ReadString("s"), "txt");
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
}

// --- Saving refusals --------------------------------------------------------

TEST_F(QXMatlabDataFileTest, SavesOnAReadOnlyOrUnopenedFileReportAndChangeNothing) {
  {
    QXMatlabDataFile writer(file.path, QXFile::NewReadWrite);
    writer.Save(1.0, "x");
  }
  const std::string before = file.Read();
  QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
  QXReportCapture capture;
  storage.Save(2.0, "x");
  storage.Save(5, "y");
  storage.Save(MakeArray<float>(2, 1, 2, {1, 2, 3, 4}), "z");
  storage.Save(std::string("s"), "s");
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>(4, "QXMatlabDataFile::Save: File is read only."));
  EXPECT_TRUE(storage.IsReadOnly());
  EXPECT_EQ(file.Read(), before);
  EXPECT_EQ(storage.AllVariableNames().Length(), 1);
  EXPECT_EQ(storage.ReadNumber("x"), 1.0);

  QXMatlabDataFile unopened(file.path + ".missing", QXFile::ExistingReadWrite);
  QXReportCapture unopenedCapture;
  unopened.Save(1.0, "x");
  unopened.Save(std::string("s"), "s");
  unopenedCapture.Finish();
  EXPECT_EQ(unopenedCapture.errors,
            std::vector<std::string>(2, "QXMatlabDataFile::Save: File is not open."));
  EXPECT_FALSE(unopened.Contains("x"));
}

TEST_F(QXMatlabDataFileTest, NamesTooLongForTheNameFieldAreRefused) {
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  const std::string longest(254, 'n');
  storage.Save(1.0, longest);
  QXReportCapture capture;
  storage.Save(2.0, longest + "x");
  storage.Save(MakeArray<double>(1, 1, 2, {1, 2}),
               std::string(252, 'm'));  // its "_3D" would not fit
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>(
                2, "QXMatlabDataFile::Save: The name is longer than 254 characters."));
  QXMatlabDataFile reopened(file.path, QXFile::ReadOnly);
  EXPECT_EQ(reopened.ReadNumber(longest), 1.0);
  EXPECT_EQ(reopened.AllVariableNames().Length(), 1);
}

// --- Handles ----------------------------------------------------------------

TEST_F(QXMatlabDataFileTest, CopiesShareTheIndexAndTheFile) {
  QXMatlabDataFile* original = new QXMatlabDataFile(file.path, QXFile::NewReadWrite);
  QXMatlabDataFile copy(*original);
  QXMutablePointer<QXDataStorage> pointer = original->AsPointer();
  original->Save(1.0, "a");
  copy.Save(2.0, "b");
  pointer->Save(3.0, "c");
  delete original;
  EXPECT_EQ(copy.ReadNumber("a"), 1.0);
  EXPECT_EQ(pointer->ReadNumber("b"), 2.0);
  EXPECT_EQ(copy.ReadNumber("c"), 3.0);

  QXTempPath otherPath("matlab_other");
  QXMatlabDataFile other(otherPath.path, QXFile::NewReadWrite);
  other.Save(9.0, "z");
  copy = other;
  EXPECT_FALSE(copy.Contains("a"));
  EXPECT_EQ(copy.ReadNumber("z"), 9.0);
  const QXMatlabDataFile& same = copy;
  copy = same;
  EXPECT_TRUE(pointer->Contains("a"));  // the first content lives on in the pointer

  QXFile handle(otherPath.path, QXFile::ExistingReadWrite);
  const long length = handle.Length();
  {
    QXMatlabDataFile onHandle(handle);
    EXPECT_EQ(onHandle.ReadNumber("z"), 9.0);
    onHandle.Save(4.0, "x");
    onHandle.Flush();
  }
  EXPECT_TRUE(handle.IsOpen());
  EXPECT_EQ(handle.Length(), length + 20 + 2 + 8);
}

// --- Listing ----------------------------------------------------------------

TEST_F(QXMatlabDataFileTest, TheListingDescribesEveryRecordInFileOrder) {
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  storage.Save(MakeArray<double>(4, 3, 1, std::vector<double>(12, 1.0)), "speed");
  storage.Save(2.5, "abc");
  storage.Save(1234567.0, std::string(29, 'n'));
  storage.Save(std::string(40, 'x') + "yz", "long");
  storage.Save(std::string(20, 'q'), "short");
  storage.Save(QXFloatArray(), "empty");
  storage.Save(MakeArray<int>(5, 1, 1, {1, 2, 3, 4, 5}), "column");
  storage.Save(MakeArray<short>(1, 1, 1, {-3}), "s");
  storage.Save(MakeArray<unsigned short>(1, 2, 1, {1, 2}), "us");
  storage.Save(MakeArray<unsigned char>(1, 1, 1, {200}), "uc");

  QXReportCapture capture;
  storage.pinfo();
  capture.Finish();
  const std::vector<std::string> lines = Lines(capture.stderrText);
  const std::string rule(64, '-');
  const std::vector<std::string> expected = {
      rule,
      "Content of \"" + file.path + "\"",
      rule,
      "speed " + std::string(24, '.') + " - double - 4 x 3 array",
      "abc " + std::string(26, '.') + " - double - 2.5",
      std::string(29, 'n') + "  - double - 1.23457e+06",
      "long " + std::string(25, '.') + " - string - \"xxxxxxxxxxxxxxx...\" - 42 characters",
      "short " + std::string(24, '.') + " - string - \"" + std::string(20, 'q') + "\"",
      "empty " + std::string(24, '.') + " -  float - Empty",
      "column " + std::string(23, '.') + " -    int - 5 numbers",
      "s " + std::string(28, '.') + " -  short - -3",
      "us " + std::string(27, '.') + " - UShort - 1 x 2 array",
      "uc " + std::string(27, '.') + " -  UChar - 200"};
  EXPECT_EQ(lines, expected);
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(QXMatlabDataFileTest, ListingsOfFourHundredEntriesOrMoreSkipTheMiddle) {
  for (int count : {399, 400, 405}) {
    QXTempPath path("matlab_listing");
    QXMatBytes bytes(bigMachine);
    for (int i = 0; i < count; i++)
      bytes.Record<double>(0, 1, 1, "v" + std::to_string(i), {1.0 * i});
    path.Write(bytes.bytes);
    QXMatlabDataFile storage(path.path, QXFile::ReadOnly);
    const std::vector<std::string> body = ListingBody(storage);
    if (count < 400) {
      EXPECT_EQ(body.size(), static_cast<size_t>(count));
      continue;
    }
    ASSERT_EQ(body.size(), 400u) << count;
    EXPECT_EQ(body[389].substr(0, 5), "v389 ");
    EXPECT_EQ(body[390], "Skipping " + std::to_string(count - 400) + " entries.");
    EXPECT_EQ(body[391].substr(0, body[391].find(' ')), "v" + std::to_string(count - 9));
    EXPECT_EQ(body[399].substr(0, body[399].find(' ')), "v" + std::to_string(count - 1));
  }
}

}  // namespace
