#include "QXPoint.h"

#include <cmath>
#include <functional>
#include <limits>

#include "QXMatlabFileBytes.h"
#include "QXPlane3D.h"
#include "QXReportingTest.h"
#include "QXShiftScale.h"

namespace {

template <class Storage>
class QXPointStorageTest : public testing::Test {};
using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
TYPED_TEST_SUITE(QXPointStorageTest, QXFileStorages);

TYPED_TEST(QXPointStorageTest, SmallValuesGoThroughTheFileAsColumns) {
  QXTempPath file("points");
  {
    TypeParam storage(file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "p2", QXPoint2D(1.5, -2));
    WriteToFile(storage, "p2v", QXPoint2DValue(1, 2, 0.25));
    WriteToFile(storage, "p3", QXPoint3D(1, 2, 3));
    WriteToFile(storage, "p3v", QXPoint3DValue(1, 2, 3, 4.5));
    WriteToFile(storage, "v3", QXVector3D(0, 0, 1));
    WriteToFile(storage, "s2", QXShiftScale2D(QXPoint2D(1, 2), 3, 4));
    WriteToFile(storage, "s3", QXShiftScale3D(QXPoint3D(1, 2, 3), 4, 5, 6));
    WriteToFile(storage, "plane", QXPlane3D(QXPoint3D(1, 2, 3), QXVector3D(0, 1, 0)));
    WriteToFile(storage, "cut", QXCoordinatePlane3D(QXCoordinatePlane3D::ZPlane, -0.5));
  }
  const TypeParam storage(file.path, QXFile::ReadOnly);
  EXPECT_EQ(Elements(storage.ReadDoubleArray("p2")), (std::vector<double>{1.5, -2}));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("p2v")), (std::vector<double>{1, 2, 0.25}));
  EXPECT_EQ(Elements(storage.ReadFloatArray("p3")), (std::vector<float>{1, 2, 3}));
  EXPECT_FALSE(storage.SavedAsDouble("p3"));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("p3v")), (std::vector<double>{1, 2, 3, 4.5}));
  EXPECT_FALSE(storage.SavedAsDouble("v3"));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("s2")), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("s3")), (std::vector<double>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Elements(storage.ReadFloatArray("plane")), (std::vector<float>{1, 2, 3, 0, 1, 0}));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("cut")), (std::vector<double>{3, -0.5}));

  QXPoint3DValue p3v;
  ReadFromFile(storage, "p3v", p3v);
  EXPECT_EQ(p3v.z, 3);
  EXPECT_EQ(p3v.v, 4.5);
  QXVector3D v3;
  ReadFromFile(storage, "v3", v3);
  EXPECT_EQ(v3.z, 1);
  QXShiftScale3D s3;
  ReadFromFile(storage, "s3", s3);
  EXPECT_EQ(s3.shift.z, 3);
  EXPECT_EQ(s3.scaleZ, 6);
  QXPlane3D plane;
  ReadFromFile(storage, "plane", plane);
  EXPECT_EQ(plane.Center().x, 1);
  EXPECT_EQ(plane.Normal().y, 1);
  QXCoordinatePlane3D cut;
  ReadFromFile(storage, "cut", cut);
  EXPECT_EQ(cut.Type(), QXCoordinatePlane3D::ZPlane);
  EXPECT_EQ(cut.Value(), -0.5);
}

class QXPointReadTest : public QXReportingTest {
 protected:
  QXTempPath file{"point-read"};
  QXMatlabDataFile storage{file.path, QXFile::NewReadWrite};
  void Store(std::vector<double> numbers) { storage.Save(Column(numbers), "x"); }
};

