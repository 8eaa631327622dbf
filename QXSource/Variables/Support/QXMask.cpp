#include "QXMask.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

#include "QXError.h"
#include "QXGridInternal.h"
#include "QXVariableStorageInternal.h"

namespace {

const char* const kBoxOperation = "QXMask(m,n,o)";
const char* const kIntervalsOperation = "QXMask::CreateFromIntervals(intervals,...)";
const char* const kOutOfBounds = "Out of bounds.";

bool FitsInt(long long count) { return count <= INT_MAX; }

// The first index at or after `from` in [from, end) whose byte is zero (or
// non-zero, as `inside` asks); `end` when there is none.
int NextChange(const unsigned char* bytes, int from, int end, bool inside) {
  while (from < end && (bytes[from] != 0) == inside) from++;
  return from;
}

}  // namespace

QXMask::QXMask() : intervals(), _m(0), _n(0), _o(0) {}

QXMask::QXMask(int m, int n, int o) : intervals(), _m(0), _n(0), _o(0) {
  if (m < 0 || n < 0 || o < 0) {
    QXErrorMessage(kBoxOperation, "One of the indices is  negative");
    return;
  }
  const long long box = QXBoxSize(m, n, o);
  if (!FitsInt(box)) {
    QXErrorMessage(kBoxOperation, kOutOfBounds);
    return;
  }
  if (box == 0) return;
  _m = m;
  _n = n;
  _o = o;
}

QXMask::QXMask(const QXIntArray& intervals, int m, int n, int o)
    : intervals(intervals), _m(m), _n(n), _o(o) {}

QXMask QXMask::CreateFromIntervals(const QXIntArray& intervals, int m, int n, int o) {
  if (m < 0 || n < 0 || o < 0) {
    QXErrorMessage(kIntervalsOperation, "One of the indices is negative");
    return QXMask();
  }
  const long long box = QXBoxSize(m, n, o);
  if (!FitsInt(box)) {
    QXErrorMessage(kIntervalsOperation, kOutOfBounds);
    return QXMask();
  }
  if (intervals.IsEmpty()) return QXMask(m, n, o);
  if (intervals.m() != 2 || intervals.o() != 1) {
    QXErrorMessage(kIntervalsOperation, "interval array has incorrect size");
    return QXMask();
  }
  const int* bounds = intervals.Pointer();
  const int count = intervals.n();
  for (int j = 0; j < count; j++) {
    if (bounds[2 * j] > bounds[2 * j + 1]) {
      QXErrorMessage(kIntervalsOperation, "One of the intervals is incorrect.");
      return QXMask();
    }
  }
  for (int j = 1; j < count; j++) {
    if (bounds[2 * j - 1] >= bounds[2 * j]) {
      QXErrorMessage(kIntervalsOperation, "Intervals need to be in increasing order.");
      return QXMask();
    }
  }
  if (bounds[0] < 0 || bounds[2 * count - 1] >= box) {
    QXErrorMessage(kIntervalsOperation, kOutOfBounds);
    return QXMask();
  }
  return QXMask(intervals, m, n, o);
}

QXMask QXMask::CreateFromMask(const QXUCharArray& bytes) {
  if (bytes.IsEmpty()) return QXMask(bytes.m(), bytes.n(), bytes.o());
  // One pass: the byte array may be changed through another handle, so it
  // is walked once and the runs found are the runs kept.
  std::vector<int> runs;
  const unsigned char* data = bytes.Pointer();
  const int m = bytes.m();
  const int columns = bytes.n() * bytes.o();
  for (int column = 0; column < columns; column++) {
    const int base = column * m;
    const int end = base + m;
    int i = NextChange(data, base, end, false);
    while (i < end) {
      const int last = NextChange(data, i, end, true);
      runs.push_back(i);
      runs.push_back(last - 1);
      i = NextChange(data, last, end, false);
    }
  }
  if (runs.empty()) return QXMask(bytes.m(), bytes.n(), bytes.o());
  QXMutableIntArray intervals(2, static_cast<int>(runs.size() / 2), 1);
  if (intervals.IsEmpty()) return QXMask();  // reported by the array
  std::memcpy(intervals.Pointer(), runs.data(), sizeof(int) * runs.size());
  return QXMask(intervals, bytes.m(), bytes.n(), bytes.o());
}

int QXMask::NumberOfPoints() const {
  int points = 0;
  QXForEachRun(*this, [&points](int start, int end) { points += end - start + 1; });
  return points;
}

QXMutableUCharArray QXMask::MaskArray() const {
  QXMutableUCharArray bytes(_m, _n, _o);
  if (bytes.IsEmpty()) return bytes;
  unsigned char* data = bytes.Pointer();
  std::memset(data, 0, static_cast<size_t>(bytes.Length()));
  QXForEachRun(*this, [data](int start, int end) {
    std::memset(data + start, 1, static_cast<size_t>(end - start) + 1);
  });
  return bytes;
}

void QXMask::pinfo() const {
  std::ostringstream line;
  if (_o == 0)
    line << "Empty";
  else if (_o == 1)
    line << _m << " x " << _n << " mask with " << NumberOfPoints() << " points.";
  else
    line << _m << " x " << _n << " x " << _o << " mask with " << NumberOfPoints() << " points.";
  line << '\n';
  std::fputs(line.str().c_str(), stderr);
}

QXMutableIntArray Offsets(const QXMask& mask) {
  QXMutableIntArray offsets(mask.NumberOfPoints(), 1, 1);
  int* next = offsets.Pointer();
  int* const end = next + offsets.Length();
  QXForEachRun(mask, [&next, end](int start, int last) {
    for (int index = start; index <= last && next < end; index++) *next++ = index;
  });
  // Runs changed since they were counted may fall short of the count.
  std::fill(next, end, 0);
  return offsets;
}

bool operator==(const QXMask& a, const QXMask& b) { return a.Intervals() == b.Intervals(); }
bool operator!=(const QXMask& a, const QXMask& b) { return !(a == b); }

void WriteToFile(QXDataStorage& storage, std::string name, const QXMask& mask) {
  const std::string dimName = name + "_dim";
  if (mask.o() == 0) {
    QXClearCompanion(storage, dimName);
  } else {
    const bool flat = mask.o() == 1;
    QXMutableIntArray dims(flat ? 2 : 3, 1, 1);
    if (dims.IsEmpty()) return;  // reported by the array
    dims(0) = mask.m();
    dims(1) = mask.n();
    if (!flat) dims(2) = mask.o();
    storage.Save(dims, dimName);
  }
  storage.Save(mask.Intervals(), name);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXMask& mask) {
  mask = QXMask();
  const std::string dimName = name + "_dim";
  if (!storage.Contains(dimName)) return;
  QXIntArray dims;
  ReadFromFile(storage, dimName, dims);
  if (dims.IsEmpty()) return;
  if (dims.Length() != 2 && dims.Length() != 3) {
    QXErrorMessage(QXReadFromArrayOperation("QXMask"), "Invalid length of array.");
    return;
  }
  QXIntArray runs;
  ReadFromFile(storage, name, runs);
  mask = QXMask::CreateFromIntervals(runs, dims(0), dims(1), dims.Length() == 3 ? dims(2) : 1);
}
