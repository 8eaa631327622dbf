// The smallest and largest value of each coordinate over records of Stride
// numbers (points of 1, 2 or 3 coordinates, or points with a value), taken
// over one or several spans of records. Value ranges, bounding boxes and the
// loop arrays of paths and plots all use it.
#ifndef QXEXTREMESINTERNAL_H
#define QXEXTREMESINTERNAL_H

#include <algorithm>
#include <cstddef>
#include <limits>

#include "QXRegion.h"

template <class T>
constexpr T QXHighest() {
  return std::numeric_limits<T>::has_infinity ? std::numeric_limits<T>::infinity()
                                              : std::numeric_limits<T>::max();
}

template <class T>
constexpr T QXLowest() {
  return std::numeric_limits<T>::has_infinity ? -std::numeric_limits<T>::infinity()
                                              : std::numeric_limits<T>::lowest();
}

// NaN never replaces a bound, since every comparison with it is false.
template <class T, int Stride>
class QXExtremes {
 public:
  QXExtremes() {
    for (int l = 0; l < Lanes; l++) {
      for (int c = 0; c < Stride; c++) {
        low[l][c] = QXHighest<T>();
        high[l][c] = QXLowest<T>();
      }
    }
  }

  // Takes in `records` records of Stride numbers from `data`. Lanes records
  // are taken at a time into separate bounds, so that the comparisons do not
  // wait on each other. The bounds are worked on in local copies, which the
  // compiler keeps in registers: the members could alias `data`.
  void Add(const T* data, std::ptrdiff_t records) {
    T lo[Lanes][Stride];
    T hi[Lanes][Stride];
    std::copy(&low[0][0], &low[0][0] + Lanes * Stride, &lo[0][0]);
    std::copy(&high[0][0], &high[0][0] + Lanes * Stride, &hi[0][0]);
    std::ptrdiff_t r = 0;
    for (; r + Lanes <= records; r += Lanes) {
      const T* block = data + r * Stride;
      for (int l = 0; l < Lanes; l++) {
        for (int c = 0; c < Stride; c++) {
          const T v = block[l * Stride + c];
          lo[l][c] = v < lo[l][c] ? v : lo[l][c];
          hi[l][c] = v > hi[l][c] ? v : hi[l][c];
        }
      }
    }
    for (; r < records; r++) {
      for (int c = 0; c < Stride; c++) {
        const T v = data[r * Stride + c];
        lo[0][c] = v < lo[0][c] ? v : lo[0][c];
        hi[0][c] = v > hi[0][c] ? v : hi[0][c];
      }
    }
    std::copy(&lo[0][0], &lo[0][0] + Lanes * Stride, &low[0][0]);
    std::copy(&hi[0][0], &hi[0][0] + Lanes * Stride, &high[0][0]);
  }

  // The bounds of coordinate c over everything added: +infinity and
  // -infinity (the type's largest and smallest value for integers) when
  // nothing but NaN was seen there.
  T Low(int c) const {
    T v = low[0][c];
    for (int l = 1; l < Lanes; l++) v = std::min(v, low[l][c]);
    return v;
  }
  T High(int c) const {
    T v = high[0][c];
    for (int l = 1; l < Lanes; l++) v = std::max(v, high[l][c]);
    return v;
  }

  // Coordinates first to first + count - 1 all have bounds: some record held
  // a number in each of them.
  bool Found(int first, int count) const {
    for (int c = first; c < first + count; c++)
      if (!(Low(c) <= High(c))) return false;
    return true;
  }

 private:
  // Four or more independent bounds per coordinate and side, yet few enough
  // to stay in the 16 registers of x86-64 (more lanes spill and run slower).
  static constexpr int Lanes = Stride == 1 ? 4 : Stride < 4 ? 2 : 1;
  T low[Lanes][Stride];
  T high[Lanes][Stride];
};

// The interval of coordinate c; empty when no record held a number there.
template <class T, int Stride>
QXRegion1D QXRangeOf(const QXExtremes<T, Stride>& e, int c) {
  if (!e.Found(c, 1)) return QXRegion1D();
  return QXRegion1D(static_cast<double>(e.Low(c)), static_cast<double>(e.High(c)));
}

// The rectangle of coordinates 0 and 1; empty unless both have bounds.
template <class T, int Stride>
QXRegion2D QXBox2DOf(const QXExtremes<T, Stride>& e) {
  if (!e.Found(0, 2)) return QXRegion2D();
  return QXRegion2D(QXPoint2D(e.Low(0), e.Low(1)), QXPoint2D(e.High(0), e.High(1)));
}

// The box of coordinates 0, 1 and 2, in the precision of T; empty unless all
// three have bounds.
template <class T, int Stride>
QXRegion3D QXBox3DOf(const QXExtremes<T, Stride>& e) {
  if (!e.Found(0, 3)) return QXRegion3D();
  QXRegion3D box;
  box.isSet = true;
  box.xmin = e.Low(0);
  box.xmax = e.High(0);
  box.ymin = e.Low(1);
  box.ymax = e.High(1);
  box.zmin = e.Low(2);
  box.zmax = e.High(2);
  return box;
}

#endif
