#include "QXPointCollection2D.h"

#include <cmath>

#include "../Support/QXVariableTestSupport.h"

namespace {

QXMutableDoubleArray Doubles(int m, int n, int o = 1) { return Counting<double>(m, n, o); }

std::vector<double> Corners(const QXRegion2D& r) { return {r.xmin, r.xmax, r.ymin, r.ymax}; }

using QXPointCollection2DTest = QXReportingTest;

TEST_F(QXPointCollection2DTest, ConstructorsRefuseArraysOfTheWrongShape) {
  const std::string values = "QXPointValueCollection2D(Points,Values): ";
  const std::string pairs =
      "QXVectorCollection2D(Array,Array): Invalid sizes - both need to be 2xN.";
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXPointCollection2D(Doubles(3, 2)).Data().IsEmpty(); }, "QXPointCollection2D(Array): Invalid size of array."},
      {[] { return QXPointCollection2D(Doubles(2, 2, 2)).Data().IsEmpty(); }, "QXPointCollection2D(Array): Invalid size of array."},
      {[] { return QXPointValueCollection2D(Doubles(2, 3), Doubles(4, 1)).Points().IsEmpty(); }, values + "Invalid size of value array."},
      {[] { return QXPointValueCollection2D(QXDoubleArray(), Doubles(3, 1)).Points().IsEmpty(); }, values + "Invalid size of point."},
      {[] { return QXPointValueCollection2D(Doubles(3, 1), Doubles(1, 1)).Points().IsEmpty(); }, values + "Invalid size of point."},
      {[] { return QXVectorCollection2D(Doubles(2, 3)).Data().IsEmpty(); }, "QXVectorCollection2D(Array): Invalid size - needs to be 4xN."},
      {[] { return QXVectorCollection2D(Doubles(2, 3), Doubles(2, 4)).Data().IsEmpty(); }, pairs},
      {[] { return QXVectorCollection2D(Doubles(3, 2), Doubles(3, 2)).Data().IsEmpty(); }, pairs},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(cases[i].leavesEmpty());
    EXPECT_EQ(Reports(), Lines{cases[i].report});
  }
}

TEST_F(QXPointCollection2DTest, VectorsFromTwoArraysTakeEachColumnFromBoth) {
  const QXVectorCollection2D vectors(MakeArray<double>(2, 3, 1, {1, 2, 3, 4, 5, 6}),
                                     MakeArray<double>(2, 3, 1, {10, 20, 30, 40, 50, 60}));
  EXPECT_EQ(SizeOf(vectors.Data()), (std::vector<int>{4, 3, 1}));
  EXPECT_EQ(Elements(vectors.Data()),
            (std::vector<double>{1, 2, 10, 20, 3, 4, 30, 40, 5, 6, 50, 60}));
}

TEST_F(QXPointCollection2DTest, BoxSpansThePointsAndRangeTheValuesWithoutNaN) {
  const QXDoubleArray points = MakeArray<double>(2, 3, 1, {1, 5, 3, -2, 2, 0});
  const QXPointValueCollection2D probes(points, Column<double>({3, NAN, -1}));
  EXPECT_EQ(Corners(BoundingBox(QXPointCollection2D(points))), (std::vector<double>{1, 3, -2, 5}));
  EXPECT_EQ(Corners(BoundingBox(probes)), (std::vector<double>{1, 3, -2, 5}));
  EXPECT_EQ(ValueRange(probes).minV, -1);
  EXPECT_EQ(ValueRange(probes).maxV, 3);
}

TEST_F(QXPointCollection2DTest, PinfoCountsTheColumns) {
  // clang-format off
  const QXPrinting cases[] = {
      {[] { QXVectorCollection2D().pinfo(); }, "No vectors.\n"},
      {[] { QXVectorCollection2D(Doubles(4, 1)).pinfo(); }, "One vector.\n"},
      {[] { QXVectorCollection2D(Doubles(2, 3), Doubles(2, 3)).pinfo(); }, "3 vectors.\n"},
      {[] { QXPointCollection2D(Doubles(2, 5)).pinfo(); }, "5 points\n"},
      {[] { QXPointValueCollection2D(Doubles(2, 2), Doubles(1, 2)).pinfo(); }, "2 points + values\n"},
  };
  // clang-format on
  for (const QXPrinting& c : cases) {
    SCOPED_TRACE(c.text);
    c.print();
    EXPECT_EQ(Printed(), c.text);
  }
}

TEST_F(QXPointCollection2DTest, MissingPointsWithValuesAreReportedOnce) {
  QXPointValueCollection2D probes;
  ReadFromFile(QXMemoryStorage(), "V", probes);
  EXPECT_EQ(Reports(), Lines{"QXMemoryStorage::Read: Did not find the variable V"});
}

template <class Storage>
using QXPointCollection2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXPointCollection2DStorageTest, QXFileStorages);

TYPED_TEST(QXPointCollection2DStorageTest, CollectionsAreStoredUnderTheirNamesInOrderAndReadBack) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "P", QXPointCollection2D(Doubles(2, 3)));
    WriteToFile(storage, "V", QXPointValueCollection2D(Doubles(2, 3), Column<double>({7, 8, 9})));
    WriteToFile(storage, "W", QXVectorCollection2D(Doubles(4, 2)));
  }
  EXPECT_EQ(this->Listing(),
            Line("P", "double - 2 x 3 array") + Line("V_val", "double - 3 numbers") +
                Line("V", "double - 2 x 3 array") + Line("W", "double - 4 x 2 array"));
  const TypeParam storage = this->Reopen();
  QXPointCollection2D points;
  QXPointValueCollection2D probes;
  QXVectorCollection2D vectors;
  ReadFromFile(storage, "P", points);
  ReadFromFile(storage, "V", probes);
  ReadFromFile(storage, "W", vectors);
  EXPECT_EQ(points.Data(), Doubles(2, 3));
  EXPECT_EQ(probes.Points(), Doubles(2, 3));
  EXPECT_EQ(Elements(probes.Values()), (std::vector<double>{7, 8, 9}));
  EXPECT_EQ(vectors.Data(), Doubles(4, 2));
}

TYPED_TEST(QXPointCollection2DStorageTest, EmptyCollectionReadsBackEmptyWithoutAReport) {
  TypeParam storage = this->Create();
  WriteToFile(storage, "V", QXPointValueCollection2D(Doubles(2, 3), Doubles(3, 1)));
  WriteToFile(storage, "V", QXPointValueCollection2D());
  QXPointValueCollection2D probes;
  ReadFromFile(storage, "V", probes);
  EXPECT_TRUE(probes.Points().IsEmpty());
  EXPECT_TRUE(probes.Values().IsEmpty());
}

}  // namespace
