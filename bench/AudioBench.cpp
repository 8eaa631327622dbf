// Ten minutes of 44.1 kHz stereo 16-bit sound (106 MB of samples) read from
// an AIFF file in the page cache into a double array, and written back from
// it into a new file, beside the raw way: fread of the same bytes and a loop
// that decodes them into doubles, and a loop that encodes the doubles and
// fwrite. The arrays and buffers are touched beforehand, so the figures
// compare the reading, writing and converting alone.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "QXArrayConversion.h"
#include "QXAudio.h"

namespace {

constexpr int kChannels = 2;
constexpr int kFrames = 44100 * 600;
constexpr size_t kSamples = size_t{kChannels} * kFrames;
constexpr long kHeaderSize = 54;

std::string inputPath, outputPath;

// The sound file, written once and read once so that it is in the page cache.
bool CreateFile() {
  const std::string stem = "/tmp/qxaudiobench_" + std::to_string(static_cast<long>(getpid()));
  inputPath = stem + ".aiff";
  outputPath = stem + "_out.aiff";
  QXMutableShortIntArray samples(kChannels, kFrames, 1);
  for (size_t i = 0; i < kSamples; i++) samples.Pointer()[i] = static_cast<short>(i * 7919);
  {
    QXAudioOutput out(inputPath, kChannels, 16, 44100);
    if (!WriteSamples(out, samples)) return false;
  }
  const QXAudio audio(inputPath);
  return ReadInSamples(audio, 0, samples);
}

void Report(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kSamples * sizeof(short)));
}

void BM_ReadInSamplesToDouble(benchmark::State& state) {
  QXMutableShortIntArray samples(kChannels, kFrames, 1);
  QXMutableDoubleArray values(kChannels, kFrames, 1);
  samples = 0;
  values = 0.0;
  for (auto _ : state) {
    const QXAudio audio(inputPath);
    if (!ReadInSamples(audio, 0, samples)) state.SkipWithError("ReadInSamples failed");
    ConvertArray(samples, values);
    benchmark::DoNotOptimize(values.Pointer());
  }
  Report(state);
}

void BM_FreadAndDecode(benchmark::State& state) {
  std::vector<unsigned char> bytes(kSamples * 2, 1);
  std::vector<double> values(kSamples, 1.0);
  for (auto _ : state) {
    FILE* in = std::fopen(inputPath.c_str(), "rb");
    if (in == nullptr || std::fseek(in, kHeaderSize, SEEK_SET) != 0 ||
        std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size())
      state.SkipWithError("fread failed");
    if (in != nullptr) std::fclose(in);
    for (size_t i = 0; i < kSamples; i++)
      values[i] = static_cast<int16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    benchmark::DoNotOptimize(values.data());
  }
  Report(state);
}

void BM_WriteSamplesFromDouble(benchmark::State& state) {
  QXMutableShortIntArray samples(kChannels, kFrames, 1);
  QXMutableDoubleArray values(kChannels, kFrames, 1);
  samples = 0;
  for (size_t i = 0; i < kSamples; i++) values.Pointer()[i] = static_cast<short>(i * 7919);
  for (auto _ : state) {
    ConvertArray(values, samples);
    QXAudioOutput out(outputPath, kChannels, 16, 44100);
    if (!WriteSamples(out, samples)) state.SkipWithError("WriteSamples failed");
    out.Close();
  }
  Report(state);
}

void BM_EncodeAndFwrite(benchmark::State& state) {
  std::vector<unsigned char> bytes(kSamples * 2, 1);
  std::vector<double> values(kSamples);
  for (size_t i = 0; i < kSamples; i++) values[i] = static_cast<short>(i * 7919);
  const unsigned char header[kHeaderSize] = {'F', 'O', 'R', 'M'};
  for (auto _ : state) {
    for (size_t i = 0; i < kSamples; i++) {
      const auto sample = static_cast<uint16_t>(static_cast<int16_t>(values[i]));
      bytes[2 * i] = static_cast<unsigned char>(sample >> 8);
      bytes[2 * i + 1] = static_cast<unsigned char>(sample);
    }
    FILE* out = std::fopen(outputPath.c_str(), "wb");
    if (out == nullptr || std::fwrite(header, 1, kHeaderSize, out) != kHeaderSize ||
        std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size())
      state.SkipWithError("fwrite failed");
    if (out != nullptr) std::fclose(out);
  }
  Report(state);
}

// Interleaved registration keeps slow drifts of the machine out of the ratios.
void RegisterAll() {
  for (int round = 0; round < 3; round++) {
    benchmark::RegisterBenchmark("ReadInSamplesToDouble", BM_ReadInSamplesToDouble)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("FreadAndDecode", BM_FreadAndDecode)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("WriteSamplesFromDouble", BM_WriteSamplesFromDouble)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("EncodeAndFwrite", BM_EncodeAndFwrite)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const bool created = CreateFile();
  if (created) {
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
  } else {
    std::fprintf(stderr, "Could not create the sound file in /tmp\n");
  }
  benchmark::Shutdown();
  std::remove(inputPath.c_str());
  std::remove(outputPath.c_str());
  return created ? 0 : 1;
}
