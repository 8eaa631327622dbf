// Opening (indexing) a Matlab v4 file of many small records, and reading one
// 256 MiB double record in the machine's byte order and in the other one,
// each beside a plain stdio baseline over the same bytes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "QXDataStorage.h"
#include "QXMatlabDataFile.h"

namespace {

constexpr int kSmallRecords = 100000;
constexpr int kBigElements = 32 << 20;  // 256 MiB of doubles
const char* const kBigName = "big";

std::string TempPath(const char* stem) {
  return "/tmp/qx_matlab_bench_" + std::string(stem) + "_" + std::to_string(getpid()) + ".mat";
}

// The benchmark files, made on first use and removed when the program ends.
class QXBenchFiles {
 public:
  ~QXBenchFiles() {
    for (const std::string& path : made) std::remove(path.c_str());
  }
  const std::string& Small() { return Make(small, "small", &WriteSmall); }
  const std::string& BigNative() { return Make(bigNative, "native", &WriteBigNative); }
  const std::string& BigSwapped() { return Make(bigSwapped, "swapped", &WriteBigSwapped); }

 private:
  const std::string& Make(std::string& path, const char* stem, void (*write)(const std::string&)) {
    if (path.empty()) {
      path = TempPath(stem);
      write(path);
      made.push_back(path);
    }
    return path;
  }
  static void WriteSmall(const std::string& path) {
    QXMatlabDataFile file(path, QXFile::NewReadWrite);
    for (int i = 0; i < kSmallRecords; i++) file.Save(i * 0.5, "value_" + std::to_string(i));
  }
  static void WriteBigNative(const std::string& path) {
    QXMutableDoubleArray A(kBigElements, 1, 1);
    for (int i = 0; i < kBigElements; i++) A(i) = i;
    QXMatlabDataFile file(path, QXFile::NewReadWrite);
    file.Save(A, kBigName);
  }
  // Header and elements in the byte order the machine does not use.
  static void WriteBigSwapped(const std::string& path) {
    const bool big = !QXDataStorage::RunningOnBigEndianMachine();
    int32_t header[5] = {big ? 1000 : 0, kBigElements, 1, 0, 4};
    for (int32_t& field : header)
      field = static_cast<int32_t>(__builtin_bswap32(static_cast<uint32_t>(field)));
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return;
    std::fwrite(header, 1, sizeof header, out);
    std::fwrite("big", 1, 4, out);
    std::vector<uint64_t> chunk(1 << 20);
    for (int start = 0; start < kBigElements; start += static_cast<int>(chunk.size())) {
      for (size_t i = 0; i < chunk.size(); i++) {
        const double v = start + static_cast<double>(i);
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        chunk[i] = __builtin_bswap64(bits);
      }
      std::fwrite(chunk.data(), sizeof(uint64_t), chunk.size(), out);
    }
    std::fclose(out);
  }

  std::string small, bigNative, bigSwapped;
  std::vector<std::string> made;
};

QXBenchFiles files;

// --- Indexing ---------------------------------------------------------------

void BM_IndexSmallRecords(benchmark::State& state) {
  const std::string& path = files.Small();
  for (auto _ : state) {
    QXMatlabDataFile file(path, QXFile::ReadOnly);
    benchmark::DoNotOptimize(file.Contains("value_0"));
  }
  state.SetItemsProcessed(state.iterations() * kSmallRecords);
}
BENCHMARK(BM_IndexSmallRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: the same walk through stdio, reading every header, name and
// small data block, building nothing.
void BM_IndexBaselineStdioWalk(benchmark::State& state) {
  const std::string& path = files.Small();
  for (auto _ : state) {
    FILE* in = std::fopen(path.c_str(), "rb");
    int32_t header[5];
    char bytes[512];
    long records = 0;
    while (std::fread(header, 1, sizeof header, in) == sizeof header) {
      const size_t rest = static_cast<size_t>(header[4]) + 8;
      if (rest > sizeof bytes || std::fread(bytes, 1, rest, in) != rest) break;
      records++;
    }
    std::fclose(in);
    benchmark::DoNotOptimize(records);
  }
  state.SetItemsProcessed(state.iterations() * kSmallRecords);
}
BENCHMARK(BM_IndexBaselineStdioWalk)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- Reading one large record -----------------------------------------------

void ReadBig(benchmark::State& state, const std::string& path) {
  QXMatlabDataFile file(path, QXFile::ReadOnly);
  for (auto _ : state) {
    QXDoubleArray A = file.ReadDoubleArray(kBigName);
    if (A.Length() != kBigElements || A(kBigElements - 1) != kBigElements - 1)
      state.SkipWithError("wrong values");
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kBigElements) * 8);
}

void BM_ReadDoubleArrayNativeOrder(benchmark::State& state) { ReadBig(state, files.BigNative()); }
BENCHMARK(BM_ReadDoubleArrayNativeOrder)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

void BM_ReadDoubleArraySwappedOrder(benchmark::State& state) { ReadBig(state, files.BigSwapped()); }
BENCHMARK(BM_ReadDoubleArraySwappedOrder)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

// Baselines: one fread of the record's bytes, into a buffer allocated for
// each read (as a plain reader would) and into one touched beforehand (the
// cost of the copy from the page cache alone).
void FreadBig(benchmark::State& state, bool freshBuffer) {
  const std::string& path = files.BigNative();
  const size_t bytes = size_t(kBigElements) * 8;
  void* kept = freshBuffer ? nullptr : std::malloc(bytes);
  if (kept != nullptr) std::memset(kept, 1, bytes);
  FILE* in = std::fopen(path.c_str(), "rb");
  for (auto _ : state) {
    void* buffer = freshBuffer ? std::malloc(bytes) : kept;
    std::fseek(in, 24, SEEK_SET);
    if (std::fread(buffer, 1, bytes, in) != bytes) state.SkipWithError("short read");
    benchmark::DoNotOptimize(buffer);
    if (freshBuffer) std::free(buffer);
  }
  std::fclose(in);
  std::free(kept);
  state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}

void BM_FreadBaselineFreshBuffer(benchmark::State& state) { FreadBig(state, true); }
BENCHMARK(BM_FreadBaselineFreshBuffer)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_FreadBaselineTouchedBuffer(benchmark::State& state) { FreadBig(state, false); }
BENCHMARK(BM_FreadBaselineTouchedBuffer)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
