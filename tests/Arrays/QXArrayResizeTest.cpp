// Resizing, reshaping, transposing, flipping and sorting arrays.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "QXArrayResize.h"
#include "QXTestSupport.h"

namespace {

using Errors = std::vector<std::string>;

// A source of m x n x o, the call's arguments, and either the result's size
// or the message the call reports.
struct Case {
  int m, n, o;
  std::vector<int> arguments;
  std::tuple<int, int, int> size;
  std::string message = "";
};

template <class Mutable>
class QXArrayResize : public testing::Test {
 protected:
  using Element = typename Mutable::Element;

  // Element p holds p + 1, wrapped within the element type's range.
  static Mutable Counting(int m, int n, int o) {
    Mutable A(m, n, o);
    const long long top = std::numeric_limits<Element>::is_integer
                              ? static_cast<long long>(std::numeric_limits<Element>::max())
                              : 1 << 20;
    for (int p = 0; p < A.Length(); p++) A(p) = static_cast<Element>(p % top + 1);
    return A;
  }

  // Calls op on a counting array and checks that the argument is unchanged
  // and the result has a storage of its own.
  template <class Op>
  static Mutable Apply(const Mutable& A, Op op, Errors* errors) {
    const Mutable before = A.Copy();
    QXReportCapture capture;
    Mutable result = op(static_cast<const QXArray<Element>&>(A));
    capture.Finish();
    *errors = capture.errors;
    EXPECT_TRUE(A == before);
    EXPECT_EQ(result.ReferenceCount(), 1);
    EXPECT_TRUE(result.IsEmpty() || result.Pointer() != A.Pointer());
    return result;
  }

  // Runs each case: either the result has the size and starts with the
  // source's elements, or the one report is operation + message.
  template <class Op>
  static void RunCases(const std::string& operation, const std::vector<Case>& cases, Op op) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.m << "x" << c.n << "x" << c.o << ", " << c.arguments[0]);
      Errors errors;
      const Mutable A = Counting(c.m, c.n, c.o);
      Mutable R = Apply(
          A, [&](const auto& X) { return op(X, c.arguments); }, &errors);
      if (!c.message.empty()) {
        EXPECT_EQ(errors, Errors{operation + ": " + c.message});
        EXPECT_TRUE(R.IsEmpty());
        continue;
      }
      EXPECT_TRUE(errors.empty());
      EXPECT_EQ(std::tuple(R.m(), R.n(), R.o()), c.size);
      const int kept = std::min(A.Length(), R.Length());
      for (int p = 0; p < kept; p++) ASSERT_EQ(R(p), A(p)) << "position " << p;
    }
  }
};

using QXAllArrayTypes = testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray,
                                       QXMutableShortIntArray, QXMutableUShortIntArray,
                                       QXMutableCharArray, QXMutableUCharArray>;
TYPED_TEST_SUITE(QXArrayResize, QXAllArrayTypes);

TYPED_TEST(QXArrayResize, TruncateSize) {
  const std::string invalid = "Invalid new dimension";
  this->RunCases(
      "TruncateSize(Array,Length)",
      {{10, 1, 1, {4}, {4, 1, 1}},
       {3, 5, 1, {6}, {3, 2, 1}},
       {2, 2, 4, {8}, {2, 2, 2}},
       {1, 7, 1, {3}, {1, 3, 1}},
       {3, 5, 1, {0}, {0, 0, 0}},
       {0, 0, 0, {0}, {0, 0, 0}},
       {3, 5, 1, {7}, {}, invalid},
       {2, 2, 4, {6}, {}, invalid},
       // A length beyond the array or below 0 must not read outside it.
       {10, 1, 1, {11}, {}, invalid},
       {10, 1, 1, {-1}, {}, invalid},
       {3, 5, 1, {INT_MIN}, {}, invalid},
       {0, 0, 0, {3}, {}, "Array is empty."}},
      [](const auto& A, const std::vector<int>& length) { return TruncateSize(A, length[0]); });
}

TYPED_TEST(QXArrayResize, IncreaseSize) {
  const std::string tooLarge = "Array size is too large.";
  this->RunCases(
      "IncreaseSize(Array,Length)",
      {{3, 2, 1, {6}, {3, 4, 1}},
       {4, 1, 1, {3}, {7, 1, 1}},
       {2, 3, 2, {12}, {2, 3, 4}},
       {1, 4, 1, {2}, {1, 6, 1}},
       {0, 0, 0, {5}, {5, 1, 1}},
       {3, 2, 1, {0}, {3, 2, 1}},
       {3, 2, 1, {4}, {}, "Length needs to be a multiple of m"},
       {2, 3, 2, {9}, {}, "Length needs to be a multiple of m*n"},
       {0, 0, 0, {-1}, {}, "Length needs to be >0."},
       // Results beyond the int range are refused before anything is allocated.
       {10, 1, 1, {INT_MAX - 5}, {}, tooLarge},
       {2, 3, 1, {INT_MAX - 1}, {}, tooLarge},
       {2, 2, 2, {INT_MAX - 3}, {}, tooLarge}},
      [](const auto& A, const std::vector<int>& howMuch) { return IncreaseSize(A, howMuch[0]); });
}

