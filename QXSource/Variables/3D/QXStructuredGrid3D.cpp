#include "QXStructuredGrid3D.h"

#include "QXStructuredGridInternal.h"

QXStructuredGrid3D::QXStructuredGrid3D() : Xa(), Ya(), Za(), maskDefined(false), mask() {}

QXStructuredGrid3D::QXStructuredGrid3D(const QXFloatArray& X, const QXFloatArray& Y,
                                       const QXFloatArray& Z)
    : QXStructuredGrid3D() {
  const QXFloatArray axes[] = {X, Y, Z};
  if (!QXAcceptStructuredAxes(axes, 3, nullptr, "QXStructuredGrid3D(X,Y,Z)")) return;
  Xa = X;
  Ya = Y;
  Za = Z;
}

QXStructuredGrid3D::QXStructuredGrid3D(const QXFloatArray& X, const QXFloatArray& Y,
                                       const QXFloatArray& Z, const QXMask& mask)
    : QXStructuredGrid3D() {
  const QXFloatArray axes[] = {X, Y, Z};
  if (!QXAcceptStructuredAxes(axes, 3, &mask, "QXStructuredGrid3D(X,Y,Z,Mask)")) return;
  Xa = X;
  Ya = Y;
  Za = Z;
  maskDefined = true;
  this->mask = mask;
}

QXFloatArray QXStructuredGrid3D::FullXArray() const { return QXExpandAxis(Xa, {m(), n(), o()}); }
QXFloatArray QXStructuredGrid3D::FullYArray() const { return QXExpandAxis(Ya, {m(), n(), o()}); }
QXFloatArray QXStructuredGrid3D::FullZArray() const { return QXExpandAxis(Za, {m(), n(), o()}); }

void QXStructuredGrid3D::pinfo() const {
  const QXFloatArray axes[] = {Xa, Ya, Za};
  QXPrintStructuredGrid(axes, 3, maskDefined, mask);
}

QXRegion3D BoundingBox(const QXStructuredGrid3D& grid) {
  const QXFloatArray axes[] = {grid.X(), grid.Y(), grid.Z()};
  QXRegion1D r[3];
  QXRegion3D box;
  if (!QXAxisRanges(axes, 3, r)) return box;
  box.isSet = true;
  box.xmin = r[0].minV;
  box.xmax = r[0].maxV;
  box.ymin = r[1].minV;
  box.ymax = r[1].maxV;
  box.zmin = r[2].minV;
  box.zmax = r[2].maxV;
  return box;
}

bool operator==(const QXStructuredGrid3D& a, const QXStructuredGrid3D& b) {
  return a.X() == b.X() && a.Y() == b.Y() && a.Z() == b.Z() && a.MaskDefined() == b.MaskDefined() &&
         a.Mask() == b.Mask();
}

bool operator!=(const QXStructuredGrid3D& a, const QXStructuredGrid3D& b) { return !(a == b); }

void WriteToFile(QXDataStorage& storage, std::string name, const QXStructuredGrid3D& grid) {
  const QXFloatArray axes[] = {grid.X(), grid.Y(), grid.Z()};
  QXWriteStructuredGrid(storage, name, axes, 3, grid.MaskDefined(), grid.Mask(),
                        "QXStructuredGrid3D");
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXStructuredGrid3D& grid) {
  QXFloatArray axes[3];
  QXMask mask;
  switch (QXReadStructuredGrid(storage, name, axes, 3, mask)) {
    case QXStoredMask::None:
      grid = QXStructuredGrid3D(axes[0], axes[1], axes[2]);
      break;
    case QXStoredMask::Defined:
      grid = QXStructuredGrid3D(axes[0], axes[1], axes[2], mask);
      break;
    case QXStoredMask::Unfit:
      grid = QXStructuredGrid3D();
      break;
  }
}
