// QXFile::ReadBinary of a 256 MiB double array from a file in the page cache,
// beside a plain fread into a freshly malloc'ed buffer and into a buffer
// touched beforehand. Every run opens the file anew. The fresh array and the
// fresh buffer are allocated anew each time, as a reader of a data file would.
// ReadBinary and fread into one touched array show the read alone, without
// first-touch faults.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "QXDoubleArray.h"
#include "QXFile.h"

namespace {

constexpr int kElements = 32 << 20;  // 256 MiB of doubles
constexpr size_t kBytes = size_t(kElements) * sizeof(double);

std::string filePath;

// Writes the test file in /tmp and reads it once so that it is in the page cache.
bool CreateFile() {
  char pattern[] = "/tmp/qxfilebench.XXXXXX";
  const int fd = mkstemp(pattern);
  if (fd < 0) return false;
  close(fd);
  filePath = pattern;
  std::vector<double> values(size_t(1) << 20);
  for (size_t i = 0; i < values.size(); i++) values[i] = static_cast<double>(i);
  FILE* out = std::fopen(pattern, "wb");
  if (out == nullptr) return false;
  bool written = true;
  for (size_t done = 0; done < kBytes; done += values.size() * sizeof(double))
    written =
        written && std::fwrite(values.data(), sizeof(double), values.size(), out) == values.size();
  written = std::fclose(out) == 0 && written;
  std::vector<char> sink(size_t(1) << 20);
  FILE* in = std::fopen(pattern, "rb");
  if (in == nullptr) return false;
  while (std::fread(sink.data(), 1, sink.size(), in) > 0) {
  }
  std::fclose(in);
  return written;
}

size_t FreadInto(void* buffer) {
  FILE* in = std::fopen(filePath.c_str(), "rb");
  if (in == nullptr) return 0;
  const size_t read = std::fread(buffer, 1, kBytes, in);
  std::fclose(in);
  return read;
}

void BM_QXFileReadBinary(benchmark::State& state) {
  for (auto _ : state) {
    QXMutableDoubleArray values(kElements, 1, 1);
    QXFile file(filePath, QXFile::ReadOnly);
    if (!file.ReadBinary(values)) state.SkipWithError("ReadBinary failed");
    benchmark::DoNotOptimize(values.Pointer());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

// The read alone: the same touched array filled by ReadBinary and by fread.
void BM_QXFileReadBinaryTouchedArray(benchmark::State& state) {
  QXMutableDoubleArray values(kElements, 1, 1);
  values = 1.0;
  for (auto _ : state) {
    QXFile file(filePath, QXFile::ReadOnly);
    if (!file.ReadBinary(values)) state.SkipWithError("ReadBinary failed");
    benchmark::DoNotOptimize(values.Pointer());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

void BM_FreadTouchedArray(benchmark::State& state) {
  QXMutableDoubleArray values(kElements, 1, 1);
  values = 1.0;
  for (auto _ : state) {
    if (FreadInto(values.Pointer()) != kBytes) state.SkipWithError("fread failed");
    benchmark::DoNotOptimize(values.Pointer());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

void BM_FreadFreshMalloc(benchmark::State& state) {
  for (auto _ : state) {
    void* buffer = std::malloc(kBytes);
    if (FreadInto(buffer) != kBytes) state.SkipWithError("fread failed");
    benchmark::DoNotOptimize(buffer);
    std::free(buffer);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

void BM_FreadTouchedBuffer(benchmark::State& state) {
  std::vector<char> buffer(kBytes, 1);
  for (auto _ : state) {
    if (FreadInto(buffer.data()) != kBytes) state.SkipWithError("fread failed");
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

// Interleaved registration keeps slow drifts of the machine out of the ratios.
void RegisterAll() {
  for (int round = 0; round < 3; round++) {
    benchmark::RegisterBenchmark("QXFileReadBinary", BM_QXFileReadBinary)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("FreadFreshMalloc", BM_FreadFreshMalloc)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("QXFileReadBinaryTouchedArray", BM_QXFileReadBinaryTouchedArray)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("FreadTouchedArray", BM_FreadTouchedArray)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("FreadTouchedBuffer", BM_FreadTouchedBuffer)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (!CreateFile()) {
    std::fprintf(stderr, "Could not create the test file in /tmp\n");
    if (!filePath.empty()) std::remove(filePath.c_str());
    return 1;
  }
  // The first use of memory since boot is slow on a virtual machine whatever
  // reads into it; pay that once here rather than in the first benchmark.
  {
    QXMutableDoubleArray warmUp(kElements, 1, 1);
    QXFile(filePath, QXFile::ReadOnly).ReadBinary(warmUp);
    std::vector<char> fresh(kBytes);
    FreadInto(fresh.data());
  }
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(filePath.c_str());
  return 0;
}
