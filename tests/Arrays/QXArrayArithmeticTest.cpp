// Element-wise arithmetic on double, float and int arrays.
#include "QXArrayArithmetic.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

#include "QXArrayResize.h"
#include "QXTestSupport.h"

namespace {

using Errors = std::vector<std::string>;

template <class T>
QXMutableArray<T> Column(const std::vector<T>& values) {
  QXMutableArray<T> A(static_cast<int>(values.size()), 1, 1);
  for (int p = 0; p < A.Length(); p++) A(p) = values[p];
  return A;
}

template <class T>
std::vector<T> Values(const QXArray<T>& A) {
  return std::vector<T>(A.Pointer(), A.Pointer() + A.Length());
}

// The int a 64-bit value stands for modulo 2^32.
int Wrapped(long long v) {
  const long long low = ((v % 4294967296LL) + 4294967296LL) % 4294967296LL;
  return static_cast<int>(low >= 2147483648LL ? low - 4294967296LL : low);
}

template <class Mutable>
struct QXArrayArithmetic : testing::Test {};
using QXArithmeticTypes =
    testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray>;
TYPED_TEST_SUITE(QXArrayArithmetic, QXArithmeticTypes);

TYPED_TEST(QXArrayArithmetic, EveryOperatorKeepsItsOperandOrder) {
  using T = typename TypeParam::Element;
  const TypeParam A = Column<T>({2, 4, 8});
  const TypeParam B = Column<T>({1, 2, 4});
  EXPECT_EQ(Values<T>(A + B), (std::vector<T>{3, 6, 12}));
  EXPECT_EQ(Values<T>(A - B), (std::vector<T>{1, 2, 4}));
  EXPECT_EQ(Values<T>(A * B), (std::vector<T>{2, 8, 32}));
  EXPECT_EQ(Values<T>(A / B), (std::vector<T>{2, 2, 2}));
  EXPECT_EQ(Values<T>(A + T(1)), (std::vector<T>{3, 5, 9}));
  EXPECT_EQ(Values<T>(T(1) + A), (std::vector<T>{3, 5, 9}));
  EXPECT_EQ(Values<T>(A - T(5)), (std::vector<T>{-3, -1, 3}));
  EXPECT_EQ(Values<T>(T(5) - A), (std::vector<T>{3, 1, -3}));
  EXPECT_EQ(Values<T>(A * T(3)), (std::vector<T>{6, 12, 24}));
  EXPECT_EQ(Values<T>(T(3) * A), (std::vector<T>{6, 12, 24}));
  EXPECT_EQ(Values<T>(A / T(2)), (std::vector<T>{1, 2, 4}));
  EXPECT_EQ(Values<T>(T(8) / A), (std::vector<T>{4, 2, 1}));
  EXPECT_EQ(Values<T>(-A), (std::vector<T>{-2, -4, -8}));
  EXPECT_EQ(Values<T>(A), (std::vector<T>{2, 4, 8}));
}

TYPED_TEST(QXArrayArithmetic, EmptyOperandsGiveEmptyResultsWithoutReport) {
  using T = typename TypeParam::Element;
  const TypeParam E;
  QXReportCapture capture;
  EXPECT_TRUE((E + E).IsEmpty());
  EXPECT_TRUE((E * T(2)).IsEmpty());
  EXPECT_TRUE((T(2) / E).IsEmpty());
  EXPECT_TRUE((-E).IsEmpty());
  capture.Finish();
  EXPECT_EQ(capture.errors, Errors());
}

TEST(QXArrayArithmetic, DimensionsMustAgreeExactly) {
  const QXMutableDoubleArray D23 = Reshape(Column<double>({1, 2, 3, 4, 5, 6}), 2, 3, 1);
  const QXMutableFloatArray F222(2, 2, 2), F221(2, 2, 1);
  const QXMutableIntArray I31(3, 1, 1), I13(1, 3, 1);
  QXMutableDoubleArray M = D23.Copy();
  QXReportCapture capture;
  const QXMutableDoubleArray sum = D23 + Transpose(D23);
  const QXMutableFloatArray product = F222 * F221;
  const QXMutableIntArray quotient = I31 / I13;
  M -= Transpose(D23);
  capture.Finish();
  EXPECT_TRUE(sum.IsEmpty());
  EXPECT_TRUE(product.IsEmpty());
  EXPECT_TRUE(quotient.IsEmpty());
  EXPECT_EQ(M, D23);
  EXPECT_EQ(capture.errors,
            (Errors{"DoubleArray+DoubleArray: Incompatible sizes.",
                    "FloatArray*FloatArray: Incompatible sizes.",
                    "IntArray/IntArray: Incompatible sizes.", "A-=B: Incompatible sizes."}));
}

TEST(QXArrayArithmetic, IntDivisionTruncatesTowardZero) {
  EXPECT_EQ(Values<int>(Column<int>({7, -7}) / 2), (std::vector<int>{3, -3}));
  EXPECT_EQ(Values<int>(7 / Column<int>({2, -2})), (std::vector<int>{3, -3}));
}

TEST(QXArrayArithmetic, IntEdgesWrapLikeA64BitResultModulo2To32) {
  const std::vector<int> edges = {INT_MIN, INT_MIN + 1, -7, -2, -1, 0, 1, 2, 7, 65536, INT_MAX};
  std::vector<int> a, b, sum, difference, product, quotient;
  for (int x : edges) {
    for (int y : edges) {
      a.push_back(x);
      b.push_back(y);
      sum.push_back(Wrapped(1LL * x + y));
      difference.push_back(Wrapped(1LL * x - y));
      product.push_back(Wrapped(1LL * x * y));
      quotient.push_back(y == 0 ? 0 : Wrapped(1LL * x / y));
    }
  }
  const QXMutableIntArray A = Column(a), B = Column(b);
  QXReportCapture capture;
  EXPECT_EQ(Values<int>(A + B), sum);
  EXPECT_EQ(Values<int>(A - B), difference);
  EXPECT_EQ(Values<int>(A * B), product);
  EXPECT_EQ(Values<int>(A / B), quotient);
  EXPECT_EQ(Values<int>(-Column<int>({INT_MIN, INT_MAX})), (std::vector<int>{INT_MIN, -INT_MAX}));
  EXPECT_EQ(Values<int>(Column<int>({INT_MIN}) - 1), (std::vector<int>{INT_MAX}));
  EXPECT_EQ(Values<int>(Column<int>({0, 5}) - INT_MIN), (std::vector<int>{INT_MIN, INT_MIN + 5}));
  EXPECT_EQ(Values<int>(Column<int>({INT_MIN}) / -1), (std::vector<int>{INT_MIN}));
  EXPECT_EQ(Values<int>(INT_MIN / Column<int>({-1})), (std::vector<int>{INT_MIN}));
  capture.Finish();
  EXPECT_EQ(capture.errors, Errors{"IntArray/IntArray: Division by zero."});
}

TEST(QXArrayArithmetic, IntDivisionByZeroGivesZeroAndOneReportPerOperation) {
  QXReportCapture capture;
  EXPECT_EQ(Values<int>(Column<int>({5, -5, 0}) / 0), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Values<int>(7 / Column<int>({0, 2, 0})), (std::vector<int>{0, 3, 0}));
  capture.Finish();
  EXPECT_EQ(capture.errors,
            (Errors{"IntArray/Int: Division by zero.", "Int/IntArray: Division by zero."}));
}

TEST(QXArrayArithmetic, FloatingDivisionByZeroIsIeeeAndNotReported) {
  QXReportCapture capture;
  EXPECT_EQ((1.0 / Column<double>({0}))(0), std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan((Column<float>({0}) / 0.0f)(0)));
  capture.Finish();
  EXPECT_EQ(capture.errors, Errors());
}

TEST(QXArrayArithmetic, DivisionByANumberKeepsPrecisionForTinyAndHugeDivisors) {
  EXPECT_EQ((Column<double>({1e-320}) / 4.9e-324)(0), 2024.0);
  EXPECT_EQ((Column<float>({1e-43f}) / 1.4e-45f)(0), 71.0f);
  EXPECT_EQ((Column<double>({1e300}) / 1e308)(0), 1e300 / 1e308);
  EXPECT_EQ((Column<double>({6}) / std::numeric_limits<double>::infinity())(0), 0.0);
  // Normal divisors go through the reciprocal, so A / b and M /= b may differ in the last bit.
  EXPECT_EQ((Column<double>({5}) / 3.0)(0), 5 * (1.0 / 3));
  QXMutableDoubleArray M = Column<double>({5});
  M /= 3.0;
  EXPECT_EQ(M(0), 5 / 3.0);
}

TEST(QXArrayArithmetic, CompoundAssignmentsChangeTheSharedStorage) {
  QXMutableDoubleArray M = Column<double>({1, 2, 3});
  const QXDoubleArray view = M;
  M += Column<double>({1, 1, 1});
  M *= view;
  EXPECT_EQ(Values<double>(view), (std::vector<double>{4, 9, 16}));
  M /= Column<double>({2, 3, 4});
  M -= 1.0;
  M += 0.5;
  M *= 2.0;
  EXPECT_EQ(Values<double>(view), (std::vector<double>{3, 5, 7}));
  M -= view;
  EXPECT_EQ(Values<double>(M), (std::vector<double>{0, 0, 0}));
}

TEST(QXArrayArithmetic, LargeResultsReuseTheBufferOfAFreedResult) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "freed buffers are not kept under AddressSanitizer";
#endif
  QXMutableDoubleArray A(1 << 19, 1, 1);  // 4 MiB
  A = 1.5;
  const double* freed = (A * 2.0).Pointer();
  const QXMutableDoubleArray R = A * 2.0;
  EXPECT_EQ(R.Pointer(), freed);
  EXPECT_EQ(R(0), 3.0);
}

}  // namespace
