#include "QXPlot1D.h"

#include <cmath>

#include "../Support/QXVariableTestSupport.h"

namespace {

using D = std::vector<double>;

// A 2 x N array of the numbers, column after column.
QXMutableDoubleArray Loops(const D& numbers) {
  return MakeArray<double>(2, static_cast<int>(numbers.size()) / 2, 1, numbers);
}

// Two loops: a closed one of three points and a single point.
QXMutableDoubleArray TwoLoops() { return Loops({0, 3, 1, 10, 2, 20, 1, 10, 0, 1, -4, 40}); }

using QXPlot1DTest = QXReportingTest;

TEST_F(QXPlot1DTest, ConstructorsRefuseWhatIsNotALoopArrayOfTwoRows) {
  const std::string plot = "QXPlot1D(Array): ";
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXPlot1D(MakeArray<double>(3, 2, 1, D{0, 0, 1, 5, 5, 5})).IsEmpty(); }, plot + "Need two rows"},
      {[] { return QXPlot1D(MakeArray<double>(2, 2, 2, D{0, 1, 5, 5, 0, 1, 5, 5})).IsEmpty(); }, plot + "Need two rows"},
      {[] { return QXPlot1D(Loops({0, 0, 5, 5})).IsEmpty(); }, plot + "Invalid loop length."},
      {[] { return QXPlot1D(Loops({0, 1, 5, 5, 0, INFINITY})).IsEmpty(); }, plot + "Invalid loop length."},
      {[] { return QXPlot1D(Loops({0, 2, 5, 5})).IsEmpty(); }, plot + "A loop length is too long."},
      {[] { return QXPlot1D(Column<double>({1, 2, 3}), Column<double>({1, 2})).IsEmpty(); }, "QXPlot1D(Array,Array): Incompatible lengths"},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(cases[i].leavesEmpty());
    EXPECT_EQ(Reports(), Lines{cases[i].report});
  }
}

TEST_F(QXPlot1DTest, TwoArraysMakeOneLoop) {
  const QXPlot1D plot(MakeArray<double>(1, 3, 1, D{0, 1, 2}), Column<double>({5, 6, 7}));
  EXPECT_EQ(SizeOf(plot.Data()), (std::vector<int>{2, 4, 1}));
  EXPECT_EQ(Elements(plot.Data()), (D{0, 3, 0, 5, 1, 6, 2, 7}));
  EXPECT_TRUE(QXPlot1D(QXDoubleArray(), QXDoubleArray()).IsEmpty());
}

TEST_F(QXPlot1DTest, UniformSpacingNeedsOneLoopOfEqualSteps) {
  // clang-format off
  const struct { QXPlot1D plot; bool uniform; } cases[] = {
      {QXPlot1D(Column<double>({0, 1, 2}), Column<double>({5, 6, 7})), true},
      {QXPlot1D(Column<double>({0, 1, 2.1}), Column<double>({5, 6, 7})), false},
      {QXPlot1D(Column<double>({0, 1, 2 + 1e-6}), Column<double>({5, 6, 7})), true},
      {QXPlot1D(Column<double>({3, 1, -1}), Column<double>({5, 6, 7})), true},
      {QXPlot1D(Column<double>({1, 1, 1}), Column<double>({5, 6, 7})), false},
      {QXPlot1D(Column<double>({0, NAN, 2}), Column<double>({5, 6, 7})), false},
      {QXPlot1D(Column<double>({0, 1}), Column<double>({5, 6})), true},
      {QXPlot1D(Column<double>({0}), Column<double>({5})), false},
      {QXPlot1D(Loops({0, 1, 0, 5, 0, 1, 1, 6})), false},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cases[i].plot.UniformlySpaced(), cases[i].uniform);
  }
}

TEST_F(QXPlot1DTest, ValuesAndRangesFollowThePointsAndSkipTheHeaders) {
  const QXPlot1D plot(TwoLoops());
  EXPECT_EQ(plot.NumberOfPoints(), 4);
  EXPECT_EQ(Elements(plot.XValues()), (D{1, 2, 1, -4}));
  EXPECT_EQ(Elements(plot.YValues()), (D{10, 20, 10, 40}));
  EXPECT_EQ(SizeOf(plot.XValues()), (std::vector<int>{4, 1, 1}));
  EXPECT_TRUE(QXPlot1D().XValues().IsEmpty());
  EXPECT_EQ(BoundingRange(plot).minV, -4);
  EXPECT_EQ(BoundingRange(plot).maxV, 2);
  EXPECT_EQ(ValueRange(plot).minV, 10);
  EXPECT_EQ(ValueRange(plot).maxV, 40);
  EXPECT_FALSE(BoundingRange(QXPlot1D()).isSet);
  EXPECT_FALSE(ValueRange(QXPlot1D()).isSet);
}

TEST_F(QXPlot1DTest, ValuesOfAnArrayChangedAfterTheCheckStopAtTheFirstBadHeader) {
  QXMutableDoubleArray shared = TwoLoops();
  const QXPlot1D plot(shared);
  shared(1, 4) = 2;
  EXPECT_EQ(Elements(plot.YValues()), (D{10, 20, 10}));
  shared(1, 0) = 1e300;
  EXPECT_EQ(plot.NumberOfPoints(), 0);
  EXPECT_TRUE(plot.XValues().IsEmpty());
  EXPECT_FALSE(plot.UniformlySpaced());
}

template <class Storage>
using QXPlot1DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXPlot1DStorageTest, QXFileStorages);

TYPED_TEST(QXPlot1DStorageTest, PlotIsOneDoubleArrayUnderItsNameAndReadsBack) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "G", QXPlot1D(TwoLoops()));
  }
  EXPECT_EQ(this->Listing(), Line("G", "double - 2 x 6 array"));
  QXPlot1D plot;
  ReadFromFile(this->Reopen(), "G", plot);
  EXPECT_EQ(plot.Data(), TwoLoops());
}

}  // namespace
