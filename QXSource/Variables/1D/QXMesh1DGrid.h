// A regular grid on a line: m points, point i at origin + i*h. A grid of
// m = 0 has no size: it fixes only the origin and the step, and whatever is
// built on it takes its size from its data.
//
//   QXMesh1DGrid times(0.0, 0.25, 100);  // 0, 0.25, ..., 24.75
//   WriteToFile(storage, "t", times);
//
// Storage: the double 2 x 1 (origin, h) under the name (the main entry,
// written last), after the int 1 x 1 (m) under name + "_size" when m is not
// 0. A grid without size leaves no "_size": one left by an earlier value
// under the name is overwritten with an empty array, which reads as absent.
//
// Failures are reported through QXErrorMessage and give the default grid
// (m 0, origin 0, h 1):
//   "QXMeshGrid(origin,h,m)": "One of the size is negative.", "The step size
//     is negative." (a step that is not a positive finite number).
//   "ReadFromArray(QXMesh1DGrid)": "Incorrect size array." (a main entry of
//     another length than 2, a "_size" of another length than 1).
#ifndef QXMESH1DGRID_H
#define QXMESH1DGRID_H

#include <string>

#include "QXDataStorage.h"

class QXMesh1DGrid {
 public:
  // m 0, origin 0, h 1.
  QXMesh1DGrid();
  // A negative m, then a step that is not positive and finite, is reported
  // and gives the default grid.
  QXMesh1DGrid(double origin, double h, int m);

  int m() const { return _m; }
  double Origin() const { return _origin; }
  double h() const { return _h; }

 private:
  int _m;
  double _origin;
  double _h;
};

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh1DGrid& grid);
// A missing or empty "_size" gives a grid without size.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh1DGrid& grid);

#endif
