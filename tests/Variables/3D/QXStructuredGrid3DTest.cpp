#include "QXStructuredGrid3D.h"

#include "../Support/QXVariableTestSupport.h"

namespace {

// Each array has an extent of 1 in another dimension.
QXStructuredGrid3D Mixed() {
  return QXStructuredGrid3D(Counting<float>(4, 3, 1), Counting<float>(1, 3, 2),
                            Counting<float>(4, 1, 2));
}
QXStructuredGrid3D Masked(const QXMask& mask) {
  return QXStructuredGrid3D(Mixed().X(), Mixed().Y(), Mixed().Z(), mask);
}
// Points 1 to 5 and 20 of the 4 x 3 x 2 box.
QXMask SixOfTwentyFour() { return MaskOfRuns(4, 3, 2, {1, 5, 20, 20}); }

const std::string kXYZ = "QXStructuredGrid3D(X,Y,Z): ";

using QXStructuredGrid3DTest = QXReportingTest;

TEST_F(QXStructuredGrid3DTest, ConstructorsRefuseArraysAndMasksThatDoNotFit) {
  const QXMutableFloatArray x(2000, 1, 1);
  const QXMutableFloatArray y(1, 2000, 1);
  const QXMutableFloatArray z(1, 1, 2000);
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXStructuredGrid3D(Counting<float>(4, 1), Counting<float>(1, 3), Counting<float>(3, 1, 2)).IsEmpty(); }, kXYZ + "Invalid array sizes."},
      {[&] { return QXStructuredGrid3D(x, y, z).IsEmpty(); }, kXYZ + "Too many points."},
      {[] { return Masked(QXMask(4, 3, 1)).IsEmpty(); }, "QXStructuredGrid3D(X,Y,Z,Mask): Invalid mask."},
  };
  // clang-format on
  ExpectRefusals(cases);
}

// The far corner takes X from k = 0, Y from i = 0 and Z from j = 0.
TEST_F(QXStructuredGrid3DTest, FullArraysRepeatAlongTheExtentsOfOne) {
  const QXFloatArray x = Mixed().FullXArray();
  const QXFloatArray y = Mixed().FullYArray();
  const QXFloatArray z = Mixed().FullZArray();
  EXPECT_EQ(SizeOf(x), (std::vector<int>{4, 3, 2}));
  EXPECT_EQ(x(3, 2, 1), 11);
  EXPECT_EQ(SizeOf(y), (std::vector<int>{4, 3, 2}));
  EXPECT_EQ(y(3, 2, 1), 5);
  EXPECT_EQ(SizeOf(z), (std::vector<int>{4, 3, 2}));
  EXPECT_EQ(z(3, 2, 1), 7);
}

TEST_F(QXStructuredGrid3DTest, BoxIsARegionOfTheThreeCoordinates) {
  const QXRegion3D box = BoundingBox(Mixed());
  EXPECT_EQ((std::vector<double>{box.xmin, box.xmax, box.ymin, box.ymax, box.zmin, box.zmax}),
            (std::vector<double>{0, 11, 0, 5, 0, 7}));
}

TEST_F(QXStructuredGrid3DTest, EqualityComparesTheMask) {
  EXPECT_NE(Masked(SixOfTwentyFour()), Mixed());
}

TEST_F(QXStructuredGrid3DTest, PinfoGivesTheThreeSizesAndTheMaskedPoints) {
  Masked(SixOfTwentyFour()).pinfo();
  EXPECT_EQ(Printed(), "4x3x2 structured grid. Mask = 6 points.\n");
}

template <class Storage>
using QXStructuredGrid3DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXStructuredGrid3DStorageTest, QXFileStorages);

TYPED_TEST(QXStructuredGrid3DStorageTest, MaskIsRebuiltInTheBoxOfTheArrays) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "G", Masked(SixOfTwentyFour()));
  }
  EXPECT_EQ(this->WriteOrder(), this->Expected({"G_X", "G_Y", "G_Z", "G"},
                                               {"G_X", "G_Y", "G_Y_3D", "G_Z", "G_Z_3D", "G"}));
  QXStructuredGrid3D read;
  ReadFromFile(this->Reopen(), "G", read);
  EXPECT_EQ(read, Masked(SixOfTwentyFour()));
  EXPECT_EQ(SizeOf(read.Mask().MaskArray()), (std::vector<int>{4, 3, 2}));
}

}  // namespace
