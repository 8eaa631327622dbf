#include "QXMesh2D.h"

#include <cmath>
#include <functional>

#include "../Support/QXFileStorageTest.h"
#include "QXMesh1DGrid.h"

namespace {

using Numbers = std::vector<double>;
using Ints = std::vector<int>;

// The values the mesh holds, as doubles, whichever their type.
Numbers Values(const QXMesh2D& mesh) {
  if (mesh.DoublePrecision()) return Elements(mesh.DoubleData());
  const std::vector<float> floats = Elements(mesh.FloatData());
  return Numbers(floats.begin(), floats.end());
}

// m, n, origin, steps and whether a mask is defined, as doubles.
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

const std::string kIncompatible = "QXMesh(Array,Grid): Grid size is incompatible.";

using QXMesh2DTest = QXReportingTest;

TEST_F(QXMesh2DTest, ConstructorFitsTheGridToTheValues) {
  using D = std::vector<double>;
  using F = std::vector<float>;
  const QXMesh2DGrid masked = MaskedGrid(), noSize(QXPoint2D(3, 4), 2), sized(3, 3);
  const struct {
    std::function<QXMesh2D()> mesh;
    Numbers values;
    Numbers grid;
    Lines reports;
  } cases[] = {
      // clang-format off
      {[&] { return QXMesh2D(Column<double>({7, 8, 9}), masked); }, {7, 0, 8, 9}, {2, 2, 1, 1, 0.5, 0.5, 1}, {}},
      {[&] { return QXMesh2D(Column<float>({7, 8, 9}), masked); }, {7, 8, 9}, {3, 1, 1, 1, 0.5, 0.5, 0}, {kIncompatible}},
      {[&] { return QXMesh2D(Column<double>({7, 8}), masked); }, {7, 8}, {2, 1, 1, 1, 0.5, 0.5, 0}, {kIncompatible}},
      {[&] { return QXMesh2D(MakeArray(2, 2, 1, D{1, 2, 3, 4}), masked); }, {1, 2, 3, 4}, {2, 2, 1, 1, 0.5, 0.5, 1}, {}},
      {[&] { return QXMesh2D(MakeArray(1, 2, 1, F{1, 2}), noSize); }, {1, 2}, {1, 2, 3, 4, 2, 2, 0}, {}},
      {[&] { return QXMesh2D(MakeArray(1, 2, 1, D{1, 2}), sized); }, {1, 2}, {1, 2, 0, 0, 1, 1, 0}, {kIncompatible}},
      {[&] { return QXMesh2D(MakeArray(1, 1, 2, D{1, 2}), masked); }, {}, {0, 0, 0, 0, 1, 1, 0}, {"QXMesh(Array,Grid): Array is three dimensional."}},
      {[&] { return QXMesh2D(QXDoubleArray(), masked); }, {}, {0, 0, 0, 0, 1, 1, 0}, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    const QXMesh2D mesh = c.mesh();
    EXPECT_EQ(Values(mesh), c.values);
    EXPECT_EQ(GridFields(mesh), c.grid);
    EXPECT_EQ(Reports(), c.reports);
  }
}

TEST_F(QXMesh2DTest, ExpansionFollowsTheRunsAsTheyAreWhenBuilt) {
  QXMutableIntArray runs = Runs({0, 0, 2, 3});
  const QXMask mask = QXMask::CreateFromIntervals(runs, 2, 2, 1);
  std::copy_n(Ints{1, 3, 2, 100}.begin(), 4, runs.Pointer());
  const QXMesh2D mesh(Column<double>({7, 8, 9}), QXMesh2DGrid(QXPoint2D(0, 0), 1, 1, mask));
  EXPECT_EQ(Values(mesh), (Numbers{0, 7, 8, 9}));
}

TEST_F(QXMesh2DTest, ConversionsKeepTheGridAndItsMask) {
  const QXMesh2D mesh(MakeArray<double>(2, 2, 1, {1e300, 0, 0.1, -2}), MaskedGrid());
  const QXMesh2D narrow = ConvertToFloat(mesh);
  EXPECT_TRUE(narrow.FloatPrecision());
  EXPECT_EQ(Elements(narrow.FloatData()),
            (std::vector<float>{std::numeric_limits<float>::infinity(), 0, 0.1f, -2}));
  EXPECT_EQ(GridFields(narrow), GridFields(mesh));
  const QXMesh2D wide = ConvertToDouble(narrow);
  EXPECT_TRUE(wide.DoublePrecision());
  EXPECT_EQ(Values(wide), Values(narrow));
  EXPECT_EQ(GridFields(wide), GridFields(mesh));
  EXPECT_EQ(ConvertToFloat(narrow).FloatData().Pointer(), narrow.FloatData().Pointer());
}

TEST_F(QXMesh2DTest, RangesComeFromTheValuesAndTheGrid) {
  const QXMesh2D mesh(MakeArray<float>(1, 3, 1, {3, NAN, -1}), QXMesh2DGrid(QXPoint2D(1, 2), 0.5));
  const QXRegion1D range = ValueRange(mesh);
  EXPECT_EQ((Numbers{range.minV, range.maxV}), (Numbers{-1, 3}));
  const QXRegion2D box = BoundingBox(mesh);
  EXPECT_EQ((Numbers{box.xmin, box.ymin, box.xmax, box.ymax}), (Numbers{1, 2, 1, 3}));
  EXPECT_FALSE(ValueRange(QXMesh2D()).isSet);
}

TEST_F(QXMesh2DTest, PinfoDescribesTheValuesOnTheirGrid) {
  QXMesh2D(Column<double>({7, 8, 9}), MaskedGrid()).pinfo();
  EXPECT_EQ(Printed(), "2x2 mesh, origin = (1,1), h = 0.5. Mask = 3 points.\n");
}

template <class Storage>
using QXMesh2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXMesh2DStorageTest, QXFileStorages);

TYPED_TEST(QXMesh2DStorageTest, AMaskedMeshReadsBackWithPlacementAndMask) {
  const QXMesh2D mesh(Column<double>({7, 8, 9}), MaskedGrid());
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "T", mesh);
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"T_loc", "T_dom_dim", "T_dom", "T"}));
  const TypeParam storage = this->Reopen();
  EXPECT_EQ(Elements(storage.ReadDoubleArray("T_loc")), (Numbers{1, 1, 0.5, 0.5}));
  QXMesh2D read;
  ReadFromFile(storage, "T", read);
  EXPECT_TRUE(read.DoublePrecision());
  EXPECT_EQ(Values(read), (Numbers{7, 0, 8, 9}));
  EXPECT_EQ(GridFields(read), GridFields(mesh));
  EXPECT_EQ(read.Grid().Mask(), ThreeOfFour());
}

