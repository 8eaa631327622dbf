// Storage steps shared by the regular grids of two and three dimensions and
// by the meshes on them: the grid's numbers and sizes, and the placement and
// mask companions of a mesh. Each is written once here for both dimensions.
#ifndef QXREGULARGRIDINTERNAL_H
#define QXREGULARGRIDINTERNAL_H

#include <string>

#include "QXDataStorage.h"
#include "QXError.h"
#include "QXMask.h"
#include "QXVariableStorageInternal.h"

// Writes a grid: its sizes under name + "_size" when `withSize`, else clears
// an earlier "_size"; then its origin and steps under the name, last.
template <int Count, int Dims>
void QXWriteRegularGrid(QXDataStorage& storage, const std::string& name,
                        const double (&numbers)[Count], const int (&sizes)[Dims], bool withSize) {
  if (withSize)
    QXSaveColumn(storage, name + "_size", sizes, Dims);
  else
    QXClearCompanion(storage, name + "_size");
  QXSaveColumn(storage, name, numbers, Count);
}

// Reads the Count numbers stored under the name and the Dims sizes under
// name + "_size" (all 0 when that is absent or empty). Another length of
// either reports "ReadFromArray(type)" / "Incorrect size array." and gives
// false.
template <int Count, int Dims>
bool QXReadRegularGrid(const QXDataStorage& storage, const std::string& name, const char* type,
                       double (&numbers)[Count], int (&sizes)[Dims]) {
  QXDoubleArray stored;
  ReadFromFile(storage, name, stored);
  if (stored.Length() != Count) {
    QXErrorMessage(QXReadFromArrayOperation(type), "Incorrect size array.");
    return false;
  }
  for (int i = 0; i < Count; i++) numbers[i] = stored(i);
  for (int d = 0; d < Dims; d++) sizes[d] = 0;
  const std::string sizeName = name + "_size";
  if (!storage.Contains(sizeName)) return true;
  QXIntArray size;
  ReadFromFile(storage, sizeName, size);
  if (size.IsEmpty()) return true;
  if (size.Length() != Dims) {
    QXErrorMessage(QXReadFromArrayOperation(type), "Incorrect size array.");
    return false;
  }
  for (int d = 0; d < Dims; d++) sizes[d] = size(d);
  return true;
}

// The companions of a mesh, before its values: the grid without size under
// name + "_loc" unless the grid is standard, the mask under name + "_dom"
// when the grid has one. Those the mesh lacks are cleared.
template <class Grid>
void QXWriteMeshCompanions(QXDataStorage& storage, const std::string& name, const Grid& grid) {
  const std::string locName = name + "_loc";
  const std::string domName = name + "_dom";
  if (!grid.IsStandard()) {
    WriteToFileNoSize(storage, locName, grid);
  } else {
    QXClearCompanion(storage, locName + "_size");
    QXClearCompanion(storage, locName);
  }
  if (grid.MaskDefined()) {
    WriteToFile(storage, domName, grid.Mask());
  } else {
    QXClearCompanion(storage, domName + "_dim");
    QXClearCompanion(storage, domName);
  }
}

// The grid of a mesh whose values have the given sizes: the placement stored
// under name + "_loc" (else the standard grid) with those sizes, then the
// mask stored under name + "_dom" when there is one. An empty entry is
// absent. A mask of another box than the values' is applied as it is: the
// mesh's constructor then warns and drops it.
template <class Grid, class... Sizes>
Grid QXReadMeshGrid(const QXDataStorage& storage, const std::string& name, Sizes... sizes) {
  Grid grid(sizes...);
  const std::string locName = name + "_loc";
  if (storage.Contains(locName) && storage.ReadDoubleArray(locName).NotEmpty()) {
    ReadFromFile(storage, locName, grid);
    grid = ChangeSize(grid, sizes...);
  }
  const std::string domName = name + "_dom";
  if (storage.Contains(domName)) {
    QXMask mask;
    ReadFromFile(storage, domName, mask);
    if (mask.o() != 0) grid = ApplyMask(grid, mask);
  }
  return grid;
}

#endif
