#include "QXSeriesMesh2D.h"

#include <utility>

#include "QXError.h"
#include "QXRegion.h"
#include "QXSeriesMeshInternal.h"

QXSeriesMesh2D::QXSeriesMesh2D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Mesh2D") {}

void QXSeriesMesh2D::Add(QXMesh2D mesh, double time) {
  if (!SaveValue(mesh, time)) return;
  AddToBBox(BoundingBox(mesh));
  AddToValueRange(ValueRange(mesh));
}

// Checked before the time is taken, so that a refused array leaves nothing.
bool QXSeriesMesh2D::IsPlane(const QXDoubleArray& values) const {
  if (values.o() <= 1) return true;
  QXErrorMessage("QXSeries" + type, "Array is three dimensional.");
  return false;
}

void QXSeriesMesh2D::Add(const QXDoubleArray& values, double time) {
  if (!IsPlane(values) || !SaveWith(time, QXArrayOnGridWrite<QXMesh2DGrid>(values, nullptr)))
    return;
  if (!values.IsEmpty())
    AddToBBox(QXRegion2D(QXPoint2D(0, 0), QXPoint2D(values.m() - 1, values.n() - 1)));
  AddToValueRange(ValueRange(values));
}

void QXSeriesMesh2D::Add(const QXDoubleArray& values, const QXMesh2DGrid& grid, double time) {
  if (!IsPlane(values) || !SaveWith(time, QXArrayOnGridWrite(values, &grid))) return;
  // A grid without size, or of another size, is placed at the values' size.
  AddToBBox(BoundingBox(ChangeSize(grid, values.m(), values.n())));
  AddToValueRange(ValueRange(values));
}

QXMesh2D QXSeriesMesh2D::Get(double time) const { return ReadValue<QXMesh2D>(time); }

QXSeriesMesh2DGrid::QXSeriesMesh2DGrid(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Mesh2DGrid") {}

void QXSeriesMesh2DGrid::Add(QXMesh2DGrid grid, double time) {
  if (SaveValue(grid, time)) AddToBBox(BoundingBox(grid));
}

QXMesh2DGrid QXSeriesMesh2DGrid::Get(double time) const { return ReadValue<QXMesh2DGrid>(time); }
