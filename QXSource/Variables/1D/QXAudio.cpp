#include "QXAudio.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

#include "QXArrayMemory.h"
#include "QXByteOrderInternal.h"
#include "QXByteReaderInternal.h"
#include "QXError.h"

namespace {

constexpr QXByteOrder kBig = QXByteOrder::BigEndian;
constexpr long kHeaderSize = 54;
// Chunk sizes are signed 32-bit numbers, and the FORM chunk's size counts
// all but the first 8 bytes of the file.
constexpr long kLongestFile = long{INT32_MAX} + 8;
// Samples wider than a byte are written through a buffer of this many bytes.
constexpr size_t kWriteBlock = size_t{1} << 20;

bool Refused(const char* operation, const char* message) {
  QXErrorMessage(operation, message);
  return false;
}

long WholeBytes(int bits) { return (static_cast<long>(bits) + 7) / 8; }

// The bytes of one frame; 0 unless both counts are positive.
long FrameBytes(int channels, int bits) {
  return channels > 0 && bits > 0 ? channels * WholeBytes(bits) : 0;
}

// What the walk found in the COMM and SSND chunks.
struct QXAudioChunks {
  bool haveFormat = false;
  bool haveSound = false;
  short channels = 0;
  uint32_t frames = 0;
  short bits = 0;
  double rate = 0;
  long soundStart = 0;  // file offset of the first frame
  long soundBytes = 0;  // bytes of frames the SSND chunk holds
};

bool IsNamed(const unsigned char* id, const char* name) { return std::memcmp(id, name, 4) == 0; }

// The next chunk's header: its identifier and its size, which must fit in
// what the reader has left. False at the end or for a size that does not.
const unsigned char* NextChunk(QXByteReader& reader, long& size) {
  const unsigned char* header = reader.Next(8);
  if (header == nullptr) return nullptr;
  const int32_t claimed = QXLoad<int32_t>(header + 4, kBig);
  if (claimed < 0 || claimed > reader.Remaining()) return nullptr;
  size = claimed;
  return header;
}

// COMM: channels (16 bits), frames (32 bits unsigned), bits per sample (16)
// and the rate (80-bit extended); anything after those 18 bytes is skipped.
bool ReadFormat(QXByteReader& reader, long size, QXAudioChunks& found) {
  const unsigned char* bytes = size >= 18 ? reader.Next(18) : nullptr;
  if (bytes == nullptr) return false;
  found.channels = QXLoad<int16_t>(bytes, kBig);
  found.frames = QXLoad<uint32_t>(bytes + 2, kBig);
  found.bits = QXLoad<int16_t>(bytes + 6, kBig);
  found.rate = QXConvert80ToDouble(bytes + 8);
  found.haveFormat = true;
  return reader.Skip(size - 18);
}

// SSND: the offset of the first frame after the 8 bytes of offset and block
// size, then the frames.
bool ReadSound(QXByteReader& reader, long size, QXAudioChunks& found) {
  const unsigned char* bytes = size >= 8 ? reader.Next(8) : nullptr;
  if (bytes == nullptr) return false;
  const uint32_t offset = QXLoad<uint32_t>(bytes, kBig);
  if (offset > static_cast<unsigned long>(size - 8)) return false;
  found.soundStart = reader.Position() + static_cast<long>(offset);
  found.soundBytes = size - 8 - static_cast<long>(offset);
  found.haveSound = true;
  return reader.Skip(size - 8);
}

// Walks the chunks of an AIFF form (the reader ends where the form does)
// until COMM and SSND have both been seen. An odd-sized chunk is followed by
// a pad byte, which need not be there after the last chunk the walk reads.
bool ReadFormChunks(QXByteReader& reader, QXAudioChunks& found) {
  for (;;) {
    long size = 0;
    const unsigned char* header = NextChunk(reader, size);
    if (header == nullptr) return false;
    bool read = true;
    if (IsNamed(header, "COMM"))
      read = ReadFormat(reader, size, found);
    else if (IsNamed(header, "SSND"))
      read = ReadSound(reader, size, found);
    else
      read = reader.Skip(size);
    if (!read) return false;
    if (found.haveFormat && found.haveSound) return true;
    if (!reader.Skip(size & 1)) return false;
  }
}

// Finds the first FORM chunk of type AIFF in the file and walks it.
bool FindAiffForm(const QXFile& file, long length, QXAudioChunks& found) {
  QXByteReader reader(file, length, 0);
  for (;;) {
    long size = 0;
    const unsigned char* header = NextChunk(reader, size);
    if (header == nullptr) return false;
    if (!IsNamed(header, "FORM")) {
      if (!reader.Skip(size + (size & 1))) return false;
      continue;
    }
    const unsigned char* type = size >= 4 ? reader.Next(4) : nullptr;
    if (type == nullptr) return false;
    if (IsNamed(type, "AIFF")) {
      const long start = reader.Position();
      QXByteReader form(file, start + size - 4, start);
      return ReadFormChunks(form, found);
    }
    if (!reader.Skip(size - 4 + (size & 1))) return false;
  }
}

// What tells the four sample forms apart: the operation names, the sample
// size each form reads and writes (0: raw bytes of any size) and the
// message for a writer of another size.
template <class T>
struct QXSampleForm;
template <>
struct QXSampleForm<unsigned char> {
  static constexpr const char* readOperation = "ReadInSamples(audio,#,UCharArray)";
  static constexpr const char* writeOperation = "WriteSamples(Audio,QXUCharArray)";
  static constexpr int readBits = 0;
  static constexpr int writeBits = 0;
  static constexpr const char* depthMessage = "";
};
template <>
struct QXSampleForm<signed char> {
  static constexpr const char* readOperation = "ReadInSamples(audio,#,CharArray)";
  static constexpr const char* writeOperation = "WriteSamples(Audio,QXCharArray)";
  static constexpr int readBits = 8;
  static constexpr int writeBits = 8;
  static constexpr const char* depthMessage = "Only works for 8 bits per sample.";
};
template <>
struct QXSampleForm<short> {
  static constexpr const char* readOperation = "ReadInSamples(audio,#,array)";
  static constexpr const char* writeOperation = "WriteSamples(Audio,ShortIntArr)";
  static constexpr int readBits = 16;
  static constexpr int writeBits = 16;
  static constexpr const char* depthMessage = "Only works for 16 bits per sample.";
};
// The int form reads 16-bit samples, sign-extended, and writes 32-bit ones.
template <>
struct QXSampleForm<int> {
  static constexpr const char* readOperation = "ReadInSamples(audio,#,IntArray)";
  static constexpr const char* writeOperation = "WriteSamples(Audio,QXIntArray)";
  static constexpr int readBits = 16;
  static constexpr int writeBits = 32;
  static constexpr const char* depthMessage = "Only works for 32 bits per sample.";
};

// The sample as the file holds it, for a form that reads bits per sample.
template <int Bits>
using QXFileSample = std::conditional_t<Bits == 16, int16_t, unsigned char>;

// count big-endian samples of Sample at raw into the elements T at target.
template <class T, class Sample>
void DecodeSamples(const unsigned char* raw, T* target, size_t count) {
  for (size_t i = 0; i < count; i++)
    target[i] = static_cast<T>(QXLoad<Sample>(raw + i * sizeof(Sample), kBig));
}

// count samples T at source into big-endian bytes at raw.
template <class T>
void EncodeSamples(const T* source, unsigned char* raw, size_t count) {
  for (size_t i = 0; i < count; i++) QXStore<T>(raw + i * sizeof(T), source[i], kBig);
}

// A buffer from the array allocator, which keeps large ones for reuse.
struct QXScratch {
  QXScratch(size_t bytes, const char* typeName)
      : bytes(bytes), data(static_cast<unsigned char*>(QXAllocateArrayBuffer(bytes, typeName))) {}
  ~QXScratch() {
    if (data != nullptr) QXFreeArrayBuffer(data, bytes);
  }
  QXScratch(const QXScratch&) = delete;
  QXScratch& operator=(const QXScratch&) = delete;

