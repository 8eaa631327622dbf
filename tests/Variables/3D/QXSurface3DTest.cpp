#include "QXSurface3D.h"

#include <climits>

#include "../Support/QXVariableTestSupport.h"

namespace {

using D = std::vector<double>;

QXMutableFloatArray Floats(int m, int n, int o = 1) { return Counting<float>(m, n, o); }
// Two triangles over four points.
QXMutableIntArray Tent() { return MakeArray<int>(3, 2, 1, {0, 1, 2, 1, 2, 3}); }
QXMutableIntArray OneTriangle(int a, int b, int c) { return MakeArray<int>(3, 1, 1, {a, b, c}); }

D Corners(const QXRegion3D& r) { return {r.xmin, r.xmax, r.ymin, r.ymax, r.zmin, r.zmax}; }

using QXSurface3DTest = QXReportingTest;

// Values over a surface stored as triangles only are one per corner.
TEST_F(QXSurface3DTest, ConstructorsRefuseBadShapesAndIndicesOutsideThePoints) {
  const std::string two = "QXSurface3D(conn,pts): ";
  const std::string three = "QXSurface3D(conn,pts,nrm): ";
  const std::string outside = "Offset array refers to points out of range.";
  const std::string values =
      "QXSurfaceValues3D(Surface,Values): Number of values has to match the number of points.";
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXSurface3D(Tent(), QXFloatArray()).IsEmpty(); }, two + "Invalid array sizes (one is empty)."},
      {[] { return QXSurface3D(Tent(), Floats(2, 4)).IsEmpty(); }, two + "Invalid array sizes."},
      {[] { return QXSurface3D(OneTriangle(0, 1, 4), Floats(3, 4)).IsEmpty(); }, two + outside},
      {[] { return QXSurface3D(OneTriangle(0, -1, 2), Floats(3, 4)).IsEmpty(); }, two + outside},
      {[] { return QXSurface3D(OneTriangle(INT_MIN, 1, 2), Floats(3, 4)).IsEmpty(); }, two + outside},
      {[] { return QXSurface3D(Tent(), Floats(3, 4), QXFloatArray()).IsEmpty(); }, three + "points, connections or normals are empty."},
      {[] { return QXSurface3D(Tent(), Floats(3, 4), Floats(3, 3)).IsEmpty(); }, three + "Invalid array sizes."},
      {[] { return QXSurface3D(Floats(8, 2)).IsEmpty(); }, "QXSurface3D(triangles): Invalid array size.  Needs to be a 9xN array."},
      {[] { return QXSurfaceValues3D(QXSurface3D(Tent(), Floats(3, 4)), Floats(3, 1)).IsEmpty(); }, values},
      {[] { return QXSurfaceValues3D(QXSurface3D(Floats(9, 2)), Floats(2, 1)).IsEmpty(); }, values},
  };
  // clang-format on
  ExpectRefusals(cases);
}

TEST_F(QXSurface3DTest, PinfoTellsTheForm) {
  QXSurface3D(Tent(), Floats(3, 4)).pinfo();
  EXPECT_EQ(Printed(), "2 triangles, 4 points.\n");
  QXSurface3D(Tent(), Floats(3, 4), Floats(3, 4)).pinfo();
  EXPECT_EQ(Printed(), "2 triangles, 4 points. Includes normals.\n");
  QXSurfaceValues3D(QXSurface3D(Floats(9, 2)), Floats(6, 1)).pinfo();
  EXPECT_EQ(Printed(), "Only storing triangles - 2 triangles.\n");
  QXSurface3D().pinfo();
  EXPECT_EQ(Printed(), "No triangles.\n");
}

TEST_F(QXSurface3DTest, BoxSpansThePointsOrEveryCorner) {
  EXPECT_EQ(Corners(BoundingBox(QXSurface3D(Tent(), Floats(3, 4)))), (D{0, 9, 1, 10, 2, 11}));
  EXPECT_EQ(Corners(BoundingBox(QXSurface3D(Floats(9, 2)))), (D{0, 15, 1, 16, 2, 17}));
}

template <class Storage>
using QXSurface3DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXSurface3DStorageTest, QXFileStorages);

// Values over triangles written over an indexed surface clear its points and
// normals, and read back as triangles with a value per corner.
TYPED_TEST(QXSurface3DStorageTest, EachFormReadsBackAndASaveReplacesTheOtherForm) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "V",
                QXSurfaceValues3D(QXSurface3D(Tent(), Floats(3, 4), Floats(3, 4)), Floats(4, 1)));
  }
  EXPECT_EQ(this->Listing(),
            Line("V_values", " float - 4 numbers") + Line("V_points", " float - 3 x 4 array") +
                Line("V_normals", " float - 3 x 4 array") + Line("V", "   int - 3 x 2 array"));
  QXSurfaceValues3D read;
  ReadFromFile(this->Reopen(), "V", read);
  EXPECT_EQ(read.Surface().Normals(), Floats(3, 4));
  {
    TypeParam storage(this->file.path, QXFile::ExistingReadWrite);
    WriteToFile(storage, "V", QXSurfaceValues3D(QXSurface3D(Floats(9, 2)), Floats(6, 1)));
  }
  EXPECT_EQ(this->Listing(),
            Line("V_values", " float - 6 numbers") + Line("V_points", "double - Empty") +
                Line("V_normals", "double - Empty") + Line("V", " float - 9 x 2 array"));
  ReadFromFile(this->Reopen(), "V", read);
  EXPECT_EQ(read.Surface().Triangles(), Floats(9, 2));
  EXPECT_EQ(read.Values(), Floats(6, 1));
}

// Stored indices are checked before use; normals that do not fit are
// dropped and the surface is kept; empty normals are no normals.
TYPED_TEST(QXSurface3DStorageTest, ReaderReportsHostileIndicesAndDropsBadNormals) {
  {
    TypeParam storage = this->Create();
    storage.Save(Floats(3, 4), "S_points");
    storage.Save(Floats(3, 2), "S_normals");
    storage.Save(Tent(), "S");
    storage.Save(Floats(3, 4), "H_points");
    storage.Save(OneTriangle(0, 4, INT_MIN), "H");
    storage.Save(Floats(3, 4), "E_points");
    storage.Save(QXFloatArray(), "E_normals");
    storage.Save(Tent(), "E");
  }
  QXSurface3D read;
  ReadFromFile(this->Reopen(), "S", read);
  EXPECT_EQ(this->Reports(), Lines{"QXSurface3D(conn,pts,nrm): Invalid array sizes."});
  EXPECT_EQ(read.Connections(), Tent());
  EXPECT_TRUE(read.Normals().IsEmpty());
  ReadFromFile(this->Reopen(), "H", read);
  EXPECT_EQ(this->Reports(),
            Lines{"QXSurface3D(conn,pts): Offset array refers to points out of range."});
  EXPECT_TRUE(read.IsEmpty());
  ReadFromFile(this->Reopen(), "E", read);
  EXPECT_EQ(this->Reports(), Lines{});
  EXPECT_EQ(read.Connections(), Tent());
}

}  // namespace
