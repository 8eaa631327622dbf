#include "QXMesh3D.h"

#include <cmath>

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;
using F = std::vector<float>;

// m, n, o, origin, steps and whether a mask is defined.
Numbers GridFields(const QXMesh3D& mesh) {
  const QXMesh3DGrid g = mesh.Grid();
  const QXPoint3D at = g.Origin();
  return {double(g.m()), double(g.n()), double(g.o()), at.x,   at.y,
          at.z,          g.dx(),        g.dy(),        g.dz(), double(g.MaskDefined())};
}

// Five points of a 2 x 2 x 2 box.
QXMask FiveOfEight() {
  return QXMask::CreateFromIntervals(MakeArray<int>(2, 2, 1, {0, 2, 5, 6}), 2, 2, 2);
}
QXMesh3DGrid Placed() { return QXMesh3DGrid(QXPoint3D(1, 2, 3), 0.5, 0.5, 2, 0, 0, 0); }
QXMesh3D MaskedMesh() {
  return QXMesh3D(Counting<float>(2, 2, 2), ApplyMask(Placed(), FiveOfEight()));
}

const std::string kIncompatible = "QXMesh3D(Array,Grid): Grid size is incompatible.";

using QXMesh3DTest = QXReportingTest;

// clang-format off
TEST_F(QXMesh3DTest, ConstructorFitsTheGridToTheValues) {
  const struct { QXFloatArray values; QXMesh3DGrid grid; Numbers fields; Lines reports; } cases[] = {
      {Counting<float>(2, 2, 2), ApplyMask(Placed(), FiveOfEight()), {2, 2, 2, 1, 2, 3, 0.5, 0.5, 2, 1}, {}},
      {Counting<float>(5, 1, 1), Placed(), {5, 1, 1, 1, 2, 3, 0.5, 0.5, 2, 0}, {}},
      {Counting<float>(5, 1, 1), QXMesh3DGrid(5, 1, 2), {5, 1, 1, 0, 0, 0, 1, 1, 1, 0}, {kIncompatible}},
      {QXFloatArray(), Placed(), {0, 0, 0, 0, 0, 0, 1, 1, 1, 0}, {}},
  };
  for (const auto& c : cases) {
    const QXMesh3D mesh(c.values, c.grid);
    EXPECT_EQ(Elements(mesh.Data()), Elements(c.values));
    EXPECT_EQ(GridFields(mesh), c.fields);
    EXPECT_EQ(Reports(), c.reports);
  }
}
// clang-format on

TEST_F(QXMesh3DTest, RangesComeFromTheValuesAndTheGrid) {
  const QXMesh3D mesh(MakeArray(1, 2, 2, F{3, NAN, -1, 2}), Placed());
  const QXRegion1D range = ValueRange(mesh);
  EXPECT_EQ((Numbers{range.minV, range.maxV}), (Numbers{-1, 3}));
  const QXRegion3D box = BoundingBox(mesh);
  EXPECT_EQ((Numbers{box.xmin, box.ymin, box.zmin}), (Numbers{1, 2, 3}));
  EXPECT_EQ((Numbers{box.xmax, box.ymax, box.zmax}), (Numbers{1, 2.5, 5}));
  MaskedMesh().pinfo();
  EXPECT_EQ(Printed(),
            "Size = 2 x 2 x 2, Origin = (1,2,3), dx = 0.5, dy = 0.5, dz = 2. Mask = 5 points.\n");
}

template <class Storage>
using QXMesh3DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXMesh3DStorageTest, QXFileStorages);

// R, rewritten smaller on the standard grid, reads back as the new value:
// its placement and mask companions are cleared.
TYPED_TEST(QXMesh3DStorageTest, AMaskedMeshReadsBackAndARewrittenOneReadsAsTheNewValue) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "T", MaskedMesh());
    WriteToFile(storage, "R", MaskedMesh());
    WriteToFile(storage, "R", QXMesh3D(Counting<float>(1, 2, 1), QXMesh3DGrid()));
  }
  EXPECT_EQ(this->WriteOrder(),
            this->Expected({"T_loc", "T_dom_dim", "T_dom", "T", "R_loc", "R_dom_dim", "R_dom", "R"},
                           {"T_loc", "T_dom_dim", "T_dom", "T", "T_3D", "R_loc", "R_dom_dim",
                            "R_dom", "R", "R_3D"}));
  const TypeParam storage = this->Reopen();
  EXPECT_EQ(Elements(storage.ReadDoubleArray("T_loc")), (Numbers{1, 2, 3, 0.5, 0.5, 2}));
  QXMesh3D read;
  ReadFromFile(storage, "T", read);
  EXPECT_EQ(Elements(read.Data()), Elements(MaskedMesh().Data()));
  EXPECT_EQ(GridFields(read), GridFields(MaskedMesh()));
  EXPECT_EQ(read.Grid().Mask(), FiveOfEight());
  ReadFromFile(storage, "R", read);
  EXPECT_EQ(Elements(read.Data()), (F{0, 1}));
  EXPECT_EQ(GridFields(read), (Numbers{1, 2, 1, 0, 0, 0, 1, 1, 1, 0}));
}

// A stored mask of another box than the values' is dropped with a warning.
TYPED_TEST(QXMesh3DStorageTest, AStoredMaskOfAnotherBoxIsReportedAndDropped) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "T_dom", FiveOfEight());
    storage.Save(Counting<float>(2, 2, 3), "T");
  }
  QXMesh3D read;
  ReadFromFile(this->Reopen(), "T", read);
  EXPECT_EQ(read.Data().Length(), 12);
  EXPECT_EQ(GridFields(read), (Numbers{2, 2, 3, 0, 0, 0, 1, 1, 1, 0}));
  EXPECT_EQ(this->Reports(), Lines{kIncompatible});
}

}  // namespace