  size_t bytes;
  unsigned char* data;
};

}  // namespace

// The sample reads and writes, which need the files of both classes.
struct QXAudioSamples {
  template <class T>
  static bool Read(const QXAudio& audio, int sampleNumber, QXMutableArray<T>& A);
  template <class T>
  static bool Write(QXAudioOutput& output, const QXArray<T>& A);
};

// --- Reading ----------------------------------------------------------------

QXAudio::QXAudio(std::string fileName)
    : aiffFileName(std::move(fileName)),
      filePointer(aiffFileName, QXFile::ReadOnly),
      numChannels(0),
      numSampleFrames(0),
      sampleSize(0),
      sampleRate(0),
      startOfSampledSound(0) {
  if (!filePointer.IsOpen()) {
    QXErrorMessage("QXAudio(file name)", "Could not open file");
    aiffFileName.clear();
    return;
  }
  if (Parse()) return;
  QXErrorMessage("QXAudio(file)", "Invalid format");
  aiffFileName.clear();
  filePointer = QXFile();
}

QXAudio::~QXAudio() = default;

bool QXAudio::Parse() {
  const long length = filePointer.Size();
  QXAudioChunks found;
  if (length < 0 || !FindAiffForm(filePointer, length, found)) return false;
  if (found.channels < 1 || found.bits < 1 || found.soundStart > long{UINT32_MAX}) return false;
  const long framesThere = found.soundBytes / FrameBytes(found.channels, found.bits);
  long frames = found.frames < framesThere ? static_cast<long>(found.frames) : framesThere;
  if (frames > INT_MAX) frames = INT_MAX;
  numChannels = found.channels;
  numSampleFrames = static_cast<int>(frames);
  sampleSize = found.bits;
  sampleRate = found.rate;
  startOfSampledSound = static_cast<uint32_t>(found.soundStart);
  return true;
}

