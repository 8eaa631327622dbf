// Series of values on structured (curvilinear) 2D grids. Each mesh adds its
// grid's box to the series' bounding box and its values to the value range.
//
//   QXSeriesStructuredMesh2D flow(file, "Flow");
//   flow.Add(QXStructuredMesh2D(speed0, grid), 0.0);
//   flow.Add(QXStructuredMesh2D(speed1, grid), 1.0);  // same grid as before
//
// Every value is saved whole with the mesh's writer (the grid under
// S + "_" + k + "_g", the values under S + "_" + k), so Get reads it with the
// ordinary mesh reader. Before that, the series records where the grid
// came from: a grid unlike the one before is first written under
// S + "_" + k + "_g" and remembered; a grid equal to the one before is
// recorded there as a string naming the entry that held it first. The
// mesh's own writer then writes the grid under the same name, and the last
// save under a name is the one that counts.
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the empty mesh.
#ifndef QXSERIESSTRUCTUREDMESH2D_H
#define QXSERIESSTRUCTUREDMESH2D_H

#include <string>

#include "QXRegion.h"
#include "QXSeries.h"
#include "QXStructuredGrid2D.h"

class QXSeriesStructuredMesh2D : public QXSeries {
 public:
  QXSeriesStructuredMesh2D(QXDataStorage& storage, std::string name);
  void Add(QXStructuredMesh2D mesh, double time);
  QXStructuredMesh2D Get(double time) const;

 private:
  QXRegion2D totalBBox;        // unused: the summaries are the base's
  QXRegion1D totalValueRange;  // unused: the summaries are the base's
  QXStructuredGrid2D lastGrid;
  std::string nameForLastGrid;
};

#endif
