// Conversion between element types: every ordered pair against a reference
// rule written here from first principles, plus hand-worked results.
#include <gtest/gtest.h>

#include <cmath>
#include <climits>
#include <limits>
#include <tuple>
#include <type_traits>
#include <vector>

#include "QXArrayConversion.h"
#include "QXArrayValues.h"
#include "QXReportingTest.h"

namespace {

// Integers across every width boundary; floating values that probe rounding
// ties, truncation and the edges of the int and float ranges. A source type
// gets the probes it can hold.
// clang-format off
const double kProbes[] = {0, -0.0, 1, -1, 127, 128, -127, -128, -129, -56, 200, 255, 256, 32767,
    32768, -32768, -32769, 65480, 65535, 65536, 70000, -70000, 16777217, 16777219, 2147483520.0,
    2147483647, -2147483648.0, 0.9, -0.9, 1.5, -1.5, 2.5, 255.5, 300.7, -300.7, 32767.9, 65535.9,
    70000.3, -129.9, 1.0 / 3, 1e-40, -1e-40, 1e-300, 16777217.5, 2147483647.9, 2147483648.0,
    -2147483648.9, -2147483649.0, -2147483904.0, 4294967296.0, 3.4028234e38, 0x1.fffffefffffffp127,
    0x1.ffffffp127, -0x1.ffffffp127, 1e39, 1e300, -1e300, INFINITY, -INFINITY, NAN};
// clang-format on

// The rule: to an integer type, floating values truncate toward zero into the
// int range (NaN lowest) and then every value keeps its low-order bits; to
// float, the nearest float with ties to even, overflowing to infinity; else exact.
template <class T, class S>
long double Expected(S source) {
  long double v = source;
  if constexpr (std::is_integral_v<T>) {
    if (std::is_floating_point_v<S>)
      v = std::isnan(v) || v < -0x1p31L ? -0x1p31L : v >= 0x1p31L ? 0x1p31L - 1 : std::trunc(v);
    const long long modulus = 1LL << (8 * sizeof(T)),
                    low = (static_cast<long long>(v) % modulus + modulus) % modulus;
    return std::is_signed_v<T> && low >= modulus / 2 ? low - modulus : low;
  } else if (std::is_same_v<T, float> && std::isfinite(v) && v != 0) {
    const long double unit = std::ldexp(1.0L, std::max(std::ilogb(v), -126) - 23);  // float spacing
    v = std::nearbyint(v / unit) * unit;
    return std::fabs(v) >= 0x1p128L ? std::copysign(INFINITY, v) : v;
  }
  return v;
}

// Equal, zeros of equal sign, or both NaN.
bool Same(long double a, long double b) {
  return std::isnan(a) ? std::isnan(b) : a == b && std::signbit(a) == std::signbit(b);
}

// Converts the probes of S to T against the rule.
template <class S, class T>
void CheckPair() {
  if constexpr (!std::is_same_v<S, T>) {
    SCOPED_TRACE(std::string(QXArrayTraits<S>::name) + " to " + QXArrayTraits<T>::name);
    constexpr bool floating = std::is_floating_point_v<S>;
    std::vector<S> probes;  // those the source type can hold
    for (double v : kProbes) {
      const bool inRange =
          v >= std::numeric_limits<S>::lowest() && v <= std::numeric_limits<S>::max();
      if ((inRange && (floating || v == std::trunc(v))) || (floating && !std::isfinite(v)))
        probes.push_back(static_cast<S>(v));
    }
    const QXMutableArray<S> A = MakeArray(static_cast<int>(probes.size()), 1, 1, probes);
    QXMutableArray<T> B(A.m(), 1, 1);
    ConvertArray(A, B);
    for (int i = 0; i < A.Length(); i++)
      EXPECT_TRUE(Same(B(i), Expected<T>(A(i)))) << +A(i) << " gave " << +B(i);
  }
}

// Checks every ordered pair of the element types.
template <class S, class... T>
void CheckFrom(std::tuple<T...>) {
  (CheckPair<S, T>(), ...);
}
template <class... S>
void CheckAll(std::tuple<S...> types) {
  (CheckFrom<S>(types), ...);
}

TEST(QXArrayConversion, EveryPairFollowsTheElementRule) {
  CheckAll(std::tuple<double, float, int, short, unsigned short, signed char, unsigned char>());
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
  EXPECT_EQ(Reports(), std::vector<std::string>{"ConvertArray(A,B): Incompatible array sizes."});
  EXPECT_EQ(Elements(column), std::vector<float>(24, 7));
}

// Hand-worked results, which also anchor the rule.
TEST(QXArrayConversion, FloatingValuesSaturateToTheIntRangeWithNaNLowest) {
  const QXMutableDoubleArray D =
      MakeArray<double>(6, 1, 1, {NAN, INFINITY, -INFINITY, 1e300, 300.7, -1.5});
  EXPECT_EQ(Elements(ConvertToInt(D)),
            (std::vector<int>{INT_MIN, INT_MAX, INT_MIN, INT_MAX, 300, -1}));
  EXPECT_EQ(Elements(ConvertToUChar(D)), (std::vector<unsigned char>{0, 255, 0, 255, 44, 255}));
}

}  // namespace
