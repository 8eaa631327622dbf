// Arrays of 16-bit signed integers: QXShortIntArray reads, QXMutableShortIntArray also writes.
// Both are handles on a shared, reference-counted m x n x o column-major
// storage; see QXArrayTemplates.h for the behaviour common to all seven types.
//
//   QXMutableShortIntArray A(2, 3, 1);
//   A(1, 2) = 5;                   // element at position 1 + 2 * 2
//   QXShortIntArray view = A;           // shares A's storage
#ifndef QXSHORTINTARRAY_H
#define QXSHORTINTARRAY_H

#include "QXArrayTemplates.h"

using QXShortIntArrayStorage = QXArrayStorage<short>;
using QXShortIntArray = QXArray<short>;
using QXMutableShortIntArray = QXMutableArray<short>;

#endif
