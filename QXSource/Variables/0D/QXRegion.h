// Axis-aligned regions: an interval (QXRegion1D), a rectangle (QXRegion2D)
// and a box (QXRegion3D). They are the value ranges and bounding boxes that
// the variable types and the series return. A region whose isSet is false is
// the empty region; its other fields mean nothing. A set region is the closed
// box between its minima and maxima.
//
//   QXRegion1D range = ValueRange(temperatures);   // ignores NaN
//   QXRegion2D box = BoundingBox2D(points);        // points is 2 x N
//   box = Union(box, BoundingBox2D(morePoints));
//
// Storage (one double array under the name, empty when not set):
//   QXRegion1D  2 x 1 (minV, maxV)
//   QXRegion2D  4 x 1 (xmin, xmax, ymin, ymax)
//   QXRegion3D  6 x 1 (xmin, xmax, ymin, ymax, zmin, zmax)
// Reading an empty array gives the empty region without a report. Another
// length gives the empty region and reports "ReadFromArray(QXRegion1D)" (the
// type's own name) / "Invalid length of array.".
#ifndef QXREGION_H
#define QXREGION_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXPoint.h"

struct QXRegion1D {
  // The empty interval.
  QXRegion1D() : isSet(false), minV(0), maxV(0) {}
  // The interval between a and b, in either order.
  QXRegion1D(double a, double b) : isSet(true), minV(a < b ? a : b), maxV(a < b ? b : a) {}
  bool isSet;
  double minV, maxV;
};

struct QXRegion2D {
  // The empty rectangle.
  QXRegion2D() : isSet(false), xmin(0), xmax(0), ymin(0), ymax(0) {}
  // The rectangle from lowerLeft to upperRight, taken as given (not reordered).
  QXRegion2D(QXPoint2D lowerLeft, QXPoint2D upperRight)
      : isSet(true), xmin(lowerLeft.x), xmax(upperRight.x), ymin(lowerLeft.y), ymax(upperRight.y) {}
  bool isSet;
  double xmin, xmax, ymin, ymax;
};

struct QXRegion3D {
  // The empty box.
  QXRegion3D() : isSet(false), xmin(0), xmax(0), ymin(0), ymax(0), zmin(0), zmax(0) {}
  // The box from the first corner to the second, taken as given.
  QXRegion3D(QXPoint3D low, QXPoint3D high)
      : isSet(true), xmin(low.x), xmax(high.x), ymin(low.y), ymax(high.y), zmin(low.z), zmax(high.z) {}
  bool isSet;
  double xmin, xmax, ymin, ymax, zmin, zmax;
};

// The smallest and largest element, NaN ignored. An empty array, or one that
// holds only NaN, gives the empty region.
QXRegion1D ValueRange(const QXIntArray& A);
QXRegion1D ValueRange(const QXFloatArray& A);
QXRegion1D ValueRange(const QXDoubleArray& A);

// The smallest region holding both; an empty region adds nothing. Computed in
// double.
QXRegion1D Union(QXRegion1D a, QXRegion1D b);
QXRegion2D Union(QXRegion2D a, QXRegion2D b);
QXRegion3D Union(QXRegion3D a, QXRegion3D b);

// The box around the points of a 2 x N array, column j being (x, y). NaN
// coordinates are ignored one coordinate at a time; a coordinate that is NaN
// in every point gives the empty region. An empty array gives the empty
// region; an array whose m is not 2 reports "BoundingBox(Array)" / "The array
// had an incorrect size." and gives the empty region.
QXRegion2D BoundingBox2D(const QXDoubleArray& A);
// The same for points in space: the buffer is read three numbers at a time,
// so A's m must be a multiple of 3 (a 6 x N array holds 2N points).
QXRegion3D BoundingBox3D(const QXFloatArray& A);

void WriteToFile(QXDataStorage& storage, std::string name, const QXRegion1D& region);
void WriteToFile(QXDataStorage& storage, std::string name, const QXRegion2D& region);
void WriteToFile(QXDataStorage& storage, std::string name, const QXRegion3D& region);

void ReadFromFile(const QXDataStorage& storage, std::string name, QXRegion1D& region);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXRegion2D& region);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXRegion3D& region);

#endif
