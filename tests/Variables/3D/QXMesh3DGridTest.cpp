#include "QXMesh3DGrid.h"

#include <climits>
#include <cmath>
#include <limits>

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;

// m, n, o, origin, steps and whether a mask is defined.
Numbers Fields(const QXMesh3DGrid& g) {
  const QXPoint3D at = g.Origin();
  return {double(g.m()), double(g.n()), double(g.o()), at.x,   at.y,
          at.z,          g.dx(),        g.dy(),        g.dz(), double(g.MaskDefined())};
}
const Numbers kDefault = {0, 0, 0, 0, 0, 0, 1, 1, 1, 0};

QXMask Mask(int m, int n, int o, const std::vector<int>& runs) {
  return QXMask::CreateFromIntervals(MakeArray<int>(2, int(runs.size() / 2), 1, runs), m, n, o);
}

const double kNaN = std::nan("");
const float kInfinity = std::numeric_limits<float>::infinity();
const QXPoint3D kAt(1, 2, 3);
const std::string kSizes = "QXMesh3DGrid(m,n,o): ";
const std::string kPlaced = "QXMesh3DGrid(origin,dx,dy,dz,m,n,o): ";
const std::string kMasked = "QXMesh3DGrid(origin,dx,dy,dz,mask): ";
const std::string kNegative = "One of the size is negative.";

using QXMesh3DGridTest = QXReportingTest;

// clang-format off
TEST_F(QXMesh3DGridTest, ConstructorsCheckSizesStepsAndOrigin) {
  const struct { std::function<QXMesh3DGrid()> grid; Numbers fields; Lines reports; } cases[] = {
      {[] { return QXMesh3DGrid(2, 3, -1); }, kDefault, {kSizes + kNegative}},
      {[] { return QXMesh3DGrid(2, 0, 5); }, kDefault, {}},
      {[] { return QXMesh3DGrid(1024, 1024, 2047); }, {1024, 1024, 2047, 0, 0, 0, 1, 1, 1, 0}, {}},
      {[] { return QXMesh3DGrid(1024, 1024, 2048); }, kDefault, {kSizes + "Too many points."}},
      {[] { return QXMesh3DGrid(INT_MAX, INT_MAX, INT_MAX); }, kDefault, {kSizes + "Too many points."}},
      {[] { return QXMesh3DGrid(kAt, 0.5, 1, 2, 3, 0, 4); }, {0, 0, 0, 1, 2, 3, 0.5, 1, 2, 0}, {}},
      {[] { return QXMesh3DGrid(kAt, 0.5, 1, 2, 3, -1, 4); }, kDefault, {kPlaced + kNegative}},
      {[] { return QXMesh3DGrid(kAt, 0.5, kNaN, 1, 3, 1, 4); }, kDefault, {kPlaced + kNegative}},
      {[] { return QXMesh3DGrid(QXPoint3D(0, kInfinity, 0), 1, 1, 1, 3, 1, 4); }, kDefault, {kPlaced + "The origin is not finite."}},
      {[] { return QXMesh3DGrid(kAt, 1, 1, 1, 65536, 65536, 1); }, kDefault, {kPlaced + "Too many points."}},
      {[] { return QXMesh3DGrid(kAt, 0.5, 1, 2, Mask(2, 3, 2, {1, 4})); }, {2, 3, 2, 1, 2, 3, 0.5, 1, 2, 1}, {}},
      {[] { return QXMesh3DGrid(kAt, 0.5, -1, 2, Mask(2, 3, 2, {1, 4})); }, kDefault, {kMasked + "Step size is negative."}},
      {[] { return QXMesh3DGrid(QXPoint3D(kNaN, 0, 0), 1, 1, 1, Mask(2, 3, 2, {1, 4})); }, kDefault, {kMasked + "The origin is not finite."}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fields(c.grid()), c.fields);
    EXPECT_EQ(Reports(), c.reports);
  }
}

TEST_F(QXMesh3DGridTest, PinfoUsesOneStepWhenAllThreeAgree) {
  QXMesh3DGrid(2, 3, 4).pinfo();
  EXPECT_EQ(Printed(), "Size = 2 x 3 x 4, Origin = (0,0,0), h = 1\n");
}
// clang-format on

template <class Storage>
using QXMesh3DGridStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXMesh3DGridStorageTest, QXFileStorages);

// H's size, written first, is overwritten when H is saved without one.
TYPED_TEST(QXMesh3DGridStorageTest, AGridReadsBackWithItsSizeOrWithout) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "H", QXMesh3DGrid(3, 4, 5));
    WriteToFile(storage, "G", QXMesh3DGrid(kAt, 0.5, 0.25, 2, 3, 4, 5));
    WriteToFileNoSize(storage, "H", QXMesh3DGrid(kAt, 0.5, 0.5, 0.5, 3, 4, 5));
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"G_size", "G", "H_size", "H"}));
  const TypeParam storage = this->Reopen();
  EXPECT_EQ(Elements(storage.ReadIntArray("G_size")), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(Elements(storage.ReadDoubleArray("G")), (Numbers{1, 2, 3, 0.5, 0.25, 2}));
  QXMesh3DGrid read;
  ReadFromFile(storage, "G", read);
  EXPECT_EQ(Fields(read), (Numbers{3, 4, 5, 1, 2, 3, 0.5, 0.25, 2, 0}));
  ReadFromFile(storage, "H", read);
  EXPECT_EQ(Fields(read), (Numbers{0, 0, 0, 1, 2, 3, 0.5, 0.5, 0.5, 0}));
}

// clang-format off
TYPED_TEST(QXMesh3DGridStorageTest, ReaderNarrowsTheOriginAndReportsWhatItRefuses) {
  const std::string incorrect = "ReadFromArray(QXMesh3DGrid): Incorrect size array.";
  const struct { QXDoubleArray numbers; QXIntArray size; Numbers fields; Lines reports; } cases[] = {
      {Column<double>({0.1, 2, 3, 1, 1, 1}), QXIntArray(), {0, 0, 0, 0.1f, 2, 3, 1, 1, 1, 0}, {}},
      {Column<double>({1, 2, 3, 1, 1}), QXIntArray(), kDefault, {incorrect}},
      {Column<double>({1, 2, 3, 1, 1, 1}), Column<int>({3, 4}), kDefault, {incorrect}},
      {Column<double>({1, 2, 3, 1, 1, 0}), Column<int>({3, 4, 5}), kDefault, {kPlaced + kNegative}},
      {Column<double>({1e300, 2, 3, 1, 1, 1}), QXIntArray(), kDefault, {kPlaced + "The origin is not finite."}},
      {Column<double>({1, 2, 3, 1, 1, 1}), Column<int>({65536, 65536, 2}), kDefault, {kPlaced + "Too many points."}},
  };
  for (const auto& c : cases) {
    {
      TypeParam storage = this->Create();
      storage.Save(c.size, "G_size");
      storage.Save(c.numbers, "G");
    }
    QXMesh3DGrid read(kAt, 0.5, 0.5, 0.5, 2, 2, 2);
    ReadFromFile(this->Reopen(), "G", read);
    EXPECT_EQ(Fields(read), c.fields);
    EXPECT_EQ(this->Reports(), c.reports);
  }
}
// clang-format on

}  // namespace
