// Byte-order swapping and element-type conversion of 10^7 doubles, each
// beside a raw baseline: memcpy of the same bytes, and a plain loop.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "QXArrayConversion.h"
#include "QXEndianSwap.h"

namespace {

constexpr int kElements = 10000000;

QXMutableDoubleArray FilledDoubles() {
  QXMutableDoubleArray A(kElements, 1, 1);
  double* data = A.Pointer();
  for (int i = 0; i < kElements; i++) data[i] = (i - kElements / 2) * 1001.5;
  return A;
}

void Report(benchmark::State& state, size_t bytesPerElement) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kElements *
                          static_cast<int64_t>(bytesPerElement));
}

void BM_SwapEndianDoubles(benchmark::State& state) {
  QXMutableDoubleArray A = FilledDoubles();
  for (auto _ : state) {
    SwapEndian(A);
    benchmark::ClobberMemory();
  }
  Report(state, sizeof(double));
}
BENCHMARK(BM_SwapEndianDoubles)->Unit(benchmark::kMillisecond);

void BM_MemcpyDoubles(benchmark::State& state) {
  QXMutableDoubleArray A = FilledDoubles();
  std::vector<double> copy(kElements, 1.0);
  for (auto _ : state) {
    std::memcpy(copy.data(), A.Pointer(), sizeof(double) * kElements);
    benchmark::ClobberMemory();
  }
  Report(state, sizeof(double));
}
BENCHMARK(BM_MemcpyDoubles)->Unit(benchmark::kMillisecond);

// Conversion into a result that is allocated afresh each time, as
// ConvertToFloat does, against a plain loop into a fresh buffer.
void BM_ConvertToFloat(benchmark::State& state) {
  QXMutableDoubleArray A = FilledDoubles();
  for (auto _ : state) {
    QXMutableFloatArray F = ConvertToFloat(A);
    benchmark::DoNotOptimize(F.Pointer());
  }
  Report(state, sizeof(double));
}
BENCHMARK(BM_ConvertToFloat)->Unit(benchmark::kMillisecond);

void BM_PlainLoopToFreshFloats(benchmark::State& state) {
  QXMutableDoubleArray A = FilledDoubles();
  const double* from = A.Pointer();
  for (auto _ : state) {
    std::unique_ptr<float[]> to(new float[kElements]);
    for (int i = 0; i < kElements; i++) to[i] = static_cast<float>(from[i]);
    benchmark::DoNotOptimize(to.get());
  }
  Report(state, sizeof(double));
}
BENCHMARK(BM_PlainLoopToFreshFloats)->Unit(benchmark::kMillisecond);

// The element loops alone, into buffers touched beforehand.
void BM_ConvertArrayDoubleToFloat(benchmark::State& state) {
  QXMutableDoubleArray A = FilledDoubles();
  QXMutableFloatArray F(kElements, 1, 1);
  F = 0.0f;
  for (auto _ : state) {
    ConvertArray(A, F);
    benchmark::ClobberMemory();
  }
  Report(state, sizeof(double));
}
BENCHMARK(BM_ConvertArrayDoubleToFloat)->Unit(benchmark::kMillisecond);

void BM_PlainLoopDoubleToFloat(benchmark::State& state) {
  QXMutableDoubleArray A = FilledDoubles();
  std::vector<float> to(kElements, 0.0f);
  const double* from = A.Pointer();
  for (auto _ : state) {
    for (int i = 0; i < kElements; i++) to[i] = static_cast<float>(from[i]);
    benchmark::ClobberMemory();
  }
  Report(state, sizeof(double));
}
BENCHMARK(BM_PlainLoopDoubleToFloat)->Unit(benchmark::kMillisecond);

// Saturating conversion to int against the bare cast (valid here because
// every value lies in the int range).
void BM_ConvertArrayDoubleToInt(benchmark::State& state) {
  QXMutableDoubleArray A = FilledDoubles();
  QXMutableIntArray I(kElements, 1, 1);
  I = 0;
  for (auto _ : state) {
    ConvertArray(A, I);
    benchmark::ClobberMemory();
  }
  Report(state, sizeof(double));
}
BENCHMARK(BM_ConvertArrayDoubleToInt)->Unit(benchmark::kMillisecond);

void BM_PlainLoopDoubleToInt(benchmark::State& state) {
  QXMutableDoubleArray A = FilledDoubles();
  std::vector<int> to(kElements, 0);
  const double* from = A.Pointer();
  for (auto _ : state) {
    for (int i = 0; i < kElements; i++) to[i] = static_cast<int>(from[i]);
    benchmark::ClobberMemory();
  }
  Report(state, sizeof(double));
}
BENCHMARK(BM_PlainLoopDoubleToInt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
