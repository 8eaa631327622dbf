// Single points in the plane and in space, with or without an attached value,
// and the vector in space. Plane coordinates are doubles; space coordinates
// are floats (the value of a QXPoint3DValue is a double). All are plain values
// whose default is zero.
//
// Each stores itself under one name as a k x 1 array:
//   QXPoint2D       double 2 x 1 (x, y)
//   QXPoint2DValue  double 3 x 1 (x, y, v)
//   QXPoint3D       float  3 x 1 (x, y, z)
//   QXPoint3DValue  double 4 x 1 (x, y, z, v)
//   QXVector3D      float  3 x 1 (x, y, z)
//
//   WriteToFile(storage, "probe", QXPoint2D(1.5, 2));
//   QXPoint2D probe;
//   ReadFromFile(storage, "probe", probe);
//
// A reader that finds an entry of another length (a missing entry too)
// reports "ReadFromArray(QXPoint2D)" (the type's own name) / "Invalid length
// of array." and gives the zero value. Doubles read into float coordinates
// round to the nearest float; magnitudes beyond the float range become
// infinite.
#ifndef QXPOINT_H
#define QXPOINT_H

#include <string>

#include "QXDataStorage.h"

struct QXPoint2D {
  QXPoint2D() : x(0), y(0) {}
  QXPoint2D(double x, double y) : x(x), y(y) {}
  double x, y;
};

struct QXPoint2DValue {
  QXPoint2DValue() : x(0), y(0), v(0) {}
  QXPoint2DValue(double x, double y, double v) : x(x), y(y), v(v) {}
  double x, y, v;
};

struct QXPoint3D {
  QXPoint3D() : x(0), y(0), z(0) {}
  QXPoint3D(float x, float y, float z) : x(x), y(y), z(z) {}
  float x, y, z;
};

struct QXPoint3DValue {
  QXPoint3DValue() : x(0), y(0), z(0), v(0) {}
  QXPoint3DValue(float x, float y, float z, double v) : x(x), y(y), z(z), v(v) {}
  float x, y, z;
  double v;
};

struct QXVector3D {
  QXVector3D() : x(0), y(0), z(0) {}
  QXVector3D(float x, float y, float z) : x(x), y(y), z(z) {}
  float x, y, z;
};

void WriteToFile(QXDataStorage& storage, std::string name, const QXPoint2D& point);
void WriteToFile(QXDataStorage& storage, std::string name, const QXPoint2DValue& point);
void WriteToFile(QXDataStorage& storage, std::string name, const QXPoint3D& point);
void WriteToFile(QXDataStorage& storage, std::string name, const QXPoint3DValue& point);
void WriteToFile(QXDataStorage& storage, std::string name, const QXVector3D& vector);

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPoint2D& point);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPoint2DValue& point);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPoint3D& point);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPoint3DValue& point);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXVector3D& vector);

#endif
