// Triangulated grids in the plane. A QXTriangularGrid2D holds 2 x N double
// points, one per column, and 3 x M int connections, column j the three
// 0-based point indices of triangle j. It also has room for point numbers and
// a domain boundary (a QXPath2D), which stay empty for the grids made here.
// A QXTriangularMesh2D carries one double value per grid point (N x 1).
//
//   QXTriangularGrid2D grid(connections, points);   // 3 x M int, 2 x N double
//   QXTriangularMesh2D mesh(heights, grid);          // N x 1 double
//   WriteToFile(storage, "terrain", mesh);
//
// A grid is valid or empty: the constructor checks the shapes and every
// connection index (against the number of points, in 64 bits, without using
// any index) and leaves the empty grid, with a report, when something does
// not fit; two empty arrays give the empty grid without one. The arrays are
// shared with the caller's.
//
// Storage, companion first and the main entry last:
//   grid   the points (double) under name + "_pts", then the connections
//          (int) under name;
//   mesh   the grid under name + "_gr", then the values (double) under name.
// The readers hand what they read to the constructors, so a stored index out
// of range is reported, never followed.
//
// Failure texts (operation: message), each leaving the empty value:
//   "QXTriangularGrid2D(conn,pts)": "Invalid array sizes (one is empty).",
//       "Invalid array sizes." (points not 2 x N, connections not 3 x M, or
//       either three-dimensional), "Offset array refers to points out of
//       range."
//   "QXTriangularMesh2D(Array,Grid)": "Array is incompatible with grid." (the
//       values are not an N x 1 column)
#ifndef QXTRIANGULARGRID2D_H
#define QXTRIANGULARGRID2D_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXIntArray.h"
#include "QXPath2D.h"
#include "QXRegion.h"

class QXTriangularGrid2D {
 public:
  // No points, no triangles.
  QXTriangularGrid2D() = default;
  QXTriangularGrid2D(const QXIntArray& conn, const QXDoubleArray& pts);

  QXIntArray Connections() const { return connections; }
  QXDoubleArray Points() const { return points; }
  QXIntArray PointNumbers() const { return pointNumbers; }
  QXPath2D DomainBoundary() const { return domainBoundary; }
  bool IsEmpty() const { return points.IsEmpty(); }
  int NumberOfPoints() const { return points.n(); }
  int NumberOfTriangles() const { return connections.n(); }
  // "Empty" or "N points, M triangles." and an end of line, on standard
  // error.
  void pinfo() const;

 private:
  QXIntArray connections;
  QXDoubleArray points;
  QXIntArray pointNumbers;
  QXPath2D domainBoundary;
};

// Equal points and equal connections (shapes and elements).
bool operator==(const QXTriangularGrid2D& a, const QXTriangularGrid2D& b);
bool operator!=(const QXTriangularGrid2D& a, const QXTriangularGrid2D& b);

class QXTriangularMesh2D {
 public:
  QXTriangularMesh2D() = default;
  // An N x 1 column of values, one per grid point. Empty values on the empty
  // grid give the empty mesh without a report.
  QXTriangularMesh2D(const QXDoubleArray& values, const QXTriangularGrid2D& grid);

  QXTriangularGrid2D Grid() const { return grid; }
  QXDoubleArray Data() const { return data; }
  bool IsEmpty() const { return grid.IsEmpty(); }
  // The grid's line.
  void pinfo() const { grid.pinfo(); }

 private:
  QXTriangularGrid2D grid;
  QXDoubleArray data;
};

// Equal grids and equal values.
bool operator==(const QXTriangularMesh2D& a, const QXTriangularMesh2D& b);
bool operator!=(const QXTriangularMesh2D& a, const QXTriangularMesh2D& b);

// The rectangle around the points, NaN coordinates ignored; the empty region
// for the empty grid.
QXRegion2D BoundingBox(const QXTriangularGrid2D& grid);
QXRegion2D BoundingBox(const QXTriangularMesh2D& mesh);
// The range of the values, NaN ignored.
QXRegion1D ValueRange(const QXTriangularMesh2D& mesh);

void WriteToFile(QXDataStorage& storage, std::string name, const QXTriangularGrid2D& grid);
void WriteToFile(QXDataStorage& storage, std::string name, const QXTriangularMesh2D& mesh);
// A missing name is reported by the storage and gives the empty value.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXTriangularGrid2D& grid);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXTriangularMesh2D& mesh);

#endif
