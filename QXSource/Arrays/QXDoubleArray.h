// Arrays of 64-bit IEEE doubles: QXDoubleArray reads, QXMutableDoubleArray also writes.
// Both are handles on a shared, reference-counted m x n x o column-major
// storage; see QXArrayTemplates.h for the behaviour common to all seven types.
//
//   QXMutableDoubleArray A(2, 3, 1);
//   A(1, 2) = 5;                   // element at position 1 + 2 * 2
//   QXDoubleArray view = A;           // shares A's storage
#ifndef QXDOUBLEARRAY_H
#define QXDOUBLEARRAY_H

#include "QXArrayTemplates.h"

using QXDoubleArrayStorage = QXArrayStorage<double>;
using QXDoubleArray = QXArray<double>;
using QXMutableDoubleArray = QXMutableArray<double>;

#endif
