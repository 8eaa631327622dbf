#include "QXMesh2D.h"

#include <cmath>
#include <limits>

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;
using Ints = std::vector<int>;
using D = std::vector<double>;
using F = std::vector<float>;

// The values, whichever their type.
Numbers Values(const QXMesh2D& mesh) {
  if (mesh.DoublePrecision()) return Elements(mesh.DoubleData());
  const F floats = Elements(mesh.FloatData());
  return Numbers(floats.begin(), floats.end());
}

// m, n, origin, steps and whether a mask is defined.
Numbers GridFields(const QXMesh2D& mesh) {
  const QXMesh2DGrid g = mesh.Grid();
  return {double(g.m()), double(g.n()), g.Origin().x,           g.Origin().y,
          g.dx(),        g.dy(),        double(g.MaskDefined())};
}

QXMutableIntArray Runs(const Ints& bounds) {
  return MakeArray<int>(2, int(bounds.size() / 2), 1, bounds);
}

// Three points of a 2 x 2 box: all but index 1.
QXMask ThreeOfFour() { return QXMask::CreateFromIntervals(Runs({0, 0, 2, 3}), 2, 2, 1); }
QXMesh2DGrid MaskedGrid() { return QXMesh2DGrid(QXPoint2D(1, 1), 0.5, 0.5, ThreeOfFour()); }
QXMesh2D MaskedMesh() { return QXMesh2D(Column<double>({7, 8, 9}), MaskedGrid()); }

const std::string kIncompatible = "QXMesh(Array,Grid): Grid size is incompatible.";

using QXMesh2DTest = QXReportingTest;

// clang-format off
TEST_F(QXMesh2DTest, ConstructorFitsTheGridToTheValues) {
  const QXMesh2DGrid masked = MaskedGrid(), noSize(QXPoint2D(3, 4), 2), sized(3, 3);
  const struct { std::function<QXMesh2D()> mesh; Numbers values; Numbers grid; Lines reports; } cases[] = {
      {[&] { return QXMesh2D(Column<double>({7, 8, 9}), masked); }, {7, 0, 8, 9}, {2, 2, 1, 1, 0.5, 0.5, 1}, {}},
      {[&] { return QXMesh2D(Column<float>({7, 8, 9}), masked); }, {7, 8, 9}, {3, 1, 1, 1, 0.5, 0.5, 0}, {kIncompatible}},
      {[&] { return QXMesh2D(Column<double>({7, 8}), masked); }, {7, 8}, {2, 1, 1, 1, 0.5, 0.5, 0}, {kIncompatible}},
      {[&] { return QXMesh2D(MakeArray(2, 2, 1, D{1, 2, 3, 4}), masked); }, {1, 2, 3, 4}, {2, 2, 1, 1, 0.5, 0.5, 1}, {}},
      {[&] { return QXMesh2D(MakeArray(1, 2, 1, F{1, 2}), noSize); }, {1, 2}, {1, 2, 3, 4, 2, 2, 0}, {}},
      {[&] { return QXMesh2D(MakeArray(1, 2, 1, D{1, 2}), sized); }, {1, 2}, {1, 2, 0, 0, 1, 1, 0}, {kIncompatible}},
      {[&] { return QXMesh2D(MakeArray(1, 1, 2, D{1, 2}), masked); }, {}, {0, 0, 0, 0, 1, 1, 0}, {"QXMesh(Array,Grid): Array is three dimensional."}},
      {[&] { return QXMesh2D(QXDoubleArray(), masked); }, {}, {0, 0, 0, 0, 1, 1, 0}, {}},
  };
  for (const auto& c : cases) {
    const QXMesh2D mesh = c.mesh();
    EXPECT_EQ(Values(mesh), c.values);
    EXPECT_EQ(GridFields(mesh), c.grid);
    EXPECT_EQ(Reports(), c.reports);
  }
}
// clang-format on

TEST_F(QXMesh2DTest, ExpansionFollowsTheRunsAsTheyAreWhenBuilt) {
  QXMutableIntArray runs = Runs({0, 0, 2, 3});
  const QXMask mask = QXMask::CreateFromIntervals(runs, 2, 2, 1);
  std::copy_n(Ints{1, 3, 2, 100}.begin(), 4, runs.Pointer());
  const QXMesh2D mesh(Column<double>({7, 8, 9}), QXMesh2DGrid(QXPoint2D(0, 0), 1, 1, mask));
  EXPECT_EQ(Values(mesh), (Numbers{0, 7, 8, 9}));
}

