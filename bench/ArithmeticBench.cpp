// Element-wise arithmetic on 10^7 doubles and a strided region read and
// write, each beside a plain loop over raw pointers into a buffer that is
// already touched. The sum also runs beside the same loop into a freshly
// allocated buffer, the way an allocating b + c (numpy's) pays for new pages.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "QXArrayArithmetic.h"
#include "QXDoubleArrayRegion.h"

namespace {

constexpr int kElements = 10000000;
// A 4000 x 2500 matrix (10^7 elements); the region is every other row of
// every other column, 2000 x 1250 elements.
constexpr int kRows = 4000;
constexpr int kColumns = 2500;

QXMutableDoubleArray Filled(int m, int n, double scale) {
  QXMutableDoubleArray A(m, n, 1);
  double* a = A.Pointer();
  for (int p = 0; p < A.Length(); p++) a[p] = p * scale;
  return A;
}

[[gnu::noinline]] void RawAdd(const double* a, const double* b, double* r, int length) {
  for (int p = 0; p < length; p++) r[p] = a[p] + b[p];
}

[[gnu::noinline]] void RawTimes(const double* a, double b, double* r, int length) {
  for (int p = 0; p < length; p++) r[p] = a[p] * b;
}

[[gnu::noinline]] void RawPlusEquals(double* m, const double* b, int length) {
  for (int p = 0; p < length; p++) m[p] += b[p];
}

// Every other row of every other column of the rows x columns matrix at a,
// column by column.
[[gnu::noinline]] void RawGather(const double* a, double* r, int rows, int columns) {
  for (int j = 0; j < columns; j += 2)
    for (int i = 0; i < rows; i += 2) *r++ = a[i + static_cast<long>(j) * rows];
}

[[gnu::noinline]] void RawScatter(const double* s, double* a, int rows, int columns) {
  for (int j = 0; j < columns; j += 2)
    for (int i = 0; i < rows; i += 2) a[i + static_cast<long>(j) * rows] = *s++;
}

void Elements(benchmark::State& state, int bytesPerElement) {
  state.SetBytesProcessed(state.iterations() * static_cast<long>(kElements) * bytesPerElement);
}

void BM_ArrayPlusArray(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled(kElements, 1, 0.5), B = Filled(kElements, 1, 0.25);
  QXMutableDoubleArray R;
  for (auto _ : state) {
    R = A + B;
    benchmark::DoNotOptimize(R.Pointer());
  }
  Elements(state, 24);
}
BENCHMARK(BM_ArrayPlusArray)->Unit(benchmark::kMillisecond);

void BM_RawPlusIntoTouchedBuffer(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled(kElements, 1, 0.5), B = Filled(kElements, 1, 0.25);
  std::vector<double> R(kElements, 0.0);
  for (auto _ : state) {
    RawAdd(A.Pointer(), B.Pointer(), R.data(), kElements);
    benchmark::DoNotOptimize(R.data());
  }
  Elements(state, 24);
}
BENCHMARK(BM_RawPlusIntoTouchedBuffer)->Unit(benchmark::kMillisecond);

void BM_RawPlusIntoFreshBuffer(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled(kElements, 1, 0.5), B = Filled(kElements, 1, 0.25);
  for (auto _ : state) {
    double* R = static_cast<double*>(std::malloc(sizeof(double) * kElements));
    RawAdd(A.Pointer(), B.Pointer(), R, kElements);
    benchmark::DoNotOptimize(R);
    std::free(R);
  }
  Elements(state, 24);
}
BENCHMARK(BM_RawPlusIntoFreshBuffer)->Unit(benchmark::kMillisecond);

void BM_ArrayTimesNumber(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled(kElements, 1, 0.5);
  QXMutableDoubleArray R;
  for (auto _ : state) {
    R = A * 1.5;
    benchmark::DoNotOptimize(R.Pointer());
  }
  Elements(state, 16);
}
BENCHMARK(BM_ArrayTimesNumber)->Unit(benchmark::kMillisecond);

void BM_RawTimesIntoTouchedBuffer(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled(kElements, 1, 0.5);
  std::vector<double> R(kElements, 0.0);
  for (auto _ : state) {
    RawTimes(A.Pointer(), 1.5, R.data(), kElements);
    benchmark::DoNotOptimize(R.data());
  }
  Elements(state, 16);
}
BENCHMARK(BM_RawTimesIntoTouchedBuffer)->Unit(benchmark::kMillisecond);

void BM_PlusEqualsArray(benchmark::State& state) {
  QXMutableDoubleArray M = Filled(kElements, 1, 0.5);
  const QXMutableDoubleArray B = Filled(kElements, 1, 1e-9);
  for (auto _ : state) {
    M += B;
    benchmark::DoNotOptimize(M.Pointer());
  }
  Elements(state, 24);
}
BENCHMARK(BM_PlusEqualsArray)->Unit(benchmark::kMillisecond);

void BM_RawPlusEquals(benchmark::State& state) {
  QXMutableDoubleArray M = Filled(kElements, 1, 0.5);
  const QXMutableDoubleArray B = Filled(kElements, 1, 1e-9);
  for (auto _ : state) {
    RawPlusEquals(M.Pointer(), B.Pointer(), kElements);
    benchmark::DoNotOptimize(M.Pointer());
  }
  Elements(state, 24);
}
BENCHMARK(BM_RawPlusEquals)->Unit(benchmark::kMillisecond);

void Selected(benchmark::State& state) {
  state.SetBytesProcessed(state.iterations() * static_cast<long>(kRows / 2) * (kColumns / 2) * 16);
}

void BM_RegionRead(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled(kRows, kColumns, 0.5);
  const QXIndex every2(0, 2, QXIndex::Last);
  QXMutableDoubleArray R;
  for (auto _ : state) {
    R = A(every2, every2);
    benchmark::DoNotOptimize(R.Pointer());
  }
  Selected(state);
}
BENCHMARK(BM_RegionRead)->Unit(benchmark::kMillisecond);

void BM_RawGatherIntoTouchedBuffer(benchmark::State& state) {
  const QXMutableDoubleArray A = Filled(kRows, kColumns, 0.5);
  std::vector<double> R(static_cast<size_t>(kRows / 2) * (kColumns / 2), 0.0);
  for (auto _ : state) {
    RawGather(A.Pointer(), R.data(), kRows, kColumns);
    benchmark::DoNotOptimize(R.data());
  }
  Selected(state);
}
BENCHMARK(BM_RawGatherIntoTouchedBuffer)->Unit(benchmark::kMillisecond);

void BM_RegionWrite(benchmark::State& state) {
  QXMutableDoubleArray A = Filled(kRows, kColumns, 0.5);
  const QXMutableDoubleArray S = Filled(kRows / 2, kColumns / 2, 0.25);
  const QXIndex every2(0, 2, QXIndex::Last);
  for (auto _ : state) {
    A(every2, every2) = S;
    benchmark::DoNotOptimize(A.Pointer());
  }
  Selected(state);
}
BENCHMARK(BM_RegionWrite)->Unit(benchmark::kMillisecond);

void BM_RawScatter(benchmark::State& state) {
  QXMutableDoubleArray A = Filled(kRows, kColumns, 0.5);
  const QXMutableDoubleArray S = Filled(kRows / 2, kColumns / 2, 0.25);
  for (auto _ : state) {
    RawScatter(S.Pointer(), A.Pointer(), kRows, kColumns);
    benchmark::DoNotOptimize(A.Pointer());
  }
  Selected(state);
}
BENCHMARK(BM_RawScatter)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
