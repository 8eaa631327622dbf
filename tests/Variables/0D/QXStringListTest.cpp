#include "QXStringList.h"

#include "QXMatlabFileBytes.h"

namespace {

QXMutableList<std::string> Strings(const Texts& texts) {
  QXMutableList<std::string> list(static_cast<int>(texts.size()));
  for (size_t i = 0; i < texts.size(); i++) list(static_cast<int>(i)) = texts[i];
  return list;
}

// The characters of "a" and "bc", packed.
QXCharArray Five() { return MakeArray<signed char>(5, 1, 1, {'a', 0, 'b', 'c', 0}); }

using QXStringListTest = QXReportingTest;

TEST_F(QXStringListTest, RefusesArraysThatDoNotMakeAList) {
  const std::pair<QXIntArray, std::string> cases[] = {
      {MakeArray<int>(2, 1, 1, {0, 5}), "One of the offsets is out of range."},
      {MakeArray<int>(2, 1, 1, {2, 0}), "The offsets need to be increasing."},
      {MakeArray<int>(1, 2, 1, {0, 2}), "Invalid array sizes."},
  };
  for (const auto& [offsets, report] : cases) {
    EXPECT_EQ(QXStringList(Five(), offsets).NumberOfStrings(), 0);
    EXPECT_EQ(Reports(), Lines{"QXStringList(characters,offsets): " + report});
  }
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
class QXStringListStorageTest : public testing::Test {};
using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
TYPED_TEST_SUITE(QXStringListStorageTest, QXFileStorages);

TYPED_TEST(QXStringListStorageTest, EveryStringComesBackFromTheFile) {
  const Texts texts = {"inlet", "", std::string("a\0b", 3), "outlet"};
  QXTempPath file("stringlist");
  {
    TypeParam storage(file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "S", QXStringList(Strings(texts)));
  }
  QXStringList list;
  ReadFromFile(TypeParam(file.path, QXFile::ReadOnly), "S", list);
  ASSERT_EQ(list.NumberOfStrings(), 4);
  for (int i = 0; i < 4; i++) EXPECT_EQ(list.SingleEntry(i), texts[i]);
}

TEST(QXStringListScipyTest, ScipyReadsTheOffsetsAsAnIntColumn) {
  static const std::string python = QXFindPythonWithScipy();
  if (python.empty()) GTEST_SKIP() << "python3 with scipy is not installed";
  QXTempPath file("scipy");
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "S", QXStringList(Strings({"a", "bc", "def"})));
  }
  const char* check =
      "import scipy.io, sys\n"
      "o = scipy.io.loadmat(sys.argv[1])['S_offs']\n"
      "assert o.dtype.str[1:] == 'i4', o.dtype\n"
      "assert o.shape == (3, 1), o.shape\n"
      "assert o[:, 0].tolist() == [0, 2, 5], o\n";
  EXPECT_EQ(std::system((python + " -c \"" + check + "\" " + file.path).c_str()), 0);
}

}  // namespace
