// A curvilinear grid in space: m x n x o points, point (i,j,k) at
// (X(i,j,k), Y(i,j,k), Z(i,j,k)), and optionally a mask of the points that
// belong to it. The size is m = X.m(), n = Y.n(), o = Z.o(); each array has
// in each dimension either the full size or 1, and is repeated along a
// dimension where its extent is 1. It is the 2D structured grid (see
// QXStructuredGrid2D.h) with a third coordinate.
//
//   QXStructuredGrid3D grid(xs, ys, zs);    // xs 4 x 1 x 1, ys 1 x 3 x 1, zs 1 x 1 x 2
//   QXFloatArray z = grid.FullZArray();     // 4 x 3 x 2, Z(k) over layer k
//   QXRegion3D box = BoundingBox(grid);
//
// A grid keeps its coordinate arrays as given (shared, float) and is valid or
// empty (all arrays empty, no mask); it has at most 2^31 - 1 points, counted
// in 64 bits.
//
// Storage: name + "_X", "_Y", "_Z" (float), then under the name (the main
// entry, last) the mask's runs as an int 2 x N array, or an empty int array
// without mask. The reader takes the mask's dimensions from the arrays
// (X.m() x Y.n() x Z.o()); a mask without points reads back as no mask, and
// writing one is warned. Every entry is written on every save.
//
// Failures are reported through QXErrorMessage and give the empty grid:
//   "QXStructuredGrid3D(X,Y,Z)": "Invalid array sizes." (an extent neither
//     the full size nor 1), "Too many points.".
//   "QXStructuredGrid3D(X,Y,Z,Mask)": the same, then "Invalid mask." (a mask
//     other than m x n x o).
//   "QXMask::CreateFromIntervals(intervals,...)": a stored run list that does
//     not fit the stored arrays (see QXMask.h); the grid read is empty.
//   "WriteToFile(QXStructuredGrid3D)": the warning "A mask without points is
//     stored as no mask." (the grid is written).
// A grid of size 0 (an empty X, Y or Z) is the empty grid without a report.
#ifndef QXSTRUCTUREDGRID3D_H
#define QXSTRUCTUREDGRID3D_H

#include <string>

#include "QXDataStorage.h"
#include "QXFloatArray.h"
#include "QXMask.h"
#include "QXRegion.h"

class QXStructuredGrid3D {
 public:
  // The empty grid.
  QXStructuredGrid3D();
  QXStructuredGrid3D(const QXFloatArray& X, const QXFloatArray& Y, const QXFloatArray& Z);
  // The grid restricted to the mask, which must be m x n x o.
  QXStructuredGrid3D(const QXFloatArray& X, const QXFloatArray& Y, const QXFloatArray& Z,
                     const QXMask& mask);

  int m() const { return Xa.m(); }
  int n() const { return Ya.n(); }
  int o() const { return Za.o(); }
  // The coordinate arrays as given (shared).
  QXFloatArray X() const { return Xa; }
  QXFloatArray Y() const { return Ya; }
  QXFloatArray Z() const { return Za; }
  bool MaskDefined() const { return maskDefined; }
  // The mask; the empty mask when none is defined.
  QXMask Mask() const { return maskDefined ? mask : QXMask(); }
  bool IsEmpty() const { return Xa.IsEmpty(); }
  // The coordinates as m x n x o arrays: the array itself when it has that
  // size, else a new one repeating it along its dimensions of extent 1.
  // Empty for the empty grid or when the array cannot be allocated
  // (reported).
  QXFloatArray FullXArray() const;
  QXFloatArray FullYArray() const;
  QXFloatArray FullZArray() const;
  // "m x n x o structured grid", then ". Mask = N points." when a mask is
  // defined, and an end of line, on standard error: "4x3x2 structured grid".
  void pinfo() const;

 private:
  QXFloatArray Xa;
  QXFloatArray Ya;
  QXFloatArray Za;
  bool maskDefined;
  QXMask mask;
};

// The ranges of X, Y and Z (NaN ignored, the mask not consulted); empty when
// any of them has no number.
QXRegion3D BoundingBox(const QXStructuredGrid3D& grid);
// Equal coordinate arrays (shapes and elements), both or neither with a mask,
// and equal mask runs.
bool operator==(const QXStructuredGrid3D& a, const QXStructuredGrid3D& b);
bool operator!=(const QXStructuredGrid3D& a, const QXStructuredGrid3D& b);

void WriteToFile(QXDataStorage& storage, std::string name, const QXStructuredGrid3D& grid);
// The arrays go through the constructors' checks and reports. A missing name
// is reported by the storage and gives the empty grid.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXStructuredGrid3D& grid);

#endif
