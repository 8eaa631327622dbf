// The content report tool on large files: the report of 10,000 sequences of
// 100 time values each, and the -all listing of 100,000 small records. Each
// runs with standard error sent to /dev/null, beside a raw baseline that does
// the least any report must do (the same name lookups in a plain set, or one
// read of the file).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "QXArguments.h"
#include "QXBenchSupport.h"
#include "QXContentReport.h"
#include "QXMatlabDataFile.h"

namespace {

constexpr int kSequences = 10000;
constexpr int kTimeValues = 100;
constexpr int kSmallRecords = 100000;

const char* const SequenceFile = "/tmp/qxreport-bench-sequences.mat";
const char* const SmallRecordFile = "/tmp/qxreport-bench-records.mat";

std::string SequenceName(int s) { return "Velocity" + std::to_string(s); }

void WriteSequenceFile() {
  static bool written = false;
  if (written) return;
  written = true;
  QXMatlabDataFile storage(SequenceFile, QXFile::NewReadWrite);
  for (int s = 0; s < kSequences; s++) {
    std::string name = SequenceName(s);
    storage.Save(std::string("RealNumber"), "Seq_" + name);
    for (int k = 0; k < kTimeValues; k++) storage.Save(0.5 * k, name + "_" + std::to_string(k));
  }
}

// Numbers, short and long strings and small arrays, in turn.
void WriteSmallRecordFile() {
  static bool written = false;
  if (written) return;
  written = true;
  QXMatlabDataFile storage(SmallRecordFile, QXFile::NewReadWrite);
  QXMutableDoubleArray column(3, 1, 1);
  column = 1.5;
  QXMutableIntArray square(2, 2, 1);
  square = 7;
  for (int r = 0; r < kSmallRecords; r++) {
    std::string name = "record" + std::to_string(r);
    switch (r % 4) {
      case 0:
        storage.Save(0.25 * r, name);
        break;
      case 1:
        storage.Save(std::string("label ") + std::to_string(r), name);
        break;
      case 2:
        storage.Save(column, name);
        break;
      default:
        storage.Save(square, name);
        break;
    }
  }
}

void BM_ReportOfSequences(benchmark::State& state) {
  WriteSequenceFile();
  QXMatlabDataFile storage(SequenceFile, QXFile::ReadOnly);
  for (auto _ : state) {
    SilencedStderr silenced;
    PrintReport(storage);
  }
  state.counters["sequences/s"] =
      benchmark::Counter(kSequences, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReportOfSequences)->Unit(benchmark::kMillisecond);

// The floor: the same probes in a set of the same names, and the same lines.
void BM_ReportOfSequencesBaseline(benchmark::State& state) {
  std::set<std::string> names;
  for (int s = 0; s < kSequences; s++) {
    std::string name = SequenceName(s);
    names.insert("Seq_" + name);
    for (int k = 0; k < kTimeValues; k++) names.insert(name + "_" + std::to_string(k));
  }
  for (auto _ : state) {
    SilencedStderr silenced;
    for (auto it = names.lower_bound("Seq_"); it != names.end() && it->compare(0, 4, "Seq_") == 0;
         ++it) {
      std::string name = it->substr(4);
      int count = 0;
      while (names.count(name + "_" + std::to_string(count))) count++;
      std::fprintf(stderr, "%s - RealNumber - %d time values\n", name.c_str(), count);
    }
  }
}
BENCHMARK(BM_ReportOfSequencesBaseline)->Unit(benchmark::kMillisecond);

void BM_OpenSequenceFile(benchmark::State& state) {
  WriteSequenceFile();
  for (auto _ : state) {
    QXMatlabDataFile storage(SequenceFile, QXFile::ReadOnly);
    benchmark::DoNotOptimize(storage.IsOpen());
  }
}
BENCHMARK(BM_OpenSequenceFile)->Unit(benchmark::kMillisecond);

// The whole run of "qxreport -all": opening, indexing and the listing.
void BM_ListingOfSmallRecords(benchmark::State& state) {
  WriteSmallRecordFile();
  const char* argv[] = {"qxreport", "-all", SmallRecordFile};
  QXSetArguments(3, argv);
  for (auto _ : state) {
    SilencedStderr silenced;
    benchmark::DoNotOptimize(ComputeTask());
  }
  state.counters["records/s"] =
      benchmark::Counter(kSmallRecords, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ListingOfSmallRecords)->Unit(benchmark::kMillisecond);

// The floor: one read of the whole file, which any listing has to make.
void BM_ListingOfSmallRecordsBaseline(benchmark::State& state) {
  WriteSmallRecordFile();
  std::vector<char> buffer;
  for (auto _ : state) {
    FILE* file = std::fopen(SmallRecordFile, "rb");
    std::fseek(file, 0, SEEK_END);
    buffer.resize(static_cast<size_t>(std::ftell(file)));
    std::fseek(file, 0, SEEK_SET);
    benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), file));
    std::fclose(file);
  }
}
BENCHMARK(BM_ListingOfSmallRecordsBaseline)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
