// Helpers for the tests of the variable types: arrays of a given shape, and
// the entries a file storage lists.
#ifndef QXCOLLECTIONTESTSUPPORT_H
#define QXCOLLECTIONTESTSUPPORT_H

#include <functional>
#include <numeric>

#include "QXMatlabFileBytes.h"
#include "QXMemoryStorage.h"

// An m x n x o array holding 0, 1, 2 ... in column-major order.
template <class T>
QXMutableArray<T> Counting(int m, int n, int o = 1) {
  QXMutableArray<T> A(m, n, o);
  std::iota(A.Pointer(), A.Pointer() + A.Length(), T(0));
  return A;
}

// A storage's listing without its three heading lines: one line per entry,
// in the order of the file.
inline std::string WithoutHeading(const std::string& listing) {
  size_t start = 0;
  for (int line = 0; line < 3; line++) start = listing.find('\n', start) + 1;
  return listing.substr(start);
}

// A call that should fail and leave its result empty, and its report.
struct QXRefusal {
  std::function<bool()> leavesEmpty;
  std::string report;
};

// A call that prints, and what it prints on standard error.
struct QXPrinting {
  std::function<void()> print;
  std::string text;
};

#endif
