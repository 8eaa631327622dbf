// Building a new array from an old one with other dimensions or another
// order of elements: growing and shrinking, re-dimensioning, transposing,
// flipping the column order and sorting.
//
// Every function takes an immutable handle, never changes it, and returns a
// new mutable array with its own storage. A failure is reported through
// QXErrorMessage and gives the empty array.
//
//   QXMutableDoubleArray times = IncreaseSize(oldTimes, 10);  // 10 more, not yet set
//   QXMutableDoubleArray columns = Transpose(rows);
//
// A change of length is laid out along the array's last used dimension: a
// vector (n <= 1, o <= 1) stays a vector, a matrix (n > 1, o <= 1) keeps its
// m rows and gains or loses columns, a 3-D array (o > 1) keeps its m x n
// slices and gains or loses slices. Every kept element stays at its (i,j,k).
#ifndef QXARRAYRESIZE_H
#define QXARRAYRESIZE_H

#include "QXCharArray.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXShortIntArray.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"

// The first `length` elements of A. A length of 0 gives the empty array
// without a report. A length outside [0, Length()], or one that does not
// make whole columns (matrix) or slices (3-D), reports "Invalid new dimension".
QXMutableDoubleArray TruncateSize(const QXDoubleArray& A, int length);
QXMutableFloatArray TruncateSize(const QXFloatArray& A, int length);
QXMutableIntArray TruncateSize(const QXIntArray& A, int length);
QXMutableShortIntArray TruncateSize(const QXShortIntArray& A, int length);
QXMutableUShortIntArray TruncateSize(const QXUShortIntArray& A, int length);
QXMutableCharArray TruncateSize(const QXCharArray& A, int length);
QXMutableUCharArray TruncateSize(const QXUCharArray& A, int length);

// A followed by `howMuch` elements that are left uninitialised for the
// caller to fill. howMuch must make whole columns (matrix) or slices (3-D);
// 0 gives a copy. An empty A grows into a howMuch x 1 vector. A result of
// more than INT_MAX elements is refused.
QXMutableDoubleArray IncreaseSize(const QXDoubleArray& A, int howMuch);
QXMutableFloatArray IncreaseSize(const QXFloatArray& A, int howMuch);
QXMutableIntArray IncreaseSize(const QXIntArray& A, int howMuch);
QXMutableShortIntArray IncreaseSize(const QXShortIntArray& A, int howMuch);
QXMutableUShortIntArray IncreaseSize(const QXUShortIntArray& A, int howMuch);
QXMutableCharArray IncreaseSize(const QXCharArray& A, int howMuch);
QXMutableUCharArray IncreaseSize(const QXUCharArray& A, int howMuch);

// Rows and columns exchanged: result(j,i) = A(i,j). For a 3-D array all three
// dimensions are reversed: the result is o x n x m with result(k,j,i) = A(i,j,k).
QXMutableDoubleArray Transpose(const QXDoubleArray& A);
QXMutableFloatArray Transpose(const QXFloatArray& A);
QXMutableIntArray Transpose(const QXIntArray& A);
QXMutableShortIntArray Transpose(const QXShortIntArray& A);
QXMutableUShortIntArray Transpose(const QXUShortIntArray& A);
QXMutableCharArray Transpose(const QXCharArray& A);
QXMutableUCharArray Transpose(const QXUCharArray& A);

// The columns in reverse order, in every slice: column j of the result is
// column n-1-j of A.
QXMutableDoubleArray FlipJ(const QXDoubleArray& A);
QXMutableFloatArray FlipJ(const QXFloatArray& A);
QXMutableIntArray FlipJ(const QXIntArray& A);
QXMutableShortIntArray FlipJ(const QXShortIntArray& A);
QXMutableUShortIntArray FlipJ(const QXUShortIntArray& A);
QXMutableCharArray FlipJ(const QXCharArray& A);
QXMutableUCharArray FlipJ(const QXUCharArray& A);

// The same elements in the same buffer order under the dimensions m x n x o,
// whose product must equal A's length. Zero dimensions are allowed only for
// an empty A.
QXMutableDoubleArray Reshape(const QXDoubleArray& A, int m, int n, int o);
QXMutableFloatArray Reshape(const QXFloatArray& A, int m, int n, int o);
QXMutableIntArray Reshape(const QXIntArray& A, int m, int n, int o);

// All elements of A as a column vector in ascending order. The sort is not
// stable: elements that compare equal (0.0 and -0.0) come in no fixed order.
// NaNs are placed last.
QXMutableDoubleArray Sort(const QXDoubleArray& A);
QXMutableFloatArray Sort(const QXFloatArray& A);
QXMutableIntArray Sort(const QXIntArray& A);

#endif
