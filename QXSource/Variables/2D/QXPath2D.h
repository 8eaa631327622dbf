// Polylines in the plane, several in one array: QXPath2D (points) and
// QXPath2DValues (points carrying a value). Each polyline, a loop, is a
// header column holding its number of points L in its last row, followed by
// L point columns; the next loop's header follows them.
//
//   QXPath2D    2 x N double: headers (0, L), points (x, y); at least 2
//               points a loop. Or 4 x N: each column one segment
//               (x0, y0, x1, y1), no headers.
//   QXPath2DValues  3 x N double: headers (0, 0, L), points (x, y, value);
//               at least 1 point a loop.
//
//   QXPath2D outline(loops);                        // 2 x N, checked
//   QXPath2DValues heights = Combine(outline, values);  // one value a point
//   WriteToFile(storage, "outline", outline);
//
// A loop whose last point equals its first (x and y, and the value) and that
// has at least two points is closed, and counts that point once. A 4 x N path
// is N segments of two points each: 2N points and N loops, however its points
// lie.
//
// A path is valid or empty: the constructors check the array and leave the
// path empty, with a report, when it is not a loop array of the type; an
// empty array gives the empty path without one. The array is shared with the
// caller's. Its values can still change through another handle: nothing here
// trusts a header it reads, so such a change can give wrong counts or boxes
// (the loops before the first bad header), never a read out of range or an
// endless walk.
//
// A QXPath2D may carry a crop box, a region given with the data and kept and
// copied with it; nothing here uses it otherwise.
//
// Storage: the array under the name (double). The crop box is not written;
// a QXPath2D reader takes the QXRegion2D stored under name + "_loc" as crop
// box when the storage has that entry, so that one written by other means
// reads back. Writing a QXPath2D overwrites an earlier "_loc" of the name with
// an empty array (which reads as no crop box), so that the new path does not
// read back with another value's crop box. The readers hand what they read
// to the constructors, whose texts report a bad array.
//
// Failure texts (operation: message):
//   "QXPath(Array)": "Invalid size of path array.", "Invalid loop length in
//       column C." (C the header's column), "A loop length is too long."
//   "QXPath2DValues(Array)": "Need three rows", "Invalid loop length.",
//       "A loop length is too long."
//   "Combine(QXPath2D,QXDoubleArray)": "Incompatible length for value array."
// A length field that is not a whole number (NaN, infinite, 2.5) or is below
// the least length is the invalid loop length; one that claims more columns
// than follow its header is too long.
#ifndef QXPATH2D_H
#define QXPATH2D_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXRegion.h"

class QXPath2D {
 public:
  // The empty path: no data, no crop box.
  QXPath2D() = default;
  // SetStorage(A).
  explicit QXPath2D(const QXDoubleArray& A);
  // SetStorage(A), and the crop box when A was kept.
  QXPath2D(const QXDoubleArray& A, QXRegion2D cropBox);

  // Checks A and keeps it (shared) when it is a 2 x N loop array or a 4 x N
  // array; answers whether it was kept. An empty array, without a report, or
  // a refused one, with a report, leaves the empty path (no crop box).
  bool SetStorage(const QXDoubleArray& A);

  QXDoubleArray Data() const { return data; }
  QXRegion2D CropBox() const { return cropBox; }
  bool IsEmpty() const { return data.IsEmpty(); }
  bool NotEmpty() const { return data.NotEmpty(); }
  // The points, a closed loop's last one not counted.
  int NumberOfPoints() const;
  // The loops (headers).
  int NumberOfLoops() const;
  // "Empty Path\n", "P points, 1 loop.\n" or "P points, L loops.\n" on
  // standard error.
  void pinfo() const;

 private:
  QXRegion2D cropBox;
  QXDoubleArray data;
};

class QXPath2DValues {
 public:
  // The empty path.
  QXPath2DValues() = default;
  // Keeps A (shared) when it is a 3 x N loop array; an empty array, without
  // a report, or a refused one, with a report, leaves the empty path.
  explicit QXPath2DValues(const QXDoubleArray& A);

  QXDoubleArray Data() const { return data; }
  bool IsEmpty() const { return data.IsEmpty(); }
  // The points, a closed loop's last one not counted.
  int NumberOfPoints() const;
  int NumberOfLoops() const;
  // "Empty\n", "1 loop, P points.\n" or "L loops, P points.\n" on standard
  // error.
  void pinfo() const;

 private:
  QXDoubleArray data;
};

// The box around the points, headers skipped (NaN ignored); empty for no
// points.
QXRegion2D BoundingBox(const QXPath2D& path);
QXRegion2D BoundingBox(const QXPath2DValues& path);
// The smallest and largest value (NaN ignored); empty for no points.
QXRegion1D ValueRange(const QXPath2DValues& path);

// The path with one value a point, in order: values has NumberOfPoints()
// elements, the last point of a closed loop taking its first point's value.
// A 4 x N path becomes N loops of two points. Another number of values
// reports "Incompatible length for value array." and gives the empty path.
QXPath2DValues Combine(const QXPath2D& path, const QXDoubleArray& values);

// See the storage above. A save replaces any earlier value of the name.
void WriteToFile(QXDataStorage& storage, std::string name, const QXPath2D& path);
void WriteToFile(QXDataStorage& storage, std::string name, const QXPath2DValues& path);

// A missing name is reported by the storage and gives the empty path.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPath2D& path);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPath2DValues& path);

#endif
