#include "QXRegion.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "QXError.h"
#include "QXVariableStorageInternal.h"

namespace {

// The smallest and largest value of each of Stride coordinates over records
// of Stride numbers. NaN never replaces a bound, since every comparison with
// it is false.
template <class T, int Stride>
struct Extremes {
  T low[Stride];
  T high[Stride];
};

template <class T>
constexpr T Highest() {
  return std::numeric_limits<T>::has_infinity ? std::numeric_limits<T>::infinity()
                                              : std::numeric_limits<T>::max();
}

template <class T>
constexpr T Lowest() {
  return std::numeric_limits<T>::has_infinity ? -std::numeric_limits<T>::infinity()
                                              : std::numeric_limits<T>::lowest();
}

// One pass over `records` records. Four records are taken at a time into
// separate bounds, so that the comparisons do not wait on each other.
template <class T, int Stride>
Extremes<T, Stride> FindExtremes(const T* data, std::ptrdiff_t records) {
  constexpr int Lanes = 4;
  T low[Lanes][Stride];
  T high[Lanes][Stride];
  for (int l = 0; l < Lanes; l++) {
    for (int c = 0; c < Stride; c++) {
      low[l][c] = Highest<T>();
      high[l][c] = Lowest<T>();
    }
  }
  std::ptrdiff_t r = 0;
  for (; r + Lanes <= records; r += Lanes) {
    const T* block = data + r * Stride;
    for (int l = 0; l < Lanes; l++) {
      for (int c = 0; c < Stride; c++) {
        const T v = block[l * Stride + c];
        low[l][c] = v < low[l][c] ? v : low[l][c];
        high[l][c] = v > high[l][c] ? v : high[l][c];
      }
    }
  }
  for (; r < records; r++) {
    for (int c = 0; c < Stride; c++) {
      const T v = data[r * Stride + c];
      low[0][c] = v < low[0][c] ? v : low[0][c];
      high[0][c] = v > high[0][c] ? v : high[0][c];
    }
  }
  Extremes<T, Stride> result;
  for (int c = 0; c < Stride; c++) {
    result.low[c] = low[0][c];
    result.high[c] = high[0][c];
    for (int l = 1; l < Lanes; l++) {
      result.low[c] = std::min(result.low[c], low[l][c]);
      result.high[c] = std::max(result.high[c], high[l][c]);
    }
  }
  return result;
}

// Every coordinate has a bound: some record held a number there.
template <class T, int Stride>
bool Found(const Extremes<T, Stride>& e) {
  for (int c = 0; c < Stride; c++)
    if (!(e.low[c] <= e.high[c])) return false;
  return true;
}

template <class T>
QXRegion1D ValueRangeOf(const QXArray<T>& A) {
  if (A.IsEmpty()) return QXRegion1D();
  const Extremes<T, 1> e = FindExtremes<T, 1>(A.Pointer(), A.Length());
  if (!Found(e)) return QXRegion1D();
  return QXRegion1D(static_cast<double>(e.low[0]), static_cast<double>(e.high[0]));
}

constexpr const char* kBoundingBox = "BoundingBox(Array)";
constexpr const char* kIncorrectSize = "The array had an incorrect size.";

// A region read from a double array of `length` numbers: an empty array is a
// region not set, silently; another length is reported.
bool ReadRegionNumbers(const QXDataStorage& storage, const std::string& name, int length,
                       const char* type, QXDoubleArray& stored) {
  ReadFromFile(storage, name, stored);
  if (stored.Length() == length) return true;
  if (stored.NotEmpty()) QXErrorMessage(QXReadFromArrayOperation(type), "Invalid length of array.");
  return false;
}

}  // namespace

QXRegion1D ValueRange(const QXIntArray& A) { return ValueRangeOf(A); }
QXRegion1D ValueRange(const QXFloatArray& A) { return ValueRangeOf(A); }
QXRegion1D ValueRange(const QXDoubleArray& A) { return ValueRangeOf(A); }

