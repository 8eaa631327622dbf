// The loop array that paths and plots keep their polylines in, and the one
// walk over it.
//
// A loop array is a rows x N x 1 array whose columns are headers and points.
// Column 0 is a header; a header whose length field (its last row) holds L is
// followed by L point columns, and the next header by the column after them.
// The other rows of a header mean nothing and are written as 0. A loop of at
// least two points whose first and last points are equal in every row is
// closed. The plane and space paths have a second, header-less form: each
// column of 2 * rows numbers holds one segment of two points.
//
// The arrays are shared and may be changed after they were checked, through
// another handle, so the walk does not trust a checked array either: every
// step checks the header it reads, and a walk ends at the first bad one. No
// array can make a walk loop forever or read outside the array; an array
// spoilt after the check is seen as its loops before the bad header.
#ifndef QXLOOPARRAYINTERNAL_H
#define QXLOOPARRAYINTERNAL_H

#include <algorithm>
#include <cmath>
#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXError.h"
#include "QXExtremesInternal.h"
#include "QXNumberText.h"
#include "QXVariableStorageInternal.h"

// What tells the loop arrays of the five types apart.
struct QXLoopArrayType {
  int rows;                // numbers of a point column; the length field is a header's last row
  int least;               // the fewest points a loop may have
  int segmentRows;         // rows of the header-less form of two points per column, or 0
  bool closedCountsOnce;   // a closed loop counts one point less
  bool lengthNamesColumn;  // the length failure names the header's column
  const char* operation;   // under which the checks report
  const char* shapeMessage;
};

// A loop found by the walk: its header's column, its number of points and its
// first point's first number.
template <class T>
struct QXLoop {
  int header;
  int length;
  const T* points;
};

enum QXLoopStep { QXLoopFound, QXLoopAtEnd, QXLoopBadLength, QXLoopTooLong };

// The check of a length field read from a header that `left` columns follow:
// a whole number of points, at least `least`, that fits in those columns.
// It is made in double before any conversion, so NaN, the infinities, 2^31 or
// 1e300 are refused, never converted.
inline QXLoopStep QXCheckLoopLength(double length, int least, int left) {
  if (!(length >= least) || std::isinf(length) || length != std::floor(length))
    return QXLoopBadLength;
  if (length > left) return QXLoopTooLong;
  return QXLoopFound;
}

// A walk over the loops of an array, from column 0. An array that is not of
// the type's rows (the header-less form included) has no loops.
template <class T>
class QXLoopWalk {
 public:
  QXLoopWalk(const QXArray<T>& A, const QXLoopArrayType& type)
      : array(A),
        rows(type.rows),
        least(type.least),
        columns(A.m() == type.rows && A.o() == 1 ? A.n() : 0),
        position(0) {}

  // Checks the header at the walk's position and moves past its loop:
  // QXLoopFound with the loop; QXLoopAtEnd after the last column; otherwise
  // the header's failure, the walk staying on it.
  QXLoopStep Next(QXLoop<T>& loop) {
    if (position >= columns) return QXLoopAtEnd;
    const T* header = array.Pointer() + static_cast<long long>(position) * rows;
    const QXLoopStep step = QXCheckLoopLength(header[rows - 1], least, columns - position - 1);
    if (step != QXLoopFound) return step;
    loop.header = position;
    loop.length = static_cast<int>(header[rows - 1]);  // whole, and at most the columns left
    loop.points = header + rows;
    position += loop.length + 1;
    return QXLoopFound;
  }

  // The column of the next header: after the last loop found.
  int Position() const { return position; }

 private:
  QXArray<T> array;  // keeps the numbers while the walk reads them
  int rows;
  int least;
  int columns;
  int position;
};

// Calls visit(loop) for every loop in order up to the first bad header;
// gives the step that ended the walk and, in `end`, the column it ended at.
template <class T, class Visit>
QXLoopStep QXForEachLoop(const QXArray<T>& A, const QXLoopArrayType& type, Visit visit,
                         int* end = nullptr) {
  QXLoopWalk<T> walk(A, type);
  QXLoop<T> loop;
  QXLoopStep step;
  while ((step = walk.Next(loop)) == QXLoopFound) visit(static_cast<const QXLoop<T>&>(loop));
  if (end != nullptr) *end = walk.Position();
  return step;
}

// Whether an array is of the type's header-less form.
template <class T>
bool QXIsSegmentForm(const QXArray<T>& A, const QXLoopArrayType& type) {
  return type.segmentRows != 0 && A.m() == type.segmentRows && A.o() == 1;
}

