// Index ranges: construction, fitting to a length, positions and shifting.
#include "QXIndex.h"

#include <climits>
#include <type_traits>

#include "QXArrayValues.h"
#include "QXReportingTest.h"

namespace {

class QXIndexTest : public QXReportingTest {};
using Positions = std::vector<int>;
constexpr int Last = QXIndex::Last;

// The positions a copy of X selects once fitted to L; none if it does not fit.
Positions Fitted(QXIndex X, int L) {
  return X.SetLength(L) ? Elements(X.IndicesAsArray()) : Positions();
}

// X fitted to L; fitting it again fails.
QXIndex FittedTo(QXIndex X, int L) {
  X.SetLength(L);
  return X;
}

// QXIndex::All cannot be changed, not even fitted.
template <class X, class = void>
struct CanFit : std::false_type {};
template <class X>
struct CanFit<X, std::void_t<decltype(std::declval<X&>().SetLength(1))>> : std::true_type {};
static_assert(CanFit<QXIndex>::value);
static_assert(!CanFit<decltype(QXIndex::All)>::value);
static_assert(!std::is_assignable_v<decltype((QXIndex::All)), QXIndex>);

TEST_F(QXIndexTest, FitsToALengthOrReportsWhy) {
  const std::string outOfRange = "QXIndex(info): Index out of range";
  // clang-format off
  const struct { QXIndex index; int L; Positions selected; std::string report = ""; } cases[] = {
      {QXIndex(2, Last), 10, {2, 3, 4, 5, 6, 7, 8, 9}},
      {QXIndex(Last), 10, {9}},
      {QXIndex(Last - 2, Last), 10, {7, 8, 9}},
      {QXIndex(5, -1, 2), 10, {5, 4, 3, 2}},
      {QXIndex(5, 3), 10, {}},
      {QXIndex(4, 0, 6), 10, {}},
      {QXIndex(Column<int>({3, 0, 3})), 4, {3, 0, 3}},
      {QXIndex(5, 3), 4, {}, outOfRange},
      {QXIndex(2, -3), 10, {}, outOfRange},
      {QXIndex(Last - 10), 10, {}, outOfRange},
      {QXIndex(INT_MIN, INT_MIN), 10, {}, outOfRange},
      {QXIndex::All, 0, {}, outOfRange},
      {QXIndex(Column<int>({-1})), 4, {}, "QXIndex(Array): Array element out of bounds"},
      {QXIndex(1), -1, {}, "Index.SetLength(Len): Length has to be >= 0"},
      {FittedTo(QXIndex(1, 3), 10), 10, {}, "Index.SetLength(Len): Already set the length"}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.index.Start() << "," << c.index.Stride() << ","
                                    << c.index.End() << " on " << c.L);
    EXPECT_EQ(Fitted(c.index, c.L), c.selected);
    EXPECT_EQ(Reports(), c.report.empty() ? Lines() : Lines{c.report});
  }
}

TEST_F(QXIndexTest, PlainNegativePositionsAreRefusedWhenMade) {
  EXPECT_TRUE(QXIndex(-1).IsEmpty());
  EXPECT_TRUE(QXIndex(-1, 5).IsEmpty());
  EXPECT_TRUE(QXIndex(-2, 1, 5).IsEmpty());
  EXPECT_TRUE(QXIndex(0, 1, -3).IsEmpty());
  EXPECT_EQ(Reports(), (Lines{"Subscript error: The subscript was negative.",
                              "QXIndex(start,end): Invalid start (negative)",
                              "QXIndex(start,stride,end): Invalid start (negative)",
                              "QXIndex(start,stride,end): Invalid end (negative)"}));
}

TEST_F(QXIndexTest, UnfittedPositionsAreComputedIn64BitsOrRefused) {
  EXPECT_EQ(Elements(QXIndex(0, 2, 5).IndicesAsArray()), (Positions{0, 2, 4}));
  EXPECT_TRUE(QXIndex(0, 1, INT_MAX).IndicesAsArray().IsEmpty());
  EXPECT_TRUE(QXIndex(0, Last).IndicesAsArray().IsEmpty());
  EXPECT_EQ(Reports(),
            (Lines{"QXIndex::IndicesAsArray(): Too many positions.",
                   "QXIndex::IndicesAsArray(): Positions from the end need SetLength first."}));
}

TEST_F(QXIndexTest, ShiftsGiveUnfittedIndicesInsideTheIntRange) {
  QXIndex fitted(2, 5);
  ASSERT_TRUE(fitted.SetLength(10));
  EXPECT_EQ(Fitted(fitted + 3, 10), (Positions{5, 6, 7, 8}));
  EXPECT_EQ(Fitted(QXIndex(Column<int>({4, 2})) - 2, 10), (Positions{2, 0}));
  EXPECT_TRUE((QXIndex(Column<int>({0, INT_MAX})) + 1).IsEmpty());
  EXPECT_TRUE((QXIndex(5) - INT_MIN).IsEmpty());
  EXPECT_EQ(Reports(), (Lines{"QXIndex+int: The shifted index leaves the int range.",
                              "QXIndex-int: The shifted index leaves the int range."}));
}

}  // namespace
