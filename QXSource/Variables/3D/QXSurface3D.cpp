#include "QXSurface3D.h"

#include <sstream>

#include "QXConnectionInternal.h"
#include "QXVariableStorageInternal.h"

namespace {

const char* const kIndexed = "QXSurface3D(conn,pts)";
const char* const kWithNormals = "QXSurface3D(conn,pts,nrm)";

}  // namespace

QXSurface3D::QXSurface3D(const QXIntArray& conn, const QXFloatArray& pts) {
  if (!QXCheckTriangles(conn, pts, 3, kIndexed)) return;
  points = pts;
  connections = conn;
}

QXSurface3D::QXSurface3D(const QXIntArray& conn, const QXFloatArray& pts, const QXFloatArray& nrm) {
  if (conn.IsEmpty() && pts.IsEmpty() && nrm.IsEmpty()) return;
  if (conn.IsEmpty() || pts.IsEmpty() || nrm.IsEmpty()) {
    QXErrorMessage(kWithNormals, "points, connections or normals are empty.");
    return;
  }
  if (nrm.n() != pts.n() || nrm.o() != pts.o()) {
    QXErrorMessage(kWithNormals, "Invalid array sizes.");
    return;
  }
  if (!QXCheckTriangles(conn, pts, 3, kWithNormals)) return;
  points = pts;
  connections = conn;
  normals = nrm;
}

QXSurface3D::QXSurface3D(const QXFloatArray& triangles) {
  if (triangles.IsEmpty()) return;
  if (triangles.m() != 9 || triangles.o() != 1) {
    QXErrorMessage("QXSurface3D(triangles)", "Invalid array size.  Needs to be a 9xN array.");
    return;
  }
  this->triangles = triangles;
}

int QXSurface3D::NumberOfTriangles() const {
  return triangles.NotEmpty() ? triangles.n() : connections.n();
}

long long QXSurface3D::NumberOfPoints() const {
  return triangles.NotEmpty() ? 3LL * triangles.n() : points.n();
}

void QXSurface3D::pinfo() const {
  std::ostringstream line;
  if (triangles.NotEmpty())
    line << "Only storing triangles - " << triangles.n() << " triangles.\n";
  else if (points.IsEmpty())
    line << "No triangles.\n";
  else
    line << connections.n() << " triangles, " << points.n() << " points."
         << (normals.NotEmpty() ? " Includes normals.\n" : "\n");
  std::fputs(line.str().c_str(), stderr);
}

QXSurfaceValues3D::QXSurfaceValues3D(const QXSurface3D& surface, const QXFloatArray& values) {
  if (values.Length() != surface.NumberOfPoints()) {
    QXErrorMessage("QXSurfaceValues3D(Surface,Values)",
                   "Number of values has to match the number of points.");
    return;
  }
  this->surface = surface;
  this->values = values;
}

QXRegion3D BoundingBox(const QXSurface3D& surface) {
  return BoundingBox3D(surface.Triangles().NotEmpty() ? surface.Triangles() : surface.Points());
}

QXRegion3D BoundingBox(const QXSurfaceValues3D& surface) { return BoundingBox(surface.Surface()); }

QXRegion1D ValueRange(const QXSurfaceValues3D& surface) { return ValueRange(surface.Values()); }

void WriteToFile(QXDataStorage& storage, std::string name, const QXSurface3D& surface) {
  if (surface.Points().IsEmpty()) {  // the triangle form, or the empty surface
    QXClearCompanion(storage, name + "_points");
    QXClearCompanion(storage, name + "_normals");
    storage.Save(surface.Triangles(), name);
    return;
  }
  storage.Save(surface.Points(), name + "_points");
  QXWriteOptionalCompanion(storage, name + "_normals", surface.Normals());
  storage.Save(surface.Connections(), name);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXSurfaceValues3D& surface) {
  storage.Save(surface.Values(), name + "_values");
  WriteToFile(storage, name, surface.Surface());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXSurface3D& surface) {
  surface = QXSurface3D();
  QXFloatArray points;
  if (storage.Contains(name + "_points")) ReadFromFile(storage, name + "_points", points);
  if (points.IsEmpty()) {
    QXFloatArray triangles;
    ReadFromFile(storage, name, triangles);
    surface = QXSurface3D(triangles);
    return;
  }
  QXIntArray connections;
  QXFloatArray normals;
  ReadFromFile(storage, name, connections);
  if (storage.Contains(name + "_normals")) ReadFromFile(storage, name + "_normals", normals);
  surface = QXSurface3D(connections, points);
  if (normals.IsEmpty() || surface.IsEmpty()) return;
  // Normals that do not fit are reported by the constructor and dropped.
  const QXSurface3D withNormals(connections, points, normals);
  if (!withNormals.IsEmpty()) surface = withNormals;
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXSurfaceValues3D& surface) {
  surface = QXSurfaceValues3D();
  QXSurface3D shape;
  QXFloatArray values;
  ReadFromFile(storage, name, shape);
  if (storage.Contains(name + "_values")) ReadFromFile(storage, name + "_values", values);
  surface = QXSurfaceValues3D(shape, values);
}
