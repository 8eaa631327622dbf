#include "QXDoubleArrayRegion.h"

#include <cstddef>

#include "QXError.h"

namespace {

// The positions a fitted index selects along its dimension: a list, or count
// positions from start in steps of stride.
struct Axis {
  const int* list;
  std::ptrdiff_t start;
  std::ptrdiff_t stride;
  int count;

  std::ptrdiff_t operator[](int p) const { return list != nullptr ? list[p] : start + p * stride; }
};

// An index that is not given stands for the single position 0.
const Axis kFirstOnly = {nullptr, 0, 0, 1};

Axis AxisOf(const QXIndex& X) {
  if (X.ArraySpecified()) {
    const QXIntArray positions = X.SpecifiedArray();  // kept alive by X
    return {positions.Pointer(), 0, 0, positions.Length()};
  }
  if (X.Stride() == 0) return {nullptr, 0, 0, 0};
  const long long count = (static_cast<long long>(X.End()) - X.Start()) / X.Stride() + 1;
  return {nullptr, X.Start(), X.Stride(), static_cast<int>(count)};
}

}  // namespace

QXConstDoubleArrayRegion::QXConstDoubleArrayRegion(const QXDoubleArray& arrayIn, const QXIndex& In)
    : array(arrayIn), I(In.OwnCopy()), J(), K(), rank(1) {
  if (!I.SetLength(array.Length())) I = QXIndex();
}

QXConstDoubleArrayRegion::QXConstDoubleArrayRegion(const QXDoubleArray& arrayIn, const QXIndex& In,
                                                   const QXIndex& Jn)
    : array(arrayIn), I(), J(), K(), rank(2) {
  if (array.o() >= 2) {
    QXErrorMessage("Array(Region,Region)", "The array is three dimensional");
    return;
  }
  I = In.OwnCopy();
  J = Jn.OwnCopy();
  if (!I.SetLength(array.m()) || !J.SetLength(array.n())) {
    I = QXIndex();
    J = QXIndex();
  }
}

QXConstDoubleArrayRegion::QXConstDoubleArrayRegion(const QXDoubleArray& arrayIn, const QXIndex& In,
                                                   const QXIndex& Jn, const QXIndex& Kn)
    : array(arrayIn), I(In.OwnCopy()), J(Jn.OwnCopy()), K(Kn.OwnCopy()), rank(3) {
  if (!I.SetLength(array.m()) || !J.SetLength(array.n()) || !K.SetLength(array.o())) {
    I = QXIndex();
    J = QXIndex();
    K = QXIndex();
  }
}

void QXConstDoubleArrayRegion::Shape(int& a, int& b, int& c) const {
  a = AxisOf(I).count;
  b = rank >= 2 ? AxisOf(J).count : 1;
  c = rank >= 3 ? AxisOf(K).count : 1;
  if (a == 0 || b == 0 || c == 0) a = b = c = 0;
}

template <class Action>
void QXConstDoubleArrayRegion::ForEachSelected(Action action) const {
  const Axis along = AxisOf(I);
  const Axis across = rank >= 2 ? AxisOf(J) : kFirstOnly;
  const Axis slices = rank >= 3 ? AxisOf(K) : kFirstOnly;
  if (along.count == 0 || across.count == 0 || slices.count == 0) return;
  const std::ptrdiff_t m = array.m();
  const std::ptrdiff_t mn = m * array.n();
  std::ptrdiff_t k = 0;
  for (int r = 0; r < slices.count; r++) {
    for (int q = 0; q < across.count; q++) {
      const std::ptrdiff_t base = slices[r] * mn + across[q] * m;
      if (along.list != nullptr) {
        for (int p = 0; p < along.count; p++) action(k++, base + along.list[p]);
      } else {
        std::ptrdiff_t at = base + along.start;
        for (int p = 0; p < along.count; p++, at += along.stride) action(k++, at);
      }
    }
  }
}

QXConstDoubleArrayRegion::operator QXMutableDoubleArray() const {
  int a, b, c;
  Shape(a, b, c);
  QXMutableDoubleArray R(a, b, c);  // empty when nothing is selected
  if (R.Length() == 0) return R;    // or when too large, which the array family reported
  const double* from = array.Pointer();
  double* to = R.Pointer();
  ForEachSelected([from, to](std::ptrdiff_t k, std::ptrdiff_t at) { to[k] = from[at]; });
  return R;
}

QXConstDoubleArrayRegion::operator QXDoubleArray() const {
  return static_cast<QXMutableDoubleArray>(*this);
}

bool QXConstDoubleArrayRegion::Fits(const QXDoubleArray& B) const {
  int a, b, c;
  Shape(a, b, c);
  const bool fits = a == 0      ? B.IsEmpty()
                    : rank == 1 ? B.Length() == a
                                : B.m() == a && B.n() == b && B.o() == c;
  if (!fits) QXErrorMessage("Array(Region) = ***", "Incompatible array sizes.");
  return fits;
}

QXDoubleArrayRegion::QXDoubleArrayRegion(QXMutableDoubleArray& arrayIn, const QXIndex& In)
    : QXConstDoubleArrayRegion(arrayIn, In), target(arrayIn) {}

QXDoubleArrayRegion::QXDoubleArrayRegion(QXMutableDoubleArray& arrayIn, const QXIndex& In,
                                         const QXIndex& Jn)
    : QXConstDoubleArrayRegion(arrayIn, In, Jn), target(arrayIn) {}

QXDoubleArrayRegion::QXDoubleArrayRegion(QXMutableDoubleArray& arrayIn, const QXIndex& In,
                                         const QXIndex& Jn, const QXIndex& Kn)
    : QXConstDoubleArrayRegion(arrayIn, In, Jn, Kn), target(arrayIn) {}

QXDoubleArrayRegion& QXDoubleArrayRegion::operator=(const QXDoubleArray& B) {
  if (!Fits(B)) return *this;
  // A source on the viewed storage is copied first: writing in selection
  // order could otherwise overwrite elements before they are read.
  const QXDoubleArray source =
      B.NotEmpty() && B.Pointer() == target.Pointer() ? QXDoubleArray(B.Copy()) : B;
  const double* from = source.Pointer();
  double* to = target.Pointer();
  ForEachSelected([from, to](std::ptrdiff_t k, std::ptrdiff_t at) { to[at] = from[k]; });
  return *this;
}

QXDoubleArrayRegion& QXDoubleArrayRegion::operator=(double v) {
  double* to = target.Pointer();
  ForEachSelected([to, v](std::ptrdiff_t, std::ptrdiff_t at) { to[at] = v; });
  return *this;
}

QXDoubleArrayRegion& QXDoubleArrayRegion::operator=(const QXDoubleArrayRegion& R) {
  const QXMutableDoubleArray copy = R;
  return *this = copy;
}
