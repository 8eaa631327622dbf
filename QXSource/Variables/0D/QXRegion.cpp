#include "QXRegion.h"

#include <algorithm>

#include "QXError.h"
#include "QXExtremesInternal.h"
#include "QXVariableStorageInternal.h"

namespace {

template <class T>
QXRegion1D ValueRangeOf(const QXArray<T>& A) {
  if (A.IsEmpty()) return QXRegion1D();
  QXExtremes<T, 1> e;
  e.Add(A.Pointer(), A.Length());
  return QXRangeOf(e, 0);
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
  QXExtremes<double, 2> e;
  e.Add(A.Pointer(), A.Length() / 2);
  return QXBox2DOf(e);
}

QXRegion3D BoundingBox3D(const QXFloatArray& A) {
  if (A.IsEmpty()) return QXRegion3D();
  if (A.m() % 3 != 0) {
    QXErrorMessage(kBoundingBox, kIncorrectSize);
    return QXRegion3D();
  }
  QXExtremes<float, 3> e;
  e.Add(A.Pointer(), A.Length() / 3);
  return QXBox3DOf(e);
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
