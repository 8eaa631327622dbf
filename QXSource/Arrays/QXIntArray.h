// Arrays of 32-bit signed integers: QXIntArray reads, QXMutableIntArray also writes.
// Both are handles on a shared, reference-counted m x n x o column-major
// storage; see QXArrayTemplates.h for the behaviour common to all seven types.
//
//   QXMutableIntArray A(2, 3, 1);
//   A(1, 2) = 5;                   // element at position 1 + 2 * 2
//   QXIntArray view = A;           // shares A's storage
#ifndef QXINTARRAY_H
#define QXINTARRAY_H

#include "QXArrayTemplates.h"

using QXIntArrayStorage = QXArrayStorage<int>;
using QXIntArray = QXArray<int>;
using QXMutableIntArray = QXMutableArray<int>;

#endif
