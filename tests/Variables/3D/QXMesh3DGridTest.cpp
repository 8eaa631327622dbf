#include "QXMesh3DGrid.h"

#include <climits>
#include <cmath>
#include <limits>

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;

const Numbers kDefault = {0, 0, 0, 0, 0, 0, 1, 1, 1, 0};
const double kNaN = std::nan("");
const float kInfinity = std::numeric_limits<float>::infinity();
const QXPoint3D kAt(1, 2, 3);
const std::string kSizes = "QXMesh3DGrid(m,n,o): ";
const std::string kPlaced = "QXMesh3DGrid(origin,dx,dy,dz,m,n,o): ";
const std::string kMasked = "QXMesh3DGrid(origin,dx,dy,dz,mask): ";
const std::string kNegative = "One of the size is negative.";

using QXMesh3DGridTest = QXReportingTest;

// Point counts are taken in 64 bits; a NaN step is refused as a negative one.
// clang-format off
TEST_F(QXMesh3DGridTest, ConstructorsCheckSizesStepsAndOrigin) {
  const struct { std::function<QXMesh3DGrid()> grid; Numbers fields; Lines reports; } cases[] = {
      {[] { return QXMesh3DGrid(2, 3, -1); }, kDefault, {kSizes + kNegative}},
      {[] { return QXMesh3DGrid(2, 0, 5); }, kDefault, {}},
      {[] { return QXMesh3DGrid(1024, 1024, 2047); }, {1024, 1024, 2047, 0, 0, 0, 1, 1, 1, 0}, {}},
      {[] { return QXMesh3DGrid(1024, 1024, 2048); }, kDefault, {kSizes + "Too many points."}},
      {[] { return QXMesh3DGrid(INT_MAX, INT_MAX, INT_MAX); }, kDefault, {kSizes + "Too many points."}},
      {[] { return QXMesh3DGrid(kAt, 0.5, 1, 2, 3, -1, 4); }, kDefault, {kPlaced + kNegative}},
      {[] { return QXMesh3DGrid(kAt, 0.5, kNaN, 1, 3, 1, 4); }, kDefault, {kPlaced + kNegative}},
      {[] { return QXMesh3DGrid(QXPoint3D(0, kInfinity, 0), 1, 1, 1, 3, 1, 4); }, kDefault, {kPlaced + "The origin is not finite."}},
      {[] { return QXMesh3DGrid(kAt, 1, 1, 1, 65536, 65536, 1); }, kDefault, {kPlaced + "Too many points."}},
      {[] { return QXMesh3DGrid(kAt, 0.5, 1, 2, MaskOfRuns(2, 3, 2, {1, 4})); }, {2, 3, 2, 1, 2, 3, 0.5, 1, 2, 1}, {}},
      {[] { return QXMesh3DGrid(kAt, 0.5, -1, 2, MaskOfRuns(2, 3, 2, {1, 4})); }, kDefault, {kMasked + "Step size is negative."}},
      {[] { return QXMesh3DGrid(QXPoint3D(kNaN, 0, 0), 1, 1, 1, MaskOfRuns(2, 3, 2, {1, 4})); }, kDefault, {kMasked + "The origin is not finite."}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GridFields(c.grid()), c.fields);
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

TYPED_TEST(QXMesh3DGridStorageTest, AGridReadsBackWithItsSize) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "G", QXMesh3DGrid(kAt, 0.5, 0.25, 2, 3, 4, 5));
  }
  EXPECT_EQ(this->Listing(),
            Line("G_size", "   int - 3 numbers") + Line("G", "double - 6 numbers"));
  QXMesh3DGrid read;
  ReadFromFile(this->Reopen(), "G", read);
  EXPECT_EQ(GridFields(read), (Numbers{3, 4, 5, 1, 2, 3, 0.5, 0.25, 2, 0}));
}

// The origin is narrowed to float with saturation: 1e300 is infinite.
// clang-format off
TYPED_TEST(QXMesh3DGridStorageTest, ReaderNarrowsTheOriginAndReportsWhatItRefuses) {
  const std::string incorrect = "ReadFromArray(QXMesh3DGrid): Incorrect size array.";
  const struct { QXDoubleArray numbers; QXIntArray size; Numbers fields; Lines reports; } cases[] = {
      {Column<double>({0.1, 2, 3, 1, 1, 1}), QXIntArray(), {0, 0, 0, 0.1f, 2, 3, 1, 1, 1, 0}, {}},
      {Column<double>({1, 2, 3, 1, 1}), QXIntArray(), kDefault, {incorrect}},
      {Column<double>({1, 2, 3, 1, 1, 0}), Column<int>({3, 4, 5}), kDefault, {kPlaced + kNegative}},
      {Column<double>({1e300, 2, 3, 1, 1, 1}), QXIntArray(), kDefault, {kPlaced + "The origin is not finite."}},
  };
  for (const auto& c : cases) {
    {
      TypeParam storage = this->Create();
      storage.Save(c.size, "G_size");
      storage.Save(c.numbers, "G");
    }
    QXMesh3DGrid read(kAt, 0.5, 0.5, 0.5, 2, 2, 2);
    ReadFromFile(this->Reopen(), "G", read);
    EXPECT_EQ(GridFields(read), c.fields);
    EXPECT_EQ(this->Reports(), c.reports);
  }
}
// clang-format on

}  // namespace
