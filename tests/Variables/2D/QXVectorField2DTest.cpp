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
const QXMutableDoubleArray kX = Counting<double>(4, 3);

using QXVectorField2DTest = QXReportingTest;

// clang-format off
TEST_F(QXVectorField2DTest, ComponentsMustAgreeWithEachOtherAndWithASizedGrid) {
  const QXMask all = QXMask::CreateFromIntervals(MakeArray<int>(2, 1, 1, {0, 11}), 4, 3, 1);
  const Numbers placed = {0, 0, 1, 2, 0.5, 2, 0}, empty = {0, 0, 0, 0, 1, 1, 0};
  const std::string refused = "QXVectorField2D(X,Y,Grid): Incompatible sizes.";
  const struct { QXDoubleArray Y; QXMesh2DGrid grid; Numbers fields; Lines reports; } cases[] = {
      {kX, QXMesh2DGrid(kAt, 0.5, 2, 4, 3), placed, {}},
      {kX, QXMesh2DGrid(kAt, 0.5, 2, all), placed, {}},
      {kX, QXMesh2DGrid(kAt, 0.5, 2, 5, 3), empty, {refused}},
      {Counting<double>(3, 4), QXMesh2DGrid(), empty, {refused}},
  };
  for (const auto& c : cases) {
    const QXVectorField2D field(kX, c.Y, c.grid);
    EXPECT_EQ(GridFields(field), c.fields);
    EXPECT_EQ(field.X().Length(), c.reports.empty() ? 12 : 0);
    EXPECT_EQ(Reports(), c.reports);
  }
  EXPECT_TRUE(QXVectorField2D(Counting<double>(2, 2, 2), Counting<double>(2, 2, 2), QXMesh2DGrid()).X().IsEmpty());
  EXPECT_EQ(Reports(), Lines{refused});
}
// clang-format on

template <class Storage>
using QXVectorField2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXVectorField2DStorageTest, QXFileStorages);

TYPED_TEST(QXVectorField2DStorageTest, AFieldReadsBackWithItsPlacementOverItsSize) {
  const QXMutableDoubleArray Y = MakeArray<double>(4, 3, 1, {5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6});
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "W", QXVectorField2D(kX, Y, QXMesh2DGrid(kAt, 0.5)));
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"W_X", "W_Y", "W"}));
  const TypeParam storage = this->Reopen();
  EXPECT_TRUE(storage.SavedAsDouble("W_X"));
  QXVectorField2D read;
  ReadFromFile(storage, "W", read);
  EXPECT_EQ(Elements(read.X()), Elements(kX));
  EXPECT_EQ(Elements(read.Y()), Elements(Y));
  const QXRegion2D box = BoundingBox(read);
  EXPECT_EQ((Numbers{box.xmin, box.ymin, box.xmax, box.ymax}), (Numbers{1, 2, 2.5, 3}));
}

}  // namespace
