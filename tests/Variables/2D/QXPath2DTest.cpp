#include "QXPath2D.h"

#include <cmath>

#include "../Support/QXVariableTestSupport.h"

namespace {

using D = std::vector<double>;

// A rows x N array of the numbers, column after column.
QXMutableDoubleArray Loops(int rows, const D& numbers) {
  return MakeArray<double>(rows, static_cast<int>(numbers.size()) / rows, 1, numbers);
}

// One closed loop of three points: (0,0), (1,0), back to (0,0).
QXMutableDoubleArray Triangle() { return Loops(2, {0, 3, 0, 0, 1, 0, 0, 0}); }

D Corners(const QXRegion2D& r) { return {r.xmin, r.xmax, r.ymin, r.ymax}; }

const std::string kPath = "QXPath(Array): ";
const std::string kValued = "QXPath2DValues(Array): ";

using QXPath2DTest = QXReportingTest;

TEST_F(QXPath2DTest, ConstructorsRefuseWhatIsNotALoopArrayOfTheirType) {
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXPath2D(Loops(3, {0, 0, 1, 1, 1, 1})).IsEmpty(); }, kPath + "Invalid size of path array."},
      {[] { return QXPath2D(MakeArray<double>(2, 3, 2, D(12, 2))).IsEmpty(); }, kPath + "Invalid size of path array."},
      {[] { return QXPath2D(Loops(2, {0, 1, 5, 5})).IsEmpty(); }, kPath + "Invalid loop length in column 0."},
      {[] { return QXPath2D(Loops(2, {0, 3, 0, 0, 1, 0, 0, 0, 0, 2})).IsEmpty(); }, kPath + "A loop length is too long."},
      {[] { return QXPath2D(Loops(2, {0, 3, 0, 0, 1, 0, 0, 0, 0, 0})).IsEmpty(); }, kPath + "Invalid loop length in column 4."},
      {[] { return QXPath2DValues(Loops(2, {0, 1, 5, 5})).IsEmpty(); }, kValued + "Need three rows"},
      {[] { return QXPath2DValues(MakeArray<double>(3, 2, 2, D{0, 0, 1, 5, 5, 5, 0, 0, 1, 5, 5, 5})).IsEmpty(); }, kValued + "Need three rows"},
      {[] { return QXPath2DValues(Loops(3, {0, 0, 0.5, 5, 5, 5})).IsEmpty(); }, kValued + "Invalid loop length."},
      {[] { return QXPath2DValues(Loops(3, {0, 0, 2, 5, 5, 5})).IsEmpty(); }, kValued + "A loop length is too long."},
      {[] { return Combine(QXPath2D(Triangle()), Column<double>({7, 8, 9})).IsEmpty(); }, "Combine(QXPath2D,QXDoubleArray): Incompatible length for value array."},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(cases[i].leavesEmpty());
    EXPECT_EQ(Reports(), Lines{cases[i].report});
  }
}

// The second loop's header lies in column 3, with two columns after it.
TEST_F(QXPath2DTest, LengthFieldsAreCheckedAsNumbersBeforeTheyAreUsed) {
  const std::string invalid = kPath + "Invalid loop length in column 3.";
  const std::string tooLong = kPath + "A loop length is too long.";
  // clang-format off
  const struct { double length; Lines reports; } cases[] = {
      {NAN, {invalid}},
      {INFINITY, {invalid}},
      {-INFINITY, {invalid}},
      {2.5, {invalid}},
      {-0.0, {invalid}},
      {1, {invalid}},
      {2147483648.0, {tooLong}},
      {4294967298.0, {tooLong}},
      {1e300, {tooLong}},
      {3, {tooLong}},
      {2, {}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    const QXPath2D path(Loops(2, {0, 2, 0, 0, 1, 1, 0, c.length, 2, 2, 3, 3}));
    EXPECT_EQ(path.NotEmpty(), c.reports.empty());
    EXPECT_EQ(Reports(), c.reports);
  }
}

TEST_F(QXPath2DTest, ClosedLoopsCountTheirFirstPointOnce) {
  // clang-format off
  const struct { std::function<int()> points; int expected; } cases[] = {
      {[] { return QXPath2D(Triangle()).NumberOfPoints(); }, 2},
      {[] { return QXPath2D(Loops(2, {0, 3, 0, 0, 1, 0, 0, 1})).NumberOfPoints(); }, 3},
      {[] { return QXPath2D(Loops(2, {0, 2, NAN, 0, NAN, 0})).NumberOfPoints(); }, 2},
      {[] { return QXPath2D(Loops(2, {0, 2, 4, 4, 4, 4, 0, 2, 0, 0, 1, 1})).NumberOfPoints(); }, 3},
      {[] { return QXPath2D(Loops(4, {1, 1, 1, 1, 0, 0, 2, 2})).NumberOfPoints(); }, 4},
      {[] { return QXPath2DValues(Loops(3, {0, 0, 3, 0, 0, 1, 1, 0, 2, 0, 0, 1})).NumberOfPoints(); }, 2},
      {[] { return QXPath2DValues(Loops(3, {0, 0, 3, 0, 0, 1, 1, 0, 2, 0, 0, 9})).NumberOfPoints(); }, 3},
      {[] { return QXPath2DValues(Loops(3, {0, 0, 1, 5, 5, 5, 0, 0, 1, 6, 6, 6})).NumberOfPoints(); }, 2},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cases[i].points(), cases[i].expected);
  }
}

