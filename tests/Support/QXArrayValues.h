// Arrays from lists of values and back, for tests that check elements.
#ifndef QXARRAYVALUES_H
#define QXARRAYVALUES_H

#include <algorithm>
#include <vector>

#include "QXTestSupport.h"

// An m x n x o array holding the values in column-major order.
template <class T>
QXMutableArray<T> MakeArray(int m, int n, int o, const std::vector<T>& values) {
  QXMutableArray<T> A(m, n, o);
  std::copy(values.begin(), values.end(), A.Pointer());
  return A;
}

// A column holding the values; empty when there are none.
template <class T>
QXMutableArray<T> Column(const std::vector<T>& values) {
  return MakeArray<T>(static_cast<int>(values.size()), 1, 1, values);
}

template <class T>
std::vector<T> Elements(const QXArray<T>& A) {
  return std::vector<T>(A.Pointer(), A.Pointer() + A.Length());
}

// The dimensions m, n and o.
template <class T>
std::vector<int> SizeOf(const QXArray<T>& A) {
  return {A.m(), A.n(), A.o()};
}

#endif
