#include "QXPath3D.h"

#include <cmath>

#include "../Support/QXVariableTestSupport.h"

namespace {

using D = std::vector<double>;
using F = std::vector<float>;

// A rows x N array of the numbers, column after column.
template <class T>
QXMutableArray<T> Loops(int rows, const std::vector<T>& numbers) {
  return MakeArray<T>(rows, static_cast<int>(numbers.size()) / rows, 1, numbers);
}

// Two points a loop: (1, 2, 3) to (4, 5, 6).
QXMutableFloatArray Segment() { return Loops<float>(3, {0, 0, 2, 1, 2, 3, 4, 5, 6}); }

D Corners(const QXRegion3D& r) { return {r.xmin, r.xmax, r.ymin, r.ymax, r.zmin, r.zmax}; }

const std::string kPath = "QXPath(Array): ";
const std::string kValued = "QXPath3DValues(Array): ";

using QXPath3DTest = QXReportingTest;

TEST_F(QXPath3DTest, ConstructorsRefuseWhatIsNotALoopArrayOfTheirType) {
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXPath3D(Loops<float>(2, {0, 2, 1, 1, 2, 2})).IsEmpty(); }, kPath + "Invalid size of path array."},
      {[] { return QXPath3D(MakeArray<float>(6, 1, 2, F(12, 1))).IsEmpty(); }, kPath + "Invalid size of path array."},
      {[] { return QXPath3D(Loops<float>(3, {0, 0, 1, 5, 5, 5})).IsEmpty(); }, kPath + "Invalid loop length."},
      {[] { return QXPath3D(Loops<float>(3, {0, 0, NAN, 5, 5, 5})).IsEmpty(); }, kPath + "Invalid loop length."},
      {[] { return QXPath3D(Loops<float>(3, {0, 0, 16777217.0f, 5, 5, 5})).IsEmpty(); }, kPath + "A loop length is too long."},
      {[] { return QXPath3D(Loops<float>(3, {0, 0, 3e38f, 5, 5, 5})).IsEmpty(); }, kPath + "A loop length is too long."},
      {[] { return QXPath3DValues(Loops<double>(3, {0, 0, 1, 5, 5, 5})).IsEmpty(); }, kValued + "Need four rows"},
      {[] { return QXPath3DValues(MakeArray<double>(4, 2, 2, D(16, 1))).IsEmpty(); }, kValued + "Need four rows"},
      {[] { return QXPath3DValues(Loops<double>(4, {0, 0, 0, -0.0, 5, 5, 5, 5})).IsEmpty(); }, kValued + "Invalid loop length."},
      {[] { return QXPath3DValues(Loops<double>(4, {0, 0, 0, 2, 5, 5, 5, 5})).IsEmpty(); }, kValued + "A loop length is too long."},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(cases[i].leavesEmpty());
    EXPECT_EQ(Reports(), Lines{cases[i].report});
  }
}

// The first loop lies in [1, 4] x [2, 5] x [3, 6]; the headers hold 0 and 2.
// Segments have no headers: every number belongs to a point.
TEST_F(QXPath3DTest, BoxesAndRangesSkipTheHeaders) {
  const QXPath3DValues valued(
      Loops<double>(4, {0, 0, 0, 1, 1.5, 2, 3, -7, 0, 0, 0, 2, 1, 2, 3, 9, 4, 5, 6, NAN}));
  EXPECT_EQ(Corners(BoundingBox(QXPath3D(Segment()))), (D{1, 4, 2, 5, 3, 6}));
  EXPECT_EQ(Corners(BoundingBox(valued)), (D{1, 4, 2, 5, 3, 6}));
  EXPECT_EQ(ValueRange(valued).minV, -7);
  EXPECT_EQ(ValueRange(valued).maxV, 9);
  EXPECT_FALSE(BoundingBox(QXPath3D()).isSet);
  EXPECT_FALSE(ValueRange(QXPath3DValues()).isSet);
  const QXPath3D segments(Loops<float>(6, {0, 0, 1, 1, 1, 1, 9, -2, 3, 4, 4, 4}));
  EXPECT_EQ(Corners(BoundingBox(segments)), (D{0, 9, -2, 4, 1, 4}));
}

TEST_F(QXPath3DTest, BoxOfAnArrayChangedAfterTheCheckStopsAtTheFirstBadHeader) {
  QXMutableFloatArray shared =
      Loops<float>(3, {0, 0, 2, 1, 2, 3, 4, 5, 6, 0, 0, 2, 9, 9, 9, 8, 8, 8});
  const QXPath3D path(shared);
  EXPECT_EQ(BoundingBox(path).xmax, 9);
  shared(2, 3) = -1;
  EXPECT_EQ(Corners(BoundingBox(path)), (D{1, 4, 2, 5, 3, 6}));
}

template <class Storage>
using QXPath3DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXPath3DStorageTest, QXFileStorages);

// The crop box is read from "_loc" but not written; a save clears the one an
// earlier value had.
TYPED_TEST(QXPath3DStorageTest, PathsAreOneArrayUnderTheirNameAndReadBack) {
  const QXMutableDoubleArray valued = Loops<double>(4, {0, 0, 0, 1, 5, 5, 5, 5});
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "V", QXPath3DValues(valued));
    WriteToFile(storage, "P_loc", QXRegion3D(QXPoint3D(-1, -2, -3), QXPoint3D(1, 2, 3)));
    storage.Save(Segment(), "P");
  }
  QXPath3D path;
  QXPath3DValues values;
  ReadFromFile(this->Reopen(), "P", path);
  ReadFromFile(this->Reopen(), "V", values);
  EXPECT_EQ(path.Data(), Segment());
  EXPECT_EQ(Corners(path.CropBox()), (D{-1, 1, -2, 2, -3, 3}));
  EXPECT_EQ(values.Data(), valued);
  {
    TypeParam storage(this->file.path, QXFile::ExistingReadWrite);
    WriteToFile(storage, "P", path);
  }
  EXPECT_EQ(this->Listing(), Line("V", "double - 4 x 2 array") + Line("P_loc", "double - Empty") +
                                 Line("P", " float - 3 x 3 array"));
  ReadFromFile(this->Reopen(), "P", path);
  EXPECT_EQ(path.Data(), Segment());
  EXPECT_FALSE(path.CropBox().isSet);
}

}  // namespace