template <class T>
bool QXAudioSamples::Read(const QXAudio& audio, int sampleNumber, QXMutableArray<T>& A) {
  using Form = QXSampleForm<T>;
  const char* operation = Form::readOperation;
  const long frameBytes = FrameBytes(audio.numChannels, audio.sampleSize);
  const bool raw = Form::readBits == 0;
  if (A.m() != (raw ? frameBytes : audio.numChannels))
    return Refused(operation, "Number of channels is incompatible.");
  if (!raw && audio.sampleSize != Form::readBits)
    return Refused(operation, "Sample depth is incompatiable.");
  if (sampleNumber < 0 || sampleNumber >= audio.numSampleFrames)
    return Refused(operation, "sampleNumber out of bounds.");
  if (A.o() > 1) return Refused(operation, "Passing in a 3D array.");
  const int framesLeft = audio.numSampleFrames - sampleNumber;
  const int frames = A.n() < framesLeft ? A.n() : framesLeft;
  const size_t count = static_cast<size_t>(A.m()) * static_cast<size_t>(frames);
  using Sample = QXFileSample<Form::readBits>;
  // The samples land in A only once all of them have been read.
  QXScratch scratch(count * sizeof(Sample), QXArrayTraits<T>::name);
  if (scratch.data == nullptr) return false;
  const long offset = static_cast<long>(audio.startOfSampledSound) + sampleNumber * frameBytes;
  if (!audio.filePointer.ReadAt(offset, scratch.data, scratch.bytes))
    return Refused(operation, "Failed when reading from file.");
  QXMutableArray<T> target = frames < A.n() ? QXMutableArray<T>(A.m(), frames, 1) : A;
  if (static_cast<size_t>(target.Length()) != count) return false;  // out of memory, reported
  DecodeSamples<T, Sample>(scratch.data, target.Pointer(), count);
  A = target;
  return true;
}

