// Arrays of 8-bit signed integers (signed char on every platform): QXCharArray reads,
// QXMutableCharArray also writes. Both are handles on a shared, reference-counted m x n x o
// column-major storage; see QXArrayTemplates.h for the behaviour common to all seven types.
//
//   QXMutableCharArray A(2, 3, 1);
//   A(1, 2) = 5;                   // element at position 1 + 2 * 2
//   QXCharArray view = A;           // shares A's storage
#ifndef QXCHARARRAY_H
#define QXCHARARRAY_H

#include "QXArrayTemplates.h"

using QXCharArrayStorage = QXArrayStorage<signed char>;
using QXCharArray = QXArray<signed char>;
using QXMutableCharArray = QXMutableArray<signed char>;

#endif
