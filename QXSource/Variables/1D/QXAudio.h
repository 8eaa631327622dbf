// Sound in AIFF files (Audio Interchange File Format). QXAudio opens an
// existing file and reads any run of sample frames into a typed array;
// QXAudioOutput creates a new file, appends frames and patches the sizes of
// the header when it is closed. A sample array has one row per channel and
// one column per frame, so that its column-major order is the file's
// interleaved frame order. Samples wider than a byte are big-endian in the
// file and in the machine's order in the arrays.
//
//   QXAudio sound("voice.aiff");
//   QXMutableShortIntArray frames(sound.NumberOfChannels(), 4096, 1);
//   ReadInSamples(sound, 0, frames);   // frames 0 to 4095
//
//   QXAudioOutput out("copy.aiff", 2, 16, 44100.0);
//   WriteSamples(out, frames);
//   out.Close();                       // or let the destructor close it
//
// The reader treats the file as hostile: a chunk size that is negative or
// runs past the end of its file or form, a COMM chunk under 18 bytes, an
// SSND chunk under 8 bytes or with an offset beyond its data, and zero or
// negative channels or sample size all make the file "Invalid format". The
// pad byte after an odd-sized chunk, a COMM chunk longer than 18 bytes and
// the SSND offset are honoured. A frame count beyond what the SSND chunk
// holds is cut to the frames that are there, so reads stay inside the chunk.
//
// Failures report through QXErrorMessage and return false (or leave an empty
// QXAudio); a failed read leaves the caller's array as it was. Neither class
// can be copied: each owns one file, and the writer patches it once.
#ifndef QXAUDIO_H
#define QXAUDIO_H

#include <cstdint>
#include <cstdio>
#include <string>

#include "QXCharArray.h"
#include "QXFile.h"
#include "QXIntArray.h"
#include "QXShortIntArray.h"
#include "QXUCharArray.h"

class QXAudio {
 public:
  // Opens and parses the file. A file that does not open reports "QXAudio(file
  // name)" / "Could not open file"; one that is no sound AIFF file reports
  // "QXAudio(file)" / "Invalid format". Either way the name is empty, every
  // number 0 and no file is held.
  explicit QXAudio(std::string fileName);
  QXAudio(const QXAudio&) = delete;
  QXAudio& operator=(const QXAudio&) = delete;
  ~QXAudio();

  short NumberOfChannels() const { return numChannels; }
  // The number of sample frames.
  int NumberOfSamples() const { return numSampleFrames; }
  // Bits per sample.
  short SampleSize() const { return sampleSize; }
  double SampleRate() const { return sampleRate; }
  // The file offset of the first sample frame.
  uint32_t StartOfSample() const { return startOfSampledSound; }
  std::string FileName() const { return aiffFileName; }
  // The open stream (read-only), or null.
  FILE* FilePointer() const { return filePointer.GetFILE(); }

 private:
  friend struct QXAudioSamples;
  // Walks the chunks; false when the file is no sound AIFF file.
  bool Parse();

  std::string aiffFileName;
  QXFile filePointer;
  short numChannels;
  int numSampleFrames;
  short sampleSize;
  double sampleRate;
  uint32_t startOfSampledSound;
};

// Reads frames sampleNumber, sampleNumber + 1, ... into A, A.n() of them or
// as many as are left: when fewer are left, A is replaced by a new array of
// A.m() x (frames left) that ends with the last frame. True when A was filled.
// The short and int forms need 16-bit samples (the int form sign-extends
// them), the char form 8-bit samples; each needs A.m() equal to the number of
// channels. The unsigned char form takes the raw bytes of any sample size:
// A.m() must be the bytes of one frame (channels x bytes per sample).
// Reports under "ReadInSamples(audio,#,array)" (short), "...,CharArray)",
// "...,UCharArray)" or "...,IntArray)": "Number of channels is
// incompatible.", "Sample depth is incompatiable.", "sampleNumber out of
// bounds.", "Passing in a 3D array." and "Failed when reading from file.".
bool ReadInSamples(const QXAudio& audio, int sampleNumber, QXMutableUCharArray& A);
bool ReadInSamples(const QXAudio& audio, int sampleNumber, QXMutableCharArray& A);
bool ReadInSamples(const QXAudio& audio, int sampleNumber, QXMutableShortIntArray& A);
bool ReadInSamples(const QXAudio& audio, int sampleNumber, QXMutableIntArray& A);

class QXAudioOutput {
 public:
  // Creates the file (an existing one is emptied) and writes the 54-byte
  // header with the three sizes 0. When the file cannot be created (reported
  // by QXFile) or the header not written (reported under "QXAudioOutput(file)"),
  // the object holds no stream and every later call does nothing.
  QXAudioOutput(std::string fileName, short channels, short sampleSize, double sampleRate);
  QXAudioOutput(const QXAudioOutput&) = delete;
  QXAudioOutput& operator=(const QXAudioOutput&) = delete;
  // Closes the file as Close() does if that was not called.
  ~QXAudioOutput();

  // Writes the file length - 8, the number of whole frames and the sound
  // length into the header and closes the file; a second call does nothing.
  // A failed write is reported under "QXAudioOutput::Close()".
  void Close();

  int NumberOfChannels() const { return numberOfChannels; }
  int SampleSize() const { return sampleSize; }
  // The open stream, or null once closed.
  FILE* FilePointer() const { return filePointer.GetFILE(); }

 private:
  friend struct QXAudioSamples;
  // The bytes of one frame: channels x whole bytes per sample; 0 when either is not positive.
  long BytesPerFrame() const;

  QXFile filePointer;
  int numberOfChannels;
  int sampleSize;
  long end;  // where the next frame goes
};

// Appends all of A's frames (1, 1, 2 or 4 bytes a sample, big-endian) and
// returns true; an empty A gives true without writing, a closed output false
// without a report. The char, short and int forms need A.m() equal to the
// channels ("Incorrect number of samples.") and 8, 16 or 32 bits per sample
// ("Only works for 16 bits per sample." and the like); the unsigned char form
// writes raw frames and needs A.m() equal to the bytes of one frame
// ("Incorrect number of bytes per sample."). A 3-D array is refused with
// "Passing in a 3D array.". A write that would make the file too long for
// AIFF's 32-bit sizes is refused, and a failed write is reported and taken
// back, so the file holds whole frames only.
bool WriteSamples(QXAudioOutput& output, const QXUCharArray& A);
bool WriteSamples(QXAudioOutput& output, const QXCharArray& A);
bool WriteSamples(QXAudioOutput& output, const QXShortIntArray& A);
bool WriteSamples(QXAudioOutput& output, const QXIntArray& A);

// The 80-bit IEEE extended number at buffer (10 bytes, big-endian), as a
// double: the significand is cut toward zero to the double's precision, a
// finite value beyond the double range gives the largest double. Zero,
// signs, infinities and NaN carry over.
double QXConvert80ToDouble(const unsigned char* buffer);
// Writes value as an 80-bit IEEE extended number into buffer (10 bytes,
// big-endian); every double converts exactly.
void QXConvertDoubleTo80(double value, unsigned char* buffer);

#endif
