#include "QXDataStorage.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "QXMemoryStorage.h"
#include "QXTestSupport.h"

namespace {

std::vector<std::string> Names(const QXList<std::string>& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Length(); i++) names.push_back(list(i));
  return names;
}

template <class T>
QXArray<T> Filled(int m, int n, std::vector<T> values) {
  QXMutableArray<T> A(m, n, 1);
  for (int i = 0; i < A.Length(); i++) A(i) = values[i];
  return A;
}

QXMemoryStorage StorageWithNames(const std::vector<std::string>& names) {
  QXMemoryStorage storage;
  for (const std::string& name : names) storage.Save(1.0, name);
  return storage;
}

}  // namespace

TEST(QXDataStorage, PrefixKeepsWholeNamesThatStartWithItAndEmptyPrefixKeepsAll) {
  QXMemoryStorage storage = StorageWithNames({"Seq_", "Seq_A", "SeqInfo_A", "seq_B", "Seq"});
  EXPECT_EQ(Names(storage.AllVariableNamesWithPrefix("Seq_")),
            (std::vector<std::string>{"Seq_", "Seq_A"}));
  EXPECT_EQ(Names(storage.AllVariableNamesWithPrefix("Seq_A_longer")), std::vector<std::string>{});
  EXPECT_EQ(storage.AllVariableNamesWithPrefix("x").Length(), 0);
  EXPECT_EQ(Names(storage.AllVariableNamesWithPrefix("")), Names(storage.AllVariableNames()));
  EXPECT_EQ(storage.AllVariableNamesWithPrefix("").Length(), 5);
}

TEST(QXDataStorage, ReadNumberGivesTheSingleElementElseZero) {
  QXMemoryStorage storage;
  storage.Save(Filled<double>(1, 1, {2.5}), "one");
  storage.Save(Filled<double>(1, 2, {2.5, 3.5}), "two");
  storage.Save(QXDoubleArray(), "empty");
  storage.Save(7, "int");
  QXReportCapture capture;
  EXPECT_EQ(storage.ReadNumber("one"), 2.5);
  EXPECT_EQ(storage.ReadNumber("two"), 0.0);
  EXPECT_EQ(storage.ReadNumber("empty"), 0.0);
  EXPECT_EQ(storage.ReadNumber("int"), 7.0);
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
}

TEST(QXDataStorage, ReadNumberOfMissingNameLeavesTheReportToTheStorage) {
  QXMemoryStorage storage;
  QXReportCapture capture;
  EXPECT_EQ(storage.ReadNumber("nope"), 0.0);
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>{"QXMemoryStorage::Read: Did not find the variable nope"});
}

TEST(QXDataStorage, ReadIntGivesTheSingleElementElseZero) {
  QXMemoryStorage storage;
  storage.Save(Filled<int>(1, 1, {-42}), "one");
  storage.Save(Filled<int>(3, 1, {1, 2, 3}), "three");
  storage.Save(9.0, "double");
  QXReportCapture capture;
  EXPECT_EQ(storage.ReadInt("one"), -42);
  EXPECT_EQ(storage.ReadInt("three"), 0);
  EXPECT_EQ(storage.ReadInt("double"), 9);
  EXPECT_EQ(storage.ReadInt("nope"), 0);
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>{"QXMemoryStorage::Read: Did not find the variable nope"});
}

TEST(QXDataStorage, ReadFromFileIntTruncatesTowardZeroAndSaturates) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double stored;
    int expected;
  } cases[] = {{-2.7, -2},
               {2.7, 2},
               {-0.5, 0},
               {std::nan(""), 0},
               {1e300, INT_MAX},
               {-1e300, INT_MIN},
               {inf, INT_MAX},
               {-inf, INT_MIN},
               {2147483647.9, INT_MAX},
               {2147483648.0, INT_MAX},
               {-2147483648.9, INT_MIN},
               {-2147483649.0, INT_MIN},
               {-2147483647.5, -2147483647}};
  QXMemoryStorage storage;
  for (const auto& c : cases) {
    storage.Save(c.stored, "v");
    int v = 12345;
    ReadFromFile(storage, "v", v);
    EXPECT_EQ(v, c.expected) << "stored " << c.stored;
  }
}

