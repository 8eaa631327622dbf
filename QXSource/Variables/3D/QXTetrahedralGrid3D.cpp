#include "QXTetrahedralGrid3D.h"

#include "QXConnectionInternal.h"
#include "QXVariableStorageInternal.h"

namespace {

const char* const kOutOfRange = "Offset array refers to points out of range.";
const char* const kValueLength = "Length of value array incorrect.";

// The checks both grid constructors make first: 3 x N x 1 points and
// 4 x M x 1 offsets naming them. False without a report when both are empty.
bool PointsFitOffsets(const QXFloatArray& points, const QXIntArray& offsets,
                      const char* operation) {
  if (points.IsEmpty() && offsets.IsEmpty()) return false;
  if (!QXHoldsRecords(points, 3)) {
    QXErrorMessage(operation, "The point array has incorrect size.");
    return false;
  }
  if (!QXHoldsRecords(offsets, 4)) {
    QXErrorMessage(operation, "The offset array has incorrect size.");
    return false;
  }
  if (!QXIndicesWithin(offsets, 0, points.n())) {
    QXErrorMessage(operation, kOutOfRange);
    return false;
  }
  return true;
}

// An optional int companion: empty when the storage does not hold it.
QXIntArray OptionalIndices(const QXDataStorage& storage, const std::string& name) {
  QXIntArray stored;
  if (storage.Contains(name)) ReadFromFile(storage, name, stored);
  return stored;
}

// The grid with a stored companion set by `set`, or the grid as it was when
// the companion is absent or does not fit (reported by the constructor).
template <class Set>
QXTetrahedralGrid3D WithCompanion(const QXTetrahedralGrid3D& grid, const QXIntArray& stored,
                                  Set set) {
  if (grid.IsEmpty() || stored.IsEmpty()) return grid;
  const QXTetrahedralGrid3D extended = set(grid, stored);
  return extended.IsEmpty() ? grid : extended;
}

}  // namespace

QXTetrahedralGrid3D::QXTetrahedralGrid3D(const QXFloatArray& points, const QXIntArray& offsets) {
  if (!PointsFitOffsets(points, offsets, "QXTetrahedralGrid3D(points,offsets)")) return;
  this->points = points;
  this->offsets = offsets;
}

QXTetrahedralGrid3D::QXTetrahedralGrid3D(const QXFloatArray& points, const QXIntArray& offsets,
                                         const QXIntArray& nextTetra,
                                         const QXIntArray& pointNumbers) {
  const char* operation = "QXTetrahedralGrid3D(points,offsets,tetra,points)";
  if (!PointsFitOffsets(points, offsets, operation)) return;
  const int tetrahedra = offsets.n();
  if (nextTetra.NotEmpty()) {
    if (!QXHoldsRecords(nextTetra, 4) || nextTetra.n() != tetrahedra) {
      QXErrorMessage(operation, "tetra array has incorrect size.");
      return;
    }
    if (!QXIndicesWithin(nextTetra, -1, tetrahedra)) {
      QXErrorMessage(operation, kOutOfRange);
      return;
    }
  }
  if (pointNumbers.NotEmpty() &&
      !(pointNumbers.m() == points.n() && pointNumbers.n() == 1 && pointNumbers.o() == 1)) {
    QXErrorMessage(operation, "point number array has incorrect size.");
    return;
  }
  this->points = points;
  this->offsets = offsets;
  this->nextTetra = nextTetra;
  this->pointNumbers = pointNumbers;
}

void QXTetrahedralGrid3D::pinfo() const {
  QXPrintPointsAnd(NumberOfPoints(), NumberOfTetrahedra(), "tetrahedra");
}

QXTetrahedralGrid3D SetNextTetrahedra(const QXTetrahedralGrid3D& grid, const QXIntArray& next) {
  return QXTetrahedralGrid3D(grid.Points(), grid.Offsets(), next, grid.PointNumbers());
}

QXTetrahedralGrid3D SetPointNumbers(const QXTetrahedralGrid3D& grid, const QXIntArray& numbers) {
  return QXTetrahedralGrid3D(grid.Points(), grid.Offsets(), grid.NeighboringTetrahedra(), numbers);
}

QXTetrahedralMesh3D::QXTetrahedralMesh3D(const QXTetrahedralGrid3D& grid,
                                         const QXFloatArray& values) {
  if (values.Length() != grid.NumberOfPoints()) {
    QXErrorMessage("QXTetrahedralMesh3D(grid,values)", kValueLength);
    return;
  }
  this->grid = grid;
  this->values = values;
}

QXTetrahedralVectorField3D::QXTetrahedralVectorField3D(const QXTetrahedralGrid3D& grid,
                                                       const QXFloatArray& vectors) {
  const char* operation = "QXTetrahedralVectorField3D(grid,vectors)";
  if (vectors.n() != grid.NumberOfPoints()) {
    QXErrorMessage(operation, kValueLength);
    return;
  }
  if (vectors.NotEmpty() && !QXHoldsRecords(vectors, 3)) {
    QXErrorMessage(operation, "Vector array incorrect.");
    return;
  }
  this->grid = grid;
  this->vectors = vectors;
}

QXRegion3D BoundingBox(const QXTetrahedralGrid3D& grid) { return BoundingBox3D(grid.Points()); }
QXRegion3D BoundingBox(const QXTetrahedralMesh3D& mesh) { return BoundingBox(mesh.Grid()); }
QXRegion3D BoundingBox(const QXTetrahedralVectorField3D& field) {
  return BoundingBox(field.Grid());
}

QXRegion1D ValueRange(const QXTetrahedralMesh3D& mesh) { return ValueRange(mesh.Values()); }

void WriteToFile(QXDataStorage& storage, std::string name, const QXTetrahedralGrid3D& grid) {
  QXWriteOptionalCompanion(storage, name + "_Next", grid.NeighboringTetrahedra());
  QXWriteOptionalCompanion(storage, name + "_PtN", grid.PointNumbers());
  storage.Save(grid.Points(), name + "_Pts");
  storage.Save(grid.Offsets(), name);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXTetrahedralMesh3D& mesh) {
  QXWriteGridAndValues(storage, name, "_g", mesh.Grid(), mesh.Values());
}

void WriteToFile(QXDataStorage& storage, std::string name,
                 const QXTetrahedralVectorField3D& field) {
  QXWriteGridAndValues(storage, name, "_g", field.Grid(), field.Vectors());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXTetrahedralGrid3D& grid) {
  QXIntArray offsets;
  QXFloatArray points;
  QXReadIndicesAndPoints(storage, name, "_Pts", offsets, points);
  grid = QXTetrahedralGrid3D(points, offsets);
  grid = WithCompanion(grid, OptionalIndices(storage, name + "_Next"), SetNextTetrahedra);
  grid = WithCompanion(grid, OptionalIndices(storage, name + "_PtN"), SetPointNumbers);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXTetrahedralMesh3D& mesh) {
  QXReadGridAndValues<QXTetrahedralGrid3D, QXFloatArray>(
      storage, name, "_g", mesh, [](const QXTetrahedralGrid3D& g, const QXFloatArray& v) {
        return QXTetrahedralMesh3D(g, v);
      });
}

void ReadFromFile(const QXDataStorage& storage, std::string name,
                  QXTetrahedralVectorField3D& field) {
  QXReadGridAndValues<QXTetrahedralGrid3D, QXFloatArray>(
      storage, name, "_g", field, [](const QXTetrahedralGrid3D& g, const QXFloatArray& v) {
        return QXTetrahedralVectorField3D(g, v);
      });
}
