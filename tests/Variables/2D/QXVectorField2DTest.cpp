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

// A masked grid is taken without its mask, which the storage cannot hold.
// clang-format off
TEST_F(QXVectorField2DTest, ComponentsMustAgreeWithEachOtherAndWithASizedGrid) {
  const Numbers placed = {0, 0, 1, 2, 0.5, 2, 0};
  const Numbers empty = {0, 0, 0, 0, 1, 1, 0};
  const std::string refused = "QXVectorField2D(X,Y,Grid): Incompatible sizes.";
  const struct { QXDoubleArray X; QXDoubleArray Y; QXMesh2DGrid grid; Numbers fields; Lines reports; } cases[] = {
      {kX, kX, QXMesh2DGrid(kAt, 0.5, 2, 4, 3), placed, {}},
      {kX, kX, QXMesh2DGrid(kAt, 0.5, 2, MaskOfRuns(4, 3, 1, {0, 11})), placed, {}},
      {kX, kX, QXMesh2DGrid(kAt, 0.5, 2, 5, 3), empty, {refused}},
      {kX, Counting<double>(3, 4), QXMesh2DGrid(), empty, {refused}},
      {Counting<double>(2, 2, 2), Counting<double>(2, 2, 2), QXMesh2DGrid(), empty, {refused}},
  };
  for (const auto& c : cases) {
    const QXVectorField2D field(c.X, c.Y, c.grid);
    EXPECT_EQ(GridFields(field), c.fields);
    EXPECT_EQ(field.X().Length(), c.reports.empty() ? 12 : 0);
    EXPECT_EQ(Reports(), c.reports);
  }
}
// clang-format on

template <class Storage>
using QXVectorField2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXVectorField2DStorageTest, QXFileStorages);

// The "_Z" of a field in space saved before under the name is cleared.
TYPED_TEST(QXVectorField2DStorageTest, AFieldReadsBackWithItsPlacementOverItsSize) {
  const QXMutableDoubleArray Y = MakeArray<double>(4, 3, 1, {5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6});
  {
    TypeParam storage = this->Create();
    storage.Save(kX, "W_Z");
    WriteToFile(storage, "W", QXVectorField2D(kX, Y, QXMesh2DGrid(kAt, 0.5)));
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"W_X", "W_Y", "W_Z", "W"}));
  const TypeParam storage = this->Reopen();
  EXPECT_TRUE(storage.ReadDoubleArray("W_Z").IsEmpty());
  EXPECT_TRUE(storage.SavedAsDouble("W_X"));
  QXVectorField2D read;
  ReadFromFile(storage, "W", read);
  EXPECT_EQ(Elements(read.X()), Elements(kX));
  EXPECT_EQ(Elements(read.Y()), Elements(Y));
  const QXRegion2D box = BoundingBox(read);
  EXPECT_EQ((Numbers{box.xmin, box.ymin, box.xmax, box.ymax}), (Numbers{1, 2, 2.5, 3}));
}

}  // namespace