bool ReadInSamples(const QXAudio& audio, int sampleNumber, QXMutableUCharArray& A) {
  return QXAudioSamples::Read(audio, sampleNumber, A);
}
bool ReadInSamples(const QXAudio& audio, int sampleNumber, QXMutableCharArray& A) {
  return QXAudioSamples::Read(audio, sampleNumber, A);
}
bool ReadInSamples(const QXAudio& audio, int sampleNumber, QXMutableShortIntArray& A) {
  return QXAudioSamples::Read(audio, sampleNumber, A);
}
bool ReadInSamples(const QXAudio& audio, int sampleNumber, QXMutableIntArray& A) {
  return QXAudioSamples::Read(audio, sampleNumber, A);
}

// --- Writing ----------------------------------------------------------------

QXAudioOutput::QXAudioOutput(std::string fileName, short channels, short sampleSize,
                             double sampleRate)
    : filePointer(fileName, QXFile::NewReadWrite),
      numberOfChannels(channels),
      sampleSize(sampleSize),
      end(kHeaderSize) {
  if (!filePointer.IsOpen() || filePointer.IsReadOnly()) {
    filePointer = QXFile();
    return;
  }
  // The three sizes stay 0 until Close().
  unsigned char header[kHeaderSize] = {};
  std::memcpy(header, "FORM", 4);
  std::memcpy(header + 8, "AIFFCOMM", 8);
  QXStore<int32_t>(header + 16, 18, kBig);
  QXStore<int16_t>(header + 20, channels, kBig);
  QXStore<int16_t>(header + 26, sampleSize, kBig);
  QXConvertDoubleTo80(sampleRate, header + 28);
  std::memcpy(header + 38, "SSND", 4);
  if (filePointer.WriteAt(0, header, sizeof header)) return;
  QXErrorMessage("QXAudioOutput(file)",
                 std::string("Could not write the header (") + std::strerror(errno) + ").");
  filePointer = QXFile();
}

QXAudioOutput::~QXAudioOutput() { Close(); }

long QXAudioOutput::BytesPerFrame() const { return FrameBytes(numberOfChannels, sampleSize); }

void QXAudioOutput::Close() {
  if (!filePointer.IsOpen()) return;
  const long frameBytes = BytesPerFrame();
  const long frames = frameBytes > 0 ? (end - kHeaderSize) / frameBytes : 0;
  unsigned char formSize[4], frameCount[4], soundSize[4];
  QXStore<uint32_t>(formSize, static_cast<uint32_t>(end - 8), kBig);
  QXStore<uint32_t>(frameCount, static_cast<uint32_t>(frames), kBig);
  QXStore<uint32_t>(soundSize, static_cast<uint32_t>(end - 46), kBig);
  if (!filePointer.WriteAt(4, formSize, 4) || !filePointer.WriteAt(22, frameCount, 4) ||
      !filePointer.WriteAt(42, soundSize, 4))
    QXErrorMessage("QXAudioOutput::Close()",
                   std::string("Could not write the sizes (") + std::strerror(errno) + ").");
  filePointer = QXFile();
}

template <class T>
bool QXAudioSamples::Write(QXAudioOutput& output, const QXArray<T>& A) {
  using Form = QXSampleForm<T>;
  const char* operation = Form::writeOperation;
  if (!output.filePointer.IsOpen()) return false;
  if (A.IsEmpty()) return true;
  if (A.o() > 1) return Refused(operation, "Passing in a 3D array.");
  if (Form::writeBits == 0) {
    if (A.m() != output.BytesPerFrame())
      return Refused(operation, "Incorrect number of bytes per sample.");
  } else {
    if (A.m() != output.numberOfChannels) return Refused(operation, "Incorrect number of samples.");
    if (output.sampleSize != Form::writeBits) return Refused(operation, Form::depthMessage);
  }
  const size_t bytes = static_cast<size_t>(A.Length()) * sizeof(T);
  if (bytes > static_cast<size_t>(kLongestFile - output.end))
    return Refused(operation, "The samples would make the file longer than AIFF sizes can tell.");
  QXFile& file = output.filePointer;
  bool written = true;
  if constexpr (sizeof(T) == 1) {
    written = file.WriteAt(output.end, A.Pointer(), bytes);
  } else {
    // Big-endian copies of the samples, a block at a time.
    const size_t total = static_cast<size_t>(A.Length());
    const size_t blockCount = std::min(total, kWriteBlock / sizeof(T));
    std::unique_ptr<unsigned char[]> block(new unsigned char[blockCount * sizeof(T)]);
    for (size_t done = 0; written && done < total; done += blockCount) {
      const size_t count = std::min(blockCount, total - done);
      EncodeSamples(A.Pointer() + done, block.get(), count);
      written = file.WriteAt(output.end + static_cast<long>(done * sizeof(T)), block.get(),
                             count * sizeof(T));
    }
  }
  if (!written) {
    const std::string reason = std::strerror(errno);
    file.Truncate(output.end);  // the frames that did arrive are taken back
    QXErrorMessage(operation, "Could not write the samples (" + reason + ").");
    return false;
  }
  output.end += static_cast<long>(bytes);
  return true;
}

