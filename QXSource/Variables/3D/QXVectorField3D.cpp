#include "QXVectorField3D.h"

#include <climits>

#include "QXVectorFieldInternal.h"

QXVectorField3D::QXVectorField3D() : grid(), xComponent(), yComponent(), zComponent() {}

QXVectorField3D::QXVectorField3D(const QXFloatArray& X, const QXFloatArray& Y,
                                 const QXFloatArray& Z, QXMesh3DGrid grid)
    : QXVectorField3D() {
  const QXFloatArray components[] = {X, Y, Z};
  const int gridSizes[] = {grid.m(), grid.n(), grid.o()};
  if (!QXFitsVectorField("QXVectorField3D(X,Y,Z,Grid)", components, gridSizes, INT_MAX)) return;
  this->grid = ChangeSize(grid, 0, 0, 0);
  xComponent = X;
  yComponent = Y;
  zComponent = Z;
}

QXRegion3D BoundingBox(const QXVectorField3D& field) {
  const QXFloatArray X = field.X();
  return BoundingBox(ChangeSize(field.Grid(), X.m(), X.n(), X.o()));
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXVectorField3D& field) {
  const QXFloatArray components[] = {field.X(), field.Y(), field.Z()};
  QXWriteVectorField(storage, name, components, field.Grid());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXVectorField3D& field) {
  QXFloatArray components[3];
  QXMesh3DGrid grid;
  QXReadVectorField(storage, name, components, grid);
  field = QXVectorField3D(components[0], components[1], components[2], grid);
}
