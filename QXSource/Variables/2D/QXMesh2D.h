// Values on a regular 2D grid: an m x n double or float array whose element
// (i,j) belongs to grid point (i,j). A double column holding one value per
// point of the grid's mask is spread over the whole grid, 0 elsewhere.
//
//   QXMesh2D temperature(values, QXMesh2DGrid(QXPoint2D(0, 0), 0.1));
//   QXRegion1D range = ValueRange(temperature);
//   WriteToFile(storage, "T", temperature);
//
// Exactly one of the two arrays holds the values (neither for the empty
// mesh), and the grid's m x n is always the values' m x n.
//
// Storage: the grid without its size under name + "_loc" when the grid is
// not standard, then the mask under name + "_dom" (with its "_dom_dim") when
// the grid has one, then the values under the name as a double or float
// array (the main entry, last). A mesh on a standard grid without mask is one
// array. Companions that the mesh does not have ("_loc", "_loc_size", "_dom",
// "_dom_dim") but an earlier value under the name left are overwritten with
// empty arrays, which read as absent.
//
// Failures are reported through QXErrorMessage and give the empty mesh:
//   "QXMesh(Array,Grid)": "Array is three dimensional.", and the warning
//     "Grid size is incompatible." (the values are kept, and the grid takes
//     their size without the mask).
//   "ReadFromFile(QXMesh2D)": "Can not read a three dimensional array.",
//     "The mask's box of N points is too large for the M values stored." (a
//     stored column whose mask box has more than 2^28 points and more than
//     16 for every value: a small file must not claim gigabytes).
#ifndef QXMESH2D_H
#define QXMESH2D_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXMesh2DGrid.h"
#include "QXRegion.h"

class QXMesh2D {
 public:
  // No values, the default grid.
  QXMesh2D();
  // The values (shared) on the grid. Empty values give the empty mesh. A
  // double column with one value per point of the grid's mask is expanded
  // into a new m x n array. When the grid has a size that differs from the
  // values', that is warned; the grid then takes the values' size, keeping
  // origin and steps and dropping the mask. A grid without size always takes
  // the values' size.
  QXMesh2D(const QXDoubleArray& values, QXMesh2DGrid grid);
  // As above, but a float column is never expanded through the mask.
  QXMesh2D(const QXFloatArray& values, QXMesh2DGrid grid);

  bool DoublePrecision() const { return doubleData.NotEmpty(); }
  bool FloatPrecision() const { return floatData.NotEmpty(); }
  QXDoubleArray DoubleData() const { return doubleData; }
  QXFloatArray FloatData() const { return floatData; }
  QXMesh2DGrid Grid() const { return grid; }
  // The size of the values.
  int m() const;
  int n() const;
  // The grid's line (see QXMesh2DGrid::pinfo) on standard error.
  void pinfo() const;

 private:
  template <class T>
  void Build(const QXArray<T>& values, QXMesh2DGrid onGrid);
  void Keep(const QXDoubleArray& values) { doubleData = values; }
  void Keep(const QXFloatArray& values) { floatData = values; }

  QXMesh2DGrid grid;
  QXFloatArray floatData;
  QXDoubleArray doubleData;
};

// The mesh on the same grid with its double values rounded to float (beyond
// the float range: infinite); a mesh of float values, or the empty mesh, is
// returned as it is.
QXMesh2D ConvertToFloat(const QXMesh2D& mesh);
// The mesh on the same grid with its float values as doubles; a mesh of
// double values, or the empty mesh, is returned as it is.
QXMesh2D ConvertToDouble(const QXMesh2D& mesh);

// The bounding box of the grid.
QXRegion2D BoundingBox(const QXMesh2D& mesh);
// The range of the values, NaN ignored.
QXRegion1D ValueRange(const QXMesh2D& mesh);

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh2D& mesh);
// Reads the values as double when they were saved as double, else as float;
// the grid from "_loc" (else the standard grid) sized to the values; the mask
// from "_dom" when present. A missing name is reported by the storage and
// gives the empty mesh.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh2D& mesh);

#endif
