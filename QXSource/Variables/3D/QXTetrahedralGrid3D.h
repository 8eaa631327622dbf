// Tetrahedral volume grids. A QXTetrahedralGrid3D holds 3 x N float points,
// one per column, and 4 x M int offsets, column j the four 0-based point
// indices of tetrahedron j; optionally the 4 x M neighbours of each
// tetrahedron (tetrahedron indices, -1 where a face has none) and one int
// number per point (N x 1). QXTetrahedralMesh3D carries one float value per
// grid point, QXTetrahedralVectorField3D one float vector (3 x N).
//
//   QXTetrahedralGrid3D grid(points, offsets);     // 3 x N float, 4 x M int
//   grid = SetNextTetrahedra(grid, neighbours);    // 4 x M, -1 ... M-1
//   WriteToFile(storage, "T", QXTetrahedralMesh3D(grid, pressure));
//
// A grid is valid or empty: the constructors check the shapes and every index
// (against the point or tetrahedron count, in 64 bits, without using any
// index) and leave the empty grid, with a report, when something does not
// fit; empty points with empty offsets give the empty grid without one. The
// arrays are shared with the caller's.
//
// Storage, companions first and the main entry last:
//   grid   name + "_Next" (int, only with neighbours), name + "_PtN" (int,
//          only with point numbers), name + "_Pts" (float points), then the
//          offsets (int) under name;
//   mesh   the grid under name + "_g", then the values (float) under name;
//   field  the grid under name + "_g", then the vectors (float) under name.
// A save replaces the whole value: a "_Next" or "_PtN" the new grid lacks is
// overwritten with an empty array, and an empty entry reads as absent. The
// readers hand what they read to the constructors, so a stored index out of
// range is reported, never followed. A stored "_Next" or "_PtN" that does
// not fit is reported and dropped: the grid reads back without it.
//
// Failure texts (operation: message), each leaving the empty value:
//   "QXTetrahedralGrid3D(points,offsets)": "The point array has incorrect
//       size.", "The offset array has incorrect size.", "Offset array refers
//       to points out of range."
//   "QXTetrahedralGrid3D(points,offsets,tetra,points)": the same, then
//       "tetra array has incorrect size.", "Offset array refers to points out
//       of range." (a neighbour outside -1 ... M-1), "point number array has
//       incorrect size."
//   "QXTetrahedralMesh3D(grid,values)": "Length of value array incorrect."
//   "QXTetrahedralVectorField3D(grid,vectors)": "Length of value array
//       incorrect." (not N columns), "Vector array incorrect." (not 3 x N x 1)
#ifndef QXTETRAHEDRALGRID3D_H
#define QXTETRAHEDRALGRID3D_H

#include <string>

#include "QXDataStorage.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXRegion.h"

class QXTetrahedralGrid3D {
 public:
  // No points, no tetrahedra.
  QXTetrahedralGrid3D() = default;
  QXTetrahedralGrid3D(const QXFloatArray& points, const QXIntArray& offsets);
  // With neighbours and point numbers, each optional (empty for none).
  QXTetrahedralGrid3D(const QXFloatArray& points, const QXIntArray& offsets,
                      const QXIntArray& nextTetra, const QXIntArray& pointNumbers);

  QXFloatArray Points() const { return points; }
  QXIntArray Offsets() const { return offsets; }
  QXIntArray NeighboringTetrahedra() const { return nextTetra; }
  QXIntArray PointNumbers() const { return pointNumbers; }
  bool IsEmpty() const { return points.IsEmpty(); }
  int NumberOfPoints() const { return points.n(); }
  int NumberOfTetrahedra() const { return offsets.n(); }
  // "Empty" or "N points, M tetrahedra." and an end of line, on standard
  // error.
  void pinfo() const;

 private:
  QXFloatArray points;
  QXIntArray offsets;
  QXIntArray nextTetra;
  QXIntArray pointNumbers;
};

// The grid made again by the four-array constructor with the neighbours, or
// the point numbers, replaced (the empty grid, reported, when they do not
// fit).
QXTetrahedralGrid3D SetNextTetrahedra(const QXTetrahedralGrid3D& grid, const QXIntArray& next);
QXTetrahedralGrid3D SetPointNumbers(const QXTetrahedralGrid3D& grid, const QXIntArray& numbers);

class QXTetrahedralMesh3D {
 public:
  QXTetrahedralMesh3D() = default;
  // One value per grid point (any shape of N elements).
  QXTetrahedralMesh3D(const QXTetrahedralGrid3D& grid, const QXFloatArray& values);

  QXTetrahedralGrid3D Grid() const { return grid; }
  QXFloatArray Values() const { return values; }
  bool IsEmpty() const { return grid.IsEmpty(); }
  // The grid's line.
  void pinfo() const { grid.pinfo(); }

 private:
  QXTetrahedralGrid3D grid;
  QXFloatArray values;
};

class QXTetrahedralVectorField3D {
 public:
  QXTetrahedralVectorField3D() = default;
  // One vector (a column of 3 x N) per grid point.
  QXTetrahedralVectorField3D(const QXTetrahedralGrid3D& grid, const QXFloatArray& vectors);

  QXTetrahedralGrid3D Grid() const { return grid; }
  QXFloatArray Vectors() const { return vectors; }
  bool IsEmpty() const { return grid.IsEmpty(); }
  // The grid's line.
  void pinfo() const { grid.pinfo(); }

 private:
  QXTetrahedralGrid3D grid;
  QXFloatArray vectors;
};

// The box around the points, NaN coordinates ignored; the empty region for
// the empty grid.
QXRegion3D BoundingBox(const QXTetrahedralGrid3D& grid);
QXRegion3D BoundingBox(const QXTetrahedralMesh3D& mesh);
QXRegion3D BoundingBox(const QXTetrahedralVectorField3D& field);
// The range of the values, NaN ignored.
QXRegion1D ValueRange(const QXTetrahedralMesh3D& mesh);

void WriteToFile(QXDataStorage& storage, std::string name, const QXTetrahedralGrid3D& grid);
void WriteToFile(QXDataStorage& storage, std::string name, const QXTetrahedralMesh3D& mesh);
void WriteToFile(QXDataStorage& storage, std::string name, const QXTetrahedralVectorField3D& field);
// A missing name is reported by the storage and gives the empty value.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXTetrahedralGrid3D& grid);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXTetrahedralMesh3D& mesh);
void ReadFromFile(const QXDataStorage& storage, std::string name,
                  QXTetrahedralVectorField3D& field);

#endif
