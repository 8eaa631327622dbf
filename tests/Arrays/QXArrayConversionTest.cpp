// Conversion between element types: every ordered pair against a reference
// rule written here from first principles, plus hand-worked results.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <climits>
#include <limits>
#include <type_traits>
#include <vector>

#include "QXArrayConversion.h"
#include "QXTestSupport.h"

namespace {

// The conversion function named after the target type.
template <class T, class S>
QXMutableArray<T> ConvertTo(const QXArray<S>& A) {
  if constexpr (std::is_same_v<T, double>) return ConvertToDouble(A);
  if constexpr (std::is_same_v<T, float>) return ConvertToFloat(A);
  if constexpr (std::is_same_v<T, int>) return ConvertToInt(A);
  if constexpr (std::is_same_v<T, short>) return ConvertToShortInt(A);
  if constexpr (std::is_same_v<T, unsigned short>) return ConvertToUShortInt(A);
  if constexpr (std::is_same_v<T, signed char>) return ConvertToChar(A);
  if constexpr (std::is_same_v<T, unsigned char>) return ConvertToUChar(A);
}

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

template <class T>
QXMutableArray<T> Column(const std::vector<T>& values) {
  QXMutableArray<T> A(static_cast<int>(values.size()), 1, 1);
  std::copy(values.begin(), values.end(), A.Pointer());
  return A;
}

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

// Converts the probes of S to T, by both forms, against the rule; checks that
// the result keeps all three dimensions and that mismatched ones are refused.
template <class S, class T>
void CheckPair() {
  if constexpr (!std::is_same_v<S, T>) {
    SCOPED_TRACE(std::string(QXArrayTraits<S>::name) + " to " + QXArrayTraits<T>::name);
    constexpr bool floating = std::is_floating_point_v<S>;
    std::vector<S> probes;  // those the source type can hold
    for (double v : kProbes)
      if ((v >= std::numeric_limits<S>::lowest() && v <= std::numeric_limits<S>::max() &&
           (floating || v == std::trunc(v))) ||
          (floating && !std::isfinite(v)))
        probes.push_back(static_cast<S>(v));
    QXMutableArray<S> A = Column(probes), cube(2, 3, 4);
    QXMutableArray<T> B(A.m(), 1, 1), converted = ConvertTo<T>(A);
    ConvertArray(A, B);
    EXPECT_TRUE(B == converted);
    for (int i = 0; i < A.Length(); i++)
      EXPECT_TRUE(Same(B(i), Expected<T>(A(i)))) << +A(i) << " gave " << +B(i);
    for (int i = 0; i < 24; i++) cube(i) = static_cast<S>(i);
    const QXMutableArray<T> shaped = ConvertTo<T>(cube);
    EXPECT_TRUE(shaped.m() == 2 && shaped.n() == 3 && shaped.o() == 4 && shaped(1, 2, 3) == 23);
    for (QXMutableArray<T> wrong : {QXMutableArray<T>(3, 2, 4), QXMutableArray<T>(24, 1, 1)}) {
      ConvertArray(cube, wrong = 7);  // dimensions, not lengths, must agree
      EXPECT_TRUE(std::all_of(wrong.Pointer(), wrong.Pointer() + 24, [](T x) { return x == 7; }));
    }
  }
}

// Calls f with a value of each element type.
template <class F>
void ForEachType(F f) {
  f(double()), f(float()), f(int()), f(short()), f(QXUShortIntArray::Element()),
      f(QXCharArray::Element()), f(QXUCharArray::Element());
}

TEST(QXArrayConversion, EveryPairFollowsTheElementRule) {
  QXReportCapture capture;
  ForEachType([](auto s) { ForEachType([](auto t) { CheckPair<decltype(s), decltype(t)>(); }); });
  EXPECT_TRUE(ConvertToDouble(QXIntArray()).IsEmpty());
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>(2 * 42, "ConvertArray(A,B): Incompatible array sizes."));
  // Hand-worked results, which also anchor the rule.
  const QXMutableDoubleArray D = Column<double>({NAN, INFINITY, -INFINITY, 1e300, 300.7, -1.5});
  EXPECT_TRUE(ConvertToInt(D) == Column<int>({INT_MIN, INT_MAX, INT_MIN, INT_MAX, 300, -1}));
  EXPECT_TRUE(ConvertToUChar(D) == Column<unsigned char>({0, 255, 0, 255, 44, 255}));
  EXPECT_TRUE(ConvertToShortInt(Column<int>({70000})) == Column<short>({4464}));
  EXPECT_TRUE(ConvertToUShortInt(Column<signed char>({-56})) == Column<unsigned short>({65480}));
  EXPECT_TRUE(ConvertToFloat(Column<int>({16777217})) == Column<float>({16777216.0f}));
}

}  // namespace
