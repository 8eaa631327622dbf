#include "QXStructuredGridInternal.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "QXError.h"
#include "QXGridInternal.h"
#include "QXVariableStorageInternal.h"

namespace {

const char* const kSuffixes[] = {"_X", "_Y", "_Z"};

int Extent(const QXFloatArray& A, int dimension) {
  return dimension == 0 ? A.m() : dimension == 1 ? A.n() : A.o();
}

int Full(QXStructuredSize size, int dimension) {
  return dimension == 0 ? size.m : dimension == 1 ? size.n : size.o;
}

// One m x n layer of the grid from a `rows` x `columns` layer of the array,
// each of which is the full extent or 1: whole layers or whole columns are
// copied as blocks, single values filled.
void FillLayer(float* to, const float* from, int rows, int columns, int m, int n) {
  const size_t columnBytes = sizeof(float) * static_cast<size_t>(m);
  if (rows == m && columns == n) {
    std::memcpy(to, from, columnBytes * static_cast<size_t>(n));
    return;
  }
  if (rows == 1 && columns == 1) {
    std::fill(to, to + static_cast<size_t>(m) * static_cast<size_t>(n), *from);
    return;
  }
  for (int j = 0; j < n; j++) {
    const float* column = from + static_cast<size_t>(columns == 1 ? 0 : j) * rows;
    float* target = to + static_cast<size_t>(j) * m;
    if (rows == m)
      std::memcpy(target, column, columnBytes);
    else
      std::fill(target, target + m, *column);
  }
}

}  // namespace

QXStructuredSize QXStructuredSizeOf(const QXFloatArray* axes, int count) {
  return {axes[0].m(), axes[1].n(), count == 3 ? axes[2].o() : 1};
}

bool QXAcceptStructuredAxes(const QXFloatArray* axes, int count, const QXMask* mask,
                            const char* operation) {
  const QXStructuredSize size = QXStructuredSizeOf(axes, count);
  if (size.m == 0 || size.n == 0 || size.o == 0) return false;
  for (int a = 0; a < count; a++) {
    for (int d = 0; d < 3; d++) {
      const int extent = Extent(axes[a], d);
      if (extent != Full(size, d) && extent != 1) {
        QXErrorMessage(operation, "Invalid array sizes.");
        return false;
      }
    }
  }
  if (QXBoxSize(size.m, size.n, size.o) > INT_MAX) {
    QXErrorMessage(operation, "Too many points.");
    return false;
  }
  if (mask && (mask->m() != size.m || mask->n() != size.n || mask->o() != size.o)) {
    QXErrorMessage(operation, "Invalid mask.");
    return false;
  }
  return true;
}

QXFloatArray QXExpandAxis(const QXFloatArray& axis, QXStructuredSize size) {
  if (axis.IsEmpty()) return QXFloatArray();
  if (axis.m() == size.m && axis.n() == size.n && axis.o() == size.o) return axis;
  QXMutableFloatArray full(size.m, size.n, size.o);
  if (full.Length() != QXBoxSize(size.m, size.n, size.o)) return QXFloatArray();
  const size_t layer = static_cast<size_t>(size.m) * static_cast<size_t>(size.n);
  float* to = full.Pointer();
  for (int k = 0; k < size.o; k++) {
    float* target = to + layer * k;
    if (k > 0 && axis.o() == 1) {
      std::memcpy(target, to, sizeof(float) * layer);
      continue;
    }
    const size_t from = static_cast<size_t>(axis.o() == 1 ? 0 : k) * axis.m() * axis.n();
    FillLayer(target, axis.Pointer() + from, axis.m(), axis.n(), size.m, size.n);
  }
  return full;
}

bool QXAxisRanges(const QXFloatArray* axes, int count, QXRegion1D* ranges) {
  bool all = true;
  for (int a = 0; a < count; a++) {
    ranges[a] = ValueRange(axes[a]);
    all = all && ranges[a].isSet;
  }
  return all;
}

void QXPrintStructuredGrid(const QXFloatArray* axes, int count, bool maskDefined,
                           const QXMask& mask) {
  const QXStructuredSize size = QXStructuredSizeOf(axes, count);
  std::ostringstream line;
  line << size.m << "x" << size.n;
  if (count == 3) line << "x" << size.o;
  line << " structured grid";
  if (maskDefined) line << ". Mask = " << mask.NumberOfPoints() << " points.";
  line << '\n';
  std::fputs(line.str().c_str(), stderr);
}

void QXWriteStructuredGrid(QXDataStorage& storage, const std::string& name,
                           const QXFloatArray* axes, int count, bool maskDefined,
                           const QXMask& mask, const char* type) {
  for (int a = 0; a < count; a++) storage.Save(axes[a], name + kSuffixes[a]);
  for (int a = count; a < 3; a++) QXClearCompanion(storage, name + kSuffixes[a]);
  const QXIntArray runs = maskDefined ? mask.Intervals() : QXIntArray();
  if (maskDefined && runs.IsEmpty())
    QXWarningMessage(std::string("WriteToFile(") + type + ")",
                     "A mask without points is stored as no mask.");
  storage.Save(runs, name);
}

QXStoredMask QXReadStructuredGrid(const QXDataStorage& storage, const std::string& name,
                                  QXFloatArray* axes, int count, QXMask& mask) {
  QXIntArray runs;
  ReadFromFile(storage, name, runs);
  mask = QXMask();
  if (!storage.Contains(name)) return QXStoredMask::None;  // reported once, by the storage
  for (int a = 0; a < count; a++) ReadFromFile(storage, name + kSuffixes[a], axes[a]);
  if (runs.IsEmpty()) return QXStoredMask::None;
  const QXStructuredSize size = QXStructuredSizeOf(axes, count);
  mask = QXMask::CreateFromIntervals(runs, size.m, size.n, size.o);
  return mask.o() == 0 ? QXStoredMask::Unfit : QXStoredMask::Defined;
}
