// A set of points of an m x n x o index box, kept as runs of consecutive
// indices. An index is the column-major position i + j*m + k*m*n. The runs
// are the columns (start, end) of a 2 x N int array, both ends inclusive, in
// strictly increasing order (a run may abut the next, as (1,3) and (4,5)) and
// inside [0, m*n*o). The 2D and 3D meshes use a mask to say which grid points
// hold values.
//
//   QXMask inside = QXMask::CreateFromMask(bytes);  // non-zero bytes are inside
//   QXMutableIntArray where = Offsets(inside);       // every index inside, ascending
//   WriteToFile(storage, "domain", inside);
//
// Storage: the runs as an int 2 x N array under the name (the main entry,
// written last), after the dimensions under name + "_dim": an int 2 x 1
// (m, n) when o is 1, an int 3 x 1 (m, n, o) when o is more. The empty mask
// writes only an empty int array under the name, and a "_dim" left by an
// earlier value under the name is overwritten with an empty array.
//
// Failures are reported through QXErrorMessage and give the empty mask
// (0 x 0 x 0, no runs). The texts:
//   "QXMask(m,n,o)": "One of the indices is  negative" (two blanks),
//     "Out of bounds." (a box of more than 2^31 - 1 indices).
//   "QXMask::CreateFromIntervals(intervals,...)": "One of the indices is
//     negative", "Out of bounds." (a box of more than 2^31 - 1 indices, or a
//     run outside the box), "interval array has incorrect size", "One of the
//     intervals is incorrect.", "Intervals need to be in increasing order.".
//   "ReadFromArray(QXMask)": "Invalid length of array." (a "_dim" entry that
//     holds neither 2 nor 3 numbers).
//
// A mask shares its run array with the array it was built from. Should that
// array be changed afterwards through a mutable handle, every walk over the
// runs (NumberOfPoints, Offsets, MaskArray, the expansion of a mesh) still
// stays inside the box and ends: a run is clipped to the box and to after the
// run before it, so a changed array gives wrong points at worst.
#ifndef QXMASK_H
#define QXMASK_H

#include <string>

#include "QXDataStorage.h"
#include "QXIntArray.h"
#include "QXUCharArray.h"

class QXMask {
 public:
  // The empty mask.
  QXMask();
  // A box with no points. A negative size is reported and gives the empty
  // mask; a box of zero indices is the empty mask.
  QXMask(int m, int n, int o);

  // The checked mask of the runs (a 2 x N int array) in the m x n x o box.
  // No runs give a box with no points. The checks, in order: sizes not
  // negative, a box of at most 2^31 - 1 indices, a 2 x N array, every start
  // at most its end, runs increasing, runs inside the box.
  static QXMask CreateFromIntervals(const QXIntArray& intervals, int m, int n, int o);
  // The runs of the non-zero bytes of an array of any dimensions, walked
  // column by column: a run never goes on from the end of one column into the
  // next, even when the indices touch.
  static QXMask CreateFromMask(const QXUCharArray& bytes);

  int m() const { return _m; }
  int n() const { return _n; }
  int o() const { return _o; }
  // The run array itself (shared).
  QXIntArray Intervals() const { return intervals; }
  // The number of indices inside the runs.
  int NumberOfPoints() const;
  // An m x n x o byte array holding 1 inside the runs and 0 elsewhere; the
  // empty array for the empty mask.
  QXMutableUCharArray MaskArray() const;
  // "Empty", "m x n mask with N points." or "m x n x o mask with N points."
  // and an end of line, on standard error.
  void pinfo() const;

 protected:
  // Takes the runs and the box as they are; the callers have checked them.
  QXMask(const QXIntArray& intervals, int m, int n, int o);

 private:
  QXIntArray intervals;
  int _m, _n, _o;
};

// Every index inside the runs, in increasing order, as a NumberOfPoints() x 1
// array; the empty array when there are none.
QXMutableIntArray Offsets(const QXMask& mask);

// Equal when the run arrays are equal; the boxes are not compared.
bool operator==(const QXMask& a, const QXMask& b);
bool operator!=(const QXMask& a, const QXMask& b);

void WriteToFile(QXDataStorage& storage, std::string name, const QXMask& mask);
// Reads the dimensions from name + "_dim" and the runs from the name, then
// checks them as CreateFromIntervals does. A missing or empty "_dim" gives
// the empty mask without a report (the runs are not read); a "_dim" of
// another length is reported.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXMask& mask);

#endif
