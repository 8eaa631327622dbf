// A 256^3 float mesh on a placed grid, each measurement beside a plain
// baseline over the same 64 MiB of floats:
// - BoundingBox and ValueRange of the mesh, against a loop that takes the
//   smallest and largest float;
// - writing the mesh into a binary data file and reading it back, against
//   fwrite and fread of the same bytes to a file in the same directory (/tmp),
//   read into a buffer touched beforehand. The files are removed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "QXDataFile.h"
#include "QXMesh3D.h"

namespace {

constexpr int kSide = 256;
constexpr int64_t kValues = int64_t{kSide} * kSide * kSide;

std::string TempPath(const char* what) {
  return "/tmp/qxmesh3d_bench_" + std::to_string(static_cast<long>(getpid())) + "_" + what;
}

const QXMesh3D& Mesh() {
  static const QXMesh3D mesh = [] {
    QXMutableFloatArray values(kSide, kSide, kSide);
    float* to = values.Pointer();
    for (int64_t i = 0; i < kValues; i++) to[i] = static_cast<float>((i * 7919) % 100003) - 5e4f;
    return QXMesh3D(values, QXMesh3DGrid(QXPoint3D(-1, -1, -1), 0.01, 0.01, 0.02, 0, 0, 0));
  }();
  return mesh;
}

void CountBytes(benchmark::State& state, int passes) {
  state.SetBytesProcessed(state.iterations() * kValues * 4 * passes);
}

void BM_BoundingBoxAndValueRange(benchmark::State& state) {
  const QXMesh3D& mesh = Mesh();
  for (auto _ : state) {
    benchmark::DoNotOptimize(BoundingBox(mesh));
    benchmark::DoNotOptimize(ValueRange(mesh));
  }
  CountBytes(state, 1);
}
BENCHMARK(BM_BoundingBoxAndValueRange)->Unit(benchmark::kMillisecond);

void BM_RawMinMax(benchmark::State& state) {
  const float* values = Mesh().Data().Pointer();
  for (auto _ : state) {
    float low = values[0];
    float high = values[0];
    for (int64_t i = 1; i < kValues; i++) {
      low = values[i] < low ? values[i] : low;
      high = values[i] > high ? values[i] : high;
    }
    benchmark::DoNotOptimize(low);
    benchmark::DoNotOptimize(high);
  }
  CountBytes(state, 1);
}
BENCHMARK(BM_RawMinMax)->Unit(benchmark::kMillisecond);

void BM_DataFileWriteRead(benchmark::State& state) {
  const std::string path = TempPath("mesh.vbf");
  for (auto _ : state) {
    {
      QXDataFile file(path, QXFile::NewReadWrite);
      WriteToFile(file, "rho", Mesh());
    }
    const QXDataFile file(path, QXFile::ReadOnly);
    QXMesh3D read;
    ReadFromFile(file, "rho", read);
    benchmark::DoNotOptimize(read.Data().Pointer());
  }
  std::remove(path.c_str());
  CountBytes(state, 2);
}
BENCHMARK(BM_DataFileWriteRead)->Unit(benchmark::kMillisecond);

void BM_RawWriteRead(benchmark::State& state) {
  const std::string path = TempPath("raw");
  const float* values = Mesh().Data().Pointer();
  std::vector<float> buffer(static_cast<size_t>(kValues), 1.0f);
  for (auto _ : state) {
    std::FILE* out = std::fopen(path.c_str(), "w+b");
    benchmark::DoNotOptimize(std::fwrite(values, sizeof(float), buffer.size(), out));
    std::fclose(out);
    std::FILE* in = std::fopen(path.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(buffer.data(), sizeof(float), buffer.size(), in));
    std::fclose(in);
    benchmark::ClobberMemory();
  }
  std::remove(path.c_str());
  CountBytes(state, 2);
}
BENCHMARK(BM_RawWriteRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
