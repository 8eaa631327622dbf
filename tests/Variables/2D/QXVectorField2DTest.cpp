#include "QXVectorField2D.h"

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;

// m, n, origin and steps of the field's grid, and whether it has a mask.
Numbers GridFields(const QXVectorField2D& field) {
  const QXMesh2DGrid g = field.Grid();
  return {double(g.m()), double(g.n()), g.Origin().x,           g.Origin().y,
          g.dx(),        g.dy(),        double(g.MaskDefined())};
}

const QXPoint2D kAt(1, 2);
const std::string kIncompatible = "QXVectorField2D(X,Y,Grid): Incompatible sizes.";

using QXVectorField2DTest = QXReportingTest;

// clang-format off
TEST_F(QXVectorField2DTest, ComponentsMustAgreeWithEachOtherAndWithASizedGrid) {
  const QXMask all = QXMask::CreateFromIntervals(MakeArray<int>(2, 1, 1, {0, 11}), 4, 3, 1);
  const struct { QXDoubleArray X, Y; QXMesh2DGrid grid; Numbers fields; Lines reports; } cases[] = {
      {Counting<double>(4, 3), Counting<double>(4, 3), QXMesh2DGrid(kAt, 0.5, 2, 4, 3), {0, 0, 1, 2, 0.5, 2, 0}, {}},
      {Counting<double>(4, 3), Counting<double>(4, 3), QXMesh2DGrid(kAt, 0.5, 2, all), {0, 0, 1, 2, 0.5, 2, 0}, {}},
      {Counting<double>(4, 3), Counting<double>(4, 3), QXMesh2DGrid(kAt, 0.5), {0, 0, 1, 2, 0.5, 0.5, 0}, {}},
      {Counting<double>(4, 3), Counting<double>(4, 3), QXMesh2DGrid(kAt, 0.5, 2, 5, 3), {0, 0, 0, 0, 1, 1, 0}, {kIncompatible}},
      {Counting<double>(4, 3), Counting<double>(3, 4), QXMesh2DGrid(), {0, 0, 0, 0, 1, 1, 0}, {kIncompatible}},
      {Counting<double>(2, 2, 2), Counting<double>(2, 2, 2), QXMesh2DGrid(), {0, 0, 0, 0, 1, 1, 0}, {kIncompatible}},
  };
  for (const auto& c : cases) {
    const QXVectorField2D field(c.X, c.Y, c.grid);
    EXPECT_EQ(GridFields(field), c.fields);
    EXPECT_EQ(field.X().Length(), c.reports.empty() ? 12 : 0);
    EXPECT_EQ(Reports(), c.reports);
  }
}
// clang-format on

TEST_F(QXVectorField2DTest, BoundingBoxPlacesTheComponentsSize) {
  const QXVectorField2D field(Counting<double>(4, 3), Counting<double>(4, 3),
                              QXMesh2DGrid(kAt, 0.5));
  const QXRegion2D box = BoundingBox(field);
  EXPECT_EQ((Numbers{box.xmin, box.ymin, box.xmax, box.ymax}), (Numbers{1, 2, 2.5, 3}));
  EXPECT_FALSE(BoundingBox(QXVectorField2D()).isSet);
}

template <class Storage>
using QXVectorField2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXVectorField2DStorageTest, QXFileStorages);

TYPED_TEST(QXVectorField2DStorageTest, AFieldReadsBackWithItsPlacement) {
  const QXMutableDoubleArray X = Counting<double>(2, 3),
                             Y = MakeArray<double>(2, 3, 1, {5, 4, 3, 2, 1, 0});
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "W", QXVectorField2D(X, Y, QXMesh2DGrid(kAt, 0.5, 2, 2, 3)));
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"W_X", "W_Y", "W"}));
  const TypeParam storage = this->Reopen();
  EXPECT_TRUE(storage.SavedAsDouble("W_X"));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("W")), (Numbers{1, 2, 0.5, 2}));
  QXVectorField2D read;
  ReadFromFile(storage, "W", read);
  EXPECT_EQ(Elements(read.X()), Elements(X));
  EXPECT_EQ(Elements(read.Y()), Elements(Y));
  EXPECT_EQ(GridFields(read), (Numbers{0, 0, 1, 2, 0.5, 2, 0}));
}

}  // namespace
