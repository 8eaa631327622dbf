// Resizing, reshaping, transposing, flipping and sorting arrays.
#include "QXArrayResize.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "QXTestSupport.h"

namespace {

using Dims = std::tuple<int, int, int>;
using Errors = std::vector<std::string>;

template <class Mutable>
struct QXArrayResize : testing::Test {
  using E = typename Mutable::Element;
  // Reshape and Sort exist for the double, float and int arrays only.
  static constexpr bool numeric = std::is_floating_point_v<E> || std::is_same_v<E, int>;

  static Dims SizeOf(const Mutable& A) { return {A.m(), A.n(), A.o()}; }
  // Element p holds p % 127 + 1, which every element type can hold.
  static Mutable Counting(int m, int n, int o) {
    Mutable A(m, n, o);
    for (int p = 0; p < A.Length(); p++) A(p) = static_cast<E>(p % 127 + 1);
    return A;
  }
  // TruncateSize, IncreaseSize, Reshape, Transpose (t), FlipJ or Sort on A,
  // and the reports it made. A stays unchanged; the result owns its storage.
  static std::pair<Mutable, Errors> Apply(const Mutable& A, char op, std::vector<int> a = {0}) {
    const Mutable before = A.Copy();
    QXReportCapture capture;
    Mutable R = op == 'T' ? TruncateSize(A, a[0]) : op == 'I' ? IncreaseSize(A, a[0]) : Mutable();
    if (op == 't' || op == 'F') R = op == 't' ? Transpose(A) : FlipJ(A);
    if constexpr (numeric) R = op == 'R' ? Reshape(A, a[0], a[1], a[2]) : op == 'S' ? Sort(A) : R;
    capture.Finish();
    EXPECT_TRUE(A == before && (R.IsEmpty() || R.Pointer() != A.Pointer()));
    return {R, capture.errors};
  }
};

using QXAllArrayTypes = testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray,
                                       QXMutableShortIntArray, QXMutableUShortIntArray,
                                       QXMutableCharArray, QXMutableUCharArray>;
TYPED_TEST_SUITE(QXArrayResize, QXAllArrayTypes);

TYPED_TEST(QXArrayResize, ChangesLengthAlongTheLastUsedDimensionOrReportsWhyNot) {
  // The operation on a counting m x n x o array with the arguments gives the
  // size, or the report alone and an empty array. Beyond-the-range lengths
  // must not read outside the array; sizes beyond the int range are refused.
  const std::string T = "TruncateSize(Array,Length): ", I = "IncreaseSize(Array,Length): ";
  const std::string R = "Reshape(" + std::string(QXArrayTraits<typename TypeParam::Element>::name);
  const std::string bad = T + "Invalid new dimension", huge = I + "Array size is too large.",
                    same = R + ",...): Size before and after need to be the same.";
  // clang-format off
  const struct { char op; Dims source; std::vector<int> arguments; Dims size;
                 std::string report = ""; } cases[] = {
      {'T', {10,1,1}, {4}, {4,1,1}}, {'T', {3,5,1}, {6}, {3,2,1}},   {'T', {2,2,4}, {8}, {2,2,2}},
      {'T', {1,7,1}, {3}, {1,3,1}},  {'T', {0,0,0}, {0}, {0,0,0}},   {'T', {3,5,1}, {7}, {}, bad},
      {'T', {2,2,4}, {6}, {}, bad},  {'T', {10,1,1}, {11}, {}, bad}, {'T', {10,1,1}, {-1}, {}, bad},
      {'T', {0,0,0}, {3}, {}, T + "Array is empty."},                {'I', {3,2,1}, {6}, {3,4,1}},
      {'I', {1,1,1}, {3}, {4,1,1}},  {'I', {2,3,2}, {12}, {2,3,4}},  {'I', {1,4,1}, {2}, {1,6,1}},
      {'I', {0,0,0}, {5}, {5,1,1}}, {'I', {3,2,1}, {0}, {3,2,1}}, {'R', {2,3,1}, {3,2,1}, {3,2,1}},
      {'I', {3,2,1}, {4}, {}, I + "Length needs to be a multiple of m"},
      {'I', {2,3,2}, {9}, {}, I + "Length needs to be a multiple of m*n"},
      {'I', {0,0,0}, {-1}, {}, I + "Length needs to be >0."}, {'R', {0,0,0}, {0,5,1}, {0,0,0}},
      {'I', {10,1,1}, {INT_MAX-5}, {}, huge}, {'I', {2,2,2}, {INT_MAX-3}, {}, huge},
      {'R', {2,3,1}, {6,-1,1}, {}, R + ",...): One of the new dimensions is negative."},
      {'R', {2,3,1}, {4,2,1}, {}, same}, {'R', {2,3,1}, {6,0,1}, {}, same},
      // Products that overflow 32 bits (one of them to the length) and 64 bits.
      {'R', {2,3,1}, {65536,65536,1}, {}, same}, {'R', {1,2,1}, {3,1431655766,1}, {}, same},
      {'R', {2,3,1}, {INT_MAX,INT_MAX,INT_MAX}, {}, same}};
  // clang-format on
  for (const auto& c : cases) {
    if (c.op == 'R' && !TestFixture::numeric) continue;
    SCOPED_TRACE(testing::PrintToString(std::tuple(c.op, c.source, c.arguments)));
    const TypeParam A = std::apply(TestFixture::Counting, c.source);
    const auto [result, errors] = this->Apply(A, c.op, c.arguments);
    EXPECT_EQ(errors, c.report.empty() ? Errors{} : Errors{c.report});
    EXPECT_EQ(this->SizeOf(result), c.report.empty() ? c.size : Dims(0, 0, 0));
    // Kept elements keep their buffer positions, so each keeps its (i,j,k).
    for (int p = 0; p < A.Length() && p < result.Length(); p++) ASSERT_EQ(result(p), A(p)) << p;
  }
}

TYPED_TEST(QXArrayResize, TransposeReversesTheDimensionsAndFlipJTheColumns) {
  // Vectors, a matrix smaller than a tile, ones spanning tiles unevenly, and
  // 3-D arrays, whose three dimensions are all reversed: for 2 x 3 x 4,
  // result(3,2,1) is A(1,2,3).
  const Dims shapes[] = {{1, 5, 1}, {5, 1, 1},   {2, 3, 1}, {37, 53, 1}, {130, 67, 1},
                         {2, 3, 4}, {70, 3, 41}, {1, 4, 3}, {0, 0, 0}};
  for (auto [m, n, o] : shapes) {
    SCOPED_TRACE(testing::Message() << m << "x" << n << "x" << o);
    const TypeParam A = this->Counting(m, n, o);
    const auto [T, transposeErrors] = this->Apply(A, 't');
    const auto [F, flipErrors] = this->Apply(A, 'F');
    EXPECT_TRUE(transposeErrors.empty() && flipErrors.empty());
    EXPECT_EQ(this->SizeOf(T), o > 1 ? Dims(o, n, m) : Dims(n, m, o));
    EXPECT_EQ(this->SizeOf(F), this->SizeOf(A));
    for (int i = 0; i < m; i++)
      for (int j = 0; j < n; j++)
        for (int k = 0; k < o; k++) {
          ASSERT_EQ(o > 1 ? T(k, j, i) : T(j, i), A(i, j, k));
          ASSERT_EQ(F(i, j, k), A(i, n - 1 - j, k));
        }
  }
}

template <class Mutable>
using QXArraySort = QXArrayResize<Mutable>;
using QXNumericArrayTypes =
    testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray>;
TYPED_TEST_SUITE(QXArraySort, QXNumericArrayTypes);

TYPED_TEST(QXArraySort, GivesAnAscendingColumnWithNaNsLast) {
  using E = typename TestFixture::E;
  // For int, the largest value stands in for infinity and NaN.
  constexpr bool real = std::is_floating_point_v<E>;
  const E big = real ? std::numeric_limits<E>::infinity() : std::numeric_limits<E>::max();
  const E nan = real ? std::numeric_limits<E>::quiet_NaN() : big;
  const E values[] = {nan, 3, -big, nan, E(0), 1, -E(0), nan, -2, big},
          ascending[] = {-big, -2, 0, 0, 1, 3, big};
  TypeParam A(2, 5, 1);
  for (int p = 0; p < 10; p++) A(p) = values[p];
  const auto [R, errors] = this->Apply(A, 'S');
  EXPECT_TRUE(errors.empty() && Sort(TypeParam()).IsEmpty());
  EXPECT_EQ(this->SizeOf(R), Dims(10, 1, 1));
  for (int p = 0; p < 10; p++)
    EXPECT_TRUE(p < 7 ? R(p) == ascending[p] : real ? std::isnan(R(p)) : R(p) == big) << p;
  // Both zeros are kept, in either order.
  EXPECT_TRUE(!real || std::signbit(R(2)) != std::signbit(R(3)));
}

}  // namespace
