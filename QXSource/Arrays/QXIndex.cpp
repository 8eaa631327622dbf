#include "QXIndex.h"

#include <climits>

#include "QXArrayArithmetic.h"
#include "QXError.h"

namespace {

// Values at or below Last count from the end; Last - k is L - 1 - k.
constexpr int kFromEnd = QXIndex::Last;

bool PlainNegative(int position) { return position < 0 && position > kFromEnd; }

// The position a start or end stands for on a dimension of length L, in 64
// bits so that far-off values cannot wrap into range.
long long Resolved(int position, int L) {
  if (position > kFromEnd) return position;
  return static_cast<long long>(L) + position - (kFromEnd + 1);
}

bool InIntRange(long long v) { return v >= INT_MIN && v <= INT_MAX; }

}  // namespace

const QXIndex QXIndex::All(0, QXIndex::Last);

QXIndex::QXIndex()
    : knownLength(-1), start(0), stride(0), end(0), arraySpecified(false), specified() {}

QXIndex::QXIndex(int i) : QXIndex() {
  if (PlainNegative(i)) {
    QXErrorMessage("Subscript error", "The subscript was negative.");
    return;
  }
  start = end = i;
  stride = 1;
}

QXIndex::QXIndex(int startIn, int endIn) : QXIndex() {
  if (PlainNegative(startIn)) {
    QXErrorMessage("QXIndex(start,end)", "Invalid start (negative)");
    return;
  }
  start = startIn;
  end = endIn;
  stride = 1;
}

QXIndex::QXIndex(int startIn, int strideIn, int endIn) : QXIndex() {
  if (PlainNegative(startIn)) {
    QXErrorMessage("QXIndex(start,stride,end)", "Invalid start (negative)");
    return;
  }
  if (PlainNegative(endIn)) {
    QXErrorMessage("QXIndex(start,stride,end)", "Invalid end (negative)");
    return;
  }
  start = startIn;
  stride = strideIn;
  end = endIn;
}

QXIndex::QXIndex(const QXIntArray& positions) : QXIndex() {
  arraySpecified = true;
  specified = positions;
}

bool QXIndex::SetLength(int L) {
  if (knownLength >= 0) {
    QXErrorMessage("Index.SetLength(Len)", "Already set the length");
    return false;
  }
  if (L < 0) {
    QXErrorMessage("Index.SetLength(Len)", "Length has to be >= 0");
    return false;
  }
  if (arraySpecified) {
    const int* positions = specified.Pointer();
    for (int p = 0; p < specified.Length(); p++) {
      if (positions[p] < 0 || positions[p] >= L) {
        QXErrorMessage("QXIndex(Array)", "Array element out of bounds");
        return false;
      }
    }
    knownLength = L;
    return true;
  }
  const long long first = Resolved(start, L), last = Resolved(end, L);
  if (first < 0 || first >= L || last < 0 || last >= L) {
    QXErrorMessage("QXIndex(info)", "Index out of range");
    return false;
  }
  start = static_cast<int>(first);
  end = static_cast<int>(last);
  if ((stride > 0 && start > end) || (stride < 0 && start < end)) stride = 0;
  knownLength = L;
  return true;
}

bool QXIndex::IsEmpty() const { return arraySpecified ? specified.IsEmpty() : stride == 0; }

QXIntArray QXIndex::IndicesAsArray() const {
  if (arraySpecified) return specified;
  if (stride == 0) return QXIntArray();
  if (knownLength < 0 && (start < 0 || end < 0)) {
    QXErrorMessage("QXIndex::IndicesAsArray()", "Positions from the end need SetLength first.");
    return QXIntArray();
  }
  // Unfitted, the range may run away from its end; fitted, it never does.
  const long long count = (static_cast<long long>(end) - start) / stride + 1;
  if (count <= 0) return QXIntArray();
  if (count > INT_MAX) {
    QXErrorMessage("QXIndex::IndicesAsArray()", "Too many positions.");
    return QXIntArray();
  }
  QXMutableIntArray positions(static_cast<int>(count), 1, 1);
  int* to = positions.Pointer();
  for (int p = 0; p < positions.Length(); p++)
    to[p] = static_cast<int>(start + static_cast<long long>(p) * stride);
  return positions;
}

QXIndex QXIndex::OwnCopy() const {
  QXIndex copy = *this;
  if (arraySpecified) copy.specified = specified.Copy();
  return copy;
}

namespace {

// X shifted by k (in 64 bits, so that k may be -INT_MIN), or the report and
// the empty index when a position would leave the int range.
QXIndex Shifted(const QXIndex& X, long long k, const char* operation) {
  const auto refused = [operation] {
    QXErrorMessage(operation, "The shifted index leaves the int range.");
    return QXIndex();
  };
  if (X.ArraySpecified()) {
    const QXIntArray positions = X.SpecifiedArray();
    const int* from = positions.Pointer();
    for (int p = 0; p < positions.Length(); p++)
      if (!InIntRange(from[p] + k)) return refused();
    // In range, the wrapping int sum is the exact sum.
    return QXIndex(positions + static_cast<int>(static_cast<unsigned>(k)));
  }
  const long long start = X.Start() + k, end = X.End() + k;
  if (!InIntRange(start) || !InIntRange(end)) return refused();
  return QXIndex(static_cast<int>(start), X.Stride(), static_cast<int>(end));
}

}  // namespace

QXIndex operator+(const QXIndex& X, int k) { return Shifted(X, k, "QXIndex+int"); }
QXIndex operator-(const QXIndex& X, int k) {
  return Shifted(X, -static_cast<long long>(k), "QXIndex-int");
}
