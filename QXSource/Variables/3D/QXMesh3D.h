// Float values on a regular 3D grid: an m x n x o array whose element (i,j,k)
// belongs to grid point (i,j,k). There is no double variant.
//
//   QXMesh3D density(values, QXMesh3DGrid(QXPoint3D(0, 0, 0), 0.1, 0.1, 0.2, 0, 0, 0));
//   QXRegion1D range = ValueRange(density);
//   WriteToFile(storage, "rho", density);
//
// The grid's m x n x o is always the values' m x n x o.
//
// Storage: the grid without its size under name + "_loc" when the grid is
// not standard, then the mask under name + "_dom" (with its "_dom_dim") when
// the grid has one, then the values under the name as a float array (the
// main entry, last). A mesh on a standard grid without mask is one array.
// Companions that the mesh does not have ("_loc", "_loc_size", "_dom",
// "_dom_dim") but an earlier value under the name left are overwritten with
// empty arrays, which read as absent. A stored mask whose box is not the
// values' is dropped with the constructor's warning.
//
// Failures are reported through QXWarningMessage:
//   "QXMesh3D(Array,Grid)": "Grid size is incompatible." (the values are
//     kept, and the grid takes their size without the mask).
#ifndef QXMESH3D_H
#define QXMESH3D_H

#include <string>

#include "QXDataStorage.h"
#include "QXFloatArray.h"
#include "QXMesh3DGrid.h"
#include "QXRegion.h"

class QXMesh3D {
 public:
  // No values, the default grid.
  QXMesh3D();
  // The values (shared) on the grid. Empty values give the empty mesh. When
  // the grid has a size that differs from the values', that is warned; the
  // grid then takes the values' size, keeping origin and steps and dropping
  // the mask. A grid without size always takes the values' size.
  QXMesh3D(const QXFloatArray& values, QXMesh3DGrid grid);

  QXFloatArray Data() const { return data; }
  QXMesh3DGrid Grid() const { return grid; }
  // The size of the values.
  int m() const { return data.m(); }
  int n() const { return data.n(); }
  int o() const { return data.o(); }
  // The grid's line (see QXMesh3DGrid::pinfo) on standard error.
  void pinfo() const { grid.pinfo(); }

 private:
  QXMesh3DGrid grid;
  QXFloatArray data;
};

// The bounding box of the grid.
QXRegion3D BoundingBox(const QXMesh3D& mesh);
// The range of the values, NaN ignored.
QXRegion1D ValueRange(const QXMesh3D& mesh);

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh3D& mesh);
// Reads the values as float (double values are rounded); the grid from
// "_loc" (else the standard grid) sized to the values; the mask from "_dom"
// when present. A missing name is reported by the storage and gives the
// empty mesh.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh3D& mesh);

#endif
