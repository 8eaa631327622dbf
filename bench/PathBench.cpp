// A plane path of 10^6 points in 10^4 loops of 100 (16 MB of doubles):
// checking it (constructing the QXPath2D), taking its bounding box, and both,
// beside a plain loop that walks the same headers unchecked and takes the
// same minima and maxima one point at a time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "QXPath2D.h"

namespace {

constexpr int kLoops = 10000;
constexpr int kPointsPerLoop = 100;
constexpr int kColumns = kLoops * (kPointsPerLoop + 1);
constexpr int64_t kPoints = int64_t{kLoops} * kPointsPerLoop;

const QXMutableDoubleArray& Loops() {
  static const QXMutableDoubleArray loops = [] {
    QXMutableDoubleArray A(2, kColumns, 1);
    double* p = A.Pointer();
    for (int loop = 0; loop < kLoops; loop++) {
      double* header = p + 2LL * loop * (kPointsPerLoop + 1);
      header[0] = 0;
      header[1] = kPointsPerLoop;
      for (int i = 1; i <= kPointsPerLoop; i++) {
        const double angle = 0.001 * (loop * kPointsPerLoop + i);
        header[2 * i] = loop + std::cos(angle);
        header[2 * i + 1] = std::sin(3 * angle);
      }
    }
    return A;
  }();
  return loops;
}

void BM_PathCheck(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(QXPath2D(Loops()).NotEmpty());
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PathCheck)->Unit(benchmark::kMicrosecond);

void BM_PathBoundingBox(benchmark::State& state) {
  const QXPath2D path(Loops());
  for (auto _ : state) benchmark::DoNotOptimize(BoundingBox(path).xmax);
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PathBoundingBox)->Unit(benchmark::kMicrosecond);

void BM_PathCheckAndBoundingBox(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BoundingBox(QXPath2D(Loops())).xmax);
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PathCheckAndBoundingBox)->Unit(benchmark::kMicrosecond);

void BM_RawLoopMinMax(benchmark::State& state) {
  const double* p = Loops().Pointer();
  for (auto _ : state) {
    double xmin = std::numeric_limits<double>::infinity(), xmax = -xmin;
    double ymin = xmin, ymax = -xmin;
    for (int64_t column = 0; column < kColumns;) {
      const int64_t length = static_cast<int64_t>(p[2 * column + 1]);
      for (int64_t j = column + 1; j <= column + length; j++) {
        xmin = std::min(xmin, p[2 * j]);
        xmax = std::max(xmax, p[2 * j]);
        ymin = std::min(ymin, p[2 * j + 1]);
        ymax = std::max(ymax, p[2 * j + 1]);
      }
      column += length + 1;
    }
    benchmark::DoNotOptimize(xmin + xmax + ymin + ymax);
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_RawLoopMinMax)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
