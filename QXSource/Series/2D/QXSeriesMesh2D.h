// Series of values on regular 2D grids, and of the grids themselves.
//
//   QXSeriesMesh2D temperature(file, "Temperature");
//   temperature.Add(QXMesh2D(values, grid), 0.0);     // a mesh
//   temperature.Add(values, 0.5);                     // values on the standard grid
//   temperature.Add(values, grid, 1.0);               // values on a placed grid
//   QXMesh2D t = temperature.Get(0.7);                // the mesh saved at 0.5
//
// A mesh is saved with its own writer under S + "_" + k. An array alone is
// saved as a double array (a mesh on the standard grid of its size); an
// array with a grid also saves the grid, without its size and mask, under
// S + "_" + k + "_loc". Every add adds its values to the value range and its
// place to the bounding box: the grid's box, the grid taken at the array's
// size for an array with a grid, or (0,0)-(m-1,n-1) for an array alone.
// A grid series adds each grid's box. Companions that an add the storage
// refused left under S + "_" + k are cleared by the array adds, so that the
// array reads back on its own grid.
//
// An array with more than one layer is refused before anything is written:
// "QXSeriesMesh2D" / "Array is three dimensional.". See QXSeries.h for the
// entries and the time rules. Get of a time with no value gives the empty
// mesh or grid.
#ifndef QXSERIESMESH2D_H
#define QXSERIESMESH2D_H

#include <string>

#include "QXDoubleArray.h"
#include "QXMesh2D.h"
#include "QXMesh2DGrid.h"
#include "QXSeries.h"

class QXSeriesMesh2D : public QXSeries {
 public:
  QXSeriesMesh2D(QXDataStorage& storage, std::string name);
  void Add(QXMesh2D mesh, double time);
  void Add(const QXDoubleArray& values, double time);
  void Add(const QXDoubleArray& values, const QXMesh2DGrid& grid, double time);
  QXMesh2D Get(double time) const;

 private:
  bool IsPlane(const QXDoubleArray& values) const;
};

class QXSeriesMesh2DGrid : public QXSeries {
 public:
  QXSeriesMesh2DGrid(QXDataStorage& storage, std::string name);
  void Add(QXMesh2DGrid grid, double time);
  QXMesh2DGrid Get(double time) const;
};

#endif
