#include "QXDataStorage.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "QXMemoryStorage.h"
#include "QXTestSupport.h"

TEST(QXDataStorage, PrefixKeepsWholeNamesThatStartWithIt) {
  QXMemoryStorage storage;
  for (const char* name : {"Seq_", "Seq_A", "SeqInfo_A", "seq_B", "Seq"}) storage.Save(1, name);
  const QXList<std::string> seq = storage.AllVariableNamesWithPrefix("Seq_");
  ASSERT_EQ(seq.Length(), 2);
  EXPECT_EQ(seq(0) + "," + seq(1), "Seq_,Seq_A");
  EXPECT_EQ(storage.AllVariableNamesWithPrefix("").Length(), 5);
}

// ReadNumber and ReadInt give the single element, else 0; ReadFromFile into an
// int truncates toward zero and saturates.
TEST(QXDataStorage, ReadsNumbersThroughTheArrayReads) {
  QXMemoryStorage storage;
  storage.Save(QXMutableDoubleArray(1, 2, 1) = 3.5, "two");
  storage.Save(QXMutableIntArray(2, 1, 1) = 3, "two ints");
  storage.Save(QXDoubleArray(), "empty");
  storage.Save(QXIntArray(), "empty ints");
  storage.Save(-42, "int");
  QXReportCapture capture;
  EXPECT_EQ(storage.ReadNumber("two") + storage.ReadInt("two ints"), 0.0);
  EXPECT_EQ(storage.ReadNumber("empty") + storage.ReadInt("empty ints"), 0.0);
  EXPECT_EQ(storage.ReadNumber("nope") + storage.ReadInt("nope"), 0.0);
  EXPECT_EQ(storage.ReadInt("int"), -42);
  capture.Finish();
  // Only the storage reports a missing name; the interface adds nothing.
  EXPECT_EQ(capture.errors,
            std::vector<std::string>(2, "QXMemoryStorage::Read: Did not find the variable nope"));
  // clang-format off
  const struct { double stored; int expected; } cases[] = {
      {-2.7, -2}, {2.7, 2}, {-0.5, 0}, {NAN, 0}, {1e300, INT_MAX}, {-1e300, INT_MIN},
      {INFINITY, INT_MAX}, {-INFINITY, INT_MIN}, {2147483647.9, INT_MAX}, {2147483648.0, INT_MAX},
      {-2147483648.9, INT_MIN}, {-2147483649.0, INT_MIN}, {-2147483647.5, -2147483647}};
  // clang-format on
  for (const auto& c : cases) {
    WriteToFile(storage, "v", c.stored);
    int i = 12345;
    double d = 0;
    ReadFromFile(storage, "v", i);
    ReadFromFile(storage, "v", d);
    EXPECT_EQ(i, c.expected) << "stored " << c.stored;
    EXPECT_TRUE(d == c.stored || std::isnan(c.stored)) << "stored " << c.stored;
  }
}

template <class Array>
class QXDataStorageArrays : public testing::Test {};
using QXAllArrayTypes = testing::Types<QXDoubleArray, QXFloatArray, QXIntArray, QXCharArray,
                                       QXUCharArray, QXShortIntArray, QXUShortIntArray>;
TYPED_TEST_SUITE(QXDataStorageArrays, QXAllArrayTypes);

// Each overload must reach the storage operation of its own type.
TYPED_TEST(QXDataStorageArrays, WriteToFileAndReadFromFileKeepTheType) {
  QXMemoryStorage storage;
  QXMutableArray<typename TypeParam::Element> written(2, 3, 1);
  WriteToFile(storage, "A", TypeParam(written = 7));
  EXPECT_TRUE(storage.Holds<TypeParam>("A"));
  TypeParam read;
  ReadFromFile(storage, "A", read);
  EXPECT_EQ(read, written);
}

// A chain ends at a text that names no string variable; a loop, back to the
// start (P, S) or among later names (X), returns the start with a report.
TEST(QXDataStorage, ResolveNameFollowsStringChainsAndEndsEveryLoop) {
  QXMemoryStorage storage;
  storage.Save(1.0, "C");
  const std::pair<const char*, const char*> strings[] = {
      {"A", "B"}, {"B", "C"}, {"D", "nothing here"}, {"P", "Q"}, {"Q", "P"}, {"S", "S"}, {"X", "Y"},
      {"Y", "Z"}, {"Z", "Y"}};
  for (const auto& [name, text] : strings) WriteToFile(storage, name, std::string(text));
  const std::pair<std::string, std::string> cases[] = {
      {"A", "C"}, {"B", "C"}, {"D", "nothing here"}, {"P", "P"}, {"S", "S"}, {"X", "X"}};
  const std::string circular = "QXDataStorage::ResolveName: Circular reference";
  for (const auto& [name, resolved] : cases) {
    QXReportCapture capture;
    EXPECT_EQ(storage.ResolveName(name), resolved);
    capture.Finish();
    EXPECT_EQ(capture.errors, std::vector<std::string>(name == resolved, circular)) << name;
  }
  std::string text;
  ReadFromFile(storage, "D", text);
  EXPECT_EQ(text, "nothing here");
}

TEST(QXDataStorage, PinfoWritesThePrintInfoListingOrNothing) {
  struct Listing : QXMemoryStorage {
    void printInfo() const override { fputs("listing\n", stderr); }
  };
  QXReportCapture capture;
  QXMemoryStorage().pinfo();
  Listing().pinfo();
  capture.Finish();
  EXPECT_EQ(capture.stderrText, "listing\n");
}

TEST(QXDataStorage, ByteOrderMatchesTheCompiler) {
  EXPECT_EQ(QXDataStorage::RunningOnBigEndianMachine(), __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__);
}
