// The container as a storage: saves, reads and conversions, sharing among
// copies, entries, and the listing.
#include "QXDataContainer.h"

#include "QXArrayValues.h"
#include "QXReportingTest.h"

namespace {

using QXDataContainerTest = QXReportingTest;

template <class Mutable>
class QXDataContainerTypedTest : public QXReportingTest {};
TYPED_TEST_SUITE(QXDataContainerTypedTest, QXMutableArrayTypes);

// The read of the container that gives arrays of T.
template <class T>
QXArray<T> Read(const QXDataContainer& container, const std::string& name) {
  QXArray<T> A;
  ReadFromFile(container, name, A);
  return A;
}

TYPED_TEST(QXDataContainerTypedTest, SaveKeepsACopyThatReadsBackUnchanged) {
  using T = typename TypeParam::Element;
  QXDataContainer container;
  TypeParam A = MakeArray<T>(2, 1, 2, {1, 2, 3, 4});
  container.Save(A, "A");
  A(0) = 9;
  const QXArray<T> back = Read<T>(container, "A");
  EXPECT_EQ(Elements(back), (std::vector<T>{1, 2, 3, 4}));
  EXPECT_EQ(SizeOf(back), (std::vector<int>{2, 1, 2}));
}

TYPED_TEST(QXDataContainerTypedTest, EveryReadConvertsFromTheStoredType) {
  using T = typename TypeParam::Element;
  QXDataContainer container;
  container.Save(MakeArray<T>(1, 2, 1, {5, 7}), "A");
  EXPECT_EQ(Elements(container.ReadDoubleArray("A")), (std::vector<double>{5, 7}));
  EXPECT_EQ(Elements(container.ReadFloatArray("A")), (std::vector<float>{5, 7}));
  EXPECT_EQ(Elements(container.ReadIntArray("A")), (std::vector<int>{5, 7}));
  EXPECT_EQ(Elements(container.ReadShortIntArray("A")), (std::vector<short>{5, 7}));
  EXPECT_EQ(Elements(container.ReadUShortIntArray("A")), (std::vector<unsigned short>{5, 7}));
  EXPECT_EQ(Elements(container.ReadCharArray("A")), (std::vector<signed char>{5, 7}));
  EXPECT_EQ(Elements(container.ReadUCharArray("A")), (std::vector<unsigned char>{5, 7}));
}

TEST_F(QXDataContainerTest, ADoubleReadAsFloatIsRoundedLikeInAFile) {
  QXDataContainer container;
  WriteToFile(container, "x", Column<double>({0.1, -2.5}));
  EXPECT_EQ(Elements(container.ReadFloatArray("x")), (std::vector<float>{0.1f, -2.5f}));
}

// SavedAs tells doubles and strings apart from the other types.
TEST_F(QXDataContainerTest, NumbersAreOneByOneArraysOfTheirType) {
  QXDataContainer container;
  container.Save(3, "i");
  container.Save(2.5, "d");
  container.Save(std::string("text"), "s");
  EXPECT_EQ(container.FindVariable("i").type, QXContainerInt);
  EXPECT_EQ(container.FindVariable("d").type, QXContainerDouble);
  EXPECT_EQ(container.ReadInt("i"), 3);
  EXPECT_EQ(container.ReadNumber("d"), 2.5);
  EXPECT_EQ(container.ReadNumber("i"), 3.0);
  EXPECT_TRUE(container.SavedAsDouble("d"));
  EXPECT_FALSE(container.SavedAsDouble("i"));
  EXPECT_FALSE(container.SavedAsDouble("missing"));
  EXPECT_TRUE(container.SavedAsString("s"));
  EXPECT_FALSE(container.SavedAsString("d"));
  EXPECT_FALSE(container.IsReadOnly());
}

TEST_F(QXDataContainerTest, MissingVariablesAreReportedByEachRead) {
  QXDataContainer container;
  container.ReadDoubleArray("m");
  container.ReadFloatArray("m");
  container.ReadIntArray("m");
  container.ReadCharArray("m");
  container.ReadUCharArray("m");
  container.ReadShortIntArray("m");
  container.ReadUShortIntArray("m");
  container.ReadString("m");
  const std::string text = ": Did not find the variable \"m\".";
  EXPECT_EQ(Reports(), (Lines{
                           "QXDataContainer::ReadDoubleArray(name)" + text,
                           "QXDataContainer::ReadFloatArray(name)" + text,
                           "QXDataContainer::ReadIntArray(name)" + text,
                           "QXDataContainer::ReadCharArray(name)" + text,
                           "QXDataContainer::ReadUCharArray(name)" + text,
                           "QXDataContainer::ReadShortIntArray(name)" + text,
                           "QXDataContainer::ReadUShortIntArray(name)" + text,
                           "QXDataContainer::ReadString(name)" + text,
                       }));
}

// Only a string read of an array is reported.
TEST_F(QXDataContainerTest, StringsAndArraysDoNotReadAsEachOther) {
  QXDataContainer container;
  container.Save(1.0, "d");
  container.Save(std::string("abc"), "s");
  EXPECT_TRUE(container.ReadDoubleArray("s").IsEmpty());
  EXPECT_EQ(container.ReadString("d"), "");
  EXPECT_EQ(Reports(),
            Lines{"QXDataContainer::ReadString(name): The variable \"d\" has to be a string."});
}

TEST_F(QXDataContainerTest, NamesThatCannotTravelAreRefused) {
  QXDataContainer container;
  container.Save(1.0, "");
  container.Save(1.0, std::string(65536, 'n'));
  container.Save(1.0, std::string(65535, 'n'));
  EXPECT_EQ(container.AllVariableNames().Length(), 1);
  EXPECT_EQ(Reports(), (Lines{"QXDataContainer::Save: The name is empty.",
                              "QXDataContainer::Save: The name is longer than 65535 characters."}));
}

TEST_F(QXDataContainerTest, CopiesAndPointersShareTheEntries) {
  QXDataContainer container;
  QXDataContainer copy = container;
  QXMutablePointer<QXDataStorage> pointer = container.AsPointer();
  copy.Save(1.0, "from copy");
  pointer->Save(2.0, "from pointer");
  QXDataContainer assigned;
  assigned = container;
  EXPECT_EQ(assigned.ReadNumber("from copy"), 1.0);
  EXPECT_EQ(assigned.ReadNumber("from pointer"), 2.0);
}

TEST_F(QXDataContainerTest, OverwriteContentWithReplacesEveryEntryAndSharesArrays) {
  QXDataContainer target;
  QXDataContainer source;
  target.Save(1.0, "old");
  source.Save(Column<double>({1, 2}), "new");
  target.OverwriteContentWith(source);
  EXPECT_FALSE(target.Contains("old"));
  EXPECT_EQ(target.ReadDoubleArray("new").Pointer(), source.ReadDoubleArray("new").Pointer());
}

TEST_F(QXDataContainerTest, OverwriteContentWithItselfKeepsTheEntries) {
  QXDataContainer container;
  container.Save(1.0, "x");
  QXDataContainer same = container;
  container.OverwriteContentWith(same);
  EXPECT_TRUE(container.Contains("x"));
}

TEST_F(QXDataContainerTest, EntriesDifferByTypeOrValue) {
  QXDataContainer container;
  container.Save(1.0, "d");
  container.Save(1, "i");
  container.Save(std::string("a"), "s");
  container.Save(std::string("b"), "t");
  container.Save(1.0, "d2");
  EXPECT_NE(container.FindVariable("d"), container.FindVariable("i"));
  EXPECT_NE(container.FindVariable("s"), container.FindVariable("t"));
  EXPECT_EQ(container.FindVariable("d"), container.FindVariable("d2"));
  EXPECT_EQ(container.FindVariable("missing").type, QXContainerNotFound);
}

TEST_F(QXDataContainerTest, EntryDimensionsAreThoseOfItsArray) {
  QXDataContainer container;
  container.Save(QXMutableShortIntArray(2, 3, 4), "a");
  container.Save(std::string("s"), "s");
  const QXDataContainerEntry entry = container.FindVariable("a");
  EXPECT_EQ(entry.m(), 2);
  EXPECT_EQ(entry.n(), 3);
  EXPECT_EQ(entry.o(), 4);
  EXPECT_EQ(container.FindVariable("s").m(), 0);
}

TEST_F(QXDataContainerTest, ListingShowsEveryEntryInNameOrder) {
  QXDataContainer container;
  container.Save(2.5, "number");
  container.Save(Column<int>({1, 2, 3}), "column");
  container.Save(QXMutableFloatArray(2, 3, 1), "matrix");
  container.Save(QXMutableUCharArray(2, 3, 4), "volume");
  container.Save(QXMutableCharArray(), "empty");
  container.Save(std::string("short"), "s");
  container.Save(std::string("a text of more than twenty"), "t");
  container.Save(QXMutableUShortIntArray(1, 1, 1) = 4, "u");
  container.Save(QXMutableShortIntArray(1, 2, 1), "v");
  Printed();
  container.pinfo();
  const std::string rule(64, '-');
  EXPECT_EQ(Printed(), rule + "\nContent of data container\n" + rule + "\n" +
                           "column ....................... -    int - 3 numbers\n"
                           "empty ........................ -   char - Empty\n"
                           "matrix ....................... -  float - 2 x 3 array\n"
                           "number ....................... - double - 2.5\n"
                           "s ............................ - string - \"short\"\n"
                           "t ............................ - string - \"a text of more ...\" - "
                           "26 characters\n"
                           "u ............................ - UShort - 4\n"
                           "v ............................ -  short - 1 x 2 array\n"
                           "volume ....................... -  UChar - 2 x 3 x 4 array\n");
}

TEST_F(QXDataContainerTest, LongListingLeavesOutTheMiddleWithASkippingLine) {
  QXDataContainer container;
  for (int i = 0; i < 1000; i++) container.Save(i, "v" + std::to_string(1000 + i));
  Printed();
  container.pinfo();
  const std::string printed = Printed();
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 403);
  EXPECT_NE(printed.find("v1389 "), std::string::npos);
  EXPECT_EQ(printed.find("v1390 "), std::string::npos);
  EXPECT_NE(printed.find("\nSkipping 601 entries.\nv1991 "), std::string::npos);
}

}  // namespace
