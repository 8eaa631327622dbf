// The steps shared by the vector fields of two and three dimensions: the
// check of the components against each other and against the grid, and the
// storage of the components and the grid.
#ifndef QXVECTORFIELDINTERNAL_H
#define QXVECTORFIELDINTERNAL_H

#include <string>

#include "QXDataStorage.h"
#include "QXError.h"
#include "QXVariableStorageInternal.h"

// The suffixes of the x, y and z components.
inline const char* QXComponentSuffix(int c) {
  static const char* const suffixes[] = {"_X", "_Y", "_Z"};
  return suffixes[c];
}

// Whether K components can make a field on a grid of the given sizes (m, n,
// o; 0 where the grid has no size): the same m, n and o for all, o at most
// largestO, and each size of the grid either 0 or the components'.
// Otherwise reports the operation with "Incompatible sizes.".
template <class Array, int K>
bool QXFitsVectorField(const char* operation, const Array (&components)[K],
                       const int (&gridSizes)[3], int largestO) {
  const Array& first = components[0];
  const int sizes[] = {first.m(), first.n(), first.o()};
  bool fits = first.o() <= largestO;
  for (int c = 1; c < K; c++)
    fits = fits && components[c].m() == sizes[0] && components[c].n() == sizes[1] &&
           components[c].o() == sizes[2];
  for (int d = 0; d < 3; d++) fits = fits && (gridSizes[d] == 0 || gridSizes[d] == sizes[d]);
  if (!fits) QXErrorMessage(operation, "Incompatible sizes.");
  return fits;
}

// The components under the name plus "_X", "_Y" (and "_Z"), then the grid
// without its size under the name, the main entry, last. A plane field
// clears the "_Z" of a field in space saved before under the name.
template <class Array, int K, class Grid>
void QXWriteVectorField(QXDataStorage& storage, const std::string& name,
                        const Array (&components)[K], const Grid& grid) {
  for (int c = 0; c < K; c++) storage.Save(components[c], name + QXComponentSuffix(c));
  for (int c = K; c < 3; c++) QXClearCompanion(storage, name + QXComponentSuffix(c));
  WriteToFileNoSize(storage, name, grid);
}

// The grid from the name with the grid's reader, then the components.
template <class Array, int K, class Grid>
void QXReadVectorField(const QXDataStorage& storage, const std::string& name,
                       Array (&components)[K], Grid& grid) {
  ReadFromFile(storage, name, grid);
  for (int c = 0; c < K; c++) ReadFromFile(storage, name + QXComponentSuffix(c), components[c]);
}

#endif