TYPED_TEST(QXMesh2DStorageTest, AMeshOnAStandardGridIsOneArray) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "F",
                QXMesh2D(MakeArray<float>(2, 3, 1, {1, 2, 3, 4, 5, 6}), QXMesh2DGrid()));
  }
  EXPECT_EQ(this->WriteOrder(), Texts{"F"});
  QXMesh2D read;
  ReadFromFile(this->Reopen(), "F", read);
  EXPECT_TRUE(read.FloatPrecision());
  EXPECT_EQ(Values(read), (Numbers{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(GridFields(read), (Numbers{2, 3, 0, 0, 1, 1, 0}));
}

TYPED_TEST(QXMesh2DStorageTest, APlainMeshWrittenOverAMaskedOneReadsBackPlain) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "T", QXMesh2D(Column<double>({7, 8, 9}), MaskedGrid()));
    WriteToFile(storage, "T", QXMesh2D(MakeArray<double>(2, 2, 1, {1, 2, 3, 4}), QXMesh2DGrid()));
  }
  QXMesh2D read;
  ReadFromFile(this->Reopen(), "T", read);
  EXPECT_EQ(Values(read), (Numbers{1, 2, 3, 4}));
  EXPECT_EQ(GridFields(read), (Numbers{2, 2, 0, 0, 1, 1, 0}));
  EXPECT_EQ(this->Reports(), Lines{});
}

