#include "QXTetrahedralGrid3D.h"

#include "../Support/QXVariableTestSupport.h"

namespace {

QXMutableFloatArray Floats(int m, int n) { return Counting<float>(m, n); }
QXMutableIntArray Ints(int m, int n, const std::vector<int>& values) {
  return MakeArray<int>(m, n, 1, values);
}
// Two tetrahedra over five points, neighbours of each other.
QXMutableIntArray Offsets() { return Ints(4, 2, {0, 1, 2, 3, 1, 2, 3, 4}); }
QXMutableIntArray Next() { return Ints(4, 2, {1, -1, -1, -1, 0, -1, -1, -1}); }
QXTetrahedralGrid3D Pair() { return QXTetrahedralGrid3D(Floats(3, 5), Offsets()); }

using QXTetrahedralGrid3DTest = QXReportingTest;

// Offsets name points 0 ... 4; neighbours name tetrahedra 0 ... 1, or -1.
TEST_F(QXTetrahedralGrid3DTest, ConstructorsRefuseBadShapesAndIndicesOutsideTheirRange) {
  const std::string two = "QXTetrahedralGrid3D(points,offsets): ";
  const std::string four = "QXTetrahedralGrid3D(points,offsets,tetra,points): ";
  const std::string outside = "Offset array refers to points out of range.";
  const std::string length = "Length of value array incorrect.";
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXTetrahedralGrid3D(Floats(2, 5), Offsets()).IsEmpty(); }, two + "The point array has incorrect size."},
      {[] { return QXTetrahedralGrid3D(Floats(3, 5), QXIntArray()).IsEmpty(); }, two + "The offset array has incorrect size."},
      {[] { return QXTetrahedralGrid3D(Floats(3, 5), Ints(4, 1, {0, 1, 2, 5})).IsEmpty(); }, two + outside},
      {[] { return SetNextTetrahedra(Pair(), Ints(4, 1, {1, -1, -1, -1})).IsEmpty(); }, four + "tetra array has incorrect size."},
      {[] { return SetNextTetrahedra(Pair(), Ints(4, 2, {1, -1, -1, -1, 0, -2, -1, -1})).IsEmpty(); }, four + outside},
      {[] { return SetNextTetrahedra(Pair(), Ints(4, 2, {2, -1, -1, -1, 0, -1, -1, -1})).IsEmpty(); }, four + outside},
      {[] { return SetPointNumbers(Pair(), Counting<int>(1, 5)).IsEmpty(); }, four + "point number array has incorrect size."},
      {[] { return QXTetrahedralMesh3D(Pair(), Floats(4, 1)).IsEmpty(); }, "QXTetrahedralMesh3D(grid,values): " + length},
      {[] { return QXTetrahedralVectorField3D(Pair(), Floats(3, 4)).IsEmpty(); }, "QXTetrahedralVectorField3D(grid,vectors): " + length},
      {[] { return QXTetrahedralVectorField3D(Pair(), Floats(2, 5)).IsEmpty(); }, "QXTetrahedralVectorField3D(grid,vectors): Vector array incorrect."},
  };
  // clang-format on
  ExpectRefusals(cases);
}

TEST_F(QXTetrahedralGrid3DTest, PinfoCountsPointsAndTetrahedraOrSaysEmpty) {
  QXTetrahedralMesh3D(Pair(), Floats(5, 1)).pinfo();
  EXPECT_EQ(Printed(), "5 points, 2 tetrahedra.\n");
  QXTetrahedralVectorField3D().pinfo();
  EXPECT_EQ(Printed(), "Empty\n");
}

template <class Storage>
using QXTetrahedralGrid3DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXTetrahedralGrid3DStorageTest, QXFileStorages);

// The grid saved again without its companions clears them.
TYPED_TEST(QXTetrahedralGrid3DStorageTest, FieldsReadBackAndASaveClearsTheCompanionsItLacks) {
  const QXTetrahedralGrid3D full(Floats(3, 5), Offsets(), Next(), Column<int>({7, 8, 9, 10, 11}));
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "F", QXTetrahedralVectorField3D(full, Floats(3, 5)));
  }
  EXPECT_EQ(this->Listing(),
            Line("F_g_Next", "   int - 4 x 2 array") + Line("F_g_PtN", "   int - 5 numbers") +
                Line("F_g_Pts", " float - 3 x 5 array") + Line("F_g", "   int - 4 x 2 array") +
                Line("F", " float - 3 x 5 array"));
  QXTetrahedralVectorField3D field;
  ReadFromFile(this->Reopen(), "F", field);
  EXPECT_EQ(field.Vectors(), Floats(3, 5));
  EXPECT_EQ(field.Grid().NeighboringTetrahedra(), Next());
  {
    TypeParam storage(this->file.path, QXFile::ExistingReadWrite);
    WriteToFile(storage, "F", QXTetrahedralVectorField3D(Pair(), Floats(3, 5)));
  }
  ReadFromFile(this->Reopen(), "F", field);
  EXPECT_TRUE(field.Grid().NeighboringTetrahedra().IsEmpty());
  EXPECT_TRUE(field.Grid().PointNumbers().IsEmpty());
}

// A companion that does not fit is reported and dropped; the grid and its
// other companion are kept.
TYPED_TEST(QXTetrahedralGrid3DStorageTest, ReaderDropsACompanionThatDoesNotFit) {
  {
    TypeParam storage = this->Create();
    storage.Save(Ints(4, 2, {1, -1, -1, -1, 0, -1, -1, 2}), "M_g_Next");
    storage.Save(Column<int>({1, 2, 3, 4, 5}), "M_g_PtN");
    storage.Save(Floats(3, 5), "M_g_Pts");
    storage.Save(Offsets(), "M_g");
    storage.Save(Floats(5, 1), "M");
  }
  QXTetrahedralMesh3D mesh;
  ReadFromFile(this->Reopen(), "M", mesh);
  EXPECT_EQ(this->Reports(), Lines{"QXTetrahedralGrid3D(points,offsets,tetra,points): Offset array "
                                   "refers to points out of range."});
  EXPECT_EQ(mesh.Values(), Floats(5, 1));
  EXPECT_TRUE(mesh.Grid().NeighboringTetrahedra().IsEmpty());
  EXPECT_EQ(mesh.Grid().PointNumbers(), Column<int>({1, 2, 3, 4, 5}));
}

}  // namespace
