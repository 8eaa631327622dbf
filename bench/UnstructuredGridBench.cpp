// The bounding box of a tetrahedral grid of 10^6 points (3 x 10^6 floats)
// beside a plain loop taking the smallest and largest of each coordinate over
// the same floats.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "QXTetrahedralGrid3D.h"

namespace {

constexpr int kPoints = 1000000;

// Points on a twisted lattice, and one tetrahedron per four points.
const QXTetrahedralGrid3D& Grid() {
  static const QXTetrahedralGrid3D grid = [] {
    QXMutableFloatArray points(3, kPoints, 1);
    for (int j = 0; j < kPoints; j++) {
      points(0, j) = static_cast<float>(j % 100) + 0.001f * static_cast<float>(j % 7);
      points(1, j) = static_cast<float>((j / 100) % 100) - 0.5f * static_cast<float>(j % 3);
      points(2, j) = static_cast<float>(j / 10000) * 0.25f;
    }
    QXMutableIntArray offsets(4, kPoints / 4, 1);
    for (int i = 0; i < offsets.Length(); i++) offsets(i) = i;
    return QXTetrahedralGrid3D(points, offsets);
  }();
  return grid;
}

void BM_TetrahedralBoundingBox(benchmark::State& state) {
  const QXTetrahedralGrid3D& grid = Grid();
  for (auto _ : state) benchmark::DoNotOptimize(BoundingBox(grid).xmax);
  state.SetBytesProcessed(state.iterations() * int64_t{kPoints} * 12);
}
BENCHMARK(BM_TetrahedralBoundingBox)->Unit(benchmark::kMicrosecond);

void BM_RawMinMaxLoop(benchmark::State& state) {
  const float* data = Grid().Points().Pointer();
  for (auto _ : state) {
    float low[3] = {data[0], data[1], data[2]};
    float high[3] = {data[0], data[1], data[2]};
    for (int j = 0; j < kPoints; j++) {
      for (int c = 0; c < 3; c++) {
        const float v = data[3 * j + c];
        low[c] = v < low[c] ? v : low[c];
        high[c] = v > high[c] ? v : high[c];
      }
    }
    benchmark::DoNotOptimize(low);
    benchmark::DoNotOptimize(high);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kPoints} * 12);
}
BENCHMARK(BM_RawMinMaxLoop)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
