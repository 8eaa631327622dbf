// Collections in the plane, one record per column of a double array:
// QXPointCollection2D (2 x N, column j the point (x, y)),
// QXPointValueCollection2D (2 x N points and N values, one per point) and
// QXVectorCollection2D (4 x N, column j two pairs (x0, y0) and (x1, y1), for
// instance a vector's foot and its components).
//
//   QXPointValueCollection2D probes(points, temperatures);   // 2 x N and N
//   QXRegion2D box = BoundingBox(probes);
//   WriteToFile(storage, "probes", probes);
//
// A collection is valid or empty: the constructors check the shapes and
// leave the collection empty, with a report, when they do not fit; empty
// arguments give the empty collection without one. The arrays are shared
// with the caller's, as arrays are; only their values can change later, so a
// collection keeps its shape.
//
// Storage (one entry per array, in this order):
//   QXPointCollection2D       name: the points, double 2 x N
//   QXPointValueCollection2D  name + "_val": the values, double;
//                             name: the points, double 2 x N
//   QXVectorCollection2D      name: the vectors, double 4 x N
// The readers hand what they read to the constructor, so a stored value of
// the wrong shape is reported with the constructor's text and reads as the
// empty collection. An empty collection is saved as empty arrays.
//
// Failure texts (operation: message):
//   "QXPointCollection2D(Array)": "Invalid size of array."
//   "QXPointValueCollection2D(Points,Values)": "Invalid size of point.",
//       "Invalid size of value array."
//   "QXVectorCollection2D(Array)": "Invalid size - needs to be 4xN."
//   "QXVectorCollection2D(Array,Array)": "Invalid sizes - both need to be 2xN."
#ifndef QXPOINTCOLLECTION2D_H
#define QXPOINTCOLLECTION2D_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXRegion.h"

class QXPointCollection2D {
 public:
  // No points.
  QXPointCollection2D() = default;
  // Takes a 2 x N x 1 array; an empty one gives no points; any other shape
  // reports "Invalid size of array." and gives no points.
  explicit QXPointCollection2D(const QXDoubleArray& A);

  QXDoubleArray Data() const { return data; }
  // "N points\n" on standard error.
  void pinfo() const;

 private:
  QXDoubleArray data;
};

class QXPointValueCollection2D {
 public:
  // No points.
  QXPointValueCollection2D() = default;
  // Takes 2 x N x 1 points and N values (any shape of that length). Two
  // empty arrays give no points; otherwise points of another shape report
  // "Invalid size of point.", and then a values count other than N "Invalid
  // size of value array.", and give no points.
  QXPointValueCollection2D(const QXDoubleArray& points, const QXDoubleArray& values);

  QXDoubleArray Points() const { return points; }
  QXDoubleArray Values() const { return values; }
  // "N points + values\n" on standard error.
  void pinfo() const;

 private:
  QXDoubleArray points;
  QXDoubleArray values;
};

class QXVectorCollection2D {
 public:
  // No vectors.
  QXVectorCollection2D() = default;
  // Takes a 4 x N x 1 array; an empty one gives no vectors; any other shape
  // reports "Invalid size - needs to be 4xN." and gives no vectors.
  explicit QXVectorCollection2D(const QXDoubleArray& A);
  // A new 4 x N array whose column j is (P(0,j), P(1,j), Q(0,j), Q(1,j)).
  // Two empty arrays give no vectors; unless both are 2 x N x 1 with the same
  // N, reports "Invalid sizes - both need to be 2xN." and gives no vectors.
  QXVectorCollection2D(const QXDoubleArray& P, const QXDoubleArray& Q);

  QXDoubleArray Data() const { return data; }
  // "No vectors.\n", "One vector.\n" or "N vectors.\n" on standard error.
  void pinfo() const;

 private:
  QXDoubleArray data;
};

// The box around the points (BoundingBox2D); empty for no points.
QXRegion2D BoundingBox(const QXPointCollection2D& collection);
QXRegion2D BoundingBox(const QXPointValueCollection2D& collection);
// The smallest and largest value, NaN ignored; empty for no points.
QXRegion1D ValueRange(const QXPointValueCollection2D& collection);

// See the storage layout above. A save replaces any earlier value of the name.
void WriteToFile(QXDataStorage& storage, std::string name, const QXPointCollection2D& collection);
void WriteToFile(QXDataStorage& storage, std::string name,
                 const QXPointValueCollection2D& collection);
void WriteToFile(QXDataStorage& storage, std::string name, const QXVectorCollection2D& collection);

// Read the entries and check them as the constructors do; a missing entry is
// reported by the storage and reads as an empty array.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPointCollection2D& collection);
void ReadFromFile(const QXDataStorage& storage, std::string name,
                  QXPointValueCollection2D& collection);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXVectorCollection2D& collection);

#endif
