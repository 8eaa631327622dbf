// The element rule and the one element loop behind every conversion between
// array element types. Callers use QXArrayConversion.h; this file is the
// machinery the 42 public conversions are instantiated from.
#ifndef QXCONVERSIONTEMPLATESINTERNAL_H
#define QXCONVERSIONTEMPLATESINTERNAL_H

#include <cmath>
#include <limits>
#include <type_traits>

#include "QXArrayTemplates.h"
#include "QXError.h"

static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559,
              "conversions assume IEEE floating point");

// A floating value truncated toward zero to a 32-bit signed integer. Values
// beyond the int range saturate and NaN becomes the most negative value, so
// that the truncating cast only ever sees values it can represent. Both
// bounds are exact in float and double; the tests compile to selects that
// vectorise.
template <class Floating>
inline int QXSaturatedTruncation(Floating v) {
  if (!(v > static_cast<Floating>(-2147483648.0))) return std::numeric_limits<int>::min();  // NaN too
  if (v >= static_cast<Floating>(2147483648.0)) return std::numeric_limits<int>::max();
  return static_cast<int>(v);
}

// A double rounded to the nearest float. Magnitudes that round beyond the
// largest float become infinity explicitly, as IEEE rounding would make them,
// because a C++ cast of such a value is undefined.
inline float QXRoundToFloat(double v) {
  // The largest float plus half its last place: from here on, rounding overflows.
  const double overflow = 0x1.ffffffp127;  // 2^128 - 2^103
  const double infinity = std::numeric_limits<double>::infinity();
  // One select on the magnitude, which vectorises where two tests do not.
  return static_cast<float>(std::fabs(v) >= overflow ? std::copysign(infinity, v) : v);
}

// One element converted by the rule of a plain value conversion: exact or
// nearest for floating targets, truncation with saturation from floating to
// integer types, and the low-order bits (two's complement) when an integer
// narrows.
template <class Target, class Source>
inline Target QXConvertElement(Source v) {
  if constexpr (std::is_floating_point_v<Source> && std::is_integral_v<Target>)
    return static_cast<Target>(QXSaturatedTruncation(v));
  else if constexpr (std::is_same_v<Source, double> && std::is_same_v<Target, float>)
    return QXRoundToFloat(v);
  else
    return static_cast<Target>(v);
}

// Converts count elements from `from` into `to`, in buffer order, when the
// arrays A and B have the same dimensions; otherwise reports and leaves the
// destination untouched.
template <class Source, class Target>
void QXConversionBetweenPointers(const QXArray<Source>& A, const QXArray<Target>& B,
                                 const Source* from, Target* to, int count) {
  if (A.m() != B.m() || A.n() != B.n() || A.o() != B.o()) {
    QXErrorMessage("ConvertArray(A,B)", "Incompatible array sizes.");
    return;
  }
  for (int i = 0; i < count; i++) to[i] = QXConvertElement<Target>(from[i]);
}

// Converts A into B, which must have A's dimensions.
template <class Source, class Target>
void QXConvertArrayInto(const QXArray<Source>& A, QXMutableArray<Target>& B) {
  QXConversionBetweenPointers(A, B, A.Pointer(), B.Pointer(), B.Length());
}

// A new array of A's dimensions holding A's elements converted. If the result
// cannot be allocated, the allocator has reported it and the empty array is
// returned without a second report.
template <class Target, class Source>
QXMutableArray<Target> QXConvertedArray(const QXArray<Source>& A) {
  QXMutableArray<Target> B(A.m(), A.n(), A.o());
  if (B.Length() == A.Length()) QXConvertArrayInto(A, B);
  return B;
}

#endif
