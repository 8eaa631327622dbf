// A vector field on a regular 2D grid: the x and y components of the vector
// at grid point (i,j), two m x n double arrays. The field keeps its grid
// without size (origin and steps only); the size is the components'.
//
//   QXVectorField2D wind(U, V, QXMesh2DGrid(QXPoint2D(0, 0), 0.5));
//   QXRegion2D box = BoundingBox(wind);
//   WriteToFile(storage, "wind", wind);
//
// A field has no mask: its storage cannot hold one, so the mask of the grid
// it is built on is dropped.
//
// Storage: the components as double arrays under name + "_X" and
// name + "_Y", then the grid's origin and steps (four doubles) under the
// name, the main entry, last. The "_Z" of a 3D field saved before under the
// name is overwritten with an empty array, so the save replaces the whole
// value. The reader goes through the constructor.
//
// Failures are reported through QXErrorMessage and give the empty field (no
// components, the default grid):
//   "QXVectorField2D(X,Y,Grid)": "Incompatible sizes." (components of
//     different sizes or three-dimensional, or a grid with a size that is
//     not theirs).
#ifndef QXVECTORFIELD2D_H
#define QXVECTORFIELD2D_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXMesh2DGrid.h"
#include "QXRegion.h"

class QXVectorField2D {
 public:
  // No components, the default grid.
  QXVectorField2D();
  // The components (shared) placed by the grid. A grid with a size must have
  // the components' size.
  QXVectorField2D(const QXDoubleArray& X, const QXDoubleArray& Y, QXMesh2DGrid grid);

  // The placement, always without size and mask.
  QXMesh2DGrid Grid() const { return grid; }
  QXDoubleArray X() const { return xComponent; }
  QXDoubleArray Y() const { return yComponent; }

 private:
  QXMesh2DGrid grid;
  QXDoubleArray xComponent;
  QXDoubleArray yComponent;
};

// The box of the grid's placement over the components' size; the empty
// region for the empty field.
QXRegion2D BoundingBox(const QXVectorField2D& field);

void WriteToFile(QXDataStorage& storage, std::string name, const QXVectorField2D& field);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXVectorField2D& field);

#endif
