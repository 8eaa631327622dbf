// The variable types' summaries and small-value storage, each beside a plain
// loop doing the same work:
// - ValueRange of 10^7 doubles against a min/max loop;
// - BoundingBox2D of 5 * 10^6 points (10^7 doubles) against a loop over (x, y);
// - writing 100,000 points into a new Matlab file and reading them back,
//   against stdio writing and reading the same records.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "QXMatlabDataFile.h"
#include "QXPoint.h"
#include "QXRegion.h"

namespace {

constexpr int kNumbers = 10000000;
constexpr int kPoints = 100000;

QXMutableDoubleArray RandomNumbers(int m, int n) {
  QXMutableDoubleArray A(m, n, 1);
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> uniform(-1e6, 1e6);
  for (int i = 0; i < A.Length(); i++) A(i) = uniform(random);
  return A;
}

const QXMutableDoubleArray& Numbers() {
  static const QXMutableDoubleArray numbers = RandomNumbers(kNumbers, 1);
  return numbers;
}

const QXMutableDoubleArray& Points() {
  static const QXMutableDoubleArray points = RandomNumbers(2, kNumbers / 2);
  return points;
}

void BM_ValueRange(benchmark::State& state) {
  const QXDoubleArray& A = Numbers();
  for (auto _ : state) benchmark::DoNotOptimize(ValueRange(A));
  state.SetBytesProcessed(state.iterations() * int64_t{kNumbers} * 8);
}
BENCHMARK(BM_ValueRange)->Unit(benchmark::kMillisecond);

void BM_RawMinMax(benchmark::State& state) {
  const double* p = Numbers().Pointer();
  for (auto _ : state) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int i = 0; i < kNumbers; i++) {
      if (p[i] < low) low = p[i];
      if (p[i] > high) high = p[i];
    }
    benchmark::DoNotOptimize(low);
    benchmark::DoNotOptimize(high);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kNumbers} * 8);
}
BENCHMARK(BM_RawMinMax)->Unit(benchmark::kMillisecond);

void BM_BoundingBox2D(benchmark::State& state) {
  const QXDoubleArray& A = Points();
  for (auto _ : state) benchmark::DoNotOptimize(BoundingBox2D(A));
  state.SetBytesProcessed(state.iterations() * int64_t{kNumbers} * 8);
}
BENCHMARK(BM_BoundingBox2D)->Unit(benchmark::kMillisecond);

void BM_RawBoundingBox2D(benchmark::State& state) {
  const double* p = Points().Pointer();
  for (auto _ : state) {
    const double inf = std::numeric_limits<double>::infinity();
    double xmin = inf, xmax = -inf, ymin = inf, ymax = -inf;
    for (int i = 0; i < kNumbers; i += 2) {
      if (p[i] < xmin) xmin = p[i];
      if (p[i] > xmax) xmax = p[i];
      if (p[i + 1] < ymin) ymin = p[i + 1];
      if (p[i + 1] > ymax) ymax = p[i + 1];
    }
    benchmark::DoNotOptimize(xmin);
    benchmark::DoNotOptimize(xmax);
    benchmark::DoNotOptimize(ymin);
    benchmark::DoNotOptimize(ymax);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kNumbers} * 8);
}
BENCHMARK(BM_RawBoundingBox2D)->Unit(benchmark::kMillisecond);

std::string TempPath() { return "/tmp/qx_variables_bench_" + std::to_string(getpid()) + ".mat"; }

std::string PointName(int i) { return "point" + std::to_string(i); }

void BM_PointsWriteRead(benchmark::State& state) {
  const std::string path = TempPath();
  for (auto _ : state) {
    {
      QXMatlabDataFile file(path, QXFile::NewReadWrite);
      for (int i = 0; i < kPoints; i++) WriteToFile(file, PointName(i), QXPoint2D(i, -i));
    }
    const QXMatlabDataFile file(path, QXFile::ReadOnly);
    double sum = 0;
    for (int i = 0; i < kPoints; i++) {
      QXPoint2D p;
      ReadFromFile(file, PointName(i), p);
      sum += p.x;
    }
    benchmark::DoNotOptimize(sum);
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PointsWriteRead)->Unit(benchmark::kMillisecond);

// The same records (a little-endian MAT v4 header, the name, two doubles)
// written and read back sequentially with stdio.
void BM_RawPointsWriteRead(benchmark::State& state) {
  const std::string path = TempPath();
  for (auto _ : state) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    for (int i = 0; i < kPoints; i++) {
      const std::string name = PointName(i);
      const int32_t header[5] = {0, 2, 1, 0, static_cast<int32_t>(name.size() + 1)};
      const double xy[2] = {static_cast<double>(i), static_cast<double>(-i)};
      std::fwrite(header, sizeof header, 1, out);
      std::fwrite(name.c_str(), name.size() + 1, 1, out);
      std::fwrite(xy, sizeof xy, 1, out);
    }
    std::fclose(out);
    std::FILE* in = std::fopen(path.c_str(), "rb");
    double sum = 0;
    int32_t header[5];
    char name[64];
    double xy[2];
    while (std::fread(header, sizeof header, 1, in) == 1) {
      if (header[4] <= 0 || header[4] > 64) break;
      if (std::fread(name, static_cast<size_t>(header[4]), 1, in) != 1) break;
      if (std::fread(xy, sizeof xy, 1, in) != 1) break;
      sum += xy[0];
    }
    std::fclose(in);
    benchmark::DoNotOptimize(sum);
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_RawPointsWriteRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