TYPED_TEST(QXMesh2DStorageTest, AStoredColumnSpreadsThroughTheStoredMask) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "T_dom", ThreeOfFour());
    storage.Save(Column<double>({7, 8, 9}), "T");
  }
  QXMesh2D read;
  ReadFromFile(this->Reopen(), "T", read);
  EXPECT_EQ(Values(read), (Numbers{7, 0, 8, 9}));
  EXPECT_EQ(GridFields(read), (Numbers{2, 2, 0, 0, 1, 1, 1}));
}

TYPED_TEST(QXMesh2DStorageTest, ReaderRefusesWhatItCannotBuild) {
  const struct {
    QXDoubleArray values;
    Ints dims;
    Lines reports;
  } cases[] = {
      {MakeArray<double>(1, 1, 2, {1, 2}),
       {},
       {"ReadFromFile(QXMesh2D): Can not read a three dimensional array."}},
      {Column<double>({1, 2, 3, 4}),
       {65536, 8192},
       {"ReadFromFile(QXMesh2D): The mask's box of 536870912 points is too large for the 4 "
        "values stored."}},
      {Column<double>({1, 2, 3, 4}),
       {1, 2, 3, 4},
       {"ReadFromArray(QXMask): Invalid length of array."}},
  };
  for (const auto& c : cases) {
    {
      TypeParam storage = this->Create();
      if (!c.dims.empty()) storage.Save(Column<int>(c.dims), "T_dom_dim");
      storage.Save(Runs({0, 3}), "T_dom");
      storage.Save(c.values, "T");
    }
    QXMesh2D read(Column<double>({1}), QXMesh2DGrid());
    ReadFromFile(this->Reopen(), "T", read);
    EXPECT_EQ(Values(read).size(), c.dims.size() == 4 ? 4u : 0u);
    EXPECT_EQ(this->Reports(), c.reports);
  }
}

// Scipy reads the entries of every type here with the element types and
// shapes that the storage convention fixes.
TEST(QXGridScipyTest, ScipySeesEachEntryWithItsTypeAndShape) {
  static const std::string python = QXFindPythonWithScipy();
  if (python.empty()) GTEST_SKIP() << "python3 with scipy is not installed";
  QXTempPath file("scipy"), script("scipy", ".py");
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "M", QXMask::CreateFromIntervals(Runs({0, 1, 3, 5, 7, 7}), 4, 2, 1));
    WriteToFile(storage, "D", QXMask::CreateFromIntervals(Runs({2, 9}), 2, 3, 2));
    WriteToFile(storage, "L", QXMesh1DGrid(0.5, 0.25, 9));
    WriteToFile(storage, "G", QXMesh2DGrid(QXPoint2D(1, 2), 0.5, 0.25, 3, 4));
    WriteToFile(storage, "T", QXMesh2D(Column<double>({7, 8, 9}), MaskedGrid()));
    WriteToFile(storage, "F",
                QXMesh2D(MakeArray<float>(2, 3, 1, {1, 2, 3, 4, 5, 6}), QXMesh2DGrid()));
  }
  script.Write(R"(import sys, scipy.io as sio
content = {k: v for k, v in sio.loadmat(sys.argv[1]).items() if not k.startswith('__')}
seen = {k: (v.dtype.str[1:],) + v.shape for k, v in content.items()}
assert seen == dict(M_dim=('i4', 2, 1), M=('i4', 2, 3), D_dim=('i4', 3, 1), D=('i4', 2, 1),
                    L_size=('i4', 1, 1), L=('f8', 2, 1), G_size=('i4', 2, 1), G=('f8', 4, 1),
                    T_loc=('f8', 4, 1), T_dom_dim=('i4', 2, 1), T_dom=('i4', 2, 2), T=('f8', 2, 2),
                    F=('f4', 2, 3)), seen
assert content['T'].tolist() == [[7, 8], [0, 9]], content['T']
assert content['M'].tolist() == [[0, 3, 7], [1, 5, 7]], content['M']
)");
  EXPECT_EQ(std::system((python + " " + script.path + " " + file.path).c_str()), 0);
}

}  // namespace
