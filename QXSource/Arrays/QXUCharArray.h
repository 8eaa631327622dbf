// Arrays of 8-bit unsigned integers (bytes): QXUCharArray reads, QXMutableUCharArray also writes.
// Both are handles on a shared, reference-counted m x n x o column-major
// storage; see QXArrayTemplates.h for the behaviour common to all seven types.
//
//   QXMutableUCharArray A(2, 3, 1);
//   A(1, 2) = 5;                   // element at position 1 + 2 * 2
//   QXUCharArray view = A;           // shares A's storage
#ifndef QXUCHARARRAY_H
#define QXUCHARARRAY_H

#include "QXArrayTemplates.h"

using QXUCharArrayStorage = QXArrayStorage<unsigned char>;
using QXUCharArray = QXArray<unsigned char>;
using QXMutableUCharArray = QXMutableArray<unsigned char>;

#endif
