#include "QXPlot1D.h"

#include <climits>
#include <cmath>

#include "QXLoopArrayInternal.h"
#include "QXPointCollectionInternal.h"

namespace {

// rows, least, segmentRows, closedCountsOnce, lengthNamesColumn, operation, shape
const QXLoopArrayType kPlot = {2, 1, 0, false, false, "QXPlot1D(Array)", "Need two rows"};

// The largest relative difference of a step from the first one.
constexpr double kSpacingTolerance = 1e-5;

}  // namespace

QXPlot1D::QXPlot1D(const QXDoubleArray& A) {
  if (QXAcceptLoopArray(A, kPlot)) data = A;
}

QXPlot1D::QXPlot1D(const QXDoubleArray& x, const QXDoubleArray& y) {
  if (x.Length() != y.Length()) {
    QXErrorMessage("QXPlot1D(Array,Array)", "Incompatible lengths");
    return;
  }
  const int n = x.Length();
  if (n == 0) return;
  if (n == INT_MAX) {  // no room for the header column
    QXErrorMessage("QXPlot1D(Array,Array)", "Too many points.");
    return;
  }
  const int columns = n + 1;
  QXMutableDoubleArray joined(2, columns, 1);
  if (joined.n() != columns) return;  // too large: reported by the array
  double* to = joined.Pointer();
  to[0] = 0;
  to[1] = n;
  const double* xs = x.Pointer();
  const double* ys = y.Pointer();
  for (long long i = 0; i < n; i++) {
    to[2 * i + 2] = xs[i];
    to[2 * i + 3] = ys[i];
  }
  data = joined;
}

int QXPlot1D::NumberOfPoints() const { return QXCountLoops(data, kPlot).points; }

bool QXPlot1D::UniformlySpaced() const {
  const int columns = data.n();
  if (columns < 3) return false;
  QXLoopWalk<double> walk(data, kPlot);
  QXLoop<double> loop;
  if (walk.Next(loop) != QXLoopFound || loop.length != columns - 1) return false;
  const double* x = loop.points;  // x of point i at x[2 * i]
  const double step = x[2] - x[0];
  if (step == 0) return false;
  for (long long i = 1; i < loop.length; i++) {
    if (!(std::fabs((x[2 * i] - x[2 * i - 2]) / step - 1) <= kSpacingTolerance)) return false;
  }
  return true;
}

QXMutableDoubleArray QXPlot1D::XValues() const { return Row(0); }
QXMutableDoubleArray QXPlot1D::YValues() const { return Row(1); }

// The walk checks every header again; the copying stops where the array made
// ends, should the data have been changed since it was counted.
QXMutableDoubleArray QXPlot1D::Row(int row) const {
  const int count = NumberOfPoints();
  QXMutableDoubleArray values(count, 1, 1);
  if (values.Length() != count) return QXMutableDoubleArray();  // too large: reported
  double* to = values.Pointer();
  int filled = 0;
  QXForEachLoop(data, kPlot, [&](const QXLoop<double>& loop) {
    for (int i = 0; i < loop.length && filled < count; i++)
      to[filled++] = loop.points[2LL * i + row];
  });
  for (; filled < count; filled++) to[filled] = NAN;
  return values;
}

QXRegion1D BoundingRange(const QXPlot1D& plot) {
  return QXRangeOf(QXLoopExtremes<2>(plot.Data(), kPlot), 0);
}

QXRegion1D ValueRange(const QXPlot1D& plot) {
  return QXRangeOf(QXLoopExtremes<2>(plot.Data(), kPlot), 1);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPlot1D& plot) {
  WriteToFile(storage, name, plot.Data());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPlot1D& plot) {
  QXReadRecordCollection<QXDoubleArray>(storage, name, plot);
}
