#include "QXStructuredGrid3D.h"

#include <type_traits>

#include "../Support/QXVariableTestSupport.h"

namespace {

using F = std::vector<float>;
using D = std::vector<double>;

// The array spread to m x n x o, element by element: the test's own account
// of what the expansion must give.
F Repeated(const QXFloatArray& a, int m, int n, int o) {
  F full;
  for (int k = 0; k < o; k++)
    for (int j = 0; j < n; j++)
      for (int i = 0; i < m; i++)
        full.push_back(a(a.m() == 1 ? 0 : i, a.n() == 1 ? 0 : j, a.o() == 1 ? 0 : k));
  return full;
}

// Every dimension of every array at its full size or 1, in several mixes.
QXStructuredGrid3D Straight() {
  return QXStructuredGrid3D(Counting<float>(4, 1, 1), Counting<float>(1, 3, 1),
                            Counting<float>(1, 1, 2));
}
QXStructuredGrid3D Mixed() {
  return QXStructuredGrid3D(Counting<float>(4, 3, 1), Counting<float>(1, 3, 2),
                            Counting<float>(4, 1, 2));
}
// Points 1 to 5 and 20 of the 4 x 3 x 2 box.
QXMask SixOfTwentyFour() {
  return QXMask::CreateFromIntervals(MakeArray<int>(2, 2, 1, {1, 5, 20, 20}), 4, 3, 2);
}

const std::string kXYZ = "QXStructuredGrid3D(X,Y,Z): ";

using QXStructuredGrid3DTest = QXReportingTest;

TEST_F(QXStructuredGrid3DTest, ConstructorsRefuseArraysAndMasksThatDoNotFit) {
  const QXMutableFloatArray x(2000, 1, 1), y(1, 2000, 1), z(1, 1, 2000);
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXStructuredGrid3D(Counting<float>(4, 1), Counting<float>(1, 3), Counting<float>(3, 1, 2)).IsEmpty(); }, kXYZ + "Invalid array sizes."},
      {[&] { return QXStructuredGrid3D(x, y, z).IsEmpty(); }, kXYZ + "Too many points."},
      {[] { return QXStructuredGrid3D(Counting<float>(4, 1), Counting<float>(1, 3), Counting<float>(1, 1, 2), QXMask(4, 3, 1)).IsEmpty(); }, "QXStructuredGrid3D(X,Y,Z,Mask): Invalid mask."},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(cases[i].leavesEmpty());
    EXPECT_EQ(Reports(), Lines{cases[i].report});
  }
}

TEST_F(QXStructuredGrid3DTest, FullArraysRepeatAlongTheExtentsOfOne) {
  for (const QXStructuredGrid3D& grid : {Straight(), Mixed()}) {
    EXPECT_EQ(Elements(grid.FullXArray()), Repeated(grid.X(), 4, 3, 2));
    EXPECT_EQ(Elements(grid.FullYArray()), Repeated(grid.Y(), 4, 3, 2));
    EXPECT_EQ(Elements(grid.FullZArray()), Repeated(grid.Z(), 4, 3, 2));
    EXPECT_EQ(SizeOf(grid.FullZArray()), (std::vector<int>{4, 3, 2}));
  }
}

TEST_F(QXStructuredGrid3DTest, BoxEqualityAndPrinting) {
  const QXRegion3D box = BoundingBox(Mixed());
  EXPECT_EQ((D{box.xmin, box.xmax, box.ymin, box.ymax, box.zmin, box.zmax}),
            (D{0, 11, 0, 5, 0, 7}));
  EXPECT_FALSE(BoundingBox(QXStructuredGrid3D()).isSet);
  const QXStructuredGrid3D masked(Straight().X(), Straight().Y(), Straight().Z(),
                                  SixOfTwentyFour());
  EXPECT_NE(masked, Straight());
  masked.pinfo();
  EXPECT_EQ(Printed(), "4x3x2 structured grid. Mask = 6 points.\n");
}

template <class Storage>
using QXStructuredGrid3DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXStructuredGrid3DStorageTest, QXFileStorages);

TYPED_TEST(QXStructuredGrid3DStorageTest, MaskIsRebuiltInTheBoxOfTheArrays) {
  const QXStructuredGrid3D grid(Mixed().X(), Mixed().Y(), Mixed().Z(), SixOfTwentyFour());
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "G", grid);
  }
  // The Matlab file keeps a 3-D array's rows in a "_3D" entry beside it.
  const Texts order = std::is_same_v<TypeParam, QXMatlabDataFile>
                          ? Texts{"G_X", "G_Y", "G_Y_3D", "G_Z", "G_Z_3D", "G"}
                          : Texts{"G_X", "G_Y", "G_Z", "G"};
  EXPECT_EQ(this->WriteOrder(), order);
  QXStructuredGrid3D read;
  ReadFromFile(this->Reopen(), "G", read);
  EXPECT_EQ(read, grid);
  EXPECT_EQ(SizeOf(read.Mask().MaskArray()), (std::vector<int>{4, 3, 2}));
  ReadFromFile(this->Reopen(), "H", read);
  EXPECT_TRUE(read.IsEmpty());
  EXPECT_EQ(this->Reports().size(), 1u);
}

}  // namespace
