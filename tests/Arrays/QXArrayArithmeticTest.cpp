// Element-wise arithmetic on double, float and int arrays.
#include "QXArrayArithmetic.h"

#include <climits>
#include <limits>

#include "QXArrayValues.h"
#include "QXReportingTest.h"

namespace {

// The int that a 64-bit value stands for modulo 2^32.
int Wrapped(long long v) {
  const long long low = (v % 4294967296LL + 4294967296LL) % 4294967296LL;
  return static_cast<int>(low >= 2147483648LL ? low - 4294967296LL : low);
}

class QXArrayArithmetic : public QXReportingTest {};
template <class Mutable>
struct QXArrayOperators : testing::Test {};
using QXArithmeticTypes =
    testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray>;
TYPED_TEST_SUITE(QXArrayOperators, QXArithmeticTypes);

TYPED_TEST(QXArrayOperators, EveryOperatorKeepsItsOperandOrder) {
  using T = typename TypeParam::Element;
  using V = std::vector<T>;
  const TypeParam A = Column<T>({2, 4, 8});
  const TypeParam B = Column<T>({1, 2, 4});
  EXPECT_EQ(Elements(A + B), (V{3, 6, 12}));
  EXPECT_EQ(Elements(A - B), (V{1, 2, 4}));
  EXPECT_EQ(Elements(A * B), (V{2, 8, 32}));
  EXPECT_EQ(Elements(A / B), (V{2, 2, 2}));
  EXPECT_EQ(Elements(A + T(1)), (V{3, 5, 9}));
  EXPECT_EQ(Elements(T(1) + A), (V{3, 5, 9}));
  EXPECT_EQ(Elements(A - T(5)), (V{-3, -1, 3}));
  EXPECT_EQ(Elements(T(5) - A), (V{3, 1, -3}));
  EXPECT_EQ(Elements(A * T(3)), (V{6, 12, 24}));
  EXPECT_EQ(Elements(T(3) * A), (V{6, 12, 24}));
  EXPECT_EQ(Elements(A / T(2)), (V{1, 2, 4}));
  EXPECT_EQ(Elements(T(8) / A), (V{4, 2, 1}));
  EXPECT_EQ(Elements(-A), (V{-2, -4, -8}));
}

TEST_F(QXArrayArithmetic, DimensionsMustAgreeExactlyAndEmptyArraysAgree) {
  const QXMutableDoubleArray D = Reshape(Column<double>({1, 2, 3, 4, 5, 6}), 2, 3, 1);
  QXMutableDoubleArray M = D.Copy();
  EXPECT_TRUE((D + Transpose(D)).IsEmpty());
  EXPECT_TRUE((QXMutableFloatArray(2, 2, 2) * QXMutableFloatArray(2, 2, 1)).IsEmpty());
  M -= Transpose(D);
  EXPECT_TRUE((QXIntArray() + QXIntArray()).IsEmpty());
  EXPECT_EQ(M, D);
  EXPECT_EQ(Reports(),
            (Lines{"DoubleArray+DoubleArray: Incompatible sizes.",
                   "FloatArray*FloatArray: Incompatible sizes.", "A-=B: Incompatible sizes."}));
}

TEST_F(QXArrayArithmetic, IntEdgesWrapLikeA64BitResultModulo2To32) {
  const std::vector<int> edges = {INT_MIN, INT_MIN + 1, -7, -2, -1, 0, 1, 2, 7, 65536, INT_MAX};
  std::vector<int> a, b, sum, difference, product, quotient;
  for (int x : edges) {
    for (int y : edges) {
      a.push_back(x);
      b.push_back(y);
      sum.push_back(Wrapped(1LL * x + y));
      difference.push_back(Wrapped(1LL * x - y));
      product.push_back(Wrapped(1LL * x * y));
      quotient.push_back(y == 0 ? 0 : Wrapped(1LL * x / y));  // truncated toward zero
    }
  }
  const QXMutableIntArray A = Column(a);
  const QXMutableIntArray B = Column(b);
  EXPECT_EQ(Elements(A + B), sum);
  EXPECT_EQ(Elements(A - B), difference);
  EXPECT_EQ(Elements(A * B), product);
  EXPECT_EQ(Elements(A / B), quotient);
  EXPECT_EQ(Elements(-Column<int>({INT_MIN})), std::vector<int>{INT_MIN});
  EXPECT_EQ(Elements(Column<int>({INT_MIN}) - 1), std::vector<int>{INT_MAX});
  EXPECT_EQ(Elements(Column<int>({5}) - INT_MIN), std::vector<int>{INT_MIN + 5});
  EXPECT_EQ(Elements(Column<int>({INT_MIN}) / -1), std::vector<int>{INT_MIN});
  EXPECT_EQ(Elements(INT_MIN / Column<int>({-1})), std::vector<int>{INT_MIN});
  EXPECT_EQ(Reports(), Lines{"IntArray/IntArray: Division by zero."});
}

TEST_F(QXArrayArithmetic, IntDivisionByZeroGivesZeroAndOneReportPerOperation) {
  EXPECT_EQ(Elements(Column<int>({5, -5, 0}) / 0), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Elements(7 / Column<int>({0, 2, 0})), (std::vector<int>{0, 3, 0}));
  EXPECT_EQ(Reports(),
            (Lines{"IntArray/Int: Division by zero.", "Int/IntArray: Division by zero."}));
}

TEST_F(QXArrayArithmetic, FloatingDivisionKeepsPrecisionAndIsNeverReported) {
  EXPECT_EQ((Column<double>({1e-320}) / 4.9e-324)(0), 2024.0);
  EXPECT_EQ((Column<float>({1e-43f}) / 1.4e-45f)(0), 71.0f);
  EXPECT_EQ((Column<double>({1e300}) / 1e308)(0), 1e300 / 1e308);
  EXPECT_EQ((1.0 / Column<double>({0}))(0), std::numeric_limits<double>::infinity());
  // Normal divisors go through the reciprocal, so A / b and M /= b may differ in the last bit.
  EXPECT_EQ((Column<double>({5}) / 3.0)(0), 5 * (1.0 / 3));
  QXMutableDoubleArray M = Column<double>({5});
  M /= 3.0;
  EXPECT_EQ(M(0), 5 / 3.0);
}

TEST_F(QXArrayArithmetic, CompoundAssignmentsChangeTheSharedStorage) {
  QXMutableDoubleArray M = Column<double>({1, 2, 3});
  const QXDoubleArray view = M;
  M += Column<double>({1, 1, 1});
  M *= view;
  M /= Column<double>({2, 3, 4});
  M -= 1.0;
  M += 0.5;
  M *= 2.0;
  EXPECT_EQ(Elements(view), (std::vector<double>{3, 5, 7}));
  M -= view;
  EXPECT_EQ(Elements(M), (std::vector<double>{0, 0, 0}));
}

}  // namespace
