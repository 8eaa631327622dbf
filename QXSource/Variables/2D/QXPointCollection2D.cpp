#include "QXPointCollection2D.h"

#include <cstdio>

#include "QXPointCollectionInternal.h"

QXPointCollection2D::QXPointCollection2D(const QXDoubleArray& A) {
  if (QXCheckRecords(A, 2, "QXPointCollection2D(Array)", "Invalid size of array.")) data = A;
}

void QXPointCollection2D::pinfo() const { QXPrintCount(data.n(), " points\n"); }

QXPointValueCollection2D::QXPointValueCollection2D(const QXDoubleArray& points,
                                                   const QXDoubleArray& values) {
  if (!QXCheckPointValues(points, values, 2, "QXPointValueCollection2D(Points,Values)")) return;
  this->points = points;
  this->values = values;
}

void QXPointValueCollection2D::pinfo() const { QXPrintCount(points.n(), " points + values\n"); }

QXVectorCollection2D::QXVectorCollection2D(const QXDoubleArray& A) {
  if (QXCheckRecords(A, 4, "QXVectorCollection2D(Array)", "Invalid size - needs to be 4xN."))
    data = A;
}

QXVectorCollection2D::QXVectorCollection2D(const QXDoubleArray& P, const QXDoubleArray& Q) {
  if (P.IsEmpty() && Q.IsEmpty()) return;
  if (!QXHoldsRecords(P, 2) || !QXHoldsRecords(Q, 2) || P.n() != Q.n()) {
    QXErrorMessage("QXVectorCollection2D(Array,Array)", "Invalid sizes - both need to be 2xN.");
    return;
  }
  const int count = P.n();
  QXMutableDoubleArray joined(4, count, 1);
  if (joined.n() != count) return;  // too large: reported by the array
  const double* p = P.Pointer();
  const double* q = Q.Pointer();
  double* to = joined.Pointer();
  for (long long j = 0; j < count; j++) {
    to[4 * j] = p[2 * j];
    to[4 * j + 1] = p[2 * j + 1];
    to[4 * j + 2] = q[2 * j];
    to[4 * j + 3] = q[2 * j + 1];
  }
  data = joined;
}

void QXVectorCollection2D::pinfo() const {
  const int count = data.n();
  if (count == 0)
    std::fputs("No vectors.\n", stderr);
  else if (count == 1)
    std::fputs("One vector.\n", stderr);
  else
    QXPrintCount(count, " vectors.\n");
}

QXRegion2D BoundingBox(const QXPointCollection2D& collection) {
  return BoundingBox2D(collection.Data());
}

QXRegion2D BoundingBox(const QXPointValueCollection2D& collection) {
  return BoundingBox2D(collection.Points());
}

QXRegion1D ValueRange(const QXPointValueCollection2D& collection) {
  return ValueRange(collection.Values());
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPointCollection2D& collection) {
  WriteToFile(storage, name, collection.Data());
}

void WriteToFile(QXDataStorage& storage, std::string name,
                 const QXPointValueCollection2D& collection) {
  QXWritePointValues(storage, name, collection.Points(), collection.Values());
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXVectorCollection2D& collection) {
  WriteToFile(storage, name, collection.Data());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPointCollection2D& collection) {
  QXReadRecordCollection<QXDoubleArray>(storage, name, collection);
}

void ReadFromFile(const QXDataStorage& storage, std::string name,
                  QXPointValueCollection2D& collection) {
  QXReadPointValues<QXDoubleArray>(storage, name, collection);
}

void ReadFromFile(const QXDataStorage& storage, std::string name,
                  QXVectorCollection2D& collection) {
  QXReadRecordCollection<QXDoubleArray>(storage, name, collection);
}
