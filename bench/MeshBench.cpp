// Masked meshes, each beside a plain loop doing the same work:
// - spreading a column of 5 * 10^6 doubles over a 4000 x 2500 grid whose
//   mask holds the lower half of every column, against memset and one
//   memcpy per run into a buffer already touched;
// - the runs of a 4000 x 2500 byte array (the same half columns) against a
//   loop that only counts them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "QXMesh2D.h"

namespace {

constexpr int kM = 4000;
constexpr int kN = 2500;
constexpr int kInside = kM / 2;  // the first rows of every column

const QXMask& HalfColumns() {
  static const QXMask mask = [] {
    QXMutableIntArray runs(2, kN, 1);
    for (int j = 0; j < kN; j++) {
      runs(0, j) = j * kM;
      runs(1, j) = j * kM + kInside - 1;
    }
    return QXMask::CreateFromIntervals(runs, kM, kN, 1);
  }();
  return mask;
}

const QXMutableDoubleArray& Column() {
  static const QXMutableDoubleArray column = [] {
    QXMutableDoubleArray values(kInside * kN, 1, 1);
    for (int i = 0; i < values.Length(); i++) values(i) = i;
    return values;
  }();
  return column;
}

const QXMutableUCharArray& Bytes() {
  static const QXMutableUCharArray bytes = HalfColumns().MaskArray();
  return bytes;
}

void BM_MeshThroughMask(benchmark::State& state) {
  const QXMesh2DGrid grid(QXPoint2D(0, 0), 1, 1, HalfColumns());
  for (auto _ : state) benchmark::DoNotOptimize(QXMesh2D(Column(), grid).DoubleData().Pointer());
  state.SetBytesProcessed(state.iterations() * int64_t{kM} * kN * 8);
}
BENCHMARK(BM_MeshThroughMask)->Unit(benchmark::kMillisecond);

void BM_RawSpread(benchmark::State& state) {
  std::vector<double> full(size_t{kM} * kN, 1.0);
  const double* from = Column().Pointer();
  for (auto _ : state) {
    std::memset(full.data(), 0, full.size() * sizeof(double));
    for (int j = 0; j < kN; j++)
      std::memcpy(full.data() + size_t{kM} * j, from + size_t{kInside} * j,
                  kInside * sizeof(double));
    benchmark::DoNotOptimize(full.data());
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kM} * kN * 8);
}
BENCHMARK(BM_RawSpread)->Unit(benchmark::kMillisecond);

void BM_CreateFromMask(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(QXMask::CreateFromMask(Bytes()).NumberOfPoints());
  state.SetBytesProcessed(state.iterations() * int64_t{kM} * kN);
}
BENCHMARK(BM_CreateFromMask)->Unit(benchmark::kMillisecond);

void BM_RawRunCount(benchmark::State& state) {
  const unsigned char* bytes = Bytes().Pointer();
  for (auto _ : state) {
    int runs = 0;
    for (int j = 0; j < kN; j++) {
      const unsigned char* column = bytes + size_t{kM} * j;
      for (int i = 0; i < kM; i++) runs += column[i] != 0 && (i == 0 || column[i - 1] == 0);
    }
    benchmark::DoNotOptimize(runs);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kM} * kN);
}
BENCHMARK(BM_RawRunCount)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
