// Series of values on regular 3D grids, and of the grids themselves.
//
//   QXSeriesMesh3D density(file, "Density");
//   density.Add(QXMesh3D(values, grid), 0.0);         // a mesh
//   density.Add(values, 0.5);                         // values on the standard grid
//   density.Add(values, grid, 1.0);                   // values on a placed grid
//
// A mesh is saved with its own writer under S + "_" + k. An array alone is
// saved as a double array (a mesh on the standard grid of its size); an
// array with a grid also saves the grid, without its size and mask, under
// S + "_" + k + "_loc". Every add adds its values to the value range and its
// place to the bounding box: the grid's box, the grid taken at the array's
// size for an array with a grid, or (0,0,0)-(m-1,n-1,o-1) for an array
// alone. A grid series adds each grid's box. Companions that an add the
// storage refused left under S + "_" + k are cleared by the array adds, so
// that the array reads back on its own grid. Get reads a mesh (float
// values) or a grid; a time with no value gives the empty one.
//
// See QXSeries.h for the entries and the time rules.
#ifndef QXSERIESMESH3D_H
#define QXSERIESMESH3D_H

#include <string>

#include "QXDoubleArray.h"
#include "QXMesh3D.h"
#include "QXMesh3DGrid.h"
#include "QXSeries.h"

class QXSeriesMesh3D : public QXSeries {
 public:
  QXSeriesMesh3D(QXDataStorage& storage, std::string name);
  void Add(QXMesh3D mesh, double time);
  void Add(const QXDoubleArray& values, double time);
  void Add(const QXDoubleArray& values, const QXMesh3DGrid& grid, double time);
  QXMesh3D Get(double time) const;
};

class QXSeriesMesh3DGrid : public QXSeries {
 public:
  QXSeriesMesh3DGrid(QXDataStorage& storage, std::string name);
  void Add(QXMesh3DGrid grid, double time);
  QXMesh3DGrid Get(double time) const;
};

#endif
