#include "QXMesh3DGrid.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "QXConversionTemplatesInternal.h"
#include "QXError.h"
#include "QXGridInternal.h"
#include "QXRegularGridInternal.h"

namespace {

const char* const kSizesOperation = "QXMesh3DGrid(m,n,o)";
const char* const kPlacedOperation = "QXMesh3DGrid(origin,dx,dy,dz,m,n,o)";
const char* const kMaskOperation = "QXMesh3DGrid(origin,dx,dy,dz,mask)";
const char* const kNegativeSize = "One of the size is negative.";
const char* const kOriginNotFinite = "The origin is not finite.";

bool IsFinite(QXPoint3D p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool HasPositiveSteps(double dx, double dy, double dz) {
  return QXIsPositiveStep(dx) && QXIsPositiveStep(dy) && QXIsPositiveStep(dz);
}

// Sizes that are not negative: whether they are usable, with a report for
// a box of more than 2^31 - 1 points. A size of 0 leaves the grid without
// size, which is usable.
bool FitsInAGrid(const char* operation, int m, int n, int o) {
  if (m == 0 || n == 0 || o == 0) return true;
  if (QXBoxSize(m, n, o) <= INT_MAX) return true;
  QXErrorMessage(operation, "Too many points.");
  return false;
}

}  // namespace

QXMesh3DGrid::QXMesh3DGrid()
    : mv(0), nv(0), ov(0), origin(0, 0, 0), _dx(1), _dy(1), _dz(1), maskDefined(false), mask() {}

QXMesh3DGrid::QXMesh3DGrid(int m, int n, int o) : QXMesh3DGrid() {
  if (m < 0 || n < 0 || o < 0) {
    QXErrorMessage(kSizesOperation, kNegativeSize);
    return;
  }
  if (!FitsInAGrid(kSizesOperation, m, n, o) || m == 0 || n == 0 || o == 0) return;
  mv = m;
  nv = n;
  ov = o;
}

QXMesh3DGrid::QXMesh3DGrid(QXPoint3D origin, double dx, double dy, double dz, int m, int n, int o)
    : QXMesh3DGrid() {
  if (m < 0 || n < 0 || o < 0 || !HasPositiveSteps(dx, dy, dz)) {
    QXErrorMessage(kPlacedOperation, kNegativeSize);
    return;
  }
  if (!IsFinite(origin)) {
    QXErrorMessage(kPlacedOperation, kOriginNotFinite);
    return;
  }
  if (!FitsInAGrid(kPlacedOperation, m, n, o)) return;
  this->origin = origin;
  _dx = dx;
  _dy = dy;
  _dz = dz;
  if (m == 0 || n == 0 || o == 0) return;
  mv = m;
  nv = n;
  ov = o;
}

QXMesh3DGrid::QXMesh3DGrid(QXPoint3D origin, double dx, double dy, double dz, const QXMask& mask)
    : QXMesh3DGrid() {
  if (!HasPositiveSteps(dx, dy, dz)) {
    QXErrorMessage(kMaskOperation, "Step size is negative.");
    return;
  }
  if (!IsFinite(origin)) {
    QXErrorMessage(kMaskOperation, kOriginNotFinite);
    return;
  }
  mv = mask.m();
  nv = mask.n();
  ov = mask.o();
  this->origin = origin;
  _dx = dx;
  _dy = dy;
  _dz = dz;
  maskDefined = true;
  this->mask = mask;
}

bool QXMesh3DGrid::IsStandard() const {
  return origin.x == 0 && origin.y == 0 && origin.z == 0 && _dx == 1 && _dy == 1 && _dz == 1;
}

void QXMesh3DGrid::pinfo() const {
  std::ostringstream line;
  line << "Size = " << mv << " x " << nv << " x " << ov << ", Origin = (" << origin.x << ","
       << origin.y << "," << origin.z << "), ";
  if (_dx == _dy && _dy == _dz)
    line << "h = " << _dx;
  else
    line << "dx = " << _dx << ", dy = " << _dy << ", dz = " << _dz;
  if (maskDefined) line << ". Mask = " << mask.NumberOfPoints() << " points.";
  line << '\n';
  std::fputs(line.str().c_str(), stderr);
}

QXRegion3D BoundingBox(const QXMesh3DGrid& grid) {
  if (grid.m() == 0) return QXRegion3D();
  const QXPoint3D origin = grid.Origin();
  QXRegion3D box;
  box.isSet = true;
  box.xmin = origin.x;
  box.ymin = origin.y;
  box.zmin = origin.z;
  box.xmax = box.xmin + (grid.m() - 1) * grid.dx();
  box.ymax = box.ymin + (grid.n() - 1) * grid.dy();
  box.zmax = box.zmin + (grid.o() - 1) * grid.dz();
  return box;
}

QXMesh3DGrid ChangeSize(const QXMesh3DGrid& grid, int m, int n, int o) {
  return QXMesh3DGrid(grid.Origin(), grid.dx(), grid.dy(), grid.dz(), m, n, o);
}

QXMesh3DGrid ApplyMask(const QXMesh3DGrid& grid, const QXMask& mask) {
  return QXMesh3DGrid(grid.Origin(), grid.dx(), grid.dy(), grid.dz(), mask);
}

namespace {

void WriteGrid(QXDataStorage& storage, const std::string& name, const QXMesh3DGrid& grid,
               bool withSize) {
  const QXPoint3D at = grid.Origin();
  const double numbers[] = {at.x, at.y, at.z, grid.dx(), grid.dy(), grid.dz()};
  const int sizes[] = {grid.m(), grid.n(), grid.o()};
  QXWriteRegularGrid(storage, name, numbers, sizes, withSize);
}

}  // namespace

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh3DGrid& grid) {
  WriteGrid(storage, name, grid, grid.m() != 0);
}

void WriteToFileNoSize(QXDataStorage& storage, std::string name, const QXMesh3DGrid& grid) {
  WriteGrid(storage, name, grid, false);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh3DGrid& grid) {
  grid = QXMesh3DGrid();
  double a[6];
  int size[3];
  if (!QXReadRegularGrid(storage, name, "QXMesh3DGrid", a, size)) return;
  const QXPoint3D origin(QXRoundToFloat(a[0]), QXRoundToFloat(a[1]), QXRoundToFloat(a[2]));
  grid = QXMesh3DGrid(origin, a[3], a[4], a[5], size[0], size[1], size[2]);
}