TEST(QXDataStorage, WriteToFileForwardsNumbersAndStrings) {
  QXMemoryStorage storage;
  WriteToFile(storage, "d", 2.5);
  WriteToFile(storage, "i", 3);  // an int goes to the double overload
  WriteToFile(storage, "s", std::string("text"));
  EXPECT_TRUE(storage.SavedAsDouble("d"));
  EXPECT_TRUE(storage.SavedAsDouble("i"));
  EXPECT_TRUE(storage.SavedAsString("s"));
  double d = 0;
  std::string s;
  ReadFromFile(storage, "d", d);
  ReadFromFile(storage, "s", s);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(s, "text");
  EXPECT_EQ(storage.ReadNumber("i"), 3.0);
}

template <class Array>
class QXDataStorageArrays : public testing::Test {};
using QXAllArrayTypes = testing::Types<QXDoubleArray, QXFloatArray, QXIntArray, QXCharArray,
                                       QXUCharArray, QXShortIntArray, QXUShortIntArray>;
TYPED_TEST_SUITE(QXDataStorageArrays, QXAllArrayTypes);

TYPED_TEST(QXDataStorageArrays, WriteAndReadForwardToTheMatchingType) {
  using T = typename TypeParam::Element;
  QXMemoryStorage storage;
  const TypeParam written = Filled<T>(2, 3, {1, 2, 3, 4, 5, 6});
  WriteToFile(storage, "A", written);
  EXPECT_TRUE(storage.Holds<TypeParam>("A"));
  EXPECT_EQ(storage.SavedAsDouble("A"), (std::is_same_v<T, double>));
  TypeParam read;
  ReadFromFile(storage, "A", read);
  EXPECT_EQ(read, written);
  EXPECT_EQ(read.m(), 2);
  EXPECT_EQ(read.n(), 3);
}

TEST(QXDataStorage, ResolveNameFollowsStringChainToItsEnd) {
  QXMemoryStorage storage;
  storage.Save(std::string("B"), "A");
  storage.Save(std::string("C"), "B");
  storage.Save(1.0, "C");
  storage.Save(std::string("nothing here"), "D");
  QXReportCapture capture;
  EXPECT_EQ(storage.ResolveName("A"), "C");
  EXPECT_EQ(storage.ResolveName("B"), "C");
  EXPECT_EQ(storage.ResolveName("D"), "nothing here");
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
}

TEST(QXDataStorage, ResolveNameReportsLoopBackToStart) {
  QXMemoryStorage storage;
  storage.Save(std::string("B"), "A");
  storage.Save(std::string("A"), "B");
  storage.Save(std::string("S"), "S");
  QXReportCapture capture;
  EXPECT_EQ(storage.ResolveName("A"), "A");
  EXPECT_EQ(storage.ResolveName("S"), "S");
  capture.Finish();
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{"QXDataStorage::ResolveName: Circular reference",
                                      "QXDataStorage::ResolveName: Circular reference"}));
}

TEST(QXDataStorage, ResolveNameEndsOnLoopThatAvoidsTheStart) {
  QXMemoryStorage storage;
  storage.Save(std::string("B"), "A");
  storage.Save(std::string("C"), "B");
  storage.Save(std::string("B"), "C");
  QXReportCapture capture;
  EXPECT_EQ(storage.ResolveName("A"), "A");
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>{"QXDataStorage::ResolveName: Circular reference"});
}

TEST(QXDataStorage, PinfoWritesTheListingOfPrintInfo) {
  QXMemoryStorage plain = StorageWithNames({"a"});
  struct ListingStorage : QXMemoryStorage {
    void printInfo() const override { fputs("listing\n", stderr); }
  } listing;
  {
    QXReportCapture capture;
    plain.pinfo();
    capture.Finish();
    EXPECT_EQ(capture.stderrText, "");
  }
  QXReportCapture capture;
  listing.pinfo();
  capture.Finish();
  EXPECT_EQ(capture.stderrText, "listing\n");
}

TEST(QXDataStorage, ByteOrderMatchesTheCompiler) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  EXPECT_TRUE(QXDataStorage::RunningOnBigEndianMachine());
#elif defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  EXPECT_FALSE(QXDataStorage::RunningOnBigEndianMachine());
#else
  GTEST_SKIP() << "compiler does not state the byte order";
#endif
}

TEST(QXDataStorage, AsPointerSharesContentBothWays) {
  QXMemoryStorage storage;
  {
    QXMutablePointer<QXDataStorage> pointer = storage.AsPointer();
    pointer->Save(1.5, "fromPointer");
    storage.Save(std::string("x"), "fromStorage");
    EXPECT_EQ(pointer->ReadString("fromStorage"), "x");
    EXPECT_TRUE(pointer->Contains("fromPointer"));
  }
  EXPECT_EQ(storage.ReadNumber("fromPointer"), 1.5);
}
