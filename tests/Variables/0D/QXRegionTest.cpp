#include "QXRegion.h"

#include <cmath>
#include <limits>

#include "QXMatlabFileBytes.h"
#include "QXMemoryStorage.h"
#include "QXReportingTest.h"

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const float NaNf = std::numeric_limits<float>::quiet_NaN();
const int IntMin = std::numeric_limits<int>::min();

std::vector<double> Interval(const QXRegion1D& r) { return {r.minV, r.maxV}; }
std::vector<double> Box(const QXRegion2D& r) { return {r.xmin, r.xmax, r.ymin, r.ymax}; }
std::vector<double> Box(const QXRegion3D& r) { return {r.xmin, r.xmax, r.ymin, r.ymax, r.zmin, r.zmax}; }

TEST(QXRegionTest, AnIntervalOrdersItsEndsButARectangleKeepsItsCorners) {
  EXPECT_EQ(Interval(QXRegion1D(5, 2)), (std::vector<double>{2, 5}));
  EXPECT_EQ(Box(QXRegion2D(QXPoint2D(5, 5), QXPoint2D(2, 2))), (std::vector<double>{5, 2, 5, 2}));
}

TEST(QXRegionTest, UnionWithAnUnsetRegionIsTheOtherRegion) {
  const QXRegion1D set(1, 2);
  EXPECT_EQ(Interval(Union(QXRegion1D(), set)), Interval(set));
  EXPECT_EQ(Interval(Union(set, QXRegion1D())), Interval(set));
  EXPECT_FALSE(Union(QXRegion1D(), QXRegion1D()).isSet);
  EXPECT_FALSE(Union(QXRegion2D(), QXRegion2D()).isSet);
  EXPECT_FALSE(Union(QXRegion3D(), QXRegion3D()).isSet);
}

TEST(QXRegionTest, UnionOfSetRegionsSpansBoth) {
  EXPECT_EQ(Interval(Union(QXRegion1D(0, 1), QXRegion1D(3, 4))), (std::vector<double>{0, 4}));
  const QXRegion2D a(QXPoint2D(0, 5), QXPoint2D(1, 6));
  const QXRegion2D b(QXPoint2D(-1, 7), QXPoint2D(0.5, 8));
  EXPECT_EQ(Box(Union(a, b)), (std::vector<double>{-1, 1, 5, 8}));
}

TEST(QXRegionTest, UnionOfBoxesKeepsDoublePrecision) {
  QXRegion3D a;
  a.isSet = true;
  a.xmin = 0.1;
  a.xmax = 0.3;
  QXRegion3D b = a;
  b.zmax = 1e-300;
  EXPECT_EQ(Box(Union(a, b)), (std::vector<double>{0.1, 0.3, 0, 0, 0, 1e-300}));
}

TEST(QXRegionTest, ValueRangeIgnoresNaN) {
  EXPECT_EQ(Interval(ValueRange(Column<double>({3, NaN, -1}))), (std::vector<double>{-1, 3}));
  EXPECT_FALSE(ValueRange(Column<double>({NaN})).isSet);
  EXPECT_FALSE(ValueRange(QXDoubleArray()).isSet);
  EXPECT_FALSE(ValueRange(Column<float>({NaNf, NaNf, NaNf, NaNf, NaNf})).isSet);
}

TEST(QXRegionTest, ValueRangeFindsExtremesPastTheLastFullBlockOfFour) {
  QXMutableDoubleArray A(11, 1, 1);
  for (int i = 0; i < 11; i++) A(i) = i % 3;
  A(9) = 100;
  A(10) = -100;
  EXPECT_EQ(Interval(ValueRange(A)), (std::vector<double>{-100, 100}));
}

TEST(QXRegionTest, IntValueRangeReachesTheSmallestInt) {
  EXPECT_EQ(Interval(ValueRange(Column<int>({IntMin}))), (std::vector<double>{IntMin, IntMin}));
  EXPECT_EQ(Interval(ValueRange(Column<int>({7, -2, 4}))), (std::vector<double>{-2, 7}));
}

