#include "QXSeriesMesh3D.h"

#include <utility>

#include "QXRegion.h"
#include "QXSeriesMeshInternal.h"

QXSeriesMesh3D::QXSeriesMesh3D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Mesh3D") {}

void QXSeriesMesh3D::Add(QXMesh3D mesh, double time) {
  if (!SaveValue(mesh, time)) return;
  AddToBBox(BoundingBox(mesh));
  AddToValueRange(ValueRange(mesh));
}

void QXSeriesMesh3D::Add(const QXDoubleArray& values, double time) {
  if (!SaveWith(time, QXArrayOnGridWrite<QXMesh3DGrid>(values, nullptr))) return;
  if (!values.IsEmpty()) {
    QXPoint3D last(values.m() - 1, values.n() - 1, values.o() - 1);
    AddToBBox(QXRegion3D(QXPoint3D(0, 0, 0), last));
  }
  AddToValueRange(ValueRange(values));
}

void QXSeriesMesh3D::Add(const QXDoubleArray& values, const QXMesh3DGrid& grid, double time) {
  if (!SaveWith(time, QXArrayOnGridWrite(values, &grid))) return;
  // A grid without size, or of another size, is placed at the values' size.
  AddToBBox(BoundingBox(ChangeSize(grid, values.m(), values.n(), values.o())));
  AddToValueRange(ValueRange(values));
}

QXMesh3D QXSeriesMesh3D::Get(double time) const { return ReadValue<QXMesh3D>(time); }

QXSeriesMesh3DGrid::QXSeriesMesh3DGrid(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Mesh3DGrid") {}

void QXSeriesMesh3DGrid::Add(QXMesh3DGrid grid, double time) {
  if (SaveValue(grid, time)) AddToBBox(BoundingBox(grid));
}

QXMesh3DGrid QXSeriesMesh3DGrid::Get(double time) const { return ReadValue<QXMesh3DGrid>(time); }
