// Arrays of 16-bit unsigned integers: QXUShortIntArray reads, QXMutableUShortIntArray also writes.
// Both are handles on a shared, reference-counted m x n x o column-major
// storage; see QXArrayTemplates.h for the behaviour common to all seven types.
//
//   QXMutableUShortIntArray A(2, 3, 1);
//   A(1, 2) = 5;                   // element at position 1 + 2 * 2
//   QXUShortIntArray view = A;           // shares A's storage
#ifndef QXUSHORTINTARRAY_H
#define QXUSHORTINTARRAY_H

#include "QXArrayTemplates.h"

using QXUShortIntArrayStorage = QXArrayStorage<unsigned short>;
using QXUShortIntArray = QXArray<unsigned short>;
using QXMutableUShortIntArray = QXMutableArray<unsigned short>;

#endif
