#include "QXMesh3D.h"

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;

// Five points of a 2 x 2 x 2 box.
QXMask FiveOfEight() { return MaskOfRuns(2, 2, 2, {0, 2, 5, 6}); }
QXMesh3DGrid Placed() { return QXMesh3DGrid(QXPoint3D(1, 2, 3), 0.5, 0.5, 2, 0, 0, 0); }
QXMesh3D MaskedMesh() {
  return QXMesh3D(Counting<float>(2, 2, 2), ApplyMask(Placed(), FiveOfEight()));
}

const std::string kIncompatible = "QXMesh3D(Array,Grid): Grid size is incompatible.";

using QXMesh3DTest = QXReportingTest;

// A grid without size takes the values'; one of another size is replaced
// by the standard grid of the values' size.
// clang-format off
TEST_F(QXMesh3DTest, ConstructorFitsTheGridToTheValues) {
  const struct { QXMesh3DGrid grid; Numbers fields; Lines reports; } cases[] = {
      {ApplyMask(Placed(), MaskOfRuns(5, 1, 1, {1, 3})), {5, 1, 1, 1, 2, 3, 0.5, 0.5, 2, 1}, {}},
      {Placed(), {5, 1, 1, 1, 2, 3, 0.5, 0.5, 2, 0}, {}},
      {QXMesh3DGrid(5, 1, 2), {5, 1, 1, 0, 0, 0, 1, 1, 1, 0}, {kIncompatible}},
  };
  for (const auto& c : cases) {
    const QXMesh3D mesh(Counting<float>(5, 1, 1), c.grid);
    EXPECT_EQ(Elements(mesh.Data()), (std::vector<float>{0, 1, 2, 3, 4}));
    EXPECT_EQ(GridFields(mesh.Grid()), c.fields);
    EXPECT_EQ(Reports(), c.reports);
  }
}
// clang-format on

TEST_F(QXMesh3DTest, PinfoGivesEachStepAndTheMaskedPoints) {
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
  EXPECT_EQ(GridFields(read.Grid()), GridFields(MaskedMesh().Grid()));
  EXPECT_EQ(read.Grid().Mask(), FiveOfEight());
  ReadFromFile(storage, "R", read);
  EXPECT_EQ(Elements(read.Data()), (std::vector<float>{0, 1}));
  EXPECT_EQ(GridFields(read.Grid()), (Numbers{1, 2, 1, 0, 0, 0, 1, 1, 1, 0}));
}

}  // namespace
