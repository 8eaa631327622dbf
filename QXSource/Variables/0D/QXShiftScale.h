// Shift-and-scale transforms in the plane and in space: a shift point and one
// scale factor per axis. The default has zero shift and unit scales.
//
// Storage, one double array under the name:
//   QXShiftScale2D  4 x 1 (shift x, shift y, scaleX, scaleY)
//   QXShiftScale3D  6 x 1 (shift x, y, z, scaleX, scaleY, scaleZ)
// A reader that finds another length reports "ReadFromArray(QXShiftScale2D)"
// (or 3D) / "Invalid length of array." and gives the default. The 3D shift is
// kept in float: stored doubles round to the nearest float, and magnitudes
// beyond the float range become infinite.
#ifndef QXSHIFTSCALE_H
#define QXSHIFTSCALE_H

#include <string>

#include "QXDataStorage.h"
#include "QXPoint.h"

struct QXShiftScale2D {
  QXShiftScale2D() : shift(), scaleX(1), scaleY(1) {}
  QXShiftScale2D(QXPoint2D shift, double scaleX, double scaleY)
      : shift(shift), scaleX(scaleX), scaleY(scaleY) {}
  QXPoint2D shift;
  double scaleX, scaleY;
};

struct QXShiftScale3D {
  QXShiftScale3D() : shift(), scaleX(1), scaleY(1), scaleZ(1) {}
  QXShiftScale3D(QXPoint3D shift, double scaleX, double scaleY, double scaleZ)
      : shift(shift), scaleX(scaleX), scaleY(scaleY), scaleZ(scaleZ) {}
  QXPoint3D shift;
  double scaleX, scaleY, scaleZ;
};

void WriteToFile(QXDataStorage& storage, std::string name, const QXShiftScale2D& transform);
void WriteToFile(QXDataStorage& storage, std::string name, const QXShiftScale3D& transform);

void ReadFromFile(const QXDataStorage& storage, std::string name, QXShiftScale2D& transform);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXShiftScale3D& transform);

#endif
