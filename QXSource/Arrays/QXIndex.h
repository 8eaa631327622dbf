// Which positions along one dimension of an array are wanted: one position,
// a range with a stride, the whole dimension, or a list of positions. Double
// arrays take one to three indices and give a region (QXDoubleArrayRegion.h).
//
//   A(QXIndex(1, 2), QXIndex::All)               // rows 1 and 2, every column
//   A(QXIndex(0, 2, QXIndex::Last))              // every other element
//   A(QXIndex(QXIndex::Last - 2, QXIndex::Last)) // the last three elements
//
// A start or end of QXIndex::Last - k counts from the end before the length
// is known: on a dimension of length L it is the position L - 1 - k. Every
// other negative position is an error. An index is fitted once, by
// SetLength, to the length of its dimension, which resolves positions counted
// from the end and checks them all. Regions fit copies of their indices, so
// one index (QXIndex::All among them) serves any number of arrays; an index
// that is already fitted cannot be fitted again, not even by a region.
//
// Failures are reported through QXErrorMessage and give the empty index,
// which selects nothing.
#ifndef QXINDEX_H
#define QXINDEX_H

#include "QXIntArray.h"

class QXIndex {
 public:
  // Marks a position counted from the end: Last is the last position, Last - 1
  // the one before it, and so on.
  static constexpr int Last = -12563;
  // The whole dimension, QXIndex(0, Last). It cannot be changed.
  static const QXIndex All;

  // Selects nothing.
  QXIndex();
  // The single position i. A negative i reports "Subscript error: The
  // subscript was negative." and gives the empty index.
  QXIndex(int i);
  // start, start + 1, ..., end. A negative start reports "QXIndex(start,end):
  // Invalid start (negative)" and gives the empty index; a negative end is
  // found by SetLength.
  QXIndex(int start, int end);
  // start, start + stride, ... as far as end. A negative start or end reports
  // "QXIndex(start,stride,end): Invalid start (negative)" or "... Invalid end
  // (negative)" and gives the empty index. A stride of 0, or one that runs
  // away from end, selects nothing.
  QXIndex(int start, int stride, int end);
  // The listed positions in the array's order, repeats allowed. The index
  // shares the array; a region keeps its own copy.
  QXIndex(const QXIntArray& positions);

  // Fits the index to a dimension of length L and returns true, or reports
  // and returns false: "Index.SetLength(Len): Already set the length" (fitted
  // before), "Index.SetLength(Len): Length has to be >= 0", "QXIndex(Array):
  // Array element out of bounds" (a listed position outside [0, L)) and
  // "QXIndex(info): Index out of range" (a start or end outside [0, L), also
  // when the range is empty). A stride that runs away from the end makes the
  // index empty, without a report.
  bool SetLength(int L);

  // Whether the index selects nothing: an empty list, or a stride of 0.
  bool IsEmpty() const;
  bool ArraySpecified() const { return arraySpecified; }
  // The list of a list index (shared), else the empty array.
  QXIntArray SpecifiedArray() const { return specified; }
  // The selected positions as a column: the list itself for a list index, or
  // start, start + stride, ... for a range. Positions counted from the end
  // need the index fitted first; otherwise, and for more than INT_MAX
  // positions, this reports under "QXIndex::IndicesAsArray()" and returns the
  // empty array. An unfitted range whose stride runs away from its end gives
  // the empty array.
  QXIntArray IndicesAsArray() const;
  // The range's fields as they stand: as given, or resolved once fitted.
  int Start() const { return start; }
  int Stride() const { return stride; }
  int End() const { return end; }

 private:
  friend class QXConstDoubleArrayRegion;
  // A copy that does not share the list, so that later writes to the caller's
  // list cannot move positions that were checked.
  QXIndex OwnCopy() const;

  int knownLength;
  int start;
  int stride;
  int end;
  bool arraySpecified;
  QXIntArray specified;
};

// The same selection shifted by k: a range gets start + k and end + k (through
// the three-number constructor and its checks), a list gets every position
// plus k. The result is not fitted, whatever X was. A position that would
// leave the int range reports "QXIndex+int: The shifted index leaves the int
// range." (or "QXIndex-int: ...") and gives the empty index.
QXIndex operator+(const QXIndex& X, int k);
QXIndex operator-(const QXIndex& X, int k);

#endif
