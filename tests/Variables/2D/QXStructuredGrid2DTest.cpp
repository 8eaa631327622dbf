#include "QXStructuredGrid2D.h"

#include <cmath>

#include "../Support/QXVariableTestSupport.h"

namespace {

using D = std::vector<double>;

QXMutableIntArray Runs(const std::vector<int>& bounds) {
  return MakeArray<int>(2, int(bounds.size() / 2), 1, bounds);
}

// X varies along i only, Y along j only: a 3 x 2 grid.
QXMutableFloatArray Xs() { return Column<float>({1, 2, 3}); }
QXMutableFloatArray Ys() { return MakeArray<float>(1, 2, 1, {10, 20}); }
// Points 0, 1 and 4 of the 3 x 2 box.
QXMask ThreeOfSix() { return QXMask::CreateFromIntervals(Runs({0, 1, 4, 4}), 3, 2, 1); }
QXStructuredGrid2D Masked() { return QXStructuredGrid2D(Xs(), Ys(), ThreeOfSix()); }

const std::string kXY = "QXStructuredGrid2D(X,Y): ";
const std::string kXYMask = "QXStructuredGrid2D(X,Y,Mask): ";

using QXStructuredGrid2DTest = QXReportingTest;

TEST_F(QXStructuredGrid2DTest, ConstructorsRefuseArraysAndMasksThatDoNotFit) {
  const QXMutableFloatArray wide(70000, 1, 1), tall(1, 70000, 1);
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXStructuredGrid2D(Counting<float>(3, 3), Ys()).IsEmpty(); }, kXY + "Invalid array sizes."},
      {[] { return QXStructuredGrid2D(Xs(), Counting<float>(2, 2)).IsEmpty(); }, kXY + "Invalid array sizes."},
      {[] { return QXStructuredGrid2D(Counting<float>(3, 1, 2), Ys()).IsEmpty(); }, kXY + "Invalid array sizes."},
      {[&] { return QXStructuredGrid2D(wide, tall).IsEmpty(); }, kXY + "Too many points."},
      {[] { return QXStructuredGrid2D(Xs(), Ys(), QXMask(2, 3, 1)).IsEmpty(); }, kXYMask + "Invalid mask."},
      {[] { return QXStructuredGrid2D(Xs(), Ys(), QXMask(3, 2, 2)).IsEmpty(); }, kXYMask + "Invalid mask."},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(cases[i].leavesEmpty());
    EXPECT_EQ(Reports(), Lines{cases[i].report});
  }
  EXPECT_TRUE(QXStructuredGrid2D(QXFloatArray(), Ys(), QXMask(2, 3, 1)).IsEmpty());
  EXPECT_EQ(Reports(), Lines{});
}

TEST_F(QXStructuredGrid2DTest, FullArraysRepeatAlongTheExtentsOfOne) {
  const QXStructuredGrid2D grid(Column<float>({1, 2, 3, 4, 5}), Counting<float>(1, 7));
  const QXFloatArray x = grid.FullXArray(), y = grid.FullYArray();
  EXPECT_EQ(SizeOf(x), (std::vector<int>{5, 7, 1}));
  EXPECT_EQ(x(3, 6), 4);
  EXPECT_EQ(x(4, 0), 5);
  EXPECT_EQ(y(0, 6), 6);
  EXPECT_EQ(y(4, 2), 2);
  EXPECT_EQ(QXStructuredGrid2D().FullXArray().Length(), 0);
}

TEST_F(QXStructuredGrid2DTest, BoxEqualityAndPrinting) {
  const QXRegion2D box =
      BoundingBox(QXStructuredGrid2D(MakeArray<float>(3, 1, 1, {2, NAN, -1}), Ys()));
  EXPECT_EQ((D{box.xmin, box.xmax, box.ymin, box.ymax}), (D{-1, 2, 10, 20}));
  EXPECT_EQ(QXStructuredGrid2D(Xs(), Ys()), QXStructuredGrid2D(Xs().Copy(), Ys()));
  EXPECT_NE(QXStructuredGrid2D(Xs(), Ys()), Masked());
  EXPECT_NE(Masked(), QXStructuredGrid2D(Xs(), Ys(), QXMask(3, 2, 1)));
  Masked().pinfo();
  EXPECT_EQ(Printed(), "3x2 structured grid. Mask = 3 points.\n");
}

