// A curvilinear grid in the plane: m x n points, point (i,j) at
// (X(i,j), Y(i,j)), and optionally a mask of the points that belong to it.
// The size is m = X.m() and n = Y.n(). X is m x n, or m x 1 when the x
// coordinate does not change along j; Y is m x n, or 1 x n when the y
// coordinate does not change along i. QXStructuredMesh2D holds one double
// value per point of such a grid.
//
//   QXStructuredGrid2D grid(xs, ys);              // xs 5 x 1, ys 1 x 7: 5 x 7 points
//   QXFloatArray x = grid.FullXArray();           // 5 x 7, X(i) along each row
//   WriteToFile(storage, "grid", QXStructuredMesh2D(values, grid));
//
// A grid keeps its coordinate arrays as they were given (shared, float) and
// is valid or empty (both arrays empty, no mask). Coordinate arrays are two
// dimensional (o = 1), and a grid has at most 2^31 - 1 points, counted in 64
// bits: X 70000 x 1 with Y 1 x 70000 is refused.
//
// Storage of a grid: name + "_X" and name + "_Y" (float), then under the name
// (the main entry, last) the mask's runs as an int 2 x N array, or an empty
// int array when no mask is defined. The mask's dimensions are not stored:
// the reader takes them from the arrays (X.m() x Y.n() x 1). A mask that
// holds no points therefore reads back as no mask; writing one is warned. A
// mesh stores its grid under name + "_g" (with "_g_X", "_g_Y") and then its
// values (double) under the name. Every entry is written on every save, and
// the "_Z" of a 3D grid saved before under the name is overwritten with an
// empty array, so a save replaces the whole of an earlier value.
//
// Failures are reported through QXErrorMessage and give the empty value:
//   "QXStructuredGrid2D(X,Y)": "Invalid array sizes." (X.n() neither n nor 1,
//     Y.m() neither m nor 1, or an array with o > 1), "Too many points.".
//   "QXStructuredGrid2D(X,Y,Mask)": the same, then "Invalid mask." (a mask
//     other than m x n x 1).
//   "QXStructuredMesh2D(Array,Grid)": "Array is three dimensional.", and the
//     warning "Grid size is incompatible." (values of another size than the
//     grid's), which leaves the mesh empty too.
//   "ReadFromFile(QXStructuredMesh2D)": "Can not read a three dimensional
//     array."
//   "QXMask::CreateFromIntervals(intervals,...)": a stored run list that does
//     not fit the stored arrays (see QXMask.h); the grid read is empty.
//   "WriteToFile(QXStructuredGrid2D)": the warning "A mask without points is
//     stored as no mask." (the grid is written).
// A grid or mesh of size 0 (an empty X or Y) is the empty value without a
// report.
#ifndef QXSTRUCTUREDGRID2D_H
#define QXSTRUCTUREDGRID2D_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXMask.h"
#include "QXRegion.h"

class QXStructuredGrid2D {
 public:
  // The empty grid.
  QXStructuredGrid2D();
  QXStructuredGrid2D(const QXFloatArray& X, const QXFloatArray& Y);
  // The grid of X and Y restricted to the mask, which must be m x n x 1.
  QXStructuredGrid2D(const QXFloatArray& X, const QXFloatArray& Y, const QXMask& mask);

  int m() const { return Xa.m(); }
  int n() const { return Ya.n(); }
  // The coordinate arrays as given (shared).
  QXFloatArray X() const { return Xa; }
  QXFloatArray Y() const { return Ya; }
  bool MaskDefined() const { return maskDefined; }
  // The mask; the empty mask when none is defined.
  QXMask Mask() const { return maskDefined ? mask : QXMask(); }
  bool IsEmpty() const { return Xa.IsEmpty(); }
  // The coordinates as m x n arrays: X itself when it is m x n, else a new
  // array repeating X(i) along row i; Y likewise down each column. Empty for
  // the empty grid or when the array cannot be allocated (reported).
  QXFloatArray FullXArray() const;
  QXFloatArray FullYArray() const;
  // "m x n structured grid", then ". Mask = N points." when a mask is
  // defined, and an end of line, on standard error: "5x7 structured grid".
  void pinfo() const;

 private:
  QXFloatArray Xa;
  QXFloatArray Ya;
  bool maskDefined;
  QXMask mask;
};

// The ranges of X and of Y (NaN ignored, the mask not consulted); empty when
// either has no number.
QXRegion2D BoundingBox(const QXStructuredGrid2D& grid);
// Equal coordinate arrays (shapes and elements), both or neither with a mask,
// and equal mask runs.
bool operator==(const QXStructuredGrid2D& a, const QXStructuredGrid2D& b);
bool operator!=(const QXStructuredGrid2D& a, const QXStructuredGrid2D& b);

void WriteToFile(QXDataStorage& storage, std::string name, const QXStructuredGrid2D& grid);
// The arrays go through the constructors' checks and reports. A missing name
// is reported by the storage and gives the empty grid.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXStructuredGrid2D& grid);

class QXStructuredMesh2D {
 public:
  // The empty mesh on the empty grid.
  QXStructuredMesh2D();
  // The values (shared), an m x n array for the grid's m x n points. Empty
  // values give the empty mesh.
  QXStructuredMesh2D(const QXDoubleArray& values, const QXStructuredGrid2D& grid);

  QXStructuredGrid2D Grid() const { return grid; }
  QXDoubleArray Data() const { return data; }
  // The grid's line (see QXStructuredGrid2D::pinfo) on standard error.
  void pinfo() const;

 private:
  QXStructuredGrid2D grid;
  QXDoubleArray data;
};

// The bounding box of the grid.
QXRegion2D BoundingBox(const QXStructuredMesh2D& mesh);
// The range of the values, NaN ignored.
QXRegion1D ValueRange(const QXStructuredMesh2D& mesh);
// Equal grids and equal values.
bool operator==(const QXStructuredMesh2D& a, const QXStructuredMesh2D& b);
bool operator!=(const QXStructuredMesh2D& a, const QXStructuredMesh2D& b);

void WriteToFile(QXDataStorage& storage, std::string name, const QXStructuredMesh2D& mesh);
// The values as double, the grid from name + "_g", then the constructor's
// checks and reports.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXStructuredMesh2D& mesh);

#endif
