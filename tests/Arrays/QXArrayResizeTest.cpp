// Resizing, reshaping, transposing, flipping and sorting arrays.
#include "QXArrayResize.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <tuple>

#include "QXTestSupport.h"  // also std::string and std::vector

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
  // which must make the reports expected and leave A unchanged; the result
  // owns its storage.
  static Mutable Apply(const Mutable& A, char op, std::vector<int> a = {}, Errors expected = {}) {
    const Mutable before = A.Copy();
    QXReportCapture capture;
    Mutable R = op == 'T' ? TruncateSize(A, a[0]) : op == 'I' ? IncreaseSize(A, a[0]) : Mutable();
    if (op == 't' || op == 'F') R = op == 't' ? Transpose(A) : FlipJ(A);
    if constexpr (numeric) R = op == 'R' ? Reshape(A, a[0], a[1], a[2]) : op == 'S' ? Sort(A) : R;
    EXPECT_EQ(QXErrorListSnapshot(), expected);  // the reports since the capture began
    EXPECT_TRUE(A == before && (R.IsEmpty() || R.Pointer() != A.Pointer()));
    return R;
  }
};

TYPED_TEST_SUITE(QXArrayResize, QXMutableArrayTypes);

TYPED_TEST(QXArrayResize, ResizesOrReportsWhyNotTransposesFlipsAndSorts) {
  // The operation on a counting m x n x o array with the arguments gives the
  // size, or the report alone and an empty array. Beyond-the-range lengths
  // must not read outside the array; sizes beyond the int range are refused.
  const std::string T = "TruncateSize(Array,Length): ", I = "IncreaseSize(Array,Length): ";
  const std::string R = "Reshape(" + std::string(QXArrayTraits<typename TypeParam::Element>::name);
  const std::string bad = T + "Invalid new dimension", huge = I + "Array size is too large.",
                    same = R + ",...): Size before and after need to be the same.";
  // clang-format off
  const struct { char op; Dims in; std::vector<int> a; Dims out; std::string why = ""; } cases[] = {
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
    SCOPED_TRACE(testing::PrintToString(std::tuple(c.op, c.in, c.a)));
    const TypeParam A = std::apply(TestFixture::Counting, c.in),
                    result = this->Apply(A, c.op, c.a, Errors(!c.why.empty(), c.why));
    EXPECT_EQ(this->SizeOf(result), c.out);  // empty after a report
    // Kept elements keep their buffer positions, so each keeps its (i,j,k).
    for (int p = 0; p < A.Length() && p < result.Length(); p++) ASSERT_EQ(result(p), A(p)) << p;
  }
  // Vectors, a matrix smaller than a tile, ones spanning tiles unevenly, and
  // 3-D arrays, whose three dimensions are all reversed: for 2 x 3 x 4,
  // result(3,2,1) is A(1,2,3).
  const Dims shapes[] = {{1, 5, 1}, {5, 1, 1},   {2, 3, 1}, {37, 53, 1}, {130, 67, 1},
                         {2, 3, 4}, {70, 3, 41}, {1, 4, 3}, {0, 0, 0}};
  for (auto [m, n, o] : shapes) {
    SCOPED_TRACE(testing::Message() << m << "x" << n << "x" << o);
    const TypeParam A = this->Counting(m, n, o), X = this->Apply(A, 't'), F = this->Apply(A, 'F');
    // FlipJ's size is checked through its elements.
    EXPECT_EQ(this->SizeOf(X), o > 1 ? Dims(o, n, m) : Dims(n, m, o));
    for (int p = 0; p < A.Length(); p++) {
      const int i = p % m, j = p / m % n, k = p / (m * n);  // A(p) is A(i,j,k)
      ASSERT_TRUE((o > 1 ? X(k, j, i) : X(j, i)) == A(p) && F(i, j, k) == A(i, n - 1 - j, k)) << p;
    }
  }
  // Sort gives an ascending column with NaNs last; for int, the largest value
  // stands in for infinity and NaN.
  if (!TestFixture::numeric) return;
  using E = typename TestFixture::E;
  constexpr bool real = std::is_floating_point_v<E>;
  const E big = real ? std::numeric_limits<E>::infinity() : std::numeric_limits<E>::max();
  const E nan = real ? std::numeric_limits<E>::quiet_NaN() : big;
  const E values[] = {nan, 3, E(-big), nan, E(0), 1, -E(0), nan, E(-2), big},
          sorted[] = {E(-big), E(-2), 0, 0, 1, 3, big, nan, nan, nan};
  TypeParam A(2, 5, 1);
  for (int p = 0; p < 10; p++) A(p) = values[p];
  const TypeParam S = this->Apply(A, 'S');
  EXPECT_EQ(this->SizeOf(S), Dims(10, 1, 1));
  for (int p = 0; p < 10; p++) EXPECT_TRUE(S(p) == sorted[p] || (std::isnan(S(p)) && p > 6)) << p;
  // Both zeros are kept, in either order; an empty array sorts to an empty one.
  EXPECT_TRUE(!real || std::signbit(S(2)) != std::signbit(S(3)));
  EXPECT_TRUE(this->Apply(TypeParam(), 'S').IsEmpty());
}

}  // namespace
