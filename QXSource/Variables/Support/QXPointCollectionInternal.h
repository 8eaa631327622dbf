// Steps shared by the collections of points, vectors and atoms in the plane
// and in space: the shape checks their constructors make, the text of their
// pinfo() lines, and the storage of a collection kept in one array or as
// points with values.
#ifndef QXPOINTCOLLECTIONINTERNAL_H
#define QXPOINTCOLLECTIONINTERNAL_H

#include <cstdio>
#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXError.h"

// A k x N x 1 array with N at least 1: one record of k numbers per column.
template <class T>
bool QXHoldsRecords(const QXArray<T>& A, int k) {
  return A.NotEmpty() && A.m() == k && A.o() == 1;
}

// The check of a collection kept in one array of k-number records: true when
// A is k x N x 1; false without a report when A is empty; otherwise reports
// (operation, message) and gives false.
template <class T>
bool QXCheckRecords(const QXArray<T>& A, int k, const char* operation, const char* message) {
  if (A.IsEmpty()) return false;
  if (QXHoldsRecords(A, k)) return true;
  QXErrorMessage(operation, message);
  return false;
}

// The check of points of k coordinates with one value each: true when the
// points are k x N x 1 and there are N values (of any shape); false without
// a report when both are empty; otherwise reports "Invalid size of point."
// or "Invalid size of value array." under the operation and gives false.
template <class T>
bool QXCheckPointValues(const QXArray<T>& points, const QXDoubleArray& values, int k,
                        const char* operation) {
  if (points.IsEmpty() && values.IsEmpty()) return false;
  if (!QXHoldsRecords(points, k)) {
    QXErrorMessage(operation, "Invalid size of point.");
    return false;
  }
  if (values.Length() != points.n()) {
    QXErrorMessage(operation, "Invalid size of value array.");
    return false;
  }
  return true;
}

// Writes the count and the text ("12 points\n") to standard error.
inline void QXPrintCount(int count, const char* text) {
  const std::string line = std::to_string(count) + text;
  std::fwrite(line.data(), 1, line.size(), stderr);
}

// Reads the array of element type Array under the name and makes the
// collection from it, with the constructor's checks.
template <class Array, class Collection>
void QXReadRecordCollection(const QXDataStorage& storage, const std::string& name,
                            Collection& collection) {
  Array stored;
  ReadFromFile(storage, name, stored);
  collection = Collection(stored);
}

// Saves the values under name + "_val", then the points under name.
template <class Points>
void QXWritePointValues(QXDataStorage& storage, const std::string& name, const Points& points,
                        const QXDoubleArray& values) {
  WriteToFile(storage, name + "_val", values);
  WriteToFile(storage, name, points);
}

// Reads the points (element type Points) under name and the values under
// name + "_val" and makes the collection from them, with its checks. A name
// missing with its values is reported once, by the storage.
template <class Points, class Collection>
void QXReadPointValues(const QXDataStorage& storage, const std::string& name,
                       Collection& collection) {
  Points points;
  QXDoubleArray values;
  ReadFromFile(storage, name, points);
  if (points.NotEmpty() || storage.Contains(name + "_val"))
    ReadFromFile(storage, name + "_val", values);
  collection = Collection(points, values);
}

#endif
