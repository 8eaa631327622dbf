// A vector field on a regular 3D grid: the x, y and z components of the
// vector at grid point (i,j,k), three m x n x o float arrays. The field keeps
// its grid without size (origin and steps only); the size is the
// components'.
//
//   QXVectorField3D flow(U, V, W, QXMesh3DGrid(QXPoint3D(0, 0, 0), 1, 1, 2, 0, 0, 0));
//   QXRegion3D box = BoundingBox(flow);
//   WriteToFile(storage, "flow", flow);
//
// A field has no mask: its storage cannot hold one, so the mask of the grid
// it is built on is dropped.
//
// Storage: the components as float arrays under name + "_X", name + "_Y"
// and name + "_Z", then the grid's origin and steps (six doubles) under the
// name, the main entry, last. The reader goes through the constructor.
//
// Failures are reported through QXErrorMessage and give the empty field (no
// components, the default grid):
//   "QXVectorField3D(X,Y,Z,Grid)": "Incompatible sizes." (components of
//     different sizes, or a grid with a size that is not theirs).
#ifndef QXVECTORFIELD3D_H
#define QXVECTORFIELD3D_H

#include <string>

#include "QXDataStorage.h"
#include "QXFloatArray.h"
#include "QXMesh3DGrid.h"
#include "QXRegion.h"

class QXVectorField3D {
 public:
  // No components, the default grid.
  QXVectorField3D();
  // The components (shared) placed by the grid. A grid with a size must have
  // the components' size.
  QXVectorField3D(const QXFloatArray& X, const QXFloatArray& Y, const QXFloatArray& Z,
                  QXMesh3DGrid grid);

  // The placement, always without size and mask.
  QXMesh3DGrid Grid() const { return grid; }
  QXFloatArray X() const { return xComponent; }
  QXFloatArray Y() const { return yComponent; }
  QXFloatArray Z() const { return zComponent; }

 private:
  QXMesh3DGrid grid;
  QXFloatArray xComponent;
  QXFloatArray yComponent;
  QXFloatArray zComponent;
};

// The box of the grid's placement over the components' size; the empty box
// for the empty field.
QXRegion3D BoundingBox(const QXVectorField3D& field);

void WriteToFile(QXDataStorage& storage, std::string name, const QXVectorField3D& field);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXVectorField3D& field);

#endif