TEST_F(QXPath2DTest, PinfoNamesPointsAndLoops) {
  // clang-format off
  const QXPrinting cases[] = {
      {[] { QXPath2D().pinfo(); }, "Empty Path\n"},
      {[] { QXPath2D(Triangle()).pinfo(); }, "2 points, 1 loop.\n"},
      {[] { QXPath2D(Loops(4, {1, 1, 1, 1, 0, 0, 2, 2})).pinfo(); }, "4 points, 2 loops.\n"},
      {[] { QXPath2DValues().pinfo(); }, "Empty\n"},
      {[] { QXPath2DValues(Loops(3, {0, 0, 1, 5, 5, 5})).pinfo(); }, "1 loop, 1 points.\n"},
      {[] { QXPath2DValues(Loops(3, {0, 0, 1, 5, 5, 5, 0, 0, 2, 6, 6, 6, 7, 7, 7})).pinfo(); }, "2 loops, 3 points.\n"},
  };
  // clang-format on
  for (const QXPrinting& c : cases) {
    SCOPED_TRACE(c.text);
    c.print();
    EXPECT_EQ(Printed(), c.text);
  }
}

// Every point lies in [5, 7] x [5, 8]; the headers hold 0 and the lengths.
TEST_F(QXPath2DTest, BoxesAndRangesSkipTheHeaders) {
  const QXPath2D path(Loops(2, {0, 2, 5, 6, 7, 8, 0, 2, 6, 5, NAN, 7}));
  const QXPath2DValues valued(Loops(3, {0, 0, 2, 5, 6, -1, 7, 8, 4}));
  EXPECT_EQ(Corners(BoundingBox(path)), (D{5, 7, 5, 8}));
  EXPECT_EQ(Corners(BoundingBox(valued)), (D{5, 7, 6, 8}));
  EXPECT_EQ(ValueRange(valued).minV, -1);
  EXPECT_EQ(ValueRange(valued).maxV, 4);
  EXPECT_FALSE(BoundingBox(QXPath2D()).isSet);
  EXPECT_FALSE(ValueRange(QXPath2DValues()).isSet);
}

// Segments have no headers: every number belongs to a point.
TEST_F(QXPath2DTest, SegmentsAreBoxedByBothPoints) {
  EXPECT_EQ(Corners(BoundingBox(QXPath2D(Loops(4, {0, 2, 9, 9, 9, 9, -1, 3})))), (D{-1, 9, 2, 9}));
}

TEST_F(QXPath2DTest, CombineGivesEachPointAValueAndAClosedLoopsLastPointItsFirstOne) {
  const QXPath2DValues triangle = Combine(QXPath2D(Triangle()), Column<double>({7, 8}));
  EXPECT_EQ(Elements(triangle.Data()), (D{0, 0, 3, 0, 0, 7, 1, 0, 8, 0, 0, 7}));
  const QXMutableDoubleArray two = Loops(2, {0, 2, 1, 1, 2, 2, 0, 3, 0, 0, 1, 0, 0, 0});
  const QXPath2DValues loops = Combine(QXPath2D(two), Column<double>({1, 2, 3, 4}));
  EXPECT_EQ(Elements(loops.Data()),
            (D{0, 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 3, 0, 0, 3, 1, 0, 4, 0, 0, 3}));
}

