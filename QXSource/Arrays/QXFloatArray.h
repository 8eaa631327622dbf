// Arrays of 32-bit IEEE floats: QXFloatArray reads, QXMutableFloatArray also writes.
// Both are handles on a shared, reference-counted m x n x o column-major
// storage; see QXArrayTemplates.h for the behaviour common to all seven types.
//
//   QXMutableFloatArray A(2, 3, 1);
//   A(1, 2) = 5;                   // element at position 1 + 2 * 2
//   QXFloatArray view = A;           // shares A's storage
#ifndef QXFLOATARRAY_H
#define QXFLOATARRAY_H

#include "QXArrayTemplates.h"

using QXFloatArrayStorage = QXArrayStorage<float>;
using QXFloatArray = QXArray<float>;
using QXMutableFloatArray = QXMutableArray<float>;

#endif
