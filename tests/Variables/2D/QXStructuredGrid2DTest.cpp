#include "QXStructuredGrid2D.h"

#include "../Support/QXVariableTestSupport.h"

namespace {

// X varies along i only, Y along j only: a 3 x 2 grid.
QXMutableFloatArray Xs() { return Column<float>({1, 2, 3}); }
QXMutableFloatArray Ys() { return MakeArray<float>(1, 2, 1, {10, 20}); }
// Points 0, 1 and 4 of the 3 x 2 box.
QXStructuredGrid2D Masked() {
  return QXStructuredGrid2D(Xs(), Ys(), MaskOfRuns(3, 2, 1, {0, 1, 4, 4}));
}
QXStructuredGrid2D Plain() { return QXStructuredGrid2D(Xs(), Ys()); }

const std::string kXY = "QXStructuredGrid2D(X,Y): ";

using QXStructuredGrid2DTest = QXReportingTest;

TEST_F(QXStructuredGrid2DTest, ConstructorsRefuseArraysAndMasksThatDoNotFit) {
  const QXMutableFloatArray wide(70000, 1, 1);
  const QXMutableFloatArray tall(1, 70000, 1);
  const QXStructuredGrid2D grid = Plain();
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXStructuredGrid2D(Counting<float>(3, 3), Ys()).IsEmpty(); }, kXY + "Invalid array sizes."},
      {[] { return QXStructuredGrid2D(Counting<float>(3, 1, 2), Ys()).IsEmpty(); }, kXY + "Invalid array sizes."},
      {[&] { return QXStructuredGrid2D(wide, tall).IsEmpty(); }, kXY + "Too many points."},
      {[] { return QXStructuredGrid2D(Xs(), Ys(), QXMask(3, 2, 2)).IsEmpty(); }, "QXStructuredGrid2D(X,Y,Mask): Invalid mask."},
      {[&] { return QXStructuredMesh2D(Counting<double>(4, 2), grid) == QXStructuredMesh2D(); }, "QXStructuredMesh2D(Array,Grid): Grid size is incompatible."},
      {[&] { return QXStructuredMesh2D(Counting<double>(3, 2, 2), grid) == QXStructuredMesh2D(); }, "QXStructuredMesh2D(Array,Grid): Array is three dimensional."},
  };
  // clang-format on
  ExpectRefusals(cases);
}

TEST_F(QXStructuredGrid2DTest, FullArraysRepeatAlongTheExtentsOfOne) {
  const QXStructuredGrid2D grid(Column<float>({1, 2, 3, 4, 5}), Counting<float>(1, 7));
  const QXFloatArray x = grid.FullXArray();
  const QXFloatArray y = grid.FullYArray();
  EXPECT_EQ(SizeOf(x), (std::vector<int>{5, 7, 1}));
  EXPECT_EQ(x(3, 6), 4);
  EXPECT_EQ(SizeOf(y), (std::vector<int>{5, 7, 1}));
  EXPECT_EQ(y(4, 2), 2);
}

TEST_F(QXStructuredGrid2DTest, EqualityComparesArraysAndWhetherAndWhereAMaskIs) {
  EXPECT_EQ(Plain(), QXStructuredGrid2D(Xs().Copy(), Ys()));
  EXPECT_NE(Plain(), QXStructuredGrid2D(Xs(), Counting<float>(1, 2)));
  EXPECT_NE(Plain(), Masked());
  EXPECT_NE(Masked(), QXStructuredGrid2D(Xs(), Ys(), QXMask(3, 2, 1)));
}

TEST_F(QXStructuredGrid2DTest, PinfoGivesTheSizesAndTheMaskedPoints) {
  Masked().pinfo();
  EXPECT_EQ(Printed(), "3x2 structured grid. Mask = 3 points.\n");
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
// mesh's masked grid and the "_Z" of a 3D grid. A mask without points cannot
// be told from none.
TYPED_TEST(QXStructuredGrid2DStorageTest, SavesReplaceTheWholeValue) {
  const QXStructuredMesh2D mesh(Counting<double>(3, 2), Plain());
  TypeParam storage = this->Create();
  storage.Save(Counting<float>(3, 2), "G_Z");
  WriteToFile(storage, "G", Masked());
  WriteToFile(storage, "G", QXStructuredGrid2D(Xs(), Ys(), QXMask(3, 2, 1)));
  EXPECT_EQ(this->Reports(),
            Lines{"WriteToFile(QXStructuredGrid2D): A mask without points is stored as no mask."});
  WriteToFile(storage, "M", QXStructuredMesh2D(Counting<double>(3, 2), Masked()));
  WriteToFile(storage, "M", mesh);
  EXPECT_EQ(this->WriteOrder(), (Texts{"G_X", "G_Y", "G_Z", "G", "M_g_X", "M_g_Y", "M_g", "M"}));
  EXPECT_TRUE(storage.ReadFloatArray("G_Z").IsEmpty());
  QXStructuredGrid2D grid;
  ReadFromFile(storage, "G", grid);
  EXPECT_EQ(grid, Plain());
  QXStructuredMesh2D read;
  ReadFromFile(storage, "M", read);
  EXPECT_EQ(read, mesh);
}

TYPED_TEST(QXStructuredGrid2DStorageTest, ReaderRefusesThreeDimensionalMeshValues) {
  this->Create().Save(Counting<double>(3, 2, 2), "M");
  QXStructuredMesh2D read(Counting<double>(3, 2), Masked());
  ReadFromFile(this->Reopen(), "M", read);
  EXPECT_EQ(read, QXStructuredMesh2D());
  EXPECT_EQ(this->Reports(),
            Lines{"ReadFromFile(QXStructuredMesh2D): Can not read a three dimensional array."});
}

}  // namespace
