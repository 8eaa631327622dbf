// Transposing a 4000 x 4000 double matrix with the library's tiled Transpose,
// beside a plain two-loop transpose into a new array (the same allocation as
// Transpose pays) and into an already touched buffer.
#include <benchmark/benchmark.h>

#include <vector>

#include "QXArrayResize.h"

namespace {

constexpr int kSize = 4000;

QXMutableDoubleArray Filled() {
  QXMutableDoubleArray A(kSize, kSize, 1);
  for (int p = 0; p < A.Length(); p++) A(p) = p * 0.25;
  return A;
}

// Column by column of the source: reads run along memory, writes jump by a
// whole column of the result each time.
[[gnu::noinline]] void TwoLoopTranspose(const double* from, double* to, int m, int n) {
  for (int j = 0; j < n; j++)
    for (int i = 0; i < m; i++)
      to[j + static_cast<long>(i) * n] = from[i + static_cast<long>(j) * m];
}

void BM_Transpose(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled();
  for (auto _ : state) {
    QXMutableDoubleArray R = Transpose(A);
    benchmark::DoNotOptimize(R.Pointer());
  }
  state.SetBytesProcessed(state.iterations() * A.Length() * sizeof(double));
}
BENCHMARK(BM_Transpose)->Unit(benchmark::kMillisecond);

void BM_TwoLoopTransposeIntoNewArray(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled();
  for (auto _ : state) {
    QXMutableDoubleArray R(kSize, kSize, 1);
    TwoLoopTranspose(A.Pointer(), R.Pointer(), kSize, kSize);
    benchmark::DoNotOptimize(R.Pointer());
  }
  state.SetBytesProcessed(state.iterations() * A.Length() * sizeof(double));
}
BENCHMARK(BM_TwoLoopTransposeIntoNewArray)->Unit(benchmark::kMillisecond);

void BM_TwoLoopTransposeIntoTouchedBuffer(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled();
  std::vector<double> R(A.Length(), 0.0);
  for (auto _ : state) {
    TwoLoopTranspose(A.Pointer(), R.data(), kSize, kSize);
    benchmark::DoNotOptimize(R.data());
  }
  state.SetBytesProcessed(state.iterations() * A.Length() * sizeof(double));
}
BENCHMARK(BM_TwoLoopTransposeIntoTouchedBuffer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
