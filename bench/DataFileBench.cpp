// The binary data file: appending many small entries, indexing a file of
// them, and reading one large entry, each beside a plain stdio baseline over
// the same bytes. The files live under /tmp and are removed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "QXDataFile.h"

namespace {

constexpr int kSmallEntries = 100000;
constexpr int kLargeElements = 32 << 20;  // 32 Mi doubles: 256 MiB
constexpr long kEntryHeaderSize = 28;

std::string TempPath(const char* what) {
  return "/tmp/qxdatafile_bench_" + std::to_string(static_cast<long>(getpid())) + "_" + what +
         ".vbf";
}

std::vector<std::string> SmallNames() {
  std::vector<std::string> names(kSmallEntries);
  char name[16];
  for (int i = 0; i < kSmallEntries; i++) {
    std::snprintf(name, sizeof name, "v%06d", i);
    names[size_t(i)] = name;
  }
  return names;
}

void WriteSmallEntries(const std::string& path, const std::vector<std::string>& names) {
  QXDataFile file(path, QXFile::NewReadWrite);
  for (int i = 0; i < kSmallEntries; i++) file.Save(double(i), names[size_t(i)]);
}

// A file of 100,000 one-number entries, written once.
const std::string& SmallFile() {
  static const std::string path = [] {
    std::string p = TempPath("small");
    WriteSmallEntries(p, SmallNames());
    return p;
  }();
  return path;
}

// A file holding one 256 MiB double entry, written once; its data start at
// the returned offset.
const std::string& LargeFile(long* dataOffset) {
  static long offset = 0;
  static const std::string path = [] {
    std::string p = TempPath("large");
    QXMutableDoubleArray A(kLargeElements, 1, 1);
    for (int i = 0; i < kLargeElements; i++) A(i) = i * 0.25;
    QXDataFile file(p, QXFile::NewReadWrite);
    file.Save(A, "large");
    offset = 24 + kEntryHeaderSize + 6;
    return p;
  }();
  *dataOffset = offset;
  return path;
}

std::vector<char> WholeFile(const std::string& path) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  std::fseek(in, 0, SEEK_END);
  std::vector<char> bytes(size_t(std::ftell(in)));
  std::fseek(in, 0, SEEK_SET);
  size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
  std::fclose(in);
  bytes.resize(got);
  return bytes;
}

void BM_SaveSmallEntries(benchmark::State& state) {
  const std::vector<std::string> names = SmallNames();
  const std::string path = TempPath("save");
  for (auto _ : state) WriteSmallEntries(path, names);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kSmallEntries);
}
BENCHMARK(BM_SaveSmallEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: the same bytes written with one fwrite per entry.
void BM_FwriteSmallEntries(benchmark::State& state) {
  const std::vector<char> bytes = WholeFile(SmallFile());
  const size_t entrySize = (bytes.size() - 24) / kSmallEntries;
  const std::string path = TempPath("fwrite");
  for (auto _ : state) {
    std::FILE* out = std::fopen(path.c_str(), "w+b");
    std::fwrite(bytes.data(), 1, 24, out);
    for (int i = 0; i < kSmallEntries; i++)
      std::fwrite(bytes.data() + 24 + size_t(i) * entrySize, 1, entrySize, out);
    std::fclose(out);
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kSmallEntries);
}
BENCHMARK(BM_FwriteSmallEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

// The cost of writing each entry through to the file at once: the same
// bytes with one pwrite per entry, as the storage does (without its check of
// the file's size before each save).
void BM_PwriteSmallEntries(benchmark::State& state) {
  const std::vector<char> bytes = WholeFile(SmallFile());
  const size_t entrySize = (bytes.size() - 24) / kSmallEntries;
  const std::string path = TempPath("pwrite");
  for (auto _ : state) {
    const int out = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    long at = 0;
    at += pwrite(out, bytes.data(), 24, at);
    for (int i = 0; i < kSmallEntries; i++)
      at += pwrite(out, bytes.data() + 24 + size_t(i) * entrySize, entrySize, at);
    close(out);
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kSmallEntries);
}
BENCHMARK(BM_PwriteSmallEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_IndexSmallEntries(benchmark::State& state) {
  const std::string& path = SmallFile();
  for (auto _ : state) {
    QXDataFile file(path, QXFile::ReadOnly);
    if (!file.Contains("v099999")) state.SkipWithError("index incomplete");
  }
  state.SetItemsProcessed(state.iterations() * kSmallEntries);
}
BENCHMARK(BM_IndexSmallEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: fread the whole file and hop from block length to block length,
// keeping nothing.
void BM_FreadAndWalkSmallEntries(benchmark::State& state) {
  const std::string& path = SmallFile();
  for (auto _ : state) {
    const std::vector<char> bytes = WholeFile(path);
    size_t at = 24, entries = 0;
    while (at + 8 <= bytes.size()) {
      uint64_t length = 0;
      for (int b = 0; b < 8; b++)
        length = (length << 8) | static_cast<unsigned char>(bytes[at + b]);
      at += length;
      entries++;
    }
    benchmark::DoNotOptimize(entries);
  }
  state.SetItemsProcessed(state.iterations() * kSmallEntries);
}
BENCHMARK(BM_FreadAndWalkSmallEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadDoubleArray256MB(benchmark::State& state) {
  long offset = 0;
  const std::string& path = LargeFile(&offset);
  QXDataFile file(path, QXFile::ReadOnly);
  for (auto _ : state) {
    QXDoubleArray A = file.ReadDoubleArray("large");
    if (A.Length() != kLargeElements || A(kLargeElements - 1) != (kLargeElements - 1) * 0.25)
      state.SkipWithError("wrong values");
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kLargeElements) * 8);
}
BENCHMARK(BM_ReadDoubleArray256MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: one fread of the same bytes into a freshly allocated buffer, as
// the array read has to fill fresh memory too; no byte swap.
void BM_Fread256MB(benchmark::State& state) {
  long offset = 0;
  const std::string& path = LargeFile(&offset);
  std::FILE* in = std::fopen(path.c_str(), "rb");
  const size_t bytes = size_t(kLargeElements) * 8;
  for (auto _ : state) {
    char* buffer = static_cast<char*>(std::malloc(bytes));
    std::fseek(in, offset, SEEK_SET);
    if (std::fread(buffer, 1, bytes, in) != bytes) state.SkipWithError("short read");
    benchmark::DoNotOptimize(buffer);
    std::free(buffer);
  }
  std::fclose(in);
  state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}
BENCHMARK(BM_Fread256MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: the same fread into a buffer touched beforehand, the read alone.
void BM_FreadTouched256MB(benchmark::State& state) {
  long offset = 0;
  const std::string& path = LargeFile(&offset);
  std::FILE* in = std::fopen(path.c_str(), "rb");
  const size_t bytes = size_t(kLargeElements) * 8;
  std::vector<char> buffer(bytes, 1);
  for (auto _ : state) {
    std::fseek(in, offset, SEEK_SET);
    if (std::fread(buffer.data(), 1, bytes, in) != bytes) state.SkipWithError("short read");
    benchmark::DoNotOptimize(buffer.data());
  }
  std::fclose(in);
  state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}
BENCHMARK(BM_FreadTouched256MB)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(TempPath("small").c_str());
  std::remove(TempPath("large").c_str());
  return 0;
}
