// A regular rectangular grid in the plane: m points along x and n along y,
// point (i,j) at origin + (i*dx, j*dy), and optionally a mask of the m x n
// points that hold values. A grid of 0 x 0 has no size: it fixes only the
// origin and the steps, and a mesh built on it takes its size from its data.
//
//   QXMesh2DGrid grid(QXPoint2D(-1, -1), 0.5, 0.5, 5, 5);
//   QXRegion2D box = BoundingBox(grid);              // (-1,-1) to (1,1)
//   WriteToFile(storage, "grid", grid);
//
// Sizes are both 0 or both positive (a size product of 0 makes both 0; the
// product is taken in 64 bits, so 65536 x 65536 is a size, not 0 x 0); steps
// are positive finite numbers; a grid with a mask has the mask's m and n.
//
// Storage: the double 4 x 1 (origin.x, origin.y, dx, dy) under the name (the
// main entry, written last), after the int 2 x 1 (m, n) under name + "_size"
// when the grid has a size. The mask is not written. A grid without size,
// and WriteToFileNoSize, leave no "_size": one left by an earlier value under
// the name is overwritten with an empty array, which reads as absent.
//
// Failures are reported through QXErrorMessage and give the default grid
// (0 x 0, origin (0,0), dx = dy = 1, no mask):
//   "QXMeshGrid(m,n)": "One of the size is negative."
//   "QXMeshGrid(origin,dx,dy,m,n)": "One of the size is negative." (a
//     negative size, or a step that is not a positive finite number).
//   "QXMeshGrid(origin,h)": "Step size is negative."
//   "QXMeshGrid(origin,dx,dy,mask)": "Passing in a 3D Mask.", then "Step size
//     is negative.".
//   "ReadFromArray(QXMesh2DGrid)": "Incorrect size array." (a main entry of
//     another length than 4, a "_size" of another length than 2).
#ifndef QXMESH2DGRID_H
#define QXMESH2DGRID_H

#include <string>

#include "QXDataStorage.h"
#include "QXMask.h"
#include "QXPoint.h"
#include "QXRegion.h"

class QXMesh2DGrid {
 public:
  // 0 x 0, origin (0,0), dx = dy = 1, no mask.
  QXMesh2DGrid();
  // The standard grid of m x n points: origin (0,0), unit steps.
  QXMesh2DGrid(int m, int n);
  QXMesh2DGrid(QXPoint2D origin, double dx, double dy, int m, int n);
  // A grid without size whose steps are both h.
  QXMesh2DGrid(QXPoint2D origin, double h);
  // The grid of a 2D mask (o at most 1): its size is the mask's m x n.
  QXMesh2DGrid(QXPoint2D origin, double dx, double dy, const QXMask& mask);

  int m() const { return _m; }
  int n() const { return _n; }
  QXPoint2D Origin() const { return _origin; }
  double dx() const { return _dx; }
  double dy() const { return _dy; }
  bool MaskDefined() const { return maskDefined; }
  // The mask; the empty mask when none is defined.
  QXMask Mask() const { return maskDefined ? mask : QXMask(); }
  // Origin exactly (0,0) and both steps exactly 1, whatever the size and mask.
  bool IsStandard() const;
  // "m x n mesh, origin = (x,y), h = dx" (or "dx = .., dy = .." when the
  // steps differ), then ". Mask = N points." when a mask is defined, and an
  // end of line, on standard error. A standard grid of 10 by 20 points
  // prints "10x20 mesh, origin = (0,0), h = 1".
  void pinfo() const;

 private:
  int _m;
  int _n;
  QXPoint2D _origin;
  double _dx;
  double _dy;
  bool maskDefined;
  QXMask mask;
};

// The empty region for a grid without size, else origin to the last point.
QXRegion2D BoundingBox(const QXMesh2DGrid& grid);
// The same placement with the size m x n and no mask.
QXMesh2DGrid ChangeSize(const QXMesh2DGrid& grid, int m, int n);
// The same placement with the mask and its size.
QXMesh2DGrid ApplyMask(const QXMesh2DGrid& grid, const QXMask& mask);

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh2DGrid& grid);
// Writes the four numbers under the name and no "_size": for values that
// carry the size themselves.
void WriteToFileNoSize(QXDataStorage& storage, std::string name, const QXMesh2DGrid& grid);
// A missing or empty "_size" gives a grid without size. The numbers read go
// through the checks of QXMesh2DGrid(origin, dx, dy, m, n) and its reports.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh2DGrid& grid);

#endif