TYPED_TEST(QXArrayResize, TransposeReversesTheDimensions) {
  // Vectors, a matrix smaller than a tile, ones spanning tiles unevenly, and
  // 3-D arrays (whose three dimensions are all reversed).
  for (auto [m, n, o] : {std::tuple{1, 5, 1}, std::tuple{5, 1, 1}, std::tuple{2, 3, 1},
                         std::tuple{37, 53, 1}, std::tuple{130, 67, 1}, std::tuple{2, 3, 4},
                         std::tuple{70, 3, 41}, std::tuple{1, 4, 3}, std::tuple{0, 0, 0}}) {
    SCOPED_TRACE(testing::Message() << m << "x" << n << "x" << o);
    Errors errors;
    const TypeParam A = this->Counting(m, n, o);
    TypeParam R = this->Apply(
        A, [](const auto& X) { return Transpose(X); }, &errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(std::tuple(R.m(), R.n(), R.o()), o > 1 ? std::tuple(o, n, m) : std::tuple(n, m, o));
    for (int i = 0; i < m; i++)
      for (int j = 0; j < n; j++)
        for (int k = 0; k < o; k++) ASSERT_EQ(o > 1 ? R(k, j, i) : R(j, i), A(i, j, k));
  }
  const TypeParam A = this->Counting(1, 5, 1);
  EXPECT_TRUE(Transpose(A) == this->Counting(5, 1, 1));  // a row becomes a column, same buffer
}

TYPED_TEST(QXArrayResize, FlipJReversesColumnsInEverySlice) {
  for (auto [m, n, o] : {std::tuple{2, 3, 1}, std::tuple{3, 4, 2}, std::tuple{4, 1, 1},
                         std::tuple{1, 5, 1}, std::tuple{0, 0, 0}}) {
    Errors errors;
    const TypeParam A = this->Counting(m, n, o);
    TypeParam R = this->Apply(
        A, [](const auto& X) { return FlipJ(X); }, &errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(std::tuple(R.m(), R.n(), R.o()), std::tuple(m, n, o));
    for (int i = 0; i < m; i++)
      for (int j = 0; j < n; j++)
        for (int k = 0; k < o; k++) ASSERT_EQ(R(i, j, k), A(i, n - 1 - j, k));
  }
}

// Reshape and Sort exist for the double, float and int arrays only.
template <class Mutable>
class QXArrayReshape : public QXArrayResize<Mutable> {};
using QXNumericArrayTypes =
    testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray>;
TYPED_TEST_SUITE(QXArrayReshape, QXNumericArrayTypes);

TYPED_TEST(QXArrayReshape, Reshape) {
  const std::string negative = "One of the new dimensions is negative.";
  const std::string mismatch = "Size before and after need to be the same.";
  this->RunCases(
      std::string("Reshape(") + QXArrayTraits<typename TestFixture::Element>::name + ",...)",
      {{2, 3, 1, {3, 2, 1}, {3, 2, 1}},
       {2, 3, 1, {1, 2, 3}, {1, 2, 3}},
       {0, 0, 0, {0, 5, 1}, {0, 0, 0}},  // an empty array takes zero dimensions
       {2, 3, 1, {6, -1, 1}, {}, negative},
       {2, 3, 1, {4, 2, 1}, {}, mismatch},
       {2, 3, 1, {6, 0, 1}, {}, mismatch},
       // Products that overflow 32 and 64 bits.
       {2, 3, 1, {65536, 65536, 1}, {}, mismatch},
       {2, 3, 1, {INT_MAX, INT_MAX, INT_MAX}, {}, mismatch}},
      [](const auto& A, const std::vector<int>& size) {
        return Reshape(A, size[0], size[1], size[2]);
      });
  const TypeParam A = this->Counting(2, 3, 1);
  EXPECT_EQ(Reshape(A, 3, 2, 1)(0, 1), A(1, 1));
}

TYPED_TEST(QXArrayReshape, SortGivesAscendingColumn) {
  TypeParam A(2, 2, 1);
  const typename TestFixture::Element values[] = {4, 1, 3, 2};  // buffer order
  for (int p = 0; p < 4; p++) A(p) = values[p];
  Errors errors;
  TypeParam R = this->Apply(
      A, [](const auto& X) { return Sort(X); }, &errors);
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(Sort(TypeParam()).IsEmpty());
  EXPECT_EQ(std::tuple(R.m(), R.n(), R.o()), std::tuple(4, 1, 1));
  for (int p = 0; p < 4; p++) EXPECT_EQ(R(p), p + 1);
}

TEST(QXArraySort, NaNsGoLastAndSignedZerosCompareEqual) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {nan, 3, -inf, nan, 0.0, 1, -0.0, nan, -2, inf};
  QXMutableDoubleArray A(2, 5, 1);
  for (int p = 0; p < 10; p++) A(p) = values[p];
  QXMutableDoubleArray R = Sort(A);
  ASSERT_EQ(R.Length(), 10);
  const double numbers[] = {-inf, -2, 0, 0, 1, 3, inf};
  for (int p = 0; p < 7; p++) EXPECT_EQ(R(p), numbers[p]) << p;
  EXPECT_NE(std::signbit(R(2)), std::signbit(R(3)));  // both zeros kept, in either order
  for (int p = 7; p < 10; p++) EXPECT_TRUE(std::isnan(R(p))) << p;
}

}  // namespace
