#include "QXStructuredGrid2D.h"

#include "QXError.h"
#include "QXStructuredGridInternal.h"

namespace {

const char* const kType = "QXStructuredGrid2D";
const char* const kMeshOperation = "QXStructuredMesh2D(Array,Grid)";

}  // namespace

QXStructuredGrid2D::QXStructuredGrid2D() : Xa(), Ya(), maskDefined(false), mask() {}

QXStructuredGrid2D::QXStructuredGrid2D(const QXFloatArray& X, const QXFloatArray& Y)
    : QXStructuredGrid2D() {
  const QXFloatArray axes[] = {X, Y};
  if (!QXAcceptStructuredAxes(axes, 2, nullptr, "QXStructuredGrid2D(X,Y)")) return;
  Xa = X;
  Ya = Y;
}

QXStructuredGrid2D::QXStructuredGrid2D(const QXFloatArray& X, const QXFloatArray& Y,
                                       const QXMask& mask)
    : QXStructuredGrid2D() {
  const QXFloatArray axes[] = {X, Y};
  if (!QXAcceptStructuredAxes(axes, 2, &mask, "QXStructuredGrid2D(X,Y,Mask)")) return;
  Xa = X;
  Ya = Y;
  maskDefined = true;
  this->mask = mask;
}

QXFloatArray QXStructuredGrid2D::FullXArray() const { return QXExpandAxis(Xa, {m(), n(), 1}); }
QXFloatArray QXStructuredGrid2D::FullYArray() const { return QXExpandAxis(Ya, {m(), n(), 1}); }

void QXStructuredGrid2D::pinfo() const {
  const QXFloatArray axes[] = {Xa, Ya};
  QXPrintStructuredGrid(axes, 2, maskDefined, mask);
}

QXRegion2D BoundingBox(const QXStructuredGrid2D& grid) {
  const QXFloatArray axes[] = {grid.X(), grid.Y()};
  QXRegion1D r[2];
  if (!QXAxisRanges(axes, 2, r)) return QXRegion2D();
  return QXRegion2D(QXPoint2D(r[0].minV, r[1].minV), QXPoint2D(r[0].maxV, r[1].maxV));
}

bool operator==(const QXStructuredGrid2D& a, const QXStructuredGrid2D& b) {
  return a.X() == b.X() && a.Y() == b.Y() && a.MaskDefined() == b.MaskDefined() &&
         a.Mask() == b.Mask();
}

bool operator!=(const QXStructuredGrid2D& a, const QXStructuredGrid2D& b) { return !(a == b); }

void WriteToFile(QXDataStorage& storage, std::string name, const QXStructuredGrid2D& grid) {
  const QXFloatArray axes[] = {grid.X(), grid.Y()};
  QXWriteStructuredGrid(storage, name, axes, 2, grid.MaskDefined(), grid.Mask(), kType);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXStructuredGrid2D& grid) {
  QXFloatArray axes[2];
  QXMask mask;
  switch (QXReadStructuredGrid(storage, name, axes, 2, mask)) {
    case QXStoredMask::None:
      grid = QXStructuredGrid2D(axes[0], axes[1]);
      break;
    case QXStoredMask::Defined:
      grid = QXStructuredGrid2D(axes[0], axes[1], mask);
      break;
    case QXStoredMask::Unfit:
      grid = QXStructuredGrid2D();
      break;
  }
}

QXStructuredMesh2D::QXStructuredMesh2D() : grid(), data() {}

QXStructuredMesh2D::QXStructuredMesh2D(const QXDoubleArray& values, const QXStructuredGrid2D& grid)
    : QXStructuredMesh2D() {
  if (values.IsEmpty()) return;
  if (values.o() != 1) {
    QXErrorMessage(kMeshOperation, "Array is three dimensional.");
    return;
  }
  if (values.m() != grid.m() || values.n() != grid.n()) {
    QXWarningMessage(kMeshOperation, "Grid size is incompatible.");
    return;
  }
  this->grid = grid;
  data = values;
}

void QXStructuredMesh2D::pinfo() const { grid.pinfo(); }

QXRegion2D BoundingBox(const QXStructuredMesh2D& mesh) { return BoundingBox(mesh.Grid()); }

QXRegion1D ValueRange(const QXStructuredMesh2D& mesh) { return ValueRange(mesh.Data()); }

bool operator==(const QXStructuredMesh2D& a, const QXStructuredMesh2D& b) {
  return a.Grid() == b.Grid() && a.Data() == b.Data();
}

bool operator!=(const QXStructuredMesh2D& a, const QXStructuredMesh2D& b) { return !(a == b); }

void WriteToFile(QXDataStorage& storage, std::string name, const QXStructuredMesh2D& mesh) {
  WriteToFile(storage, name + "_g", mesh.Grid());
  storage.Save(mesh.Data(), name);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXStructuredMesh2D& mesh) {
  mesh = QXStructuredMesh2D();
  QXDoubleArray values;
  ReadFromFile(storage, name, values);
  if (!storage.Contains(name)) return;  // reported by the storage
  if (values.o() >= 2) {
    QXErrorMessage("ReadFromFile(QXStructuredMesh2D)", "Can not read a three dimensional array.");
    return;
  }
  QXStructuredGrid2D grid;
  ReadFromFile(storage, name + "_g", grid);
  mesh = QXStructuredMesh2D(values, grid);
}
