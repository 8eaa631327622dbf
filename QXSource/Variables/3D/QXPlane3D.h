// Planes in space. QXPlane3D is a centre point and a normal vector (neither
// is checked; the default has both zero). QXCoordinatePlane3D is one of the
// planes x = value, y = value or z = value, or the empty plane.
//
//   QXCoordinatePlane3D section(QXCoordinatePlane3D::YPlane, 7.5);
//   section.Normal();   // (0, 1, 0)
//
// Storage, one array under the name:
//   QXPlane3D            float  6 x 1 (center x, y, z, normal x, y, z)
//   QXCoordinatePlane3D  double 2 x 1 (1, 2 or 3 for XPlane, YPlane, ZPlane;
//                        then the value), (0, 0) for the empty plane
// A reader that finds another length reports "ReadFromArray(QXPlane3D)" (or
// QXCoordinatePlane3D) / "Invalid length of array." and gives the default. A
// stored plane type other than 0 to 3 gives the empty plane and reports
// "ReadFromArray(QXCoordinatePlane3D)" / "Invalid plane type.".
#ifndef QXPLANE3D_H
#define QXPLANE3D_H

#include <string>

#include "QXDataStorage.h"
#include "QXPoint.h"

class QXPlane3D {
 public:
  QXPlane3D() {}
  QXPlane3D(QXPoint3D center, QXVector3D normal) : center(center), normal(normal) {}

  QXPoint3D Center() const { return center; }
  QXVector3D Normal() const { return normal; }

 private:
  QXPoint3D center;
  QXVector3D normal;
};

class QXCoordinatePlane3D {
 public:
  enum PlaneType { Empty = 0, XPlane = 1, YPlane = 2, ZPlane = 3 };

  QXCoordinatePlane3D() : type(Empty), value(0) {}
  QXCoordinatePlane3D(PlaneType type, double value) : type(type), value(value) {}

  PlaneType Type() const { return type; }
  double Value() const { return value; }
  // The unit normal along the plane's axis: (1, 0, 0) for XPlane, (0, 1, 0)
  // for YPlane, (0, 0, 1) for ZPlane, (0, 0, 0) for Empty.
  QXVector3D Normal() const;

 private:
  PlaneType type;
  double value;
};

void WriteToFile(QXDataStorage& storage, std::string name, const QXPlane3D& plane);
void WriteToFile(QXDataStorage& storage, std::string name, const QXCoordinatePlane3D& plane);

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPlane3D& plane);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXCoordinatePlane3D& plane);

#endif
