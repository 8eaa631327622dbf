// Steps shared by the grids, the masks and the meshes built on them: sizes
// counted in 64 bits, the step test, and the one walk over a mask's runs.
#ifndef QXGRIDINTERNAL_H
#define QXGRIDINTERNAL_H

#include <climits>
#include <cmath>

#include "QXMask.h"

// The number of indices of an m x n x o box of sizes not negative, in 64 bits
// so that no product of ints wraps: exact up to the int range, and some count
// above it beyond (three sizes near the int range would overflow even 64 bits).
inline long long QXBoxSize(int m, int n, int o) {
  const long long face = static_cast<long long>(m) * static_cast<long long>(n);
  if (face > INT_MAX && o > 0) return face;
  return face * static_cast<long long>(o);
}

// A step of a grid: a positive, finite number (NaN fails).
inline bool QXIsPositiveStep(double h) { return h > 0 && std::isfinite(h); }

// Calls visit(start, end) for every run of the mask in order, both ends
// inclusive. Each run is clipped to the box and to after the run before it,
// so a run array changed through another handle since the mask was checked
// gives wrong runs at worst, never an index outside the box, an overlap or
// more than m*n*o indices in all.
template <class Visit>
void QXForEachRun(const QXMask& mask, Visit visit) {
  const QXIntArray runs = mask.Intervals();
  if (runs.m() != 2) return;
  const long long box = QXBoxSize(mask.m(), mask.n(), mask.o());
  const int* bounds = runs.Pointer();
  const int count = runs.Length() / 2;
  long long next = 0;  // the first index that a run may take
  for (int j = 0; j < count; j++) {
    const long long start = bounds[2 * j] > next ? bounds[2 * j] : next;
    const long long end = bounds[2 * j + 1] < box - 1 ? bounds[2 * j + 1] : box - 1;
    if (start > end) continue;
    visit(static_cast<int>(start), static_cast<int>(end));
    next = end + 1;
  }
}

#endif
