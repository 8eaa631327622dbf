// Opens arbitrary bytes as an AIFF file and reads frames in every form at
// the start, the middle and the end, and with an array of the wrong shape.
// What the raw form read is written into a new file through QXAudioOutput
// and must read back the same, at the same rate.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "QXAudio.h"
#include "QXError.h"
#include "QXFuzzStorage.h"

namespace {

// Up to 64 frames of `rows` samples: the arrays stay small whatever the file
// claims, so that only the library's own allocations are put to the test.
int Columns(int rows) { return std::max(1, std::min(64, 65536 / std::max(rows, 1))); }

// Reads frames at a few places.
template <class Array>
void ReadAround(const QXAudio& audio, int rows) {
  const int frames = audio.NumberOfSamples();
  for (int at : {0, frames / 2, frames - 1, frames}) {
    Array A(rows, Columns(rows), 1);
    ReadInSamples(audio, at, A);
  }
}

// Writes the frames into a new file and reads them back.
void WriteAndReadBack(const QXAudio& audio, const QXUCharArray& frames, const std::string& path) {
  {
    QXAudioOutput out(path, audio.NumberOfChannels(), audio.SampleSize(), audio.SampleRate());
    if (!WriteSamples(out, frames)) __builtin_trap();
  }
  const QXAudio back(path);
  QXMutableUCharArray again(frames.m(), frames.n(), 1);
  if (!ReadInSamples(back, 0, again) || again != frames) __builtin_trap();
  const double rate = audio.SampleRate();
  if (!std::isnan(rate) && back.SampleRate() != rate) __builtin_trap();
  std::remove(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string stem = "/tmp/qxfuzz_" + std::to_string(static_cast<long>(getpid()));
  static const std::string path = stem + ".aiff", copy = stem + "_copy.aiff";
  if (!QXFuzzWriteInput(path, data, size)) return 0;
  {
    const QXAudio audio(path);
    const int channels = audio.NumberOfChannels();
    const int frameBytes = channels * ((audio.SampleSize() + 7) / 8);
    ReadAround<QXMutableUCharArray>(audio, frameBytes);
    ReadAround<QXMutableCharArray>(audio, channels);
    ReadAround<QXMutableShortIntArray>(audio, channels);
    ReadAround<QXMutableIntArray>(audio, channels);
    ReadAround<QXMutableShortIntArray>(audio, channels + 1);
    QXMutableUCharArray frames(frameBytes, Columns(frameBytes), 1);
    if (ReadInSamples(audio, 0, frames)) WriteAndReadBack(audio, frames, copy);
  }
  std::remove(path.c_str());
  // The error list is process-wide; without this it grows with every input.
  QXClearErrorList();
  return 0;
}
