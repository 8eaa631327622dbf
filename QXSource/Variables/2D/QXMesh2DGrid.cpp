#include "QXMesh2DGrid.h"

#include <cstdio>
#include <sstream>

#include "QXError.h"
#include "QXGridInternal.h"
#include "QXRegularGridInternal.h"

namespace {

const char* const kNegativeSize = "One of the size is negative.";

}  // namespace

QXMesh2DGrid::QXMesh2DGrid()
    : _m(0), _n(0), _origin(0, 0), _dx(1), _dy(1), maskDefined(false), mask() {}

QXMesh2DGrid::QXMesh2DGrid(int m, int n) : QXMesh2DGrid() {
  if (m < 0 || n < 0) {
    QXErrorMessage("QXMeshGrid(m,n)", kNegativeSize);
    return;
  }
  if (QXBoxSize(m, n, 1) == 0) return;
  _m = m;
  _n = n;
}

QXMesh2DGrid::QXMesh2DGrid(QXPoint2D origin, double dx, double dy, int m, int n) : QXMesh2DGrid() {
  if (m < 0 || n < 0 || !QXIsPositiveStep(dx) || !QXIsPositiveStep(dy)) {
    QXErrorMessage("QXMeshGrid(origin,dx,dy,m,n)", kNegativeSize);
    return;
  }
  _origin = origin;
  _dx = dx;
  _dy = dy;
  if (QXBoxSize(m, n, 1) == 0) return;
  _m = m;
  _n = n;
}

QXMesh2DGrid::QXMesh2DGrid(QXPoint2D origin, double h) : QXMesh2DGrid() {
  if (!QXIsPositiveStep(h)) {
    QXErrorMessage("QXMeshGrid(origin,h)", "Step size is negative.");
    return;
  }
  _origin = origin;
  _dx = h;
  _dy = h;
}

QXMesh2DGrid::QXMesh2DGrid(QXPoint2D origin, double dx, double dy, const QXMask& mask)
    : QXMesh2DGrid() {
  if (mask.o() >= 2) {
    QXErrorMessage("QXMeshGrid(origin,dx,dy,mask)", "Passing in a 3D Mask.");
    return;
  }
  if (!QXIsPositiveStep(dx) || !QXIsPositiveStep(dy)) {
    QXErrorMessage("QXMeshGrid(origin,dx,dy,mask)", "Step size is negative.");
    return;
  }
  _m = mask.m();
  _n = mask.n();
  _origin = origin;
  _dx = dx;
  _dy = dy;
  maskDefined = true;
  this->mask = mask;
}

bool QXMesh2DGrid::IsStandard() const {
  return _origin.x == 0 && _origin.y == 0 && _dx == 1 && _dy == 1;
}

void QXMesh2DGrid::pinfo() const {
  std::ostringstream line;
  line << _m << "x" << _n << " mesh, origin = (" << _origin.x << "," << _origin.y;
  if (_dx == _dy)
    line << "), h = " << _dx;
  else
    line << "), dx = " << _dx << ", dy = " << _dy;
  if (maskDefined) line << ". Mask = " << mask.NumberOfPoints() << " points.";
  line << '\n';
  std::fputs(line.str().c_str(), stderr);
}

QXRegion2D BoundingBox(const QXMesh2DGrid& grid) {
  if (grid.m() == 0) return QXRegion2D();
  const QXPoint2D origin = grid.Origin();
  return QXRegion2D(origin, QXPoint2D(origin.x + (grid.m() - 1) * grid.dx(),
                                      origin.y + (grid.n() - 1) * grid.dy()));
}

QXMesh2DGrid ChangeSize(const QXMesh2DGrid& grid, int m, int n) {
  return QXMesh2DGrid(grid.Origin(), grid.dx(), grid.dy(), m, n);
}

QXMesh2DGrid ApplyMask(const QXMesh2DGrid& grid, const QXMask& mask) {
  return QXMesh2DGrid(grid.Origin(), grid.dx(), grid.dy(), mask);
}

namespace {

void WriteGrid(QXDataStorage& storage, const std::string& name, const QXMesh2DGrid& grid,
               bool withSize) {
  const double numbers[] = {grid.Origin().x, grid.Origin().y, grid.dx(), grid.dy()};
  const int sizes[] = {grid.m(), grid.n()};
  QXWriteRegularGrid(storage, name, numbers, sizes, withSize);
}

}  // namespace

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh2DGrid& grid) {
  WriteGrid(storage, name, grid, grid.m() != 0);
}

void WriteToFileNoSize(QXDataStorage& storage, std::string name, const QXMesh2DGrid& grid) {
  WriteGrid(storage, name, grid, false);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh2DGrid& grid) {
  grid = QXMesh2DGrid();
  double a[4];
  int size[2];
  if (!QXReadRegularGrid(storage, name, "QXMesh2DGrid", a, size)) return;
  grid = QXMesh2DGrid(QXPoint2D(a[0], a[1]), a[2], a[3], size[0], size[1]);
}