// Each reader, given one number, reports under its type's name and gives
// its default value.
TEST_F(QXPointReadTest, AColumnOfTheWrongLengthGivesTheDefaultWithAReport) {
  Store({7});
  // clang-format off
  const std::pair<std::function<bool()>, std::string> cases[] = {
      {[&] { QXPoint2D p(1, 1); ReadFromFile(storage, "x", p); return p.x == 0; }, "QXPoint2D"},
      {[&] { QXPoint2DValue p(1, 1, 1); ReadFromFile(storage, "x", p); return p.v == 0; }, "QXPoint2DValue"},
      {[&] { QXPoint3D p(1, 1, 1); ReadFromFile(storage, "x", p); return p.z == 0; }, "QXPoint3D"},
      {[&] { QXPoint3DValue p(1, 1, 1, 1); ReadFromFile(storage, "x", p); return p.v == 0; }, "QXPoint3DValue"},
      {[&] { QXVector3D v(1, 1, 1); ReadFromFile(storage, "x", v); return v.x == 0; }, "QXVector3D"},
      {[&] { QXShiftScale2D s(QXPoint2D(1, 1), 2, 2); ReadFromFile(storage, "x", s); return s.scaleY == 1; }, "QXShiftScale2D"},
      {[&] { QXShiftScale3D s(QXPoint3D(1, 1, 1), 2, 2, 2); ReadFromFile(storage, "x", s); return s.shift.x == 0; }, "QXShiftScale3D"},
      {[&] { QXPlane3D p(QXPoint3D(1, 1, 1), QXVector3D(1, 1, 1)); ReadFromFile(storage, "x", p); return p.Normal().z == 0; }, "QXPlane3D"},
      {[&] { QXCoordinatePlane3D p(QXCoordinatePlane3D::XPlane, 1); ReadFromFile(storage, "x", p); return p.Type() == QXCoordinatePlane3D::Empty; }, "QXCoordinatePlane3D"},
  };
  // clang-format on
  for (const auto& [readsDefault, type] : cases) {
    EXPECT_TRUE(readsDefault()) << type;
    EXPECT_EQ(Reports(), Lines{"ReadFromArray(" + type + "): Invalid length of array."});
  }
}

TEST_F(QXPointReadTest, DoublesBeyondTheFloatRangeReadAsInfiniteCoordinates) {
  Store({1e300, -1e300, 0, 2});
  QXPoint3DValue p;
  ReadFromFile(storage, "x", p);
  EXPECT_EQ(p.x, std::numeric_limits<float>::infinity());
  EXPECT_EQ(p.y, -std::numeric_limits<float>::infinity());
}

TEST_F(QXPointReadTest, ACoordinatePlaneTakesItsAxisFromTheFirstNumber) {
  Store({2, 7.5});
  QXCoordinatePlane3D plane;
  ReadFromFile(storage, "x", plane);
  EXPECT_EQ(plane.Type(), QXCoordinatePlane3D::YPlane);
  EXPECT_EQ(plane.Value(), 7.5);
  EXPECT_EQ(plane.Normal().y, 1);
  EXPECT_EQ(plane.Normal().x, 0);
}

TEST_F(QXPointReadTest, AnUnknownPlaneTypeReadsEmptyWithAReport) {
  Store({4, 7.5});
  QXCoordinatePlane3D plane(QXCoordinatePlane3D::XPlane, 1);
  ReadFromFile(storage, "x", plane);
  EXPECT_EQ(plane.Type(), QXCoordinatePlane3D::Empty);
  EXPECT_EQ(Reports(), Lines{"ReadFromArray(QXCoordinatePlane3D): Invalid plane type."});
}

TEST_F(QXPointReadTest, AnEmptyPlaneRoundTripsSilently) {
  WriteToFile(storage, "x", QXCoordinatePlane3D());
  QXCoordinatePlane3D plane(QXCoordinatePlane3D::XPlane, 1);
  ReadFromFile(storage, "x", plane);
  EXPECT_EQ(plane.Type(), QXCoordinatePlane3D::Empty);
  EXPECT_EQ(plane.Normal().x, 0);
}

}  // namespace
