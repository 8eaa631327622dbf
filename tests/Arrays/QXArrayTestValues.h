// Small arrays written out as lists of values, and read back as lists, for
// the tests of the array operations.
#ifndef QXARRAYTESTVALUES_H
#define QXARRAYTESTVALUES_H

#include <string>
#include <vector>

#include "QXArrayTemplates.h"

using Errors = std::vector<std::string>;

// A column holding the values.
template <class T>
QXMutableArray<T> Column(const std::vector<T>& values) {
  QXMutableArray<T> A(static_cast<int>(values.size()), 1, 1);
  for (int p = 0; p < A.Length(); p++) A(p) = values[p];
  return A;
}

// The elements in buffer order.
template <class T>
std::vector<T> Values(const QXArray<T>& A) {
  return std::vector<T>(A.Pointer(), A.Pointer() + A.Length());
}

#endif