QXRegion1D Union(QXRegion1D a, QXRegion1D b) {
  if (!a.isSet) return b;
  if (!b.isSet) return a;
  return QXRegion1D(std::min(a.minV, b.minV), std::max(a.maxV, b.maxV));
}

QXRegion2D Union(QXRegion2D a, QXRegion2D b) {
  if (!a.isSet) return b;
  if (!b.isSet) return a;
  return QXRegion2D(QXPoint2D(std::min(a.xmin, b.xmin), std::min(a.ymin, b.ymin)),
                    QXPoint2D(std::max(a.xmax, b.xmax), std::max(a.ymax, b.ymax)));
}

QXRegion3D Union(QXRegion3D a, QXRegion3D b) {
  if (!a.isSet) return b;
  if (!b.isSet) return a;
  QXRegion3D result = a;
  result.xmin = std::min(a.xmin, b.xmin);
  result.xmax = std::max(a.xmax, b.xmax);
  result.ymin = std::min(a.ymin, b.ymin);
  result.ymax = std::max(a.ymax, b.ymax);
  result.zmin = std::min(a.zmin, b.zmin);
  result.zmax = std::max(a.zmax, b.zmax);
  return result;
}

QXRegion2D BoundingBox2D(const QXDoubleArray& A) {
  if (A.IsEmpty()) return QXRegion2D();
  if (A.m() != 2) {
    QXErrorMessage(kBoundingBox, kIncorrectSize);
    return QXRegion2D();
  }
  const Extremes<double, 2> e = FindExtremes<double, 2>(A.Pointer(), A.Length() / 2);
  if (!Found(e)) return QXRegion2D();
  return QXRegion2D(QXPoint2D(e.low[0], e.low[1]), QXPoint2D(e.high[0], e.high[1]));
}

QXRegion3D BoundingBox3D(const QXFloatArray& A) {
  if (A.IsEmpty()) return QXRegion3D();
  if (A.m() % 3 != 0) {
    QXErrorMessage(kBoundingBox, kIncorrectSize);
    return QXRegion3D();
  }
  const Extremes<float, 3> e = FindExtremes<float, 3>(A.Pointer(), A.Length() / 3);
  if (!Found(e)) return QXRegion3D();
  return QXRegion3D(QXPoint3D(e.low[0], e.low[1], e.low[2]), QXPoint3D(e.high[0], e.high[1], e.high[2]));
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXRegion1D& r) {
  const double numbers[] = {r.minV, r.maxV};
  QXSaveColumn(storage, name, numbers, r.isSet ? 2 : 0);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXRegion2D& r) {
  const double numbers[] = {r.xmin, r.xmax, r.ymin, r.ymax};
  QXSaveColumn(storage, name, numbers, r.isSet ? 4 : 0);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXRegion3D& r) {
  const double numbers[] = {r.xmin, r.xmax, r.ymin, r.ymax, r.zmin, r.zmax};
  QXSaveColumn(storage, name, numbers, r.isSet ? 6 : 0);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXRegion1D& r) {
  QXDoubleArray a;
  r = ReadRegionNumbers(storage, name, 2, "QXRegion1D", a) ? QXRegion1D(a(0), a(1)) : QXRegion1D();
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXRegion2D& r) {
  QXDoubleArray a;
  r = QXRegion2D();
  if (!ReadRegionNumbers(storage, name, 4, "QXRegion2D", a)) return;
  r = QXRegion2D(QXPoint2D(a(0), a(2)), QXPoint2D(a(1), a(3)));
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXRegion3D& r) {
  QXDoubleArray a;
  r = QXRegion3D();
  if (!ReadRegionNumbers(storage, name, 6, "QXRegion3D", a)) return;
  r.isSet = true;
  r.xmin = a(0);
  r.xmax = a(1);
  r.ymin = a(2);
  r.ymax = a(3);
  r.zmin = a(4);
  r.zmax = a(5);
}
