#include "QXTriangularGrid2D.h"

#include <climits>
#include <cmath>

#include "../Support/QXVariableTestSupport.h"

namespace {

using D = std::vector<double>;

QXMutableDoubleArray Points(int m, int n, int o = 1) { return Counting<double>(m, n, o); }
// Two triangles over four points.
QXMutableIntArray Square() { return MakeArray<int>(3, 2, 1, {0, 1, 2, 1, 2, 3}); }
QXMutableIntArray OneTriangle(int a, int b, int c) { return MakeArray<int>(3, 1, 1, {a, b, c}); }
QXTriangularGrid2D Grid() { return QXTriangularGrid2D(Square(), Points(2, 4)); }

using QXTriangularGrid2DTest = QXReportingTest;

TEST_F(QXTriangularGrid2DTest, ConstructorsRefuseBadShapesAndIndicesOutsideThePoints) {
  const std::string grid = "QXTriangularGrid2D(conn,pts): ";
  const std::string outside = "Offset array refers to points out of range.";
  const std::string mesh = "QXTriangularMesh2D(Array,Grid): Array is incompatible with grid.";
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXTriangularGrid2D(Square(), Points(3, 4)).IsEmpty(); }, grid + "Invalid array sizes."},
      {[] { return QXTriangularGrid2D(OneTriangle(0, 1, 4), Points(2, 4)).IsEmpty(); }, grid + outside},
      {[] { return QXTriangularMesh2D(Points(1, 4), Grid()).IsEmpty(); }, mesh},
      {[] { return QXTriangularMesh2D(QXDoubleArray(), Grid()).IsEmpty(); }, mesh},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(cases[i].leavesEmpty());
    EXPECT_EQ(Reports(), Lines{cases[i].report});
  }
}

TEST_F(QXTriangularGrid2DTest, EqualityComparesPointsConnectionsAndValues) {
  EXPECT_EQ(Grid(), Grid());
  EXPECT_NE(Grid(), QXTriangularGrid2D(OneTriangle(0, 1, 2), Points(2, 4)));
  const QXTriangularMesh2D mesh(Points(4, 1), Grid());
  EXPECT_EQ(mesh, QXTriangularMesh2D(Points(4, 1), Grid()));
  EXPECT_NE(mesh, QXTriangularMesh2D(Column<double>({0, 1, 2, 4}), Grid()));
  EXPECT_EQ(QXTriangularMesh2D(QXDoubleArray(), QXTriangularGrid2D()), QXTriangularMesh2D());
}

TEST_F(QXTriangularGrid2DTest, PinfoAndRangesComeFromPointsAndValues) {
  QXTriangularMesh2D(Points(4, 1), Grid()).pinfo();
  EXPECT_EQ(Printed(), "4 points, 2 triangles.\n");
  QXTriangularGrid2D().pinfo();
  EXPECT_EQ(Printed(), "Empty\n");
  const QXTriangularMesh2D mesh(Column<double>({3, NAN, -1, 2}), Grid());
  const QXRegion2D box = BoundingBox(mesh);
  EXPECT_EQ((D{box.xmin, box.xmax, box.ymin, box.ymax}), (D{0, 6, 1, 7}));
  EXPECT_EQ((D{ValueRange(mesh).minV, ValueRange(mesh).maxV}), (D{-1, 3}));
}

template <class Storage>
using QXTriangularGrid2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXTriangularGrid2DStorageTest, QXFileStorages);

TYPED_TEST(QXTriangularGrid2DStorageTest, MeshReadsBackWithItsGrid) {
  const QXTriangularMesh2D mesh(Points(4, 1), Grid());
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "T", mesh);
    storage.Save(Points(2, 4), "H_pts");
    storage.Save(OneTriangle(0, 1, INT_MIN), "H");
  }
  EXPECT_EQ(this->Listing(),
            Line("T_gr_pts", "double - 2 x 4 array") + Line("T_gr", "   int - 3 x 2 array") +
                Line("T", "double - 4 numbers") + Line("H_pts", "double - 2 x 4 array") +
                Line("H", "   int - 3 numbers"));
  QXTriangularMesh2D read;
  ReadFromFile(this->Reopen(), "T", read);
  EXPECT_EQ(read, mesh);
  QXTriangularGrid2D hostile = Grid();
  ReadFromFile(this->Reopen(), "H", hostile);
  EXPECT_EQ(this->Reports(),
            Lines{"QXTriangularGrid2D(conn,pts): Offset array refers to points out of range."});
  EXPECT_TRUE(hostile.IsEmpty());
}

}  // namespace
