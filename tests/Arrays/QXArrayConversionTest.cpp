// Conversion between element types: every ordered pair against a reference
// rule written here from first principles, plus the worked examples.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include "QXArrayConversion.h"
#include "QXTestSupport.h"

namespace {

// The conversion function named after the target element type.
template <class Target, class Source>
QXMutableArray<Target> ConvertTo(const QXArray<Source>& A) {
  if constexpr (std::is_same_v<Target, double>)
    return ConvertToDouble(A);
  else if constexpr (std::is_same_v<Target, float>)
    return ConvertToFloat(A);
  else if constexpr (std::is_same_v<Target, int>)
    return ConvertToInt(A);
  else if constexpr (std::is_same_v<Target, short>)
    return ConvertToShortInt(A);
  else if constexpr (std::is_same_v<Target, unsigned short>)
    return ConvertToUShortInt(A);
  else if constexpr (std::is_same_v<Target, signed char>)
    return ConvertToChar(A);
  else
    return ConvertToUChar(A);
}

template <class T>
QXMutableArray<T> Column(const std::vector<T>& values) {
  QXMutableArray<T> A(static_cast<int>(values.size()), 1, 1);
  for (int i = 0; i < A.Length(); i++) A(i) = values[i];
  return A;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Integers across every width boundary; floating values that probe rounding
// ties, truncation and the edges of the int and float ranges. The probes of a
// type are those it can hold; only doubles get the last list.
const std::vector<long long> kIntegerProbes = {
    -2147483648LL, -2147483647LL, -70000, -65536, -32769, -32768, -32767, -129,     -128,
    -127,          -56,           -1,     0,      1,      127,    128,    200,      255,
    256,           32767,         32768,  65480,  65535,  65536,  70000,  16777217, 2147483647LL};
const std::vector<double> kFloatingProbes = {
    0.0,          -0.0,         0.9,           -0.9,         1.5,           -1.5,
    2.5,          255.5,        256.0,         300.7,        -300.7,        32767.9,
    65535.9,      70000.3,      -129.9,        16777217.0,   16777219.0,    1.0 / 3.0,
    1e-40,        -1e-40,       2147483520.0,  2147483648.0, -2147483648.0, -2147483904.0,
    4294967296.0, 3.4028234e38, -3.4028234e38, kInf,         -kInf,         kNaN};
const std::vector<double> kDoubleOnlyProbes = {
    2147483647.0,   2147483647.9,    -2147483648.9, -2147483649.0, 1e300,
    -1e300,         1e-300,          -1e-300,       16777217.5,    0x1.fffffefffffffp127,
    0x1.ffffffp127, -0x1.ffffffp127, 1e39};

template <class S>
std::vector<S> SourceProbes() {
  std::vector<S> values;
  if constexpr (std::is_integral_v<S>) {
    for (long long v : kIntegerProbes)
      if (v >= std::numeric_limits<S>::min() && v <= std::numeric_limits<S>::max())
        values.push_back(static_cast<S>(v));
  } else {
    for (double v : kFloatingProbes) values.push_back(static_cast<S>(v));
    if constexpr (std::is_same_v<S, double>)
      values.insert(values.end(), kDoubleOnlyProbes.begin(), kDoubleOnlyProbes.end());
  }
  return values;
}

// The low-order bits of v, read as a signed or unsigned integer of that width.
long long LowBits(long long v, int bits, bool isSigned) {
  const long long modulus = 1LL << bits;
  long long r = ((v % modulus) + modulus) % modulus;
  return isSigned && r >= modulus / 2 ? r - modulus : r;
}

// A floating value truncated into the int range: saturating, NaN lowest.
long long TruncatedToInt(long double v) {
  if (std::isnan(v) || v <= -2147483648.0L) return -2147483648LL;
  if (v >= 2147483647.0L) return 2147483647LL;
  return static_cast<long long>(std::trunc(v));
}

// Whether r is the float nearest to v, ties to the even significand; past
// the largest float plus half its last place, rounding overflows to infinity.
bool IsNearestFloat(float r, long double v) {
  if (std::isnan(v)) return std::isnan(r);
  if (std::signbit(r) != std::signbit(v)) return false;
  if (std::fabs(v) >= std::ldexp(1.0L, 128) - std::ldexp(1.0L, 103)) return std::isinf(r);
  if (std::isinf(r)) return false;
  uint32_t bits;
  std::memcpy(&bits, &r, sizeof(bits));
  for (float neighbour : {std::nextafter(r, -INFINITY), std::nextafter(r, INFINITY)}) {
    const long double error = std::fabs(r - v), other = std::fabs(neighbour - v);
    if (error > other || (error == other && (bits & 1) != 0)) return false;
  }
  return true;
}

// Whether r is v converted by the element rule.
template <class T, class S>
bool ConvertsAsExpected(T r, S v) {
  const long double value = v, result = r;
  if constexpr (std::is_integral_v<T>) {
    const long long whole = std::is_integral_v<S> ? static_cast<long long>(v) : TruncatedToInt(v);
    return r == LowBits(whole, 8 * sizeof(T), std::is_signed_v<T>);
  } else if constexpr (std::is_same_v<T, float> && sizeof(S) >= 4) {
    return IsNearestFloat(r, value);
  } else {  // exact, zeros keeping their sign
    if (std::isnan(value)) return std::isnan(result);
    return result == value && std::signbit(result) == std::signbit(value);
  }
}

template <class Pair>
class QXConversionPair : public testing::Test {
 protected:
  using Source = typename Pair::first_type;
  using Target = typename Pair::second_type;
};

template <class S, class T>
using P = std::pair<S, T>;
using QXConversionPairs = testing::Types<
    P<float, double>, P<int, double>, P<short, double>, P<unsigned short, double>,
    P<signed char, double>, P<unsigned char, double>, P<double, float>, P<int, float>,
    P<short, float>, P<unsigned short, float>, P<signed char, float>, P<unsigned char, float>,
    P<double, int>, P<float, int>, P<short, int>, P<unsigned short, int>, P<signed char, int>,
    P<unsigned char, int>, P<double, short>, P<float, short>, P<int, short>,
    P<unsigned short, short>, P<signed char, short>, P<unsigned char, short>,
    P<double, unsigned short>, P<float, unsigned short>, P<int, unsigned short>,
    P<short, unsigned short>, P<signed char, unsigned short>, P<unsigned char, unsigned short>,
    P<double, signed char>, P<float, signed char>, P<int, signed char>, P<short, signed char>,
    P<unsigned short, signed char>, P<unsigned char, signed char>, P<double, unsigned char>,
    P<float, unsigned char>, P<int, unsigned char>, P<short, unsigned char>,
    P<unsigned short, unsigned char>, P<signed char, unsigned char>>;
TYPED_TEST_SUITE(QXConversionPair, QXConversionPairs);

TYPED_TEST(QXConversionPair, EveryProbeFollowsTheElementRule) {
  using S = typename TestFixture::Source;
  using T = typename TestFixture::Target;
  const std::vector<S> probes = SourceProbes<S>();
  QXMutableArray<S> A = Column(probes);
  QXMutableArray<T> B(A.m(), 1, 1);
  QXReportCapture capture;
  QXMutableArray<T> converted = ConvertTo<T>(A);
  ConvertArray(A, B);
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
  ASSERT_EQ(converted.Length(), A.Length());
  EXPECT_TRUE(converted == B);
  for (int i = 0; i < A.Length(); i++)
    EXPECT_TRUE(ConvertsAsExpected(converted(i), probes[i]))
        << +probes[i] << " gave " << +converted(i);
}

TYPED_TEST(QXConversionPair, KeepsAllThreeDimensions) {
  using S = typename TestFixture::Source;
  using T = typename TestFixture::Target;
  QXMutableArray<S> A(2, 3, 4);
  for (int i = 0; i < A.Length(); i++) A(i) = static_cast<S>(i);
  QXMutableArray<T> B = ConvertTo<T>(A);
  EXPECT_EQ(B.m(), 2);
  EXPECT_EQ(B.n(), 3);
  EXPECT_EQ(B.o(), 4);
  EXPECT_EQ(B(1, 2, 3), static_cast<T>(23));
}

TYPED_TEST(QXConversionPair, MismatchedDimensionsReportAndLeaveTheDestination) {
  using S = typename TestFixture::Source;
  using T = typename TestFixture::Target;
  QXMutableArray<S> A(2, 3, 1);
  A = static_cast<S>(1);
  for (int m : {3, 6}) {  // 3 x 2, and 6 x 1 of the same length
    QXMutableArray<T> B(m, 6 / m, 1);
    B = static_cast<T>(7);
    QXReportCapture capture;
    ConvertArray(A, B);
    capture.Finish();
    EXPECT_EQ(capture.errors,
              std::vector<std::string>{"ConvertArray(A,B): Incompatible array sizes."});
    for (int i = 0; i < B.Length(); i++) EXPECT_EQ(B(i), static_cast<T>(7));
  }
}

// Hand-worked results, which also anchor the reference rule above.
TEST(QXArrayConversion, WorkedExamples) {
  EXPECT_EQ(ConvertToUChar(Column<double>({300.7}))(0), 44);
  EXPECT_EQ(ConvertToShortInt(Column<int>({70000}))(0), 4464);
  EXPECT_EQ(ConvertToUShortInt(Column<short>({-1}))(0), 65535);
  EXPECT_EQ(ConvertToShortInt(Column<unsigned short>({65535}))(0), -1);
  EXPECT_EQ(ConvertToChar(Column<unsigned char>({200}))(0), -56);
  EXPECT_EQ(ConvertToUShortInt(Column<signed char>({-56}))(0), 65480);
  EXPECT_EQ(ConvertToDouble(Column<signed char>({-56}))(0), -56.0);
  EXPECT_TRUE(ConvertToUChar(Column<double>({-1.5, 0.9, 255.5, 256.0})) ==
              Column<unsigned char>({255, 0, 255, 0}));
  EXPECT_EQ(ConvertToFloat(Column<int>({16777217}))(0), 16777216.0f);
}

TEST(QXArrayConversion, NonFiniteAndHugeValuesSaturateBeforeNarrowing) {
  QXMutableDoubleArray D = Column<double>({kNaN, kInf, -kInf, 1e300, -1e300});
  EXPECT_TRUE(ConvertToInt(D) ==
              Column<int>({INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN}));
  EXPECT_TRUE(ConvertToShortInt(D) == Column<short>({0, -1, 0, -1, 0}));
  EXPECT_TRUE(ConvertToUShortInt(D) == Column<unsigned short>({0, 65535, 0, 65535, 0}));
  EXPECT_TRUE(ConvertToChar(D) == Column<signed char>({0, -1, 0, -1, 0}));
  EXPECT_TRUE(ConvertToUChar(D) == Column<unsigned char>({0, 255, 0, 255, 0}));
  QXMutableFloatArray F = ConvertToFloat(D);
  EXPECT_TRUE(std::isnan(F(0)));
  EXPECT_EQ(F(3), std::numeric_limits<float>::infinity());
  EXPECT_EQ(F(4), -std::numeric_limits<float>::infinity());
}

TEST(QXArrayConversion, EmptyArrayConvertsSilently) {
  QXReportCapture capture;
  QXMutableDoubleArray D = ConvertToDouble(QXIntArray());
  capture.Finish();
  EXPECT_TRUE(D.IsEmpty());
  EXPECT_TRUE(capture.errors.empty());
}

}  // namespace
