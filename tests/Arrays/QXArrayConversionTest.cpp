// Conversion between element types. Every conversion is one element rule,
// instantiated per pair of types; each branch of the rule is checked here on
// hand-worked values at its edges.

#include <climits>
#include <cmath>

#include "QXArrayConversion.h"
#include "QXArrayValues.h"
#include "QXReportingTest.h"

namespace {

template <class T>
QXMutableArray<T> Column(const std::vector<T>& values) {
  return MakeArray(static_cast<int>(values.size()), 1, 1, values);
}

// Toward zero into the int range, NaN lowest; narrower types then keep the low bits.
TEST(QXArrayConversion, FloatingValuesTruncateAndSaturateToTheIntRange) {
  const QXMutableDoubleArray D =
      Column<double>({NAN, INFINITY, -INFINITY, 1e300, 300.7, -1.5, 2147483647.9, -2147483648.9});
  EXPECT_EQ(Elements(ConvertToInt(D)),
            (std::vector<int>{INT_MIN, INT_MAX, INT_MIN, INT_MAX, 300, -1, INT_MAX, INT_MIN}));
  EXPECT_EQ(Elements(ConvertToUChar(D)),
            (std::vector<unsigned char>{0, 255, 0, 255, 44, 255, 255, 0}));
  EXPECT_EQ(Elements(ConvertToShortInt(Column<float>({NAN, 3e38f, -2.5f}))),
            (std::vector<short>{0, -1, -2}));
}

// Ties to even; beyond the largest float, infinity.
TEST(QXArrayConversion, ValuesRoundToTheNearestFloat) {
  const QXMutableDoubleArray D = Column<double>(
      {16777217.0, 16777219.0, 0x1.fffffefffffffp127, 0x1.ffffffp127, -1e39, 1e-40, 1e-50});
  EXPECT_EQ(Elements(ConvertToFloat(D)),
            (std::vector<float>{16777216.0f, 16777220.0f, 0x1.fffffep127f, INFINITY, -INFINITY,
                                1e-40f, 0}));
  EXPECT_TRUE(std::isnan(ConvertToFloat(Column<double>({NAN}))(0)));
  EXPECT_EQ(Elements(ConvertToFloat(Column<int>({16777217}))), std::vector<float>{16777216.0f});
}

// The low bits of the two's complement value; widening keeps the value.
TEST(QXArrayConversion, IntegersKeepTheirLowBitsOrTheirValue) {
  EXPECT_EQ(Elements(ConvertToShortInt(Column<int>({70000, -1}))), (std::vector<short>{4464, -1}));
  EXPECT_EQ(Elements(ConvertToChar(Column<unsigned char>({200}))), std::vector<signed char>{-56});
  EXPECT_EQ(Elements(ConvertToUShortInt(Column<signed char>({-56}))),
            std::vector<unsigned short>{65480});
  EXPECT_EQ(Elements(ConvertToDouble(Column<short>({-32768}))), std::vector<double>{-32768});
}

TEST(QXArrayConversion, ResultKeepsAllThreeDimensions) {
  QXMutableDoubleArray cube(2, 3, 4);
  cube = 1;
  EXPECT_EQ(SizeOf(ConvertToInt(cube)), (std::vector<int>{2, 3, 4}));
}

class QXArrayConversionReports : public QXReportingTest {};

// Dimensions, not lengths, must agree.
TEST_F(QXArrayConversionReports, TargetOfOtherDimensionsIsRefusedAndLeftAlone) {
  const QXMutableDoubleArray cube(2, 3, 4);
  QXMutableFloatArray column(24, 1, 1);
  column = 7;
  ConvertArray(cube, column);
  EXPECT_EQ(Reports(), Lines{"ConvertArray(A,B): Incompatible array sizes."});
  EXPECT_EQ(Elements(column), std::vector<float>(24, 7));
}

}  // namespace
