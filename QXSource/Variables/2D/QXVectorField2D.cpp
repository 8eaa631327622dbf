#include "QXVectorField2D.h"

#include "QXVectorFieldInternal.h"

QXVectorField2D::QXVectorField2D() : grid(), xComponent(), yComponent() {}

QXVectorField2D::QXVectorField2D(const QXDoubleArray& X, const QXDoubleArray& Y, QXMesh2DGrid grid)
    : QXVectorField2D() {
  const QXDoubleArray components[] = {X, Y};
  const int gridSizes[] = {grid.m(), grid.n(), grid.m() != 0 ? 1 : 0};
  if (!QXFitsVectorField("QXVectorField2D(X,Y,Grid)", components, gridSizes, 1)) return;
  this->grid = ChangeSize(grid, 0, 0);
  xComponent = X;
  yComponent = Y;
}

QXRegion2D BoundingBox(const QXVectorField2D& field) {
  return BoundingBox(ChangeSize(field.Grid(), field.X().m(), field.X().n()));
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXVectorField2D& field) {
  const QXDoubleArray components[] = {field.X(), field.Y()};
  QXWriteVectorField(storage, name, components, field.Grid());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXVectorField2D& field) {
  QXDoubleArray components[2];
  QXMesh2DGrid grid;
  QXReadVectorField(storage, name, components, grid);
  field = QXVectorField2D(components[0], components[1], grid);
}
