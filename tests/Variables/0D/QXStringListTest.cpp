#include "QXStringList.h"

#include <gtest/gtest.h>

#include "QXDataFile.h"
#include "QXMatlabDataFile.h"
#include "QXMatlabFileBytes.h"

namespace {

QXMutableList<std::string> Strings(const Texts& texts) {
  QXMutableList<std::string> list(static_cast<int>(texts.size()));
  for (size_t i = 0; i < texts.size(); i++) list(static_cast<int>(i)) = texts[i];
  return list;
}

Texts Entries(const QXStringList& list) {
  Texts entries;
  for (int i = 0; i < list.NumberOfStrings(); i++) entries.push_back(list.SingleEntry(i));
  return entries;
}

// The characters of "a" and "bc", packed.
QXCharArray Five() { return MakeArray<signed char>(5, 1, 1, {'a', 0, 'b', 'c', 0}); }

using QXStringListTest = QXReportingTest;

TEST_F(QXStringListTest, PacksEachStringWithItsZeroByte) {
  const QXStringList list(Strings({"a", "bc"}));
  EXPECT_EQ(Elements(list.Characters()), Elements(Five()));
  EXPECT_EQ(Elements(list.Offsets()), (std::vector<int>{0, 2}));
  EXPECT_EQ(Entries(list), (Texts{"a", "bc"}));
}

TEST_F(QXStringListTest, RefusesArraysThatDoNotMakeAList) {
  struct QXListCase {
    QXCharArray characters;
    QXIntArray offsets;
    std::string report;
  };
  // clang-format off
  const QXListCase cases[] = {
      {Five(), MakeArray<int>(2, 1, 1, {0, 7}), "One of the offsets is out of range."},
      {Five(), MakeArray<int>(1, 1, 1, {-1}), "One of the offsets is out of range."},
      {Five(), MakeArray<int>(2, 1, 1, {2, 0}), "The offsets need to be increasing."},
      {MakeArray<signed char>(2, 3, 1, {}), MakeArray<int>(1, 1, 1, {0}), "Invalid array sizes."},
      {Five(), QXIntArray(), "Invalid array sizes."},
  };
  // clang-format on
  for (const QXListCase& refused : cases) {
    EXPECT_EQ(QXStringList(refused.characters, refused.offsets).NumberOfStrings(), 0);
    EXPECT_EQ(Reports(), Lines{"QXStringList(characters,offsets): " + refused.report});
  }
}

TEST_F(QXStringListTest, EqualOffsetsMakeAnEmptyString) {
  const QXStringList list(Five(), MakeArray<int>(2, 1, 1, {0, 0}));
  EXPECT_EQ(Entries(list), (Texts{"", std::string("a\0bc", 4)}));
}

TEST_F(QXStringListTest, SingleEntryChecksItsBoundsOnEveryCall) {
  QXMutableIntArray offsets = MakeArray<int>(2, 1, 1, {0, 2});
  const QXStringList list(Five(), offsets);
  EXPECT_EQ(list.SingleEntry(2), "");
  offsets(1) = 100;
  EXPECT_EQ(list.SingleEntry(0), "");
  EXPECT_EQ(Reports(), Lines(2, "QXStringList::SingleEntry: Out of bounds."));
}

// Two strings of 1 GiB; ThreadSanitizer's shadow of them and their copies
// would take some 16 GB, and an emulated machine minutes to copy them.
TEST_F(QXStringListTest, RefusesToPackMoreCharactersThanAnIntCounts) {
#if defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "too much memory under ThreadSanitizer";
#endif
#ifdef QX_EMULATOR
  if (std::string(QX_EMULATOR) != "") GTEST_SKIP() << "too slow under emulation";
#endif
  QXMutableList<std::string> huge(2);
  huge(0) = std::string(size_t{1} << 30, 'x');
  huge(1) = huge(0);
  EXPECT_EQ(QXStringList(huge).NumberOfStrings(), 0);
  EXPECT_EQ(Reports(), Lines{"QXStringList(list): The strings are too long to pack."});
}

template <class Storage>
class QXStringListStorageTest : public testing::Test {
 protected:
  QXTempPath file{"stringlist"};
};

using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
TYPED_TEST_SUITE(QXStringListStorageTest, QXFileStorages);

TYPED_TEST(QXStringListStorageTest, EveryStringComesBackFromTheFile) {
  const Texts texts = {"inlet", "", std::string("a\0b", 3), "outlet"};
  {
    TypeParam storage(this->file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "S", QXStringList(Strings(texts)));
  }
  QXStringList list;
  ReadFromFile(TypeParam(this->file.path, QXFile::ReadOnly), "S", list);
  EXPECT_EQ(Entries(list), texts);
}

TEST(QXStringListScipyTest, ScipyReadsTheOffsetsAsAnIntColumn) {
  static const std::string python = QXFindPythonWithScipy();
  if (python.empty()) GTEST_SKIP() << "python3 with scipy is not installed";
  QXTempPath file("scipy");
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "S", QXStringList(Strings({"a", "bc", "def"})));
  }
  const std::string offsets = "__import__('scipy.io').io.loadmat('" + file.path + "')['S_offs']";
  const std::string check =
      "o = " + offsets +
      "; assert (o.dtype.str[1:], o.shape, list(o[:, 0])) == ('i4', (3, 1), [0, 2, 5]), o";
  EXPECT_EQ(std::system((python + " -c \"" + check + "\"").c_str()), 0);
}

}  // namespace
