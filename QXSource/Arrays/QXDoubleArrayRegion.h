// Regions of double arrays: the elements that one, two or three indices
// (QXIndex.h) select, read as a new array or assigned to in place.
//
//   QXMutableDoubleArray A(4, 3, 1);
//   QXMutableDoubleArray rows = A(QXIndex(1, 2), QXIndex::All);  // a new 2 x 3 array
//   A(QXIndex::All, 0) = 0.0;                                    // clears column 0
//   A(QXIndex(1, QXIndex::Last)) = A(QXIndex(0, QXIndex::Last - 1));  // shifts by one
//
// One index addresses the buffer as one flat column-major sequence; two
// address rows and columns and are refused on a 3-D array ("Array(Region,
// Region): The array is three dimensional"); three address rows, columns and
// slices. The region selects every combination of the positions its indices
// select, the first index varying fastest; if any of its indices is empty, or
// does not fit its dimension (reported by QXIndex::SetLength), the region
// selects nothing.
//
// A region holds a handle on the array's storage and its own copy of the
// positions, so it stays valid however long it is kept and whatever happens
// to the indices it was made from. Writes go into the storage that every
// handle on it sees. Only a non-const QXMutableDoubleArray gives a writable
// QXDoubleArrayRegion; an immutable or const handle gives a
// QXConstDoubleArrayRegion, which can only be read, and so can its copies.
#ifndef QXDOUBLEARRAYREGION_H
#define QXDOUBLEARRAYREGION_H

#include "QXDoubleArray.h"
#include "QXIndex.h"

class QXConstDoubleArrayRegion {
 public:
  // Fits copies of the indices to the array's length; to m and n; or to m, n and o.
  QXConstDoubleArrayRegion(const QXDoubleArray& array, const QXIndex& I);
  QXConstDoubleArrayRegion(const QXDoubleArray& array, const QXIndex& I, const QXIndex& J);
  QXConstDoubleArrayRegion(const QXDoubleArray& array, const QXIndex& I, const QXIndex& J,
                           const QXIndex& K);
  QXConstDoubleArrayRegion(const QXConstDoubleArrayRegion&) = default;
  QXConstDoubleArrayRegion& operator=(const QXConstDoubleArrayRegion&) = delete;

  // A new array holding a copy of the selected elements: a x 1 x 1 for one
  // index, a x b x 1 for two and a x b x c for three, where a, b and c are the
  // numbers of positions each index selects; empty when nothing is selected.
  operator QXDoubleArray() const;
  operator QXMutableDoubleArray() const;

 protected:
  // The numbers of positions selected along the three dimensions: 1 for an
  // index not given, and all three 0 when any given index selects nothing.
  void Shape(int& a, int& b, int& c) const;
  // Whether B has the selection's shape (an empty B fits an empty selection);
  // otherwise reports and returns false.
  bool Fits(const QXDoubleArray& B) const;
  // Calls action(k, position) for the k-th selected element, k = 0, 1, ...,
  // with its position in the storage buffer. Used by the .cpp file only.
  template <class Action>
  void ForEachSelected(Action action) const;

  QXDoubleArray array;
  QXIndex I, J, K;
  int rank;  // the number of indices given: 1, 2 or 3
};

class QXDoubleArrayRegion : public QXConstDoubleArrayRegion {
 public:
  QXDoubleArrayRegion(QXMutableDoubleArray& array, const QXIndex& I);
  QXDoubleArrayRegion(QXMutableDoubleArray& array, const QXIndex& I, const QXIndex& J);
  QXDoubleArrayRegion(QXMutableDoubleArray& array, const QXIndex& I, const QXIndex& J,
                      const QXIndex& K);
  QXDoubleArrayRegion(const QXDoubleArrayRegion&) = default;

  // Writes B's elements, in column-major order, into the selected positions.
  // B must have the selection's shape: Length() = a for one index (any
  // shape), a x b x 1 for two, a x b x c for three; only an empty B fits an
  // empty selection. Otherwise reports "Array(Region) = ***: Incompatible
  // array sizes." and writes nothing. B may share the region's storage: it is
  // read in full before anything is written.
  QXDoubleArrayRegion& operator=(const QXDoubleArray& B);
  // Writes v into every selected position.
  QXDoubleArrayRegion& operator=(double v);
  // Reads R into a new array first, so that overlapping regions of one
  // storage are read before any write, then assigns that array as above.
  QXDoubleArrayRegion& operator=(const QXDoubleArrayRegion& R);

 private:
  QXMutableDoubleArray target;  // the viewed storage, for writing
};

#endif
