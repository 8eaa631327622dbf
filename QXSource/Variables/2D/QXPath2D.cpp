#include "QXPath2D.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "QXLoopArrayInternal.h"
#include "QXPointCollectionInternal.h"

namespace {

// rows, least, segmentRows, closedCountsOnce, lengthNamesColumn, operation, shape
const QXLoopArrayType kPath = {2, 2, 4, true, true, "QXPath(Array)", "Invalid size of path array."};
const QXLoopArrayType kValuedPath = {
    3, 1, 0, true, false, "QXPath2DValues(Array)", "Need three rows"};

void Print(const std::string& line) { std::fwrite(line.data(), 1, line.size(), stderr); }

// The loop form of a path with one value a point, in `to` (3 x count.columns):
// each loop a header (0, 0, L) and its points with the next values, the last
// point of a closed loop taking the first one's value. True when every
// column was filled: the walk again checks each header, and a path changed
// since it was counted (through another handle) is not combined.
bool CombineLoops(const QXDoubleArray& path, const QXDoubleArray& values, const QXLoopCount& count,
                  double* to) {
  const double* value = values.Pointer();
  const int available = values.Length();
  int taken = 0;
  bool fits = true;
  int end = 0;
  QXForEachLoop(
      path, kPath,
      [&](const QXLoop<double>& loop) {
        const bool closed = QXIsClosed(loop, kPath.rows);
        const int own = loop.length - (closed ? 1 : 0);
        fits = fits && loop.header + loop.length + 1 <= count.columns && taken + own <= available;
        if (!fits) return;
        double* column = to + 3LL * loop.header;
        column[0] = 0;
        column[1] = 0;
        column[2] = loop.length;
        const int first = taken;
        for (int i = 0; i < loop.length; i++) {
          column += 3;
          column[0] = loop.points[2LL * i];
          column[1] = loop.points[2LL * i + 1];
          column[2] = closed && i == loop.length - 1 ? value[first] : value[taken++];
        }
      },
      &end);
  return fits && end == count.columns;
}

// The same for the header-less form: segment j becomes the loop (0, 0, 2),
// (x0, y0, v(2j)), (x1, y1, v(2j + 1)).
void CombineSegments(const QXDoubleArray& path, const QXDoubleArray& values, double* to) {
  const double* from = path.Pointer();
  const double* value = values.Pointer();
  for (long long j = 0; j < path.n(); j++) {
    double* loop = to + 9 * j;
    const double* segment = from + 4 * j;
    const double columns[9] = {
        0, 0, 2, segment[0], segment[1], value[2 * j], segment[2], segment[3], value[2 * j + 1]};
    std::copy(columns, columns + 9, loop);
  }
}

}  // namespace

QXPath2D::QXPath2D(const QXDoubleArray& A) { SetStorage(A); }

QXPath2D::QXPath2D(const QXDoubleArray& A, QXRegion2D cropBox) {
  if (SetStorage(A)) this->cropBox = cropBox;
}

bool QXPath2D::SetStorage(const QXDoubleArray& A) {
  return QXSetPathStorage(A, kPath, data, cropBox);
}

int QXPath2D::NumberOfPoints() const { return QXCountLoops(data, kPath).points; }
int QXPath2D::NumberOfLoops() const { return QXCountLoops(data, kPath).loops; }

void QXPath2D::pinfo() const {
  if (IsEmpty()) return Print("Empty Path\n");
  const QXLoopCount count = QXCountLoops(data, kPath);
  if (count.loops == 1) return Print(std::to_string(count.points) + " points, 1 loop.\n");
  Print(std::to_string(count.points) + " points, " + std::to_string(count.loops) + " loops.\n");
}

QXPath2DValues::QXPath2DValues(const QXDoubleArray& A) {
  if (QXAcceptLoopArray(A, kValuedPath)) data = A;
}

int QXPath2DValues::NumberOfPoints() const { return QXCountLoops(data, kValuedPath).points; }
int QXPath2DValues::NumberOfLoops() const { return QXCountLoops(data, kValuedPath).loops; }

void QXPath2DValues::pinfo() const {
  if (IsEmpty()) return Print("Empty\n");
  const QXLoopCount count = QXCountLoops(data, kValuedPath);
  Print(std::to_string(count.loops) + (count.loops == 1 ? " loop, " : " loops, ") +
        std::to_string(count.points) + " points.\n");
}

QXRegion2D BoundingBox(const QXPath2D& path) {
  return QXBox2DOf(QXLoopExtremes<2>(path.Data(), kPath));
}

QXRegion2D BoundingBox(const QXPath2DValues& path) {
  return QXBox2DOf(QXLoopExtremes<3>(path.Data(), kValuedPath));
}

QXRegion1D ValueRange(const QXPath2DValues& path) {
  return QXRangeOf(QXLoopExtremes<3>(path.Data(), kValuedPath), 2);
}

QXPath2DValues Combine(const QXPath2D& path, const QXDoubleArray& values) {
  const QXDoubleArray data = path.Data();
  const QXLoopCount count = QXCountLoops(data, kPath);
  if (count.points != values.Length()) {
    QXErrorMessage("Combine(QXPath2D,QXDoubleArray)", "Incompatible length for value array.");
    return QXPath2DValues();
  }
  if (count.columns == 0) return QXPath2DValues();
  QXMutableDoubleArray combined(3, count.columns, 1);
  if (combined.n() != count.columns) return QXPath2DValues();  // too large: reported by the array
  if (QXIsSegmentForm(data, kPath))
    CombineSegments(data, values, combined.Pointer());
  else if (!CombineLoops(data, values, count, combined.Pointer()))
    return QXPath2DValues();
  return QXPath2DValues(combined);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPath2D& path) {
  QXWritePath(storage, name, path);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPath2DValues& path) {
  WriteToFile(storage, name, path.Data());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPath2D& path) {
  QXReadPath<double, QXRegion2D>(storage, name, path);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPath2DValues& path) {
  QXReadRecordCollection<QXDoubleArray>(storage, name, path);
}
