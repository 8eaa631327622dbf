// Triangulated surfaces in space. A QXSurface3D holds either points with
// connections (3 x N float points, one per column, and 3 x M int
// connections, column j the three 0-based point indices of triangle j),
// optionally with one normal per point, or only its triangles (9 x M float,
// column j the corners x1, y1, z1, x2, y2, z2, x3, y3, z3), never both. A
// QXSurfaceValues3D adds one float value per point of its surface, or per
// corner when the surface keeps only triangles (3·M values).
//
//   QXSurface3D tent(connections, points);       // 3 x M int, 3 x N float
//   QXRegion3D box = BoundingBox(tent);
//   WriteToFile(storage, "tent", QXSurfaceValues3D(tent, heights));
//
// A surface is valid or empty: the constructors check the shapes and every
// connection index (against the number of points, in 64 bits, without using
// any index) and leave the empty surface, with a report, when something does
// not fit; all-empty arguments give the empty surface without one. The
// arrays are shared with the caller's. An empty normal array means "no
// normals".
//
// Storage, companions first and the main entry last:
//   indexed form      name + "_points" (float), name + "_normals" (float,
//                     only with normals), the connections (int) under name;
//   triangle form     the 9 x M float array under name only;
//   QXSurfaceValues3D name + "_values" (float), then the surface under name.
// A save replaces the whole value: "_points" and "_normals" that the new
// surface lacks are overwritten with empty arrays. The reader takes the
// indexed form when "_points" holds something, else the triangle form, and
// hands what it read to the constructors, so a stored index out of range is
// reported, never followed. Stored normals that do not fit the points are
// reported and dropped: the surface reads back without them.
//
// Failure texts (operation: message), each leaving the empty value:
//   "QXSurface3D(conn,pts)": "Invalid array sizes (one is empty).", "Invalid
//       array sizes." (points not 3 x N, connections not 3 x M, or either
//       three-dimensional), "Offset array refers to points out of range."
//   "QXSurface3D(conn,pts,nrm)": "points, connections or normals are
//       empty.", "Invalid array sizes." (also normals whose columns or o
//       differ from the points'; their rows are not checked), "Offset array
//       refers to points out of range."
//   "QXSurface3D(triangles)": "Invalid array size.  Needs to be a 9xN array."
//   "QXSurfaceValues3D(Surface,Values)": "Number of values has to match the
//       number of points." (also from the reader)
#ifndef QXSURFACE3D_H
#define QXSURFACE3D_H

#include <string>

#include "QXDataStorage.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXRegion.h"

class QXSurface3D {
 public:
  // No triangles.
  QXSurface3D() = default;
  // Triangles over points; see the checks above.
  QXSurface3D(const QXIntArray& conn, const QXFloatArray& pts);
  // The same with one normal per point; all three arrays empty give the
  // empty surface, any one of them empty is refused. (The reader builds a
  // surface whose stored normals are empty or absent without them.)
  QXSurface3D(const QXIntArray& conn, const QXFloatArray& pts, const QXFloatArray& nrm);
  // Only the triangles' corners, 9 x M.
  explicit QXSurface3D(const QXFloatArray& triangles);

  QXFloatArray Points() const { return points; }
  QXIntArray Connections() const { return connections; }
  QXFloatArray Normals() const { return normals; }
  QXFloatArray Triangles() const { return triangles; }
  bool IsEmpty() const { return points.IsEmpty() && triangles.IsEmpty(); }
  // The number of triangles, in either form.
  int NumberOfTriangles() const;
  // The number of points a value belongs to: the points' columns, or three
  // corners per triangle in the triangle form.
  long long NumberOfPoints() const;
  // "M triangles, N points." then " Includes normals." when there are
  // normals; "Only storing triangles - M triangles."; or "No triangles.";
  // each with an end of line, on standard error.
  void pinfo() const;

 private:
  QXFloatArray points;
  QXIntArray connections;
  QXFloatArray normals;
  QXFloatArray triangles;
};

class QXSurfaceValues3D {
 public:
  QXSurfaceValues3D() = default;
  // One value per point of the surface (any shape of values.Length()
  // elements); otherwise reports and gives the empty value. An empty surface
  // with no values is the empty value without a report.
  QXSurfaceValues3D(const QXSurface3D& surface, const QXFloatArray& values);

  QXSurface3D Surface() const { return surface; }
  QXFloatArray Values() const { return values; }
  bool IsEmpty() const { return surface.IsEmpty(); }
  // The surface's line.
  void pinfo() const { surface.pinfo(); }

 private:
  QXSurface3D surface;
  QXFloatArray values;
};

// The box around the points, or around every corner in the triangle form;
// NaN coordinates ignored; the empty region for the empty surface.
QXRegion3D BoundingBox(const QXSurface3D& surface);
QXRegion3D BoundingBox(const QXSurfaceValues3D& surface);
// The range of the values, NaN ignored.
QXRegion1D ValueRange(const QXSurfaceValues3D& surface);

void WriteToFile(QXDataStorage& storage, std::string name, const QXSurface3D& surface);
void WriteToFile(QXDataStorage& storage, std::string name, const QXSurfaceValues3D& surface);
// A missing name is reported by the storage and gives the empty value.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXSurface3D& surface);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXSurfaceValues3D& surface);

#endif