TEST_F(QXStructuredGrid2DTest, MeshTakesValuesOfTheGridSizeOnly) {
  const QXStructuredGrid2D grid(Counting<float>(4, 5), Counting<float>(4, 5));
  const QXStructuredMesh2D mesh(MakeArray<double>(4, 5, 1, D(20, 2.5)), grid);
  EXPECT_EQ(ValueRange(mesh).maxV, 2.5);
  // clang-format off
  const QXRefusal cases[] = {
      {[&] { return QXStructuredMesh2D(Counting<double>(4, 4), grid) == QXStructuredMesh2D(); }, "QXStructuredMesh2D(Array,Grid): Grid size is incompatible."},
      {[&] { return QXStructuredMesh2D(Counting<double>(4, 5, 2), grid) == QXStructuredMesh2D(); }, "QXStructuredMesh2D(Array,Grid): Array is three dimensional."},
  };
  // clang-format on
  for (const QXRefusal& c : cases) {
    EXPECT_TRUE(c.leavesEmpty());
    EXPECT_EQ(Reports(), Lines{c.report});
  }
}

template <class Storage>
using QXStructuredGrid2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXStructuredGrid2DStorageTest, QXFileStorages);

TYPED_TEST(QXStructuredGrid2DStorageTest, MaskIsRebuiltFromTheRunsAndTheArrays) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "G", Masked());
  }
  EXPECT_EQ(this->Listing(), Line("G_X", " float - 3 numbers") +
                                 Line("G_Y", " float - 1 x 2 array") +
                                 Line("G", "   int - 2 x 2 array"));
  QXStructuredGrid2D read;
  ReadFromFile(this->Reopen(), "G", read);
  EXPECT_EQ(read, Masked());
  EXPECT_EQ(SizeOf(read.Mask().MaskArray()), (std::vector<int>{3, 2, 1}));
}

// A save replaces the whole value: the mask goes, and so do the entries of the
// mesh's masked grid. A mask without points cannot be told from none.
TYPED_TEST(QXStructuredGrid2DStorageTest, SavesReplaceTheWholeValue) {
  const QXStructuredMesh2D mesh(Counting<double>(3, 2), QXStructuredGrid2D(Xs(), Ys()));
  TypeParam storage = this->Create();
  WriteToFile(storage, "G", Masked());
  WriteToFile(storage, "G", QXStructuredGrid2D(Xs(), Ys(), QXMask(3, 2, 1)));
  EXPECT_EQ(this->Reports(),
            Lines{"WriteToFile(QXStructuredGrid2D): A mask without points is stored as no mask."});
  WriteToFile(storage, "M", QXStructuredMesh2D(Counting<double>(3, 2), Masked()));
  WriteToFile(storage, "M", mesh);
  EXPECT_EQ(this->WriteOrder(), (Texts{"G_X", "G_Y", "G", "M_g_X", "M_g_Y", "M_g", "M"}));
  QXStructuredGrid2D grid;
  ReadFromFile(storage, "G", grid);
  EXPECT_EQ(grid, QXStructuredGrid2D(Xs(), Ys()));
  QXStructuredMesh2D read;
  ReadFromFile(storage, "M", read);
  EXPECT_EQ(read, mesh);
}

// clang-format off
TYPED_TEST(QXStructuredGrid2DStorageTest, HostileEntriesGiveTheEmptyValueWithAReport) {
  const struct { QXIntArray runs; QXDoubleArray values; Lines reports; } cases[] = {
      {Runs({0, 6}), Counting<double>(3, 2), {"QXMask::CreateFromIntervals(intervals,...): Out of bounds.", "QXStructuredMesh2D(Array,Grid): Grid size is incompatible."}},
      {QXIntArray(), Counting<double>(3, 2, 2), {"ReadFromFile(QXStructuredMesh2D): Can not read a three dimensional array."}},
  };
  // clang-format on
  for (const auto& c : cases) {
    {
      TypeParam storage = this->Create();
      WriteToFile(storage, "M", QXStructuredMesh2D(Counting<double>(3, 2), Masked()));
      storage.Save(c.runs, "M_g");
      storage.Save(c.values, "M");
    }
    QXStructuredMesh2D read(Counting<double>(3, 2), Masked());
    ReadFromFile(this->Reopen(), "M", read);
    EXPECT_EQ(read, QXStructuredMesh2D());
    EXPECT_EQ(this->Reports(), c.reports);
  }
}

}  // namespace
