// Work that touches many small variables, each beside a plain C program's
// walk of the same file with stdio that reads every record:
// - opening (indexing) a Matlab file of 100,000 small records;
// - opening a binary data file of 100,000 small entries;
// - opening that Matlab file and reading every variable through the
//   storage interface;
// - "qxreport -all" on that Matlab file;
// - "qxreport" on 10,000 sequences of 100 time values each.
// The report runs send standard error to /dev/null.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "QXArguments.h"
#include "QXBenchSupport.h"
#include "QXContentReport.h"
#include "QXDataFile.h"
#include "QXMatlabDataFile.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kSequences = 10000;
constexpr int kTimeValues = 100;

std::string TempPath(const char* stem, const char* extension) {
  return "/tmp/qx_small_bench_" + std::string(stem) + "_" + std::to_string(getpid()) + extension;
}

// Numbers, short strings, short columns and small matrices, in turn: the
// mix a program's results hold.
template <class Storage>
void WriteMixedRecords(Storage& storage) {
  QXMutableDoubleArray column(3, 1, 1);
  column = 1.5;
  QXMutableIntArray square(2, 2, 1);
  square = 7;
  for (int r = 0; r < kRecords; r++) {
    const std::string name = "record" + std::to_string(r);
    switch (r % 4) {
      case 0:
        storage.Save(0.25 * r, name);
        break;
      case 1:
        storage.Save("label " + std::to_string(r), name);
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

// The benchmark files, made on first use and removed when the program ends.
class QXBenchFiles {
 public:
  ~QXBenchFiles() {
    for (const std::string& path : made) std::remove(path.c_str());
  }
  const std::string& Matlab() {
    return Make(matlab, "records", ".mat", [](const std::string& path) {
      QXMatlabDataFile storage(path, QXFile::NewReadWrite);
      WriteMixedRecords(storage);
    });
  }
  const std::string& Binary() {
    return Make(binary, "records", ".vbf", [](const std::string& path) {
      QXDataFile storage(path, QXFile::NewReadWrite);
      WriteMixedRecords(storage);
    });
  }
  const std::string& Sequences() {
    return Make(sequences, "sequences", ".mat", [](const std::string& path) {
      QXMatlabDataFile storage(path, QXFile::NewReadWrite);
      for (int s = 0; s < kSequences; s++) {
        const std::string name = "Velocity" + std::to_string(s);
        storage.Save(std::string("RealNumber"), "Seq_" + name);
        for (int k = 0; k < kTimeValues; k++) storage.Save(0.5 * k, name + "_" + std::to_string(k));
      }
    });
  }

 private:
  template <class Write>
  const std::string& Make(std::string& path, const char* stem, const char* extension,
                          Write write) {
    if (path.empty()) {
      path = TempPath(stem, extension);
      write(path);
      made.push_back(path);
      // The file's pages go to the disk now, not while a benchmark runs.
      const int descriptor = open(path.c_str(), O_RDONLY);
      fsync(descriptor);
      close(descriptor);
    }
    return path;
  }

  std::string matlab, binary, sequences;
  std::vector<std::string> made;
};

QXBenchFiles files;

// --- Baselines: plain stdio walks that read every record ---------------------

// Reads every Matlab record (header, name and data) in the machine's order.
long WalkMatlabWithStdio(const std::string& path) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return -1;
  int32_t header[5];
  static const int kSizes[6] = {8, 4, 4, 2, 2, 1};
  std::vector<char> record;
  long records = 0;
  while (std::fread(header, 1, sizeof header, in) == sizeof header) {
    const int digit = (header[0] % 100) / 10;
    const size_t data = static_cast<size_t>(header[1]) * static_cast<size_t>(header[2]) *
                        static_cast<size_t>(digit < 6 ? kSizes[digit] : 1);
    record.resize(static_cast<size_t>(header[4]) + data);
    if (std::fread(record.data(), 1, record.size(), in) != record.size()) break;
    records++;
  }
  std::fclose(in);
  return records;
}

// Reads every binary data file entry (header, name and data).
long WalkBinaryWithStdio(const std::string& path) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return -1;
  char fileHeader[24];
  if (std::fread(fileHeader, 1, sizeof fileHeader, in) != sizeof fileHeader) {
    std::fclose(in);
    return -1;
  }
  unsigned char header[28];
  std::vector<char> record;
  long records = 0;
  while (std::fread(header, 1, sizeof header, in) == sizeof header) {
    uint64_t block = 0;
    for (int i = 0; i < 8; i++) block = block << 8 | header[i];
    record.resize(static_cast<size_t>(block) - sizeof header);
    if (std::fread(record.data(), 1, record.size(), in) != record.size()) break;
    records++;
  }
  std::fclose(in);
  return records;
}

template <class Walk>
void RunBaseline(benchmark::State& state, const std::string& path, Walk walk) {
  for (auto _ : state) benchmark::DoNotOptimize(walk(path));
}

// --- Opening ----------------------------------------------------------------

void BM_OpenMatlab(benchmark::State& state) {
  const std::string& path = files.Matlab();
  for (auto _ : state) {
    QXMatlabDataFile storage(path, QXFile::ReadOnly);
    benchmark::DoNotOptimize(storage.Contains("record0"));
  }
}
BENCHMARK(BM_OpenMatlab)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenMatlabBaseline(benchmark::State& state) {
  RunBaseline(state, files.Matlab(), WalkMatlabWithStdio);
}
BENCHMARK(BM_OpenMatlabBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenBinary(benchmark::State& state) {
  const std::string& path = files.Binary();
  for (auto _ : state) {
    QXDataFile storage(path, QXFile::ReadOnly);
    benchmark::DoNotOptimize(storage.Contains("record0"));
  }
}
BENCHMARK(BM_OpenBinary)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenBinaryBaseline(benchmark::State& state) {
  RunBaseline(state, files.Binary(), WalkBinaryWithStdio);
}
BENCHMARK(BM_OpenBinaryBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- Reading every variable -------------------------------------------------

void BM_OpenMatlabAndReadEveryVariable(benchmark::State& state) {
  const std::string& path = files.Matlab();
  for (auto _ : state) {
    QXMatlabDataFile storage(path, QXFile::ReadOnly);
    const QXList<std::string> names = storage.AllVariableNames();
    double sum = 0;
    for (int i = 0; i < names.Length(); i++) {
      if (storage.SavedAsString(names(i)))
        sum += static_cast<double>(storage.ReadString(names(i)).size());
      else
        sum += storage.ReadDoubleArray(names(i)).Length();
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_OpenMatlabAndReadEveryVariable)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- The report tool --------------------------------------------------------

void RunReportTool(benchmark::State& state, std::vector<const char*> argv) {
  QXSetArguments(static_cast<int>(argv.size()), argv.data());
  for (auto _ : state) {
    SilencedStderr silenced;
    benchmark::DoNotOptimize(ComputeTask());
  }
}

void BM_ReportAllOfRecords(benchmark::State& state) {
  RunReportTool(state, {"qxreport", "-all", files.Matlab().c_str()});
}
BENCHMARK(BM_ReportAllOfRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReportOfSequences(benchmark::State& state) {
  RunReportTool(state, {"qxreport", files.Sequences().c_str()});
}
BENCHMARK(BM_ReportOfSequences)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReportOfSequencesBaseline(benchmark::State& state) {
  RunBaseline(state, files.Sequences(), WalkMatlabWithStdio);
}
BENCHMARK(BM_ReportOfSequencesBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
