// Conversion of an array into another element type, keeping its dimensions.
// Every ordered pair of the seven element types is covered (there is no
// conversion of a type to itself):
//
//   QXMutableFloatArray F = ConvertToFloat(D);  // a new float array of D's size
//   ConvertArray(D, F);                         // into an array of D's size
//
// ConvertToDouble, ConvertToFloat, ConvertToInt, ConvertToShortInt,
// ConvertToUShortInt, ConvertToChar and ConvertToUChar each take any of the
// six other immutable array types. ConvertArray(A, B) converts A into the
// mutable array B; when B's dimensions differ from A's it reports
// "ConvertArray(A,B): Incompatible array sizes." and leaves B unchanged.
//
// Elements convert as plain values: exactly, or to the nearest float (ties to
// even); floating values truncate toward zero; narrowing integers keep their
// low-order bits. A floating value beyond the 32-bit int range saturates to
// that range before narrowing, and NaN counts as the most negative int.
#ifndef QXARRAYCONVERSION_H
#define QXARRAYCONVERSION_H

#include "QXCharArray.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXShortIntArray.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"

// Every ordered pair (source, target) of element-type names, for generating
// the overloads; the names complete QX<name>Array, QXMutable<name>Array and
// ConvertTo<name>.
// clang-format off
#define QX_ARRAY_CONVERSION_PAIRS(X)                             \
  X(Float, Double) X(Int, Double) X(ShortInt, Double)            \
  X(UShortInt, Double) X(Char, Double) X(UChar, Double)          \
  X(Double, Float) X(Int, Float) X(ShortInt, Float)              \
  X(UShortInt, Float) X(Char, Float) X(UChar, Float)             \
  X(Double, Int) X(Float, Int) X(ShortInt, Int)                  \
  X(UShortInt, Int) X(Char, Int) X(UChar, Int)                   \
  X(Double, ShortInt) X(Float, ShortInt) X(Int, ShortInt)        \
  X(UShortInt, ShortInt) X(Char, ShortInt) X(UChar, ShortInt)    \
  X(Double, UShortInt) X(Float, UShortInt) X(Int, UShortInt)     \
  X(ShortInt, UShortInt) X(Char, UShortInt) X(UChar, UShortInt)  \
  X(Double, Char) X(Float, Char) X(Int, Char)                    \
  X(ShortInt, Char) X(UShortInt, Char) X(UChar, Char)            \
  X(Double, UChar) X(Float, UChar) X(Int, UChar)                 \
  X(ShortInt, UChar) X(UShortInt, UChar) X(Char, UChar)
// clang-format on

#define QX_DECLARE_ARRAY_CONVERSION(Source, Target)                       \
  QXMutable##Target##Array ConvertTo##Target(const QX##Source##Array& A); \
  void ConvertArray(const QX##Source##Array& A, QXMutable##Target##Array& B);

QX_ARRAY_CONVERSION_PAIRS(QX_DECLARE_ARRAY_CONVERSION)

#undef QX_DECLARE_ARRAY_CONVERSION

#endif
