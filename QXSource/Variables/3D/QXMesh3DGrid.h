// A regular grid in space: m points along x, n along y and o along z, point
// (i,j,k) at origin + (i*dx, j*dy, k*dz), and optionally a mask of the
// m x n x o points that hold values. The origin is single precision, the
// steps double. A grid of 0 x 0 x 0 has no size: it fixes only the origin and
// the steps, and a mesh or a vector field built on it takes its size from
// its data.
//
//   QXMesh3DGrid grid(QXPoint3D(-1, -1, 0), 0.5, 0.5, 2, 5, 5, 3);
//   QXRegion3D box = BoundingBox(grid);          // (-1,-1,0) to (1,1,4)
//   WriteToFile(storage, "grid", grid);
//
// Sizes are all 0 or all positive (a size of 0 makes all three 0); a grid
// holds at most 2^31 - 1 points, the product being taken in 64 bits. The
// steps are positive finite numbers and the origin is finite; a grid with a
// mask has the mask's m, n and o.
//
// Storage: the double 6 x 1 (origin x, y, z, dx, dy, dz) under the name (the
// main entry, written last), after the int 3 x 1 (m, n, o) under
// name + "_size" when the grid has a size. The mask is not written. A grid
// without size, and WriteToFileNoSize, leave no "_size": one left by an
// earlier value under the name is overwritten with an empty array, which
// reads as absent. The reader narrows the stored origin to float with
// rounding; beyond the float range it becomes infinite and is refused.
//
// Failures are reported through QXErrorMessage and give the default grid
// (0 x 0 x 0, origin (0,0,0), unit steps, no mask):
//   "QXMesh3DGrid(m,n,o)": "One of the size is negative.", "Too many points."
//     (more than 2^31 - 1 points).
//   "QXMesh3DGrid(origin,dx,dy,dz,m,n,o)": "One of the size is negative." (a
//     negative size, or a step that is not a positive finite number), "The
//     origin is not finite.", "Too many points." (more than 2^31 - 1 points).
//   "QXMesh3DGrid(origin,dx,dy,dz,mask)": "Step size is negative." (a step
//     that is not a positive finite number), "The origin is not finite.".
//   "ReadFromArray(QXMesh3DGrid)": "Incorrect size array." (a main entry of
//     another length than 6, a "_size" of another length than 3).
#ifndef QXMESH3DGRID_H
#define QXMESH3DGRID_H

#include <string>

#include "QXDataStorage.h"
#include "QXMask.h"
#include "QXPoint.h"
#include "QXRegion.h"

class QXMesh3DGrid {
 public:
  // 0 x 0 x 0, origin (0,0,0), unit steps, no mask.
  QXMesh3DGrid();
  // The standard grid of m x n x o points: origin (0,0,0), unit steps.
  QXMesh3DGrid(int m, int n, int o);
  QXMesh3DGrid(QXPoint3D origin, double dx, double dy, double dz, int m, int n, int o);
  // The grid of a mask: its size is the mask's m x n x o.
  QXMesh3DGrid(QXPoint3D origin, double dx, double dy, double dz, const QXMask& mask);

  int m() const { return mv; }
  int n() const { return nv; }
  int o() const { return ov; }
  QXPoint3D Origin() const { return origin; }
  double dx() const { return _dx; }
  double dy() const { return _dy; }
  double dz() const { return _dz; }
  bool MaskDefined() const { return maskDefined; }
  // The mask; the empty mask when none is defined.
  QXMask Mask() const { return maskDefined ? mask : QXMask(); }
  // Origin exactly (0,0,0) and every step exactly 1, whatever the size and
  // mask.
  bool IsStandard() const;
  // "Size = m x n x o, Origin = (x,y,z), h = dx" (or "dx = .., dy = ..,
  // dz = .." unless the three steps are equal), then ". Mask = N points."
  // when a mask is defined, and an end of line, on standard error.
  void pinfo() const;

 private:
  int mv;
  int nv;
  int ov;
  QXPoint3D origin;
  double _dx;
  double _dy;
  double _dz;
  bool maskDefined;
  QXMask mask;
};

// The empty box for a grid without size, else origin to the last point.
QXRegion3D BoundingBox(const QXMesh3DGrid& grid);
// The same placement with the size m x n x o and no mask.
QXMesh3DGrid ChangeSize(const QXMesh3DGrid& grid, int m, int n, int o);
// The same placement with the mask and its size.
QXMesh3DGrid ApplyMask(const QXMesh3DGrid& grid, const QXMask& mask);

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh3DGrid& grid);
// Writes the six numbers under the name and no "_size": for values that
// carry the size themselves.
void WriteToFileNoSize(QXDataStorage& storage, std::string name, const QXMesh3DGrid& grid);
// A missing or empty "_size" gives a grid without size. The numbers read go
// through the checks of QXMesh3DGrid(origin, dx, dy, dz, m, n, o) and its
// reports.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh3DGrid& grid);

#endif
