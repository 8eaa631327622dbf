#include "QXDataStorage.h"

#include <climits>
#include <cmath>

#include "QXMemoryStorage.h"
#include "QXReportingTest.h"

namespace {

class QXDataStorageReads : public QXReportingTest {
 protected:
  QXMemoryStorage storage;
};

TEST_F(QXDataStorageReads, NumberOfOtherThanOneElementReadsAsZero) {
  storage.Save(QXMutableDoubleArray(1, 2, 1) = 3.5, "two");
  storage.Save(QXIntArray(), "empty");
  EXPECT_EQ(storage.ReadNumber("two"), 0);
  EXPECT_EQ(storage.ReadInt("empty"), 0);
}

// Only the storage reports; the interface adds nothing.
TEST_F(QXDataStorageReads, MissingNumberReadsAsZeroWithTheStoragesReport) {
  EXPECT_EQ(storage.ReadNumber("nope"), 0);
  EXPECT_EQ(Reports(), Lines{"QXMemoryStorage::Read: Did not find the variable nope"});
}

TEST_F(QXDataStorageReads, NumberReadIntoAnIntTruncatesAndSaturates) {
  const std::pair<double, int> cases[] = {
      {-2.7, -2}, {NAN, 0}, {INFINITY, INT_MAX}, {2147483648.0, INT_MAX}, {-2147483649.0, INT_MIN},
  };
  for (const auto& [stored, expected] : cases) {
    WriteToFile(storage, "v", stored);
    int read = 12345;
    ReadFromFile(storage, "v", read);
    EXPECT_EQ(read, expected) << "stored " << stored;
  }
}

// A chain ends at a text that names no string variable.
TEST_F(QXDataStorageReads, ResolveNameFollowsAChainOfStrings) {
  storage.Save(1.0, "C");
  WriteToFile(storage, "A", std::string("B"));
  WriteToFile(storage, "B", std::string("C"));
  WriteToFile(storage, "D", std::string("nothing here"));
  EXPECT_EQ(storage.ResolveName("A"), "C");
  EXPECT_EQ(storage.ResolveName("D"), "nothing here");
}

// A loop back to the start, or among later names, gives the start.
TEST_F(QXDataStorageReads, ResolveNameReportsALoop) {
  const std::pair<const char*, const char*> strings[] = {
      {"P", "Q"}, {"Q", "P"}, {"X", "Y"}, {"Y", "Z"}, {"Z", "Y"}};
  for (const auto& [name, text] : strings) WriteToFile(storage, name, std::string(text));
  for (const char* start : {"P", "X"}) {
    SCOPED_TRACE(start);
    EXPECT_EQ(storage.ResolveName(start), start);
    EXPECT_EQ(Reports(), Lines{"QXDataStorage::ResolveName: Circular reference"});
  }
}

}  // namespace
