// Steps shared by the types that connect points into triangles or tetrahedra
// (surfaces, triangular and tetrahedral grids) and by the types that carry
// one value or vector per point of such a grid: the index check of a
// connection array, the shape check of triangles over points, and the storage
// of a grid beside its values.
#ifndef QXCONNECTIONINTERNAL_H
#define QXCONNECTIONINTERNAL_H

#include <string>

#include "QXDataStorage.h"
#include "QXError.h"
#include "QXExtremesInternal.h"
#include "QXPointCollectionInternal.h"

// Every index of the connection array lies in first ... count - 1. The bounds
// are the array's own smallest and largest elements compared in 64 bits, so
// no index is trusted and none is used: INT_MIN, a negative index or one equal
// to the count is refused whatever else the array holds. An empty array
// passes.
inline bool QXIndicesWithin(const QXIntArray& connections, long long first, long long count) {
  if (connections.IsEmpty()) return true;
  QXExtremes<int, 1> e;
  e.Add(connections.Pointer(), connections.Length());
  return e.Low(0) >= first && static_cast<long long>(e.High(0)) < count;
}

// The check of triangles given as three point indices per column of `conn`
// into the columns of `pts` (rows coordinates each). True when both are
// usable; false without a report when both are empty; otherwise reports
// under the operation "Invalid array sizes (one is empty).", "Invalid array
// sizes." or "Offset array refers to points out of range.".
template <class T>
bool QXCheckTriangles(const QXIntArray& conn, const QXArray<T>& pts, int rows,
                      const char* operation) {
  if (conn.IsEmpty() && pts.IsEmpty()) return false;
  if (conn.IsEmpty() || pts.IsEmpty()) {
    QXErrorMessage(operation, "Invalid array sizes (one is empty).");
    return false;
  }
  if (!QXHoldsRecords(pts, rows) || !QXHoldsRecords(conn, 3)) {
    QXErrorMessage(operation, "Invalid array sizes.");
    return false;
  }
  if (!QXIndicesWithin(conn, 0, pts.n())) {
    QXErrorMessage(operation, "Offset array refers to points out of range.");
    return false;
  }
  return true;
}

// "Empty\n" when there are no points, else "N points, M <shapes>.\n", on
// standard error.
inline void QXPrintPointsAnd(int points, int shapes, const char* shapeName) {
  if (points == 0) {
    std::fputs("Empty\n", stderr);
    return;
  }
  QXPrintCount(points, (" points, " + std::to_string(shapes) + " " + shapeName + ".\n").c_str());
}

// Reads the connection array (int) under the name and, when it holds
// something or the storage has the entry, the points under name + suffix: a
// missing variable is reported once, by the storage.
template <class Points>
void QXReadIndicesAndPoints(const QXDataStorage& storage, const std::string& name,
                            const char* suffix, QXIntArray& indices, Points& points) {
  ReadFromFile(storage, name, indices);
  if (indices.NotEmpty() || storage.Contains(name + suffix))
    ReadFromFile(storage, name + suffix, points);
}

// Writes the grid under name + suffix, then the values under the name.
template <class Grid, class Values>
void QXWriteGridAndValues(QXDataStorage& storage, const std::string& name, const char* suffix,
                          const Grid& grid, const Values& values) {
  WriteToFile(storage, name + suffix, grid);
  storage.Save(values, name);
}

// Reads the grid from name + suffix and the values (element type of Values)
// from the name, and hands both to make(grid, values), which checks them.
template <class Grid, class Values, class Result, class Make>
void QXReadGridAndValues(const QXDataStorage& storage, const std::string& name, const char* suffix,
                         Result& result, Make make) {
  Grid grid;
  Values values;
  ReadFromFile(storage, name + suffix, grid);
  ReadFromFile(storage, name, values);
  result = make(grid, values);
}

#endif