// The checks a type makes before it keeps an array: true to keep it. An empty
// array is not kept, silently; an array of the header-less form is kept as it
// is. Otherwise a wrong shape, a bad length field and a loop that runs past
// the end are reported under the type's operation, and the array is refused.
template <class T>
bool QXAcceptLoopArray(const QXArray<T>& A, const QXLoopArrayType& type) {
  if (A.IsEmpty()) return false;
  if (QXIsSegmentForm(A, type)) return true;
  if (A.m() != type.rows || A.o() != 1) {
    QXErrorMessage(type.operation, type.shapeMessage);
    return false;
  }
  int end = 0;
  const QXLoopStep step = QXForEachLoop(
      A, type, [](const QXLoop<T>&) {}, &end);
  if (step == QXLoopAtEnd) return true;
  if (step == QXLoopTooLong)
    QXErrorMessage(type.operation, "A loop length is too long.");
  else if (type.lengthNamesColumn)
    QXErrorMessage(type.operation, "Invalid loop length in column " + QXInt2String(end) + ".");
  else
    QXErrorMessage(type.operation, "Invalid loop length.");
  return false;
}

// A loop of at least two points whose last point equals its first in every
// row (NaN equals nothing).
template <class T>
bool QXIsClosed(const QXLoop<T>& loop, int rows) {
  if (loop.length < 2) return false;
  const T* last = loop.points + static_cast<long long>(loop.length - 1) * rows;
  return std::equal(loop.points, loop.points + rows, last);
}

// What an array holds: points (a closed loop counted once when the type says
// so), loops, and the columns of its loop form (header and points).
struct QXLoopCount {
  int points;
  int loops;
  int columns;
};

// The count of the loops up to the first bad header; the header-less form
// holds two points and one loop per column, three columns in the loop form.
template <class T>
QXLoopCount QXCountLoops(const QXArray<T>& A, const QXLoopArrayType& type) {
  if (QXIsSegmentForm(A, type)) return {2 * A.n(), A.n(), 3 * A.n()};
  QXLoopCount count = {0, 0, 0};
  QXForEachLoop(
      A, type,
      [&](const QXLoop<T>& loop) {
        const bool once = type.closedCountsOnce && QXIsClosed(loop, type.rows);
        count.points += loop.length - (once ? 1 : 0);
        count.loops++;
      },
      &count.columns);
  return count;
}

// The bounds of each row of the points: over the point columns of every
// loop, headers skipped; in the header-less form over every group of Rows
// numbers, in storage order.
template <int Rows, class T>
QXExtremes<T, Rows> QXLoopExtremes(const QXArray<T>& A, const QXLoopArrayType& type) {
  QXExtremes<T, Rows> e;
  if (type.rows != Rows) return e;
  if (QXIsSegmentForm(A, type))
    e.Add(A.Pointer(), A.Length() / Rows);
  else
    QXForEachLoop(A, type, [&](const QXLoop<T>& loop) { e.Add(loop.points, loop.length); });
  return e;
}

// SetStorage of the paths that carry a crop box: keeps A when the type
// accepts it; otherwise the path becomes the empty one, without a crop box.
template <class T, class Region>
bool QXSetPathStorage(const QXArray<T>& A, const QXLoopArrayType& type, QXArray<T>& data,
                      Region& cropBox) {
  data = QXAcceptLoopArray(A, type) ? A : QXArray<T>();
  if (data.IsEmpty()) cropBox = Region();
  return data.NotEmpty();
}

// The storage of the paths that carry a crop box: the crop box is not
// written, but an earlier value's name + "_loc" is cleared; the reader takes
// the Region under name + "_loc" when the storage has it (an empty entry is
// no crop box) and hands both to the path's constructor.
template <class Path>
void QXWritePath(QXDataStorage& storage, const std::string& name, const Path& path) {
  QXClearCompanion(storage, name + "_loc");
  WriteToFile(storage, name, path.Data());
}

template <class T, class Region, class Path>
void QXReadPath(const QXDataStorage& storage, const std::string& name, Path& path) {
  QXArray<T> stored;
  ReadFromFile(storage, name, stored);
  Region cropBox;
  const std::string cropName = name + "_loc";
  if (storage.Contains(cropName)) ReadFromFile(storage, cropName, cropBox);
  path = Path(stored, cropBox);
}

#endif
