// Handle copies, bounds-checked element access and deep copies of the typed
// arrays, each beside a raw baseline.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "QXDoubleArray.h"
#include "QXIntArray.h"

namespace {

constexpr int kElements = 10000000;

QXMutableDoubleArray FilledArray() {
  QXMutableDoubleArray A(kElements, 1, 1);
  for (int i = 0; i < kElements; i++) A(i) = i * 0.5;
  return A;
}

// The sums stay in registers: a sum whose address escapes to the benchmark
// would be stored and reloaded on every step.
[[gnu::noinline]] double SumByIndex(const QXDoubleArray& view) {
  double sum = 0;
  for (int i = 0; i < view.Length(); i++) sum += view(i);
  return sum;
}

[[gnu::noinline]] double SumByPointer(const QXDoubleArray& view) {
  const double* data = view.Pointer();
  const int length = view.Length();
  double sum = 0;
  for (int i = 0; i < length; i++) sum += data[i];
  return sum;
}

void BM_DoubleHandleCopy(benchmark::State& state) {
  QXMutableDoubleArray A(10, 1, 1);
  for (auto _ : state) {
    QXDoubleArray copy = A;
    benchmark::DoNotOptimize(copy.Pointer());
  }
}
BENCHMARK(BM_DoubleHandleCopy);

void BM_DoubleHandleAssign(benchmark::State& state) {
  QXMutableDoubleArray A(10, 1, 1), B(10, 1, 1);
  QXDoubleArray target;
  for (auto _ : state) {
    target = A;
    target = B;
    benchmark::DoNotOptimize(target.Pointer());
  }
}
BENCHMARK(BM_DoubleHandleAssign);

void BM_IntHandleCopy(benchmark::State& state) {
  QXMutableIntArray A(10, 1, 1);
  for (auto _ : state) {
    QXIntArray copy = A;
    benchmark::DoNotOptimize(copy.Pointer());
  }
}
BENCHMARK(BM_IntHandleCopy);

void BM_SumThroughOperator(benchmark::State& state) {
  QXMutableDoubleArray A = FilledArray();
  const QXDoubleArray& view = A;
  for (auto _ : state) {
    double result = SumByIndex(view);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(state.iterations() * kElements * 8);
}
BENCHMARK(BM_SumThroughOperator)->Unit(benchmark::kMillisecond);

void BM_SumThroughPointer(benchmark::State& state) {
  QXMutableDoubleArray A = FilledArray();
  for (auto _ : state) {
    double result = SumByPointer(A);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(state.iterations() * kElements * 8);
}
BENCHMARK(BM_SumThroughPointer)->Unit(benchmark::kMillisecond);

void BM_DeepCopy(benchmark::State& state) {
  QXMutableDoubleArray A = FilledArray();
  for (auto _ : state) {
    QXMutableDoubleArray copy = A.Copy();
    benchmark::DoNotOptimize(copy.Pointer());
  }
  state.SetBytesProcessed(state.iterations() * kElements * 8);
}
BENCHMARK(BM_DeepCopy)->Unit(benchmark::kMillisecond);

// Baseline: a fresh buffer each time, as Copy() allocates one.
void BM_MemcpyIntoFreshBuffer(benchmark::State& state) {
  QXMutableDoubleArray A = FilledArray();
  for (auto _ : state) {
    std::vector<double> copy(kElements);
    std::memcpy(copy.data(), A.Pointer(), sizeof(double) * kElements);
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(state.iterations() * kElements * 8);
}
BENCHMARK(BM_MemcpyIntoFreshBuffer)->Unit(benchmark::kMillisecond);

void BM_MemcpyIntoTouchedBuffer(benchmark::State& state) {
  QXMutableDoubleArray A = FilledArray();
  std::vector<double> copy(kElements);
  for (auto _ : state) {
    std::memcpy(copy.data(), A.Pointer(), sizeof(double) * kElements);
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(state.iterations() * kElements * 8);
}
BENCHMARK(BM_MemcpyIntoTouchedBuffer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