TEST_F(QXMesh2DTest, ConversionsKeepTheGridAndItsMask) {
  const QXMesh2D mesh(MakeArray(2, 2, 1, D{1e300, 0, 0.1, -2}), MaskedGrid());
  const QXMesh2D narrow = ConvertToFloat(mesh);
  EXPECT_EQ(Elements(narrow.FloatData()), (F{std::numeric_limits<float>::infinity(), 0, 0.1f, -2}));
  EXPECT_EQ(GridFields(narrow), GridFields(mesh));
  const QXMesh2D wide = ConvertToDouble(narrow);
  EXPECT_TRUE(wide.DoublePrecision());
  EXPECT_EQ(Values(wide), Values(narrow));
}

TEST_F(QXMesh2DTest, RangesComeFromTheValuesAndTheGrid) {
  const QXMesh2D mesh(MakeArray(1, 3, 1, F{3, NAN, -1}), QXMesh2DGrid(QXPoint2D(1, 2), 0.5));
  const QXRegion1D range = ValueRange(mesh);
  EXPECT_EQ((Numbers{range.minV, range.maxV}), (Numbers{-1, 3}));
  const QXRegion2D box = BoundingBox(mesh);
  EXPECT_EQ((Numbers{box.xmin, box.ymin, box.xmax, box.ymax}), (Numbers{1, 2, 1, 3}));
  EXPECT_FALSE(BoundingBox(QXMesh2D()).isSet);
  MaskedMesh().pinfo();
  EXPECT_EQ(Printed(), "2x2 mesh, origin = (1,1), h = 0.5. Mask = 3 points.\n");
}

template <class Storage>
using QXMesh2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXMesh2DStorageTest, QXFileStorages);

TYPED_TEST(QXMesh2DStorageTest, AMaskedMeshReadsBackWithPlacementAndMask) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "T", MaskedMesh());
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"T_loc", "T_dom_dim", "T_dom", "T"}));
  const TypeParam storage = this->Reopen();
  EXPECT_EQ(Elements(storage.ReadDoubleArray("T_loc")), (Numbers{1, 1, 0.5, 0.5}));
  QXMesh2D read;
  ReadFromFile(storage, "T", read);
  EXPECT_TRUE(read.DoublePrecision());
  EXPECT_EQ(Values(read), (Numbers{7, 0, 8, 9}));
  EXPECT_EQ(GridFields(read), GridFields(MaskedMesh()));
  EXPECT_EQ(read.Grid().Mask(), ThreeOfFour());
}

// The float mesh written over a masked one leaves no placement or mask behind.
TYPED_TEST(QXMesh2DStorageTest, AMeshOnAStandardGridIsOneArray) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "F", QXMesh2D(MakeArray(2, 3, 1, F{1, 2, 3, 4, 5, 6}), QXMesh2DGrid()));
    WriteToFile(storage, "T", MaskedMesh());
    WriteToFile(storage, "T", QXMesh2D(MakeArray(2, 2, 1, F{1, 2, 3, 4}), QXMesh2DGrid(2, 2)));
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"F", "T_loc", "T_dom_dim", "T_dom", "T"}));
  const TypeParam storage = this->Reopen();
  QXMesh2D read;
  ReadFromFile(storage, "F", read);
  EXPECT_TRUE(read.FloatPrecision());
  EXPECT_EQ(Values(read), (Numbers{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(GridFields(read), (Numbers{2, 3, 0, 0, 1, 1, 0}));
  ReadFromFile(storage, "T", read);
  EXPECT_EQ(Values(read), (Numbers{1, 2, 3, 4}));
  EXPECT_EQ(GridFields(read), (Numbers{2, 2, 0, 0, 1, 1, 0}));
}

// clang-format off
TYPED_TEST(QXMesh2DStorageTest, ReaderSpreadsAStoredColumnOrRefusesWhatItCannotBuild) {
  const struct { QXDoubleArray values; Ints dims; Numbers read; Lines reports; } cases[] = {
      {Column<double>({7, 8, 9}), {2, 2}, {7, 0, 8, 9}, {}},
      {MakeArray(1, 1, 2, D{1, 2}), {}, {}, {"ReadFromFile(QXMesh2D): Can not read a three dimensional array."}},
      {Column<double>({1, 2, 3}), {65536, 8192}, {}, {"ReadFromFile(QXMesh2D): The mask's box of 536870912 points is too large for the 3 values stored."}},
      {Column<double>({1, 2, 3, 4}), {1, 2, 3, 4}, {1, 2, 3, 4}, {"ReadFromArray(QXMask): Invalid length of array."}},
  };
  for (const auto& c : cases) {
    {
      TypeParam storage = this->Create();
      if (!c.dims.empty()) storage.Save(Column<int>(c.dims), "T_dom_dim");
      storage.Save(Runs({0, 0, 2, 3}), "T_dom");
      storage.Save(c.values, "T");
    }
    QXMesh2D read(Column<double>({1}), QXMesh2DGrid());
    ReadFromFile(this->Reopen(), "T", read);
    EXPECT_EQ(Values(read), c.read);
    EXPECT_EQ(this->Reports(), c.reports);
  }
}
// clang-format on

}  // namespace