TEST_F(QXPath2DTest, CombineMakesEachSegmentALoopOfTwoPoints) {
  const QXPath2D segments(Loops(4, {1, 2, 3, 4, 5, 6, 5, 6}));
  const QXPath2DValues combined = Combine(segments, Column<double>({10, 20, 30, 40}));
  EXPECT_EQ(SizeOf(combined.Data()), (std::vector<int>{3, 6, 1}));
  EXPECT_EQ(Elements(combined.Data()),
            (D{0, 0, 2, 1, 2, 10, 3, 4, 20, 0, 0, 2, 5, 6, 30, 5, 6, 40}));
}

// A path shares its array; a header spoilt afterwards through the caller's
// handle ends every walk there, inside the array (-1 would step back forever).
TEST_F(QXPath2DTest, WalksOfAnArrayChangedAfterTheCheckStopAtTheFirstBadHeader) {
  QXMutableDoubleArray shared = Loops(2, {0, 2, 1, 1, 2, 2, 0, 3, 5, 5, 6, 6, 7, 7});
  const QXPath2D path(shared);
  for (const double spoilt : D{-1, 0, NAN, 1e300, 4}) {
    SCOPED_TRACE(spoilt);
    shared(1, 3) = spoilt;
    EXPECT_EQ(path.NumberOfLoops(), 1);
    EXPECT_EQ(path.NumberOfPoints(), 2);
    EXPECT_EQ(Corners(BoundingBox(path)), (D{1, 2, 1, 2}));
    EXPECT_EQ(Elements(Combine(path, Column<double>({8, 9})).Data()),
              (D{0, 0, 2, 1, 1, 8, 2, 2, 9}));
  }
  shared(1, 0) = -1;
  EXPECT_EQ(path.NumberOfLoops(), 0);
  EXPECT_FALSE(BoundingBox(path).isSet);
  path.pinfo();
  EXPECT_EQ(Printed(), "0 points, 0 loops.\n");
}

TEST_F(QXPath2DTest, CropBoxIsKeptOnlyWithAnAcceptedArray) {
  const QXRegion2D crop(QXPoint2D(0, 0), QXPoint2D(4, 4));
  EXPECT_FALSE(QXPath2D(Loops(2, {0, 1, 5, 5}), crop).CropBox().isSet);
  EXPECT_EQ(Reports(), Lines{kPath + "Invalid loop length in column 0."});
  QXPath2D path(Triangle(), crop);
  EXPECT_TRUE(path.SetStorage(Loops(4, {1, 2, 3, 4})));
  EXPECT_TRUE(path.CropBox().isSet);
  EXPECT_FALSE(path.SetStorage(QXDoubleArray()));
  EXPECT_FALSE(path.CropBox().isSet);
  EXPECT_TRUE(path.IsEmpty());
}

template <class Storage>
using QXPath2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXPath2DStorageTest, QXFileStorages);

// The crop box is read from "_loc" but not written; a save clears the one an
// earlier value had.
TYPED_TEST(QXPath2DStorageTest, PathsAreOneDoubleArrayUnderTheirNameAndReadBack) {
  const QXMutableDoubleArray valued = Loops(3, {0, 0, 1, 5, 5, 5});
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "V", QXPath2DValues(valued));
    WriteToFile(storage, "P_loc", QXRegion2D(QXPoint2D(-1, -2), QXPoint2D(3, 4)));
    storage.Save(Triangle(), "P");
  }
  QXPath2D path;
  QXPath2DValues values;
  ReadFromFile(this->Reopen(), "P", path);
  ReadFromFile(this->Reopen(), "V", values);
  EXPECT_EQ(path.Data(), Triangle());
  EXPECT_EQ(Corners(path.CropBox()), (D{-1, 3, -2, 4}));
  EXPECT_EQ(values.Data(), valued);
  {
    TypeParam storage(this->file.path, QXFile::ExistingReadWrite);
    WriteToFile(storage, "P", QXPath2D(Loops(4, {1, 2, 3, 4}), path.CropBox()));
  }
  EXPECT_EQ(this->Listing(), Line("V", "double - 3 x 2 array") + Line("P_loc", "double - Empty") +
                                 Line("P", "double - 4 numbers"));
  ReadFromFile(this->Reopen(), "P", path);
  EXPECT_EQ(SizeOf(path.Data()), (std::vector<int>{4, 1, 1}));
  EXPECT_FALSE(path.CropBox().isSet);
}

}  // namespace
