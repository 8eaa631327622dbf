// Regions of double arrays: reading, writing, aliasing and what compiles.
#include "QXDoubleArrayRegion.h"

#include <tuple>
#include <type_traits>

#include "QXArrayValues.h"
#include "QXReportingTest.h"

// Handles for the compile checks below; declared only, never called.
const QXDoubleArray& D();
QXMutableDoubleArray& M();
const QXMutableDoubleArray& CM();

namespace {

class QXDoubleArrayRegionTest : public QXReportingTest {};
using Positions = std::vector<int>;
constexpr int Last = QXIndex::Last;
const QXIndex& I = QXIndex::All;

// Plain ints still mean elements and numbers; only double handles make
// regions, and only non-const mutable ones make writable regions.
static_assert(std::is_same_v<decltype(D()(3)), double>);
static_assert(std::is_same_v<decltype(M()(3)), double&>);
static_assert(std::is_same_v<decltype(D() * 2), QXMutableDoubleArray>);
static_assert(std::is_same_v<decltype(QXIntArray() + 2), QXMutableIntArray>);
static_assert(std::is_same_v<decltype(D()(I)), QXConstDoubleArrayRegion>);
static_assert(std::is_same_v<decltype(CM()(I, I)), QXConstDoubleArrayRegion>);
static_assert(std::is_same_v<decltype(M()(I, 2)), QXDoubleArrayRegion>);
static_assert(!std::is_assignable_v<QXConstDoubleArrayRegion&, double>);
static_assert(!std::is_assignable_v<QXConstDoubleArrayRegion&, QXDoubleArray>);
static_assert(!std::is_constructible_v<QXDoubleArrayRegion, QXConstDoubleArrayRegion>);
static_assert(!std::is_constructible_v<QXDoubleArrayRegion, const QXMutableDoubleArray&, QXIndex>);
template <class A, class = void>
struct HasRegions : std::false_type {};
template <class A>
struct HasRegions<A, std::void_t<decltype(std::declval<A&>()(QXIndex::All))>> : std::true_type {};
static_assert(HasRegions<QXMutableDoubleArray>::value);
static_assert(!HasRegions<QXMutableIntArray>::value);

// Element p holds p + 1.
QXMutableDoubleArray Counting(int m, int n, int o) {
  QXMutableDoubleArray A(m, n, o);
  for (int p = 0; p < A.Length(); p++) A(p) = p + 1;
  return A;
}

int Count(const Positions& positions) { return static_cast<int>(positions.size()); }

// Element (PI[p], PJ[q], PK[r]) in column-major order for every p, q, r, p
// fastest: the brute-force reading.
std::vector<double> Gather(const QXDoubleArray& A, Positions PI, Positions PJ, Positions PK) {
  std::vector<double> values;
  for (int k : PK)
    for (int j : PJ)
      for (int i : PI) values.push_back(A(i + j * A.m() + k * A.m() * A.n()));
  return values;
}

TEST_F(QXDoubleArrayRegionTest, ReadsWhatABruteForceGatherReads) {
  // One index reads the buffer as one flat column.
  // clang-format off
  const struct { std::tuple<int, int, int> dims; std::vector<QXIndex> indices; Positions PI, PJ, PK; } cases[] = {
      {{4, 3, 1}, {QXIndex(4, 7)}, {4, 5, 6, 7}, {0}, {0}},
      {{4, 3, 1}, {QXIndex(1, 2), I}, {1, 2}, {0, 1, 2}, {0}},
      {{5, 4, 1}, {QXIndex(Column<int>({4, 0, 4})), QXIndex(1, 2, Last)}, {4, 0, 4}, {1, 3}, {0}},
      {{4, 3, 2}, {QXIndex(3, -2, 0), QXIndex(Column<int>({2, 0, 2})), QXIndex(Last)}, {3, 1}, {2, 0, 2}, {1}}};
  // clang-format on
  for (const auto& c : cases) {
    const QXMutableDoubleArray A = std::apply(Counting, c.dims);
    const std::vector<QXIndex>& X = c.indices;
    const QXDoubleArray R = X.size() == 1   ? A(X[0])
                            : X.size() == 2 ? A(X[0], X[1])
                                            : A(X[0], X[1], X[2]);
    EXPECT_EQ(SizeOf(R), (Positions{Count(c.PI), Count(c.PJ), Count(c.PK)}));
    EXPECT_EQ(Elements(R), Gather(A, c.PI, c.PJ, c.PK));
  }
}

TEST_F(QXDoubleArrayRegionTest, AnEmptyIndexSelectsNothing) {
  QXMutableDoubleArray A = Counting(4, 3, 1);
  A(I, QXIndex(-1)) = 0.0;
  A(I, QXIndex(-1)) = Counting(4, 1, 1);
  EXPECT_TRUE(QXDoubleArray(A(QXIndex(1, 2), QXIndex(2, 1))).IsEmpty());
  EXPECT_EQ(A, Counting(4, 3, 1));
  EXPECT_EQ(Reports(), (Lines{"Subscript error: The subscript was negative.",
                              "Subscript error: The subscript was negative.",
                              "Array(Region) = ***: Incompatible array sizes."}));
}

TEST_F(QXDoubleArrayRegionTest, WritesArraysAndNumbersIntoTheSelectedPositionsOnly) {
  QXMutableDoubleArray A = Counting(4, 3, 1);
  const QXDoubleArray view = A;
  A(QXIndex(1, 2), I) = 100 + Counting(2, 3, 1);
  A(QXIndex(0), QXIndex(Column<int>({2, 0}))) = -1.0;
  EXPECT_EQ(Elements(view),
            (std::vector<double>{-1, 101, 102, 4, 5, 103, 104, 8, -1, 105, 106, 12}));
  QXMutableDoubleArray B = Counting(2, 2, 2);
  B(QXIndex(1), I, QXIndex(1)) = Counting(1, 2, 1);
  EXPECT_EQ(Elements(B), (std::vector<double>{1, 2, 3, 4, 5, 1, 7, 2}));
}

TEST_F(QXDoubleArrayRegionTest, RefusalsWriteNothing) {
  QXMutableDoubleArray A = Counting(4, 3, 1);
  QXMutableDoubleArray B = Counting(4, 3, 2);
  A(QXIndex(1, 2), I) = Counting(3, 2, 1);
  A(QXIndex(0, 3)) = Counting(5, 1, 1);
  B(I, I, I) = Counting(4, 3, 1);
  B(QXIndex(1), QXIndex(1)) = 0.0;
  EXPECT_TRUE(QXDoubleArray(B(QXIndex(1), QXIndex(1))).IsEmpty());
  EXPECT_EQ(A, Counting(4, 3, 1));
  EXPECT_EQ(B, Counting(4, 3, 2));
  const std::string sizes = "Array(Region) = ***: Incompatible array sizes.";
  const std::string threeD = "Array(Region,Region): The array is three dimensional";
  EXPECT_EQ(Reports(), (Lines{sizes, sizes, sizes, threeD, threeD}));
}

TEST_F(QXDoubleArrayRegionTest, SourcesOnTheSameStorageAreReadBeforeAnyWrite) {
  QXMutableDoubleArray A = Counting(5, 1, 1);
  A(QXIndex(1, Last)) = A(QXIndex(0, Last - 1));
  EXPECT_EQ(Elements(A), (std::vector<double>{1, 1, 2, 3, 4}));
  A(QXIndex(Column<int>({4, 3, 2, 1, 0}))) = A;
  EXPECT_EQ(Elements(A), (std::vector<double>{4, 3, 2, 1, 1}));
  const QXConstDoubleArrayRegion tail = A(QXIndex(2, Last));
  A(QXIndex(0, 2)) = tail;
  EXPECT_EQ(Elements(A), (std::vector<double>{2, 1, 1, 1, 1}));
}

TEST_F(QXDoubleArrayRegionTest, KeepsItsArrayAndItsOwnPositions) {
  QXMutableIntArray positions = Column<int>({2, 0});
  const QXConstDoubleArrayRegion R = Counting(3, 1, 1)(QXIndex(positions));
  positions(0) = 1000;
  EXPECT_EQ(Elements<double>(R), (std::vector<double>{3, 1}));
}

}  // namespace
