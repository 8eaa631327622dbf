// Steps shared by the structured grids of two and three dimensions: the check
// of their coordinate arrays and mask, the expansion of a coordinate array to
// the grid's full size, the coordinate ranges, the printed line and the
// storage. A grid of two dimensions runs the steps of three with its Z left
// out: its third size is 1, so every array must have o = 1.
//
// The coordinate arrays are passed as `axes`, `count` of them: X, Y and, when
// count is 3, Z.
#ifndef QXSTRUCTUREDGRIDINTERNAL_H
#define QXSTRUCTUREDGRIDINTERNAL_H

#include <string>

#include "QXDataStorage.h"
#include "QXFloatArray.h"
#include "QXMask.h"
#include "QXRegion.h"

// The full size of a grid: m = X.m(), n = Y.n(), o = Z.o() (1 without Z).
struct QXStructuredSize {
  int m, n, o;
};

QXStructuredSize QXStructuredSizeOf(const QXFloatArray* axes, int count);

// Whether a grid may keep these arrays and, when `mask` is not null, this
// mask. False without a report when a size is 0 (the empty grid); false with
// a report under `operation` for "Invalid array sizes." (an extent of some
// array neither the full size nor 1), then "Too many points." (more than
// 2^31 - 1 points, counted in 64 bits), then "Invalid mask." (a mask of
// another box than m x n x o).
bool QXAcceptStructuredAxes(const QXFloatArray* axes, int count, const QXMask* mask,
                            const char* operation);

// The array spread to the full size: along a dimension where its extent is 1,
// its single row, column or layer is repeated. The array itself when it has
// the full size already; the empty array for a grid of size 0 or when the
// allocation fails (reported by the array).
QXFloatArray QXExpandAxis(const QXFloatArray& axis, QXStructuredSize size);

// The value range of each array into ranges[0 .. count-1]; true when every
// one of them is set (some array of only NaN, or an empty one, is not).
bool QXAxisRanges(const QXFloatArray* axes, int count, QXRegion1D* ranges);

// "m x n structured grid" (or "m x n x o ...") and ". Mask = N points." when
// a mask is defined, and an end of line, on standard error.
void QXPrintStructuredGrid(const QXFloatArray* axes, int count, bool maskDefined,
                           const QXMask& mask);

// The arrays under name + "_X", "_Y" (and "_Z") as float arrays, then the
// mask's runs as an int array under the name, or an empty int array when no
// mask is defined. A defined mask without runs would read back as no mask:
// that is warned under "WriteToFile(type)".
void QXWriteStructuredGrid(QXDataStorage& storage, const std::string& name,
                           const QXFloatArray* axes, int count, bool maskDefined,
                           const QXMask& mask, const char* type);

// What a stored structured grid holds besides its arrays.
enum class QXStoredMask { None, Defined, Unfit };

// Reads the runs under the name and the arrays under the suffixes (none when
// the name is missing, which the storage reports once). An empty
// run list is no mask; otherwise the mask is checked by CreateFromIntervals
// against the box of the arrays read (m x n x o of QXStructuredSizeOf), and a
// run list that does not fit is Unfit, reported there.
QXStoredMask QXReadStructuredGrid(const QXDataStorage& storage, const std::string& name,
                                  QXFloatArray* axes, int count, QXMask& mask);

#endif