bool WriteSamples(QXAudioOutput& output, const QXUCharArray& A) {
  return QXAudioSamples::Write(output, A);
}
bool WriteSamples(QXAudioOutput& output, const QXCharArray& A) {
  return QXAudioSamples::Write(output, A);
}
bool WriteSamples(QXAudioOutput& output, const QXShortIntArray& A) {
  return QXAudioSamples::Write(output, A);
}
bool WriteSamples(QXAudioOutput& output, const QXIntArray& A) {
  return QXAudioSamples::Write(output, A);
}

// --- 80-bit extended numbers ------------------------------------------------
//
// An extended number is a sign bit and a 15-bit exponent (bias 16383) in the
// first two bytes, then a 64-bit significand whose leading 1 is explicit. For
// values of 2 and above the exponent field is 0x4000 | (the double's
// exponent field & 0x3FF), and the double's fraction follows the leading 1.

void QXConvertDoubleTo80(double value, unsigned char* buffer) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const uint64_t sign = bits >> 63;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  uint64_t field = 0;
  uint64_t significand = 0;
  if (exponent == 0x7FF) {  // infinity or NaN
    field = 0x7FFF;
    significand = uint64_t{1} << 63 | fraction << 11;
  } else if (exponent != 0) {
    field = static_cast<uint64_t>(exponent - 1023 + 16383);
    significand = uint64_t{1} << 63 | fraction << 11;
  } else if (fraction != 0) {  // subnormal: fraction x 2^-1074, normalised
    const int shift = __builtin_clzll(fraction);
    field = static_cast<uint64_t>(16383 + 63 - 1074 - shift);
    significand = fraction << shift;
  }
  QXStore<uint16_t>(buffer, static_cast<uint16_t>(sign << 15 | field), kBig);
  QXStore<uint64_t>(buffer + 2, significand, kBig);
}

double QXConvert80ToDouble(const unsigned char* buffer) {
  const uint16_t head = QXLoad<uint16_t>(buffer, kBig);
  uint64_t significand = QXLoad<uint64_t>(buffer + 2, kBig);
  const uint64_t sign = static_cast<uint64_t>(head >> 15) << 63;
  const int field = head & 0x7FFF;
  const uint64_t infinity = uint64_t{0x7FF} << 52;
  uint64_t bits = sign;  // zero
  if (field == 0x7FFF) {
    const uint64_t payload = (significand << 1) >> 12;
    if (significand << 1 == 0)
      bits = sign | infinity;
    else  // a NaN keeps what of its payload fits, and stays a NaN
      bits = sign | infinity | (payload != 0 ? payload : uint64_t{1} << 51);
  } else if (significand != 0) {
    // value = significand x 2^(exponent - 63) with the leading 1 at bit 63.
    const int shift = __builtin_clzll(significand);
    significand <<= shift;
    const long exponent = (field == 0 ? 1L : static_cast<long>(field)) - 16383 - shift;
    if (exponent > 1023)
      bits = sign | (infinity - 1);  // the largest double
    else if (exponent >= -1022)
      bits = sign | static_cast<uint64_t>(exponent + 1023) << 52 | (significand << 1) >> 12;
    else if (-1011 - exponent < 64)  // a subnormal double
      bits = sign | significand >> (-1011 - exponent);
  }
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}
