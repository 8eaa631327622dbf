#include "QXTriangularGrid2D.h"

#include "QXConnectionInternal.h"

QXTriangularGrid2D::QXTriangularGrid2D(const QXIntArray& conn, const QXDoubleArray& pts) {
  if (!QXCheckTriangles(conn, pts, 2, "QXTriangularGrid2D(conn,pts)")) return;
  connections = conn;
  points = pts;
}

void QXTriangularGrid2D::pinfo() const {
  QXPrintPointsAnd(NumberOfPoints(), NumberOfTriangles(), "triangles");
}

bool operator==(const QXTriangularGrid2D& a, const QXTriangularGrid2D& b) {
  return a.Points() == b.Points() && a.Connections() == b.Connections();
}

bool operator!=(const QXTriangularGrid2D& a, const QXTriangularGrid2D& b) { return !(a == b); }

QXTriangularMesh2D::QXTriangularMesh2D(const QXDoubleArray& values,
                                       const QXTriangularGrid2D& grid) {
  if (values.IsEmpty() && grid.IsEmpty()) return;
  if (values.m() != grid.NumberOfPoints() || values.n() != 1 || values.o() != 1) {
    QXErrorMessage("QXTriangularMesh2D(Array,Grid)", "Array is incompatible with grid.");
    return;
  }
  this->grid = grid;
  data = values;
}

bool operator==(const QXTriangularMesh2D& a, const QXTriangularMesh2D& b) {
  return a.Grid() == b.Grid() && a.Data() == b.Data();
}

bool operator!=(const QXTriangularMesh2D& a, const QXTriangularMesh2D& b) { return !(a == b); }

QXRegion2D BoundingBox(const QXTriangularGrid2D& grid) { return BoundingBox2D(grid.Points()); }
QXRegion2D BoundingBox(const QXTriangularMesh2D& mesh) { return BoundingBox(mesh.Grid()); }

QXRegion1D ValueRange(const QXTriangularMesh2D& mesh) { return ValueRange(mesh.Data()); }

void WriteToFile(QXDataStorage& storage, std::string name, const QXTriangularGrid2D& grid) {
  storage.Save(grid.Points(), name + "_pts");
  storage.Save(grid.Connections(), name);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXTriangularMesh2D& mesh) {
  QXWriteGridAndValues(storage, name, "_gr", mesh.Grid(), mesh.Data());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXTriangularGrid2D& grid) {
  QXIntArray connections;
  QXDoubleArray points;
  QXReadIndicesAndPoints(storage, name, "_pts", connections, points);
  grid = QXTriangularGrid2D(connections, points);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXTriangularMesh2D& mesh) {
  QXReadGridAndValues<QXTriangularGrid2D, QXDoubleArray>(
      storage, name, "_gr", mesh,
      [](const QXTriangularGrid2D& g, const QXDoubleArray& v) { return QXTriangularMesh2D(v, g); });
}