TEST(QXRegionTest, BoundingBox2DIgnoresNaNOneCoordinateAtATime) {
  const QXMutableDoubleArray points = MakeArray<double>(2, 3, 1, {NaN, 1, 2, NaN, 4, 3});
  EXPECT_EQ(Box(BoundingBox2D(points)), (std::vector<double>{2, 4, 1, 3}));
  const QXMutableDoubleArray noX = MakeArray<double>(2, 2, 1, {NaN, 1, NaN, 3});
  EXPECT_FALSE(BoundingBox2D(noX).isSet);
  EXPECT_FALSE(BoundingBox2D(QXDoubleArray()).isSet);
}

TEST(QXRegionTest, BoundingBox3DReadsSixRowsAsTwoPoints) {
  const QXMutableFloatArray points = MakeArray<float>(6, 1, 1, {0, 0, 0, 1, 2, 3});
  EXPECT_EQ(Box(BoundingBox3D(points)), (std::vector<double>{0, 1, 0, 2, 0, 3}));
  EXPECT_FALSE(BoundingBox3D(QXFloatArray()).isSet);
}

class QXRegionReportTest : public QXReportingTest {};

TEST_F(QXRegionReportTest, BoundingBoxOfAWrongShapeIsReported) {
  EXPECT_FALSE(BoundingBox2D(QXMutableDoubleArray(3, 2, 1)).isSet);
  EXPECT_FALSE(BoundingBox3D(QXMutableFloatArray(4, 2, 1)).isSet);
  const Lines expected(2, "BoundingBox(Array): The array had an incorrect size.");
  EXPECT_EQ(Reports(), expected);
}

TEST_F(QXRegionReportTest, ARegionOfTheWrongLengthReadsUnsetWithAReport) {
  QXMemoryStorage storage;
  storage.Save(QXMutableDoubleArray(3, 1, 1), "R");
  QXRegion1D r1(0, 1);
  QXRegion2D r2(QXPoint2D(0, 0), QXPoint2D(1, 1));
  QXRegion3D r3(QXPoint3D(0, 0, 0), QXPoint3D(1, 1, 1));
  ReadFromFile(storage, "R", r1);
  ReadFromFile(storage, "R", r2);
  ReadFromFile(storage, "R", r3);
  EXPECT_FALSE(r1.isSet);
  EXPECT_FALSE(r2.isSet);
  EXPECT_FALSE(r3.isSet);
  const Lines expected{"ReadFromArray(QXRegion1D): Invalid length of array.",
                       "ReadFromArray(QXRegion2D): Invalid length of array.",
                       "ReadFromArray(QXRegion3D): Invalid length of array."};
  EXPECT_EQ(Reports(), expected);
}

template <class Storage>
class QXRegionStorageTest : public testing::Test {};
using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
TYPED_TEST_SUITE(QXRegionStorageTest, QXFileStorages);

TYPED_TEST(QXRegionStorageTest, RegionsGoThroughTheFileAsColumnsOfTheirBounds) {
  QXTempPath file("region");
  QXRegion3D box(QXPoint3D(1, 3, 5), QXPoint3D(2, 4, 6));
  {
    TypeParam storage(file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "I", QXRegion1D(2, 5));
    WriteToFile(storage, "R", QXRegion2D(QXPoint2D(1, 3), QXPoint2D(2, 4)));
    WriteToFile(storage, "B", box);
    WriteToFile(storage, "U", QXRegion1D());
  }
  const TypeParam storage(file.path, QXFile::ReadOnly);
  EXPECT_EQ(Elements(storage.ReadDoubleArray("I")), (std::vector<double>{2, 5}));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("R")), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("B")), (std::vector<double>{1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(storage.Contains("U"));
  EXPECT_TRUE(storage.ReadDoubleArray("U").IsEmpty());
  QXRegion1D interval;
  QXRegion2D rectangle;
  QXRegion3D readBox;
  QXRegion1D unset(7, 8);
  ReadFromFile(storage, "I", interval);
  ReadFromFile(storage, "R", rectangle);
  ReadFromFile(storage, "B", readBox);
  ReadFromFile(storage, "U", unset);
  EXPECT_EQ(Interval(interval), (std::vector<double>{2, 5}));
  EXPECT_EQ(Box(rectangle), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(Box(readBox), Box(box));
  EXPECT_FALSE(unset.isSet);
}

}  // namespace
