#include "QXMesh1DGrid.h"

#include <cmath>
#include <limits>

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;

// m, origin and h.
Numbers Fields(const QXMesh1DGrid& g) { return {double(g.m()), g.Origin(), g.h()}; }
const Numbers kDefault = {0, 0, 1};

using QXMesh1DGridTest = QXReportingTest;

// clang-format off
TEST_F(QXMesh1DGridTest, RefusesANegativeSizeOrAStepThatIsNotPositiveAndFinite) {
  const double infinity = std::numeric_limits<double>::infinity();
  const std::pair<std::function<QXMesh1DGrid()>, std::string> cases[] = {
      {[] { return QXMesh1DGrid(2, 0.5, -1); }, "One of the size is negative."},
      {[] { return QXMesh1DGrid(2, 0, 3); }, "The step size is negative."},
      {[] { return QXMesh1DGrid(2, std::nan(""), 3); }, "The step size is negative."},
      {[&] { return QXMesh1DGrid(2, infinity, 3); }, "The step size is negative."},
  };
  for (const auto& [grid, report] : cases) {
    EXPECT_EQ(Fields(grid()), kDefault);
    EXPECT_EQ(Reports(), Lines{"QXMeshGrid(origin,h,m): " + report});
  }
}
// clang-format on

template <class Storage>
using QXMesh1DGridStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXMesh1DGridStorageTest, QXFileStorages);

// U's size, written first, is overwritten when U is saved without one.
TYPED_TEST(QXMesh1DGridStorageTest, AGridReadsBackWithItsSizeOrWithout) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "U", QXMesh1DGrid(3, 2, 5));
    WriteToFile(storage, "T", QXMesh1DGrid(-1.5, 0.25, 7));
    WriteToFile(storage, "U", QXMesh1DGrid(3, 2, 0));
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"T_size", "T", "U_size", "U"}));
  const TypeParam storage = this->Reopen();
  EXPECT_EQ(Elements(storage.ReadIntArray("T_size")), std::vector<int>{7});
  QXMesh1DGrid read;
  ReadFromFile(storage, "T", read);
  EXPECT_EQ(Fields(read), (Numbers{7, -1.5, 0.25}));
  ReadFromFile(storage, "U", read);
  EXPECT_EQ(Fields(read), (Numbers{0, 3, 2}));
}

TYPED_TEST(QXMesh1DGridStorageTest, ReaderReportsEntriesOfTheWrongLength) {
  const std::pair<QXDoubleArray, QXIntArray> cases[] = {
      {Column<double>({0, 1, 2}), QXIntArray()},
      {Column<double>({0, 1}), Column<int>({3, 4})},
  };
  for (const auto& [numbers, size] : cases) {
    {
      TypeParam storage = this->Create();
      storage.Save(size, "T_size");
      storage.Save(numbers, "T");
    }
    QXMesh1DGrid read(5, 2, 3);
    ReadFromFile(this->Reopen(), "T", read);
    EXPECT_EQ(Fields(read), kDefault);
    EXPECT_EQ(this->Reports(), Lines{"ReadFromArray(QXMesh1DGrid): Incorrect size array."});
  }
}

}  // namespace
