// Time series: adding 100,000 numbers to a binary data file and to a Matlab
// file, each beside the same bytes written with plain stdio (and, to show
// where the time goes, with one pwrite per entry as the storages write),
// and looking up times in a series of a million values beside
// std::lower_bound over the same times. The files live under /tmp and are
// removed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "QXDataContainer.h"
#include "QXDataFile.h"
#include "QXMatlabDataFile.h"
#include "QXSeriesRealNumber.h"

namespace {

constexpr int kAdds = 100000;
constexpr int kLookupValues = 1000000;
constexpr int kLookups = 1 << 16;

std::string TempPath(const std::string& what) {
  return "/tmp/qxseries_bench_" + std::to_string(static_cast<long>(getpid())) + "_" + what;
}

// What the benchmarked program does: a new file, one number series, kAdds
// adds (each writes the time entry and the value entry and flushes), and the
// summaries written when the series goes.
template <class Storage>
void AddNumbers(const std::string& path) {
  Storage file(path, QXFile::NewReadWrite);
  QXSeriesRealNumber energy(file, "Energy");
  for (int k = 0; k < kAdds; k++) energy.Add(0.25 * k, 0.5 * k);
}

std::vector<unsigned char> WholeFile(const std::string& path) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  std::fseek(in, 0, SEEK_END);
  std::vector<unsigned char> bytes(size_t(std::ftell(in)));
  std::fseek(in, 0, SEEK_SET);
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
  std::fclose(in);
  bytes.resize(got);
  return bytes;
}

// Where each record of a Matlab file written on this machine starts: a
// 20-byte header (type, rows, columns, imaginary flag, name length), the
// name, then rows x columns elements of the type's size.
std::vector<size_t> MatlabRecordStarts(const std::vector<unsigned char>& bytes) {
  static const size_t elementSize[] = {8, 4, 4, 2, 2, 1};
  std::vector<size_t> starts;
  for (size_t at = 0; at + 20 <= bytes.size();) {
    int32_t header[5];
    std::memcpy(header, bytes.data() + at, sizeof header);
    const size_t element = elementSize[(header[0] % 1000 / 10) % 6];
    starts.push_back(at);
    at += 20 + size_t(header[4]) +
          size_t(header[1]) * size_t(header[2]) * element * (header[3] != 0 ? 2 : 1);
  }
  return starts;
}

// Where each entry of a binary data file starts: after the 24-byte file
// header, each entry begins with its whole length, 8 bytes big-endian.
std::vector<size_t> DataFileRecordStarts(const std::vector<unsigned char>& bytes) {
  std::vector<size_t> starts;
  for (size_t at = 24; at + 8 <= bytes.size();) {
    uint64_t length = 0;
    for (int b = 0; b < 8; b++) length = (length << 8) | bytes[at + size_t(b)];
    starts.push_back(at);
    at += length;
  }
  return starts;
}

// The bytes a series writes and where its entries start: the "Seq_" entry
// (after the file header, if any), each add's time entry and value entry,
// then the value range and the time list written when the series goes; the
// file's size ends the list.
struct SeriesBytes {
  std::vector<unsigned char> bytes;
  std::vector<size_t> starts;
};

template <class Storage>
SeriesBytes SplitAsWritten(std::vector<size_t> (*recordStarts)(const std::vector<unsigned char>&)) {
  const std::string path = TempPath("layout");
  AddNumbers<Storage>(path);
  SeriesBytes split;
  split.bytes = WholeFile(path);
  std::remove(path.c_str());
  split.starts = recordStarts(split.bytes);
  split.starts.push_back(split.bytes.size());
  if (split.starts.size() != size_t(1 + 2 * kAdds + 2 + 1)) return SeriesBytes();
  return split;
}

const SeriesBytes& DataFileBytes() {
  static const SeriesBytes split = SplitAsWritten<QXDataFile>(DataFileRecordStarts);
  return split;
}

const SeriesBytes& MatlabBytes() {
  static const SeriesBytes split = SplitAsWritten<QXMatlabDataFile>(MatlabRecordStarts);
  return split;
}

