// A function graph of (x, y) pairs, possibly in several pieces, in one
// 2 x N double array: each piece, a loop, is a header column (0, L) followed
// by L point columns (x, y); the next loop's header follows them. A loop
// holds at least one point.
//
//   QXPlot1D response(frequencies, gains);   // one loop, x and y equally long
//   QXRegion1D band = BoundingRange(response);
//   WriteToFile(storage, "response", response);
//
// A plot is valid or empty: the constructors check the array and leave the
// plot empty, with a report, when it is not a loop array of two rows; an
// empty array gives the empty plot without one. The array is shared with the
// caller's. Its values can still change through another handle: nothing here
// trusts a header it reads, so such a change can give wrong counts or values
// (the loops before the first bad header), never a read out of range or an
// endless walk.
//
// Storage: the array under the name (double). The reader hands what it reads
// to the constructor, whose texts report a bad array.
//
// Failure texts (operation: message):
//   "QXPlot1D(Array)": "Need two rows", "Invalid loop length.", "A loop
//       length is too long."
//   "QXPlot1D(Array,Array)": "Incompatible lengths", "Too many points." (x
//       and y of 2^31 - 1 numbers each leave no column for the header)
// A length field that is not a whole number (NaN, infinite, 2.5) or is below
// 1 is the invalid loop length; one that claims more columns than follow its
// header is too long.
#ifndef QXPLOT1D_H
#define QXPLOT1D_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXRegion.h"

class QXPlot1D {
 public:
  // The empty plot.
  QXPlot1D() = default;
  // Keeps A (shared) when it is a 2 x N loop array; an empty array, without a
  // report, or a refused one, with a report, leaves the empty plot.
  explicit QXPlot1D(const QXDoubleArray& A);
  // One loop of the points (x(i), y(i)) in a new array: the header (0, n)
  // and n point columns. Two empty arrays give the empty plot; arrays of
  // different lengths (of any shape) report "Incompatible lengths" and give
  // the empty plot, as do arrays too long for the header to fit.
  QXPlot1D(const QXDoubleArray& x, const QXDoubleArray& y);

  QXDoubleArray Data() const { return data; }
  bool IsEmpty() const { return data.IsEmpty(); }
  // The sum of the loops' lengths; a closed loop is not counted less.
  int NumberOfPoints() const;
  // One loop over all columns (at least two points) whose steps in x all
  // equal the first, which is not 0, to a relative 1e-5.
  bool UniformlySpaced() const;
  // NumberOfPoints() x 1: the x, respectively y, of every point in order,
  // headers skipped.
  QXMutableDoubleArray XValues() const;
  QXMutableDoubleArray YValues() const;

 private:
  QXMutableDoubleArray Row(int row) const;

  QXDoubleArray data;
};

// The range of the x values, respectively the y values (NaN ignored); empty
// for the empty plot.
QXRegion1D BoundingRange(const QXPlot1D& plot);
QXRegion1D ValueRange(const QXPlot1D& plot);

void WriteToFile(QXDataStorage& storage, std::string name, const QXPlot1D& plot);
// A missing name is reported by the storage and gives the empty plot.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPlot1D& plot);

#endif
