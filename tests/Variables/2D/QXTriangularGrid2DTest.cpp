#include "QXTriangularGrid2D.h"

#include "../Support/QXVariableTestSupport.h"

namespace {

// Two triangles over four points.
QXMutableIntArray Square() { return MakeArray<int>(3, 2, 1, {0, 1, 2, 1, 2, 3}); }
QXTriangularGrid2D Grid() { return QXTriangularGrid2D(Square(), Counting<double>(2, 4)); }

using QXTriangularGrid2DTest = QXReportingTest;

// The shape and index checks are shared with the surface; these are the
// grid's and the mesh's messages.
TEST_F(QXTriangularGrid2DTest, ConstructorsRefuseIndicesOutsideThePointsAndValuesOfAnotherCount) {
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXTriangularGrid2D(MakeArray<int>(3, 1, 1, {0, 1, 4}), Counting<double>(2, 4)).IsEmpty(); }, "QXTriangularGrid2D(conn,pts): Offset array refers to points out of range."},
      {[] { return QXTriangularMesh2D(Counting<double>(1, 4), Grid()).IsEmpty(); }, "QXTriangularMesh2D(Array,Grid): Array is incompatible with grid."},
  };
  // clang-format on
  ExpectRefusals(cases);
}

TEST_F(QXTriangularGrid2DTest, PinfoCountsPointsAndTriangles) {
  QXTriangularMesh2D(Counting<double>(4, 1), Grid()).pinfo();
  EXPECT_EQ(Printed(), "4 points, 2 triangles.\n");
}

template <class Storage>
using QXTriangularGrid2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXTriangularGrid2DStorageTest, QXFileStorages);

TYPED_TEST(QXTriangularGrid2DStorageTest, MeshReadsBackWithItsGrid) {
  const QXTriangularMesh2D mesh(Column<double>({0, 1, 2, 4}), Grid());
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "T", mesh);
  }
  EXPECT_EQ(this->Listing(), Line("T_gr_pts", "double - 2 x 4 array") +
                                 Line("T_gr", "   int - 3 x 2 array") +
                                 Line("T", "double - 4 numbers"));
  QXTriangularMesh2D read;
  ReadFromFile(this->Reopen(), "T", read);
  EXPECT_EQ(read, mesh);
  EXPECT_NE(read, QXTriangularMesh2D(Counting<double>(4, 1), Grid()));
}

}  // namespace
