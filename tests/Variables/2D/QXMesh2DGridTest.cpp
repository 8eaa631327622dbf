#include "QXMesh2DGrid.h"

#include <cmath>
#include <limits>

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;

// m, n, origin, steps and whether a mask is defined.
Numbers Fields(const QXMesh2DGrid& g) {
  return {double(g.m()), double(g.n()), g.Origin().x,           g.Origin().y,
          g.dx(),        g.dy(),        double(g.MaskDefined())};
}
const Numbers kDefault = {0, 0, 0, 0, 1, 1, 0};

QXMask Mask(int m, int n, int o, const std::vector<int>& runs) {
  return QXMask::CreateFromIntervals(MakeArray<int>(2, int(runs.size() / 2), 1, runs), m, n, o);
}

const double kNaN = std::nan("");
const double kInfinity = std::numeric_limits<double>::infinity();
const QXPoint2D kAt(1, 2);
const std::string kSizeOrStep = "QXMeshGrid(origin,dx,dy,m,n): One of the size is negative.";

using QXMesh2DGridTest = QXReportingTest;

// clang-format off
TEST_F(QXMesh2DGridTest, ConstructorsCheckSizesAndSteps) {
  const struct { std::function<QXMesh2DGrid()> grid; Numbers fields; Lines reports; } cases[] = {
      {[] { return QXMesh2DGrid(0, 5); }, kDefault, {}},
      {[] { return QXMesh2DGrid(5, 0); }, kDefault, {}},
      {[] { return QXMesh2DGrid(-1, 3); }, kDefault, {"QXMeshGrid(m,n): One of the size is negative."}},
      {[] { return QXMesh2DGrid(65536, 65536); }, {65536, 65536, 0, 0, 1, 1, 0}, {}},
      {[] { return QXMesh2DGrid(kAt, 0.5, 0.5, 3, 0); }, {0, 0, 1, 2, 0.5, 0.5, 0}, {}},
      {[] { return QXMesh2DGrid(kAt, 0.5, 0.5, -3, 2); }, kDefault, {kSizeOrStep}},
      {[] { return QXMesh2DGrid(kAt, 0, 0.5, 3, 2); }, kDefault, {kSizeOrStep}},
      {[] { return QXMesh2DGrid(kAt, kNaN, 0.5, 3, 2); }, kDefault, {kSizeOrStep}},
      {[] { return QXMesh2DGrid(kAt, 0.5, kInfinity, 3, 2); }, kDefault, {kSizeOrStep}},
      {[] { return QXMesh2DGrid(kAt, 0.5); }, {0, 0, 1, 2, 0.5, 0.5, 0}, {}},
      {[] { return QXMesh2DGrid(kAt, kNaN); }, kDefault, {"QXMeshGrid(origin,h): Step size is negative."}},
      {[] { return QXMesh2DGrid(kAt, 0.5, 2, Mask(2, 3, 1, {0, 2})); }, {2, 3, 1, 2, 0.5, 2, 1}, {}},
      {[] { return QXMesh2DGrid(kAt, 0.5, 2, Mask(2, 3, 2, {0, 2})); }, kDefault, {"QXMeshGrid(origin,dx,dy,mask): Passing in a 3D Mask."}},
      {[] { return QXMesh2DGrid(kAt, kInfinity, 2, Mask(2, 3, 1, {0, 2})); }, kDefault, {"QXMeshGrid(origin,dx,dy,mask): Step size is negative."}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fields(c.grid()), c.fields);
    EXPECT_EQ(Reports(), c.reports);
  }
}

TEST_F(QXMesh2DGridTest, PinfoUsesOneStepWhenTheyAgree) {
  const std::pair<QXMesh2DGrid, std::string> cases[] = {
      {QXMesh2DGrid(10, 20), "10x20 mesh, origin = (0,0), h = 1\n"},
      {QXMesh2DGrid(QXPoint2D(0.5, -1), 1, 2, 3, 4), "3x4 mesh, origin = (0.5,-1), dx = 1, dy = 2\n"},
      {QXMesh2DGrid(QXPoint2D(1.0 / 3, 0), 1, 1, Mask(2, 3, 1, {1, 3})), "2x3 mesh, origin = (0.333333,0), h = 1. Mask = 3 points.\n"},
  };
  for (const auto& [grid, line] : cases) {
    grid.pinfo();
    EXPECT_EQ(Printed(), line);
  }
}
// clang-format on

template <class Storage>
using QXMesh2DGridStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXMesh2DGridStorageTest, QXFileStorages);

// H's size, written first, is overwritten when H is saved without one.
TYPED_TEST(QXMesh2DGridStorageTest, AGridReadsBackWithItsSizeOrWithout) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "H", QXMesh2DGrid(3, 4));
    WriteToFile(storage, "G", QXMesh2DGrid(kAt, 0.5, 0.25, 3, 4));
    WriteToFileNoSize(storage, "H", QXMesh2DGrid(kAt, 0.5, 0.5, 3, 4));
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"G_size", "G", "H_size", "H"}));
  const TypeParam storage = this->Reopen();
  EXPECT_EQ(Elements(storage.ReadIntArray("G_size")), (std::vector<int>{3, 4}));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("G")), (Numbers{1, 2, 0.5, 0.25}));
  QXMesh2DGrid read;
  ReadFromFile(storage, "G", read);
  EXPECT_EQ(Fields(read), (Numbers{3, 4, 1, 2, 0.5, 0.25, 0}));
  ReadFromFile(storage, "H", read);
  EXPECT_EQ(Fields(read), (Numbers{0, 0, 1, 2, 0.5, 0.5, 0}));
}

// clang-format off
TYPED_TEST(QXMesh2DGridStorageTest, ReaderReportsEntriesOfTheWrongShape) {
  const std::string incorrect = "ReadFromArray(QXMesh2DGrid): Incorrect size array.";
  const struct { QXDoubleArray numbers; QXIntArray size; Lines reports; } cases[] = {
      {Column<double>({1, 2, 0.5}), QXIntArray(), {incorrect}},
      {Column<double>({1, 2, 0.5, 0.5}), Column<int>({3, 4, 5}), {incorrect}},
      {Column<double>({1, 2, 0.5, -1}), Column<int>({3, 4}), {kSizeOrStep}},
      {Column<double>({1, 2, 0.5, 0.5}), Column<int>({-3, 4}), {kSizeOrStep}},
  };
  for (const auto& c : cases) {
    {
      TypeParam storage = this->Create();
      storage.Save(c.size, "G_size");
      storage.Save(c.numbers, "G");
    }
    QXMesh2DGrid read(kAt, 0.5, 0.5, 2, 2);
    ReadFromFile(this->Reopen(), "G", read);
    EXPECT_EQ(Fields(read), kDefault);
    EXPECT_EQ(this->Reports(), c.reports);
  }
}
// clang-format on

}  // namespace
