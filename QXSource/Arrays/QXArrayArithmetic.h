// Element-by-element arithmetic on double, float and int arrays: between two
// arrays of the same dimensions, between an array and a number, negation,
// and, for double arrays, the compound assignments that change an array in
// place. `*` and `/` act on corresponding elements; there is no matrix product.
//
//   QXMutableDoubleArray S = A + B;   // S(p) = A(p) + B(p); A and B are unchanged
//   QXMutableDoubleArray D = 5 - A;   // D(p) = 5 - A(p)
//   M *= 2;                           // in place: every handle on M's storage sees it
//
// An operator returns a new mutable array with its own storage and the
// dimensions of its array operand. Two arrays must agree in all three
// dimensions (3 x 1 and 1 x 3 do not; nothing is broadcast); when they do not,
// the operator reports "Incompatible sizes." under its operation name and
// returns the empty array, and a compound assignment leaves M unchanged. The
// names are "DoubleArray+DoubleArray", "DoubleArray-DoubleArray",
// "DoubleArray*DoubleArray", "DoubleArray/DoubleArray", the same with
// "FloatArray" and "IntArray", and "A+=B", "A-=B", "A*=B", "A/=B". Empty
// operands give an empty result without a report.
//
// Floating-point elements follow IEEE 754: dividing by zero gives an infinity
// or NaN without a report. A / b multiplies by the reciprocal 1/b (computed in
// double, then rounded to the element type) when that reciprocal is a finite
// normal number of the element type, and divides otherwise, so that tiny and
// huge divisors keep full precision; A / b can differ from M /= b, which
// always divides, in the last bit.
//
// Int elements never trap. +, -, * and negation wrap around modulo 2^32, and
// the most negative int divided by -1 is the most negative int. Division
// truncates toward zero; an element divided by zero becomes 0, and the
// operation makes one report, "Division by zero.", under "IntArray/IntArray",
// "IntArray/Int" (A / b) or "Int/IntArray" (b / A).
#ifndef QXARRAYARITHMETIC_H
#define QXARRAYARITHMETIC_H

#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"

// Array with array: element p of the result is A(p) op B(p).
QXMutableDoubleArray operator+(const QXDoubleArray& A, const QXDoubleArray& B);
QXMutableDoubleArray operator-(const QXDoubleArray& A, const QXDoubleArray& B);
QXMutableDoubleArray operator*(const QXDoubleArray& A, const QXDoubleArray& B);
QXMutableDoubleArray operator/(const QXDoubleArray& A, const QXDoubleArray& B);
QXMutableFloatArray operator+(const QXFloatArray& A, const QXFloatArray& B);
QXMutableFloatArray operator-(const QXFloatArray& A, const QXFloatArray& B);
QXMutableFloatArray operator*(const QXFloatArray& A, const QXFloatArray& B);
QXMutableFloatArray operator/(const QXFloatArray& A, const QXFloatArray& B);
QXMutableIntArray operator+(const QXIntArray& A, const QXIntArray& B);
QXMutableIntArray operator-(const QXIntArray& A, const QXIntArray& B);
QXMutableIntArray operator*(const QXIntArray& A, const QXIntArray& B);
QXMutableIntArray operator/(const QXIntArray& A, const QXIntArray& B);

// Array with number: element p is A(p) op b.
QXMutableDoubleArray operator+(const QXDoubleArray& A, double b);
QXMutableDoubleArray operator-(const QXDoubleArray& A, double b);
QXMutableDoubleArray operator*(const QXDoubleArray& A, double b);
QXMutableDoubleArray operator/(const QXDoubleArray& A, double b);
QXMutableFloatArray operator+(const QXFloatArray& A, float b);
QXMutableFloatArray operator-(const QXFloatArray& A, float b);
QXMutableFloatArray operator*(const QXFloatArray& A, float b);
QXMutableFloatArray operator/(const QXFloatArray& A, float b);
QXMutableIntArray operator+(const QXIntArray& A, int b);
QXMutableIntArray operator-(const QXIntArray& A, int b);
QXMutableIntArray operator*(const QXIntArray& A, int b);
QXMutableIntArray operator/(const QXIntArray& A, int b);

// Number with array: element p is b op A(p).
QXMutableDoubleArray operator+(double b, const QXDoubleArray& A);
QXMutableDoubleArray operator-(double b, const QXDoubleArray& A);
QXMutableDoubleArray operator*(double b, const QXDoubleArray& A);
QXMutableDoubleArray operator/(double b, const QXDoubleArray& A);
QXMutableFloatArray operator+(float b, const QXFloatArray& A);
QXMutableFloatArray operator-(float b, const QXFloatArray& A);
QXMutableFloatArray operator*(float b, const QXFloatArray& A);
QXMutableFloatArray operator/(float b, const QXFloatArray& A);
QXMutableIntArray operator+(int b, const QXIntArray& A);
QXMutableIntArray operator-(int b, const QXIntArray& A);
QXMutableIntArray operator*(int b, const QXIntArray& A);
QXMutableIntArray operator/(int b, const QXIntArray& A);

// Negation: element p is -A(p).
QXMutableDoubleArray operator-(const QXDoubleArray& A);
QXMutableFloatArray operator-(const QXFloatArray& A);
QXMutableIntArray operator-(const QXIntArray& A);

// In place: M(p) = M(p) op B(p), reading B(p) before writing M(p), so that B
// may share M's storage (M -= M leaves zeros). Dimensions must agree.
void operator+=(QXMutableDoubleArray& M, const QXDoubleArray& B);
void operator-=(QXMutableDoubleArray& M, const QXDoubleArray& B);
void operator*=(QXMutableDoubleArray& M, const QXDoubleArray& B);
void operator/=(QXMutableDoubleArray& M, const QXDoubleArray& B);

// In place: M(p) = M(p) op b, applied directly to each element.
void operator+=(QXMutableDoubleArray& M, double b);
void operator-=(QXMutableDoubleArray& M, double b);
void operator*=(QXMutableDoubleArray& M, double b);
void operator/=(QXMutableDoubleArray& M, double b);

#endif
