// ConvertTo8Bits of a 4096 x 4096 16-bit colour bitmap with alpha, beside a
// plain loop that shifts the same four channels into buffers of its own,
// touched beforehand. The conversion makes four new arrays each time; the
// array allocator keeps recently freed large buffers, so from the second
// round on it writes into mapped pages as the baseline does.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "QXBitmap2D.h"

namespace {

constexpr int kSide = 4096;
constexpr int64_t kSamples = int64_t{kSide} * kSide;

QXMutableUShortIntArray Channel(unsigned short seed) {
  QXMutableUShortIntArray samples(kSide, kSide, 1);
  unsigned short* to = samples.Pointer();
  for (int64_t i = 0; i < kSamples; i++) to[i] = static_cast<unsigned short>(seed + i * 40503u);
  return samples;
}

const QXBitmap2D& ColourWithAlpha() {
  static const QXBitmap2D bitmap(Channel(1), Channel(2), Channel(3), Channel(4),
                                 QXMesh2DGrid(QXPoint2D(0, 0), 1));
  return bitmap;
}

// Bytes read and written per round: two in and one out for every sample of
// the four channels.
void CountBytes(benchmark::State& state) {
  state.SetBytesProcessed(state.iterations() * kSamples * 4 * 3);
}

void BM_ConvertTo8Bits(benchmark::State& state) {
  const QXBitmap2D& bitmap = ColourWithAlpha();
  for (auto _ : state) benchmark::DoNotOptimize(ConvertTo8Bits(bitmap).Alpha().Pointer());
  CountBytes(state);
}
BENCHMARK(BM_ConvertTo8Bits)->Unit(benchmark::kMillisecond);

void BM_RawShift(benchmark::State& state) {
  const QXBitmap2D& bitmap = ColourWithAlpha();
  const unsigned short* channels[] = {bitmap.Red16().Pointer(), bitmap.Green16().Pointer(),
                                      bitmap.Blue16().Pointer(), bitmap.Alpha16().Pointer()};
  std::vector<unsigned char> bytes[4];
  for (std::vector<unsigned char>& b : bytes) b.assign(kSamples, 0);
  for (auto _ : state) {
    for (int c = 0; c < 4; c++) {
      const unsigned short* from = channels[c];
      unsigned char* to = bytes[c].data();
      for (int64_t i = 0; i < kSamples; i++) to[i] = static_cast<unsigned char>(from[i] >> 8);
      benchmark::DoNotOptimize(to);
    }
    benchmark::ClobberMemory();
  }
  CountBytes(state);
}
BENCHMARK(BM_RawShift)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
