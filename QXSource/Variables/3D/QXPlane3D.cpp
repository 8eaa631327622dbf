#include "QXPlane3D.h"

#include "QXVariableStorageInternal.h"

QXVector3D QXCoordinatePlane3D::Normal() const {
  switch (type) {
    case XPlane:
      return QXVector3D(1, 0, 0);
    case YPlane:
      return QXVector3D(0, 1, 0);
    case ZPlane:
      return QXVector3D(0, 0, 1);
    default:
      return QXVector3D();
  }
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPlane3D& plane) {
  const QXPoint3D c = plane.Center();
  const QXVector3D n = plane.Normal();
  QXSaveColumn<float>(storage, name, {c.x, c.y, c.z, n.x, n.y, n.z});
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXCoordinatePlane3D& plane) {
  const bool empty = plane.Type() == QXCoordinatePlane3D::Empty;
  QXSaveColumn<double>(storage, name, {static_cast<double>(plane.Type()), empty ? 0.0 : plane.Value()});
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPlane3D& plane) {
  QXFloatArray a;
  plane = QXReadExactLength(storage, name, 6, "QXPlane3D", a)
              ? QXPlane3D(QXPoint3D(a(0), a(1), a(2)), QXVector3D(a(3), a(4), a(5)))
              : QXPlane3D();
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXCoordinatePlane3D& plane) {
  plane = QXCoordinatePlane3D();
  QXDoubleArray a;
  if (!QXReadExactLength(storage, name, 2, "QXCoordinatePlane3D", a)) return;
  const double type = a(0);
  if (type == 1 || type == 2 || type == 3) {
    plane = QXCoordinatePlane3D(static_cast<QXCoordinatePlane3D::PlaneType>(static_cast<int>(type)), a(1));
  } else if (type != 0) {
    QXErrorMessage(QXReadFromArrayOperation("QXCoordinatePlane3D"), "Invalid plane type.");
  }
}