template <class Storage>
void BM_SeriesAdd(benchmark::State& state) {
  const std::string path = TempPath("series");
  for (auto _ : state) AddNumbers<Storage>(path);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kAdds);
}
BENCHMARK_TEMPLATE(BM_SeriesAdd, QXDataFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_SeriesAdd, QXMatlabDataFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: the same bytes in the same folder with stdio: fopen, one fwrite
// of the file header and the "Seq_" entry and fflush; for each add one
// fwrite of its time entry and one of its value entry, then fflush (the
// series flushes after every add); one fwrite each of the value range and
// the time list; fclose.
void BM_FwriteAsTheSeries(benchmark::State& state, const SeriesBytes& (*written)()) {
  const SeriesBytes& split = written();
  const std::vector<size_t>& starts = split.starts;
  if (starts.empty()) state.SkipWithError("unexpected file layout");
  const std::string path = TempPath("fwrite");
  auto write = [&split, &starts](std::FILE* out, size_t from, size_t to) {
    std::fwrite(split.bytes.data() + starts[from], 1, starts[to] - starts[from], out);
  };
  for (auto _ : state) {
    if (starts.empty()) break;
    std::FILE* out = std::fopen(path.c_str(), "w+b");
    std::fwrite(split.bytes.data(), 1, starts[1], out);
    std::fflush(out);
    for (size_t entry = 1; entry < 1 + 2 * size_t(kAdds); entry += 2) {
      write(out, entry, entry + 1);
      write(out, entry + 1, entry + 2);
      std::fflush(out);
    }
    write(out, starts.size() - 3, starts.size() - 2);
    write(out, starts.size() - 2, starts.size() - 1);
    std::fclose(out);
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kAdds);
}
BENCHMARK_CAPTURE(BM_FwriteAsTheSeries, DataFile, DataFileBytes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FwriteAsTheSeries, Matlab, MatlabBytes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Where the time between the two goes: the same bytes written as the
// storages write them, each entry at once with its own pwrite (two an add),
// and with the fstat the storages make before each save to see that the
// file has not changed since it was opened.
void BM_PwriteEachEntry(benchmark::State& state, const SeriesBytes& (*written)(), bool withFstat) {
  const SeriesBytes& split = written();
  const std::vector<size_t>& starts = split.starts;
  if (starts.empty()) state.SkipWithError("unexpected file layout");
  const std::string path = TempPath("pwrite");
  for (auto _ : state) {
    if (starts.empty()) break;
    const int out = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    const long header = long(starts[0]);
    if (header > 0 && pwrite(out, split.bytes.data(), size_t(header), 0) != header) break;
    for (size_t entry = 0; entry + 1 < starts.size(); entry++) {
      struct stat status;
      if (withFstat && fstat(out, &status) != 0) break;
      const long size = long(starts[entry + 1] - starts[entry]);
      if (pwrite(out, split.bytes.data() + starts[entry], size_t(size), long(starts[entry])) !=
          size)
        break;
    }
    close(out);
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kAdds);
}
BENCHMARK_CAPTURE(BM_PwriteEachEntry, DataFile, DataFileBytes, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PwriteEachEntry, DataFileWithFstat, DataFileBytes, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PwriteEachEntry, Matlab, MatlabBytes, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PwriteEachEntry, MatlabWithFstat, MatlabBytes, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A series whose lookup is called directly.
class LookupSeries : public QXSeriesRealNumber {
 public:
  using QXSeriesRealNumber::IndexForTime;
  using QXSeriesRealNumber::QXSeriesRealNumber;
};

// A million values in memory, made once. Times closer than a relative 1e-6
// name one value, so evenly spaced times cannot go on this long; the times
// k^3 / 10^9 stay apart.
const LookupSeries& MillionValues() {
  static QXDataContainer container;
  static LookupSeries series(container, "S");
  static const bool filled = [] {
    series.SetSaveEachTime(false);
    for (int k = 0; k < kLookupValues; k++) series.Add(k, 1e-9 * k * k * k);
    return true;
  }();
  (void)filled;
  return series;
}

// Times between two saved ones, each pair as likely as any other, in no
// order, the same on every run.
std::vector<double> LookupTimes(const std::vector<double>& saved) {
  std::mt19937_64 random(12);
  std::uniform_int_distribution<size_t> pair(0, saved.size() - 2);
  std::uniform_real_distribution<double> between(0, 1);
  std::vector<double> times(kLookups);
  for (double& t : times) {
    const size_t k = pair(random);
    t = saved[k] + between(random) * (saved[k + 1] - saved[k]);
  }
  return times;
}

std::vector<double> SavedTimes() {
  const QXDoubleArray stored = MillionValues().TimeValues();
  return std::vector<double>(stored.Pointer(), stored.Pointer() + stored.Length());
}

void BM_IndexForTime(benchmark::State& state) {
  const LookupSeries& series = MillionValues();
  const std::vector<double> queries = LookupTimes(SavedTimes());
  for (auto _ : state) {
    long sum = 0;
    for (double t : queries) sum += series.IndexForTime(t);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_IndexForTime)->Unit(benchmark::kMicrosecond);

// Baseline: std::lower_bound over the same times in a plain vector.
void BM_LowerBound(benchmark::State& state) {
  const std::vector<double> times = SavedTimes();
  const std::vector<double> queries = LookupTimes(times);
  for (auto _ : state) {
    long sum = 0;
    for (double t : queries) sum += std::lower_bound(times.begin(), times.end(), t) - times.begin();
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_LowerBound)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
