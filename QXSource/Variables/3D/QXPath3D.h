// Polylines in space, several in one array: QXPath3D (points, float) and
// QXPath3DValues (points carrying a value, double). Each polyline, a loop, is
// a header column holding its number of points L in its last row, followed
// by L point columns; the next loop's header follows them.
//
//   QXPath3D    3 x N float: headers (0, 0, L), points (x, y, z); at least 2
//               points a loop. Or 6 x N: each column one segment
//               (x0, y0, z0, x1, y1, z1), no headers.
//   QXPath3DValues  4 x N double: headers (0, 0, 0, L), points
//               (x, y, z, value); at least 1 point a loop.
//
//   QXPath3D track(loops);                     // 3 x N float, checked
//   QXRegion3D box = BoundingBox(track);
//   WriteToFile(storage, "track", track);
//
// A path is valid or empty: the constructors check the array and leave the
// path empty, with a report, when it is not a loop array of the type; an
// empty array gives the empty path without one. The array is shared with the
// caller's. Its values can still change through another handle: nothing here
// trusts a header it reads, so such a change can give a wrong box (the loops
// before the first bad header), never a read out of range or an endless walk.
// A float length field is read as the float it holds (16777217 is stored as
// 16777216).
//
// A QXPath3D may carry a crop box, a region given with the data and kept and
// copied with it; nothing here uses it otherwise.
//
// Storage: the array under the name (QXPath3D float, QXPath3DValues double).
// The crop box is not written; a QXPath3D reader takes the QXRegion3D stored
// under name + "_loc" as crop box when the storage has that entry. Writing a
// QXPath3D overwrites an earlier "_loc" of the name with an empty array
// (which reads as no crop box). The readers hand what they read to the
// constructors, whose texts report a bad array.
//
// Failure texts (operation: message):
//   "QXPath(Array)": "Invalid size of path array.", "Invalid loop length.",
//       "A loop length is too long."
//   "QXPath3DValues(Array)": "Need four rows", "Invalid loop length.",
//       "A loop length is too long."
// A length field that is not a whole number (NaN, infinite, 2.5) or is below
// the least length is the invalid loop length; one that claims more columns
// than follow its header is too long.
#ifndef QXPATH3D_H
#define QXPATH3D_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXRegion.h"

class QXPath3D {
 public:
  // The empty path: no data, no crop box.
  QXPath3D() = default;
  // SetStorage(A).
  explicit QXPath3D(const QXFloatArray& A);
  // SetStorage(A), and the crop box when A was kept.
  QXPath3D(const QXFloatArray& A, QXRegion3D cropBox);

  // Checks A and keeps it (shared) when it is a 3 x N loop array or a 6 x N
  // array; answers whether it was kept. An empty array, without a report, or
  // a refused one, with a report, leaves the empty path (no crop box).
  bool SetStorage(const QXFloatArray& A);

  QXFloatArray Data() const { return data; }
  QXRegion3D CropBox() const { return cropBox; }
  bool IsEmpty() const { return data.IsEmpty(); }
  bool NotEmpty() const { return data.NotEmpty(); }

 private:
  QXRegion3D cropBox;
  QXFloatArray data;
};

class QXPath3DValues {
 public:
  // The empty path.
  QXPath3DValues() = default;
  // Keeps A (shared) when it is a 4 x N loop array; an empty array, without
  // a report, or a refused one, with a report, leaves the empty path.
  explicit QXPath3DValues(const QXDoubleArray& A);

  QXDoubleArray Data() const { return data; }
  bool IsEmpty() const { return data.IsEmpty(); }

 private:
  QXDoubleArray data;
};

// The box around the points, headers skipped (NaN ignored); empty for no
// points. A 6 x N path holds 2N points.
QXRegion3D BoundingBox(const QXPath3D& path);
QXRegion3D BoundingBox(const QXPath3DValues& path);
// The smallest and largest value (NaN ignored); empty for no points.
QXRegion1D ValueRange(const QXPath3DValues& path);

// See the storage above. A save replaces any earlier value of the name.
void WriteToFile(QXDataStorage& storage, std::string name, const QXPath3D& path);
void WriteToFile(QXDataStorage& storage, std::string name, const QXPath3DValues& path);

// A missing name is reported by the storage and gives the empty path.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPath3D& path);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPath3DValues& path);

#endif
