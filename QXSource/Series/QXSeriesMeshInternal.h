// The write of an array add to a regular-mesh series (QXSeriesMesh2D,
// QXSeriesMesh3D), for QXSeries::SaveWith: the values as a double array
// under the entry, after, when a grid is given, its placement without size
// and mask under entry + "_loc". An earlier add that the storage refused
// may have left its companions under the entry ("_loc", "_loc_size",
// "_dom", "_dom_dim"); those the array does not have are cleared, so that
// it reads back on its own grid.
#ifndef QXSERIESMESHINTERNAL_H
#define QXSERIESMESHINTERNAL_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXRegularGridInternal.h"

// The write of the values on the grid, or on the standard grid of their
// size when `grid` is null. The values and the grid must outlive the write.
template <class Grid>
auto QXArrayOnGridWrite(const QXDoubleArray& values, const Grid* grid) {
  return [&values, grid](QXDataStorage& storage, const std::string& entry) {
    if (grid) {
      WriteToFileNoSize(storage, entry + "_loc", *grid);
      QXClearCompanion(storage, entry + "_dom_dim");
      QXClearCompanion(storage, entry + "_dom");
    } else {
      QXWriteMeshCompanions(storage, entry, Grid());
    }
    storage.Save(values, entry);
  };
}

#endif
