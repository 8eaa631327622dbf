#include "QXAudio.h"

#include <functional>
#include <sstream>
#include <tuple>
#include <type_traits>

#include "QXMatlabFileBytes.h"

namespace {

// AIFF files written out byte by byte.

// value's low `bytes` bytes, most significant first.
std::string Be(uint64_t value, int bytes) {
  return bytes == 0 ? std::string() : Be(value >> 8, bytes - 1) + static_cast<char>(value & 0xFF);
}

// A chunk: its identifier, its size, the body and a pad byte after an odd size.
std::string Chunk(const std::string& id, const std::string& body) {
  return id + Be(body.size(), 4) + body + std::string(body.size() % 2, '\0');
}
std::string Form(const std::string& chunks) { return Chunk("FORM", "AIFF" + chunks); }
// A COMM chunk with the rate 8000.
std::string Comm(int channels, uint64_t frames, int bits) {
  return Chunk("COMM", Be(channels, 2) + Be(frames, 4) + Be(bits, 2) + Be(0x400bfa, 3) + Be(0, 7));
}

// The writer cannot be copied: one file, patched once.
static_assert(!std::is_copy_constructible_v<QXAudioOutput>);
static_assert(!std::is_copy_assignable_v<QXAudioOutput>);

struct QXAudioTest : QXReportingTest {
  QXTempPath file{"audio", ".aiff"}, output{"audio", ".aiff"};
};

TEST_F(QXAudioTest, AFailedReadLeavesTheArrayAsItWas) {
  file.Write(Form(Comm(1, 1000, 8) + Chunk("SSND", Be(0, 8) + std::string(1000, 'x'))));
  const QXAudio mono(file.path);
  ASSERT_EQ(truncate(file.path.c_str(), 500), 0);
  QXMutableCharArray A = MakeArray<signed char>(1, 20, 1, std::vector<signed char>(20, '-'));
  EXPECT_FALSE(ReadInSamples(mono, 990, A));
  EXPECT_EQ(Reports(), Lines{"ReadInSamples(audio,#,CharArray): Failed when reading from file."});
  EXPECT_EQ(Elements(A), std::vector<signed char>(20, '-'));
}

// The rest of a COMM chunk longer than 18 bytes is skipped, the SSND offset
// is honoured, and a frame count beyond the sound chunk is cut to its frames.
TEST_F(QXAudioTest, ReadsPastALongFormatChunkFromTheSoundOffset) {
  const std::string comm = Chunk("COMM", Comm(1, 0xFFFFFFFF, 8).substr(8) + "xx");
  file.Write(Form(comm + Chunk("SSND", Be(2, 4) + Be(0, 4) + "--abc")));
  const QXAudio mono(file.path);
  EXPECT_EQ(mono.NumberOfSamples(), 3);
  QXMutableCharArray A(1, 3, 1);
  ASSERT_TRUE(ReadInSamples(mono, 0, A));
  EXPECT_EQ(Elements(A), (std::vector<signed char>{'a', 'b', 'c'}));
}

TEST_F(QXAudioTest, TheIntFormSignExtendsTheSamples) {
  file.Write(Form(Comm(1, 1, 16) + Chunk("SSND", Be(0, 8) + "\xff\xfe")));
  QXMutableIntArray A(1, 1, 1);
  ASSERT_TRUE(ReadInSamples(QXAudio(file.path), 0, A));
  EXPECT_EQ(A(0), -2);
}

TEST_F(QXAudioTest, RefusesArraysThatDoNotFitTheFile) {
  file.Write(Form(Comm(2, 4, 16) + Chunk("SSND", Be(0, 8) + std::string(16, '\1'))));
  const QXAudio stereo(file.path);
  QXAudioOutput out(output.path, 2, 16, 8000);
  // clang-format off
  const std::pair<std::function<bool()>, std::string> cases[] = {
      {[&] { QXMutableShortIntArray A(1, 4, 1); return ReadInSamples(stereo, 0, A); }, "ReadInSamples(audio,#,array): Number of channels is incompatible."},
      {[&] { QXMutableUCharArray A(2, 4, 1); return ReadInSamples(stereo, 0, A); }, "ReadInSamples(audio,#,UCharArray): Number of channels is incompatible."},
      {[&] { QXMutableCharArray A(2, 4, 1); return ReadInSamples(stereo, 0, A); }, "ReadInSamples(audio,#,CharArray): Sample depth is incompatiable."},
      {[&] { QXMutableShortIntArray A(2, 4, 1); return ReadInSamples(stereo, 4, A); }, "ReadInSamples(audio,#,array): sampleNumber out of bounds."},
      {[&] { QXMutableShortIntArray A(2, 2, 2); return ReadInSamples(stereo, 0, A); }, "ReadInSamples(audio,#,array): Passing in a 3D array."},
      {[&] { return WriteSamples(out, QXMutableShortIntArray(1, 4, 1)); }, "WriteSamples(Audio,ShortIntArr): Incorrect number of samples."},
      {[&] { return WriteSamples(out, QXMutableCharArray(2, 4, 1)); }, "WriteSamples(Audio,QXCharArray): Only works for 8 bits per sample."},
      {[&] { return WriteSamples(out, QXMutableUCharArray(2, 4, 1)); }, "WriteSamples(Audio,QXUCharArray): Incorrect number of bytes per sample."},
      {[&] { return WriteSamples(out, QXMutableShortIntArray(2, 2, 2)); }, "WriteSamples(Audio,ShortIntArr): Passing in a 3D array."},
  };
  // clang-format on
  for (const auto& [call, report] : cases) {
    EXPECT_FALSE(call());
    EXPECT_EQ(Reports(), Lines{report});
  }
}

TEST_F(QXAudioTest, HostileFilesAreInvalid) {
  const std::string comm = Comm(1, 4, 8), ssnd = Chunk("SSND", Be(0, 8) + "abcd");
  // clang-format off
  const std::string files[] = {
      Form(comm),                                                // no SSND
      Form(comm + "SSND" + Be(-8, 4) + ssnd.substr(8)),          // a negative size
      Form(comm + "SSND" + Be(100, 4) + ssnd.substr(8)),         // a size past the end
      Form(comm + Chunk("SSND", "1234")),                        // SSND under 8 bytes
      Form(Chunk("COMM", comm.substr(8, 10)) + ssnd),            // COMM under 18 bytes
      Form(Comm(0, 4, 8) + ssnd),                                // no channels
      Form(Comm(1, 4, 0) + ssnd),                                // no bits
      Form(comm + Chunk("SSND", Be(5, 4) + Be(0, 4) + "abcd")),  // offset past the frames
      Chunk("FORM", "AIFC" + comm + ssnd),                       // no AIFF form
  };
  // clang-format on
  for (const std::string& bytes : files) {
    file.Write(bytes);
    EXPECT_EQ(QXAudio(file.path).NumberOfSamples(), 0);
    EXPECT_EQ(Reports(), Lines{"QXAudio(file): Invalid format"});
  }
}

TEST_F(QXAudioTest, TheWriterPatchesTheSizesWhenItGoes) {
  {
    QXAudioOutput out(file.path, 2, 16, 44100);
    ASSERT_TRUE(WriteSamples(out, MakeArray<short>(2, 100, 1, std::vector<short>(200, 0x0102))));
  }
  EXPECT_EQ(file.Read().substr(0, 56), "FORM" + Be(446, 4) + "AIFFCOMM" + Be(18, 4) + Be(2, 2) +
                                           Be(100, 4) + Be(16, 2) + Be(0x400EAC44, 4) + Be(0, 6) +
                                           "SSND" + Be(408, 4) + Be(0, 8) + Be(0x0102, 2));
  EXPECT_EQ(file.Read().size(), 454u);
}

TEST_F(QXAudioTest, CloseCountsFramesInWholeBytes) {
  QXAudioOutput twelveBits(file.path, 1, 12, 8000);
  ASSERT_TRUE(WriteSamples(twelveBits, MakeArray<unsigned char>(2, 3, 1, {1, 2, 3, 4, 5, 6})));
  twelveBits.Close();
  EXPECT_EQ(file.Read().substr(22, 4), Be(3, 4));
}

TEST_F(QXAudioTest, CloseCountsNoFramesWithoutChannels) {
  QXAudioOutput(file.path, 0, 16, 8000).Close();
  EXPECT_EQ(file.Read().substr(22, 4), Be(0, 4));
}

TEST_F(QXAudioTest, AFailedWriteIsReportedAndTakenBack) {
  QXAudioOutput out(file.path, 1, 16, 8000);
  const QXFileSizeLimit limit(1000);
  EXPECT_FALSE(WriteSamples(out, MakeArray<short>(1, 4096, 1, std::vector<short>(4096, 1))));
  EXPECT_EQ(Reports(), Lines{"WriteSamples(Audio,ShortIntArr): Could not write the samples "
                             "(File too large)."});
  out.Close();
  EXPECT_EQ(file.Read().size(), 54u);
}

// Numbers as the x87 80-bit long double holds them: sign and exponent, then the significand.
const std::tuple<double, int, uint64_t> kExtendedNumbers[] = {
    {0, 0x0000, 0},
    {0.5, 0x3ffe, 0x8000000000000000},
    {1, 0x3fff, 0x8000000000000000},
    {8000, 0x400b, 0xfa00000000000000},
    {12345.678, 0x400c, 0xc0e6b645a1cac000},
};

TEST(QXExtendedNumberTest, ConvertsAsTheX87Does) {
  for (const auto& [value, head, significand] : kExtendedNumbers) {
    unsigned char bytes[10];
    QXConvertDoubleTo80(value, bytes);
    EXPECT_EQ(std::string(bytes, bytes + 10), Be(head, 2) + Be(significand, 8)) << value;
    EXPECT_EQ(QXConvert80ToDouble(bytes), value);
  }
}

// sox, a peer reader and writer of AIFF files, is the oracle: we read the
// files sox writes and sox reads the files we write, each side comparing the
// samples with the raw ones that sox extracts. Skipped when sox is missing.

bool HaveSox() { return std::system("sox --version >/dev/null 2>&1") == 0; }

// What the command printed; it must succeed.
std::string Shell(const std::string& command) {
  const QXTempPath printed("shell", ".txt");
  EXPECT_EQ(std::system((command + " >" + printed.path).c_str()), 0) << command;
  return printed.Read();
}

// The samples of the file as sox extracts them, raw in the file's own
// encoding and width, printed in decimal by od.
std::vector<short> SoxSamples(const std::string& path, int bits) {
  std::istringstream text(
      Shell("sox -V1 " + path + " -t raw - | od -An -v -td" + std::to_string(bits / 8)));
  return std::vector<short>(std::istream_iterator<short>(text), {});
}

// Every frame of the file, read into an Array.
template <class Array>
std::vector<short> Frames(const QXAudio& audio) {
  Array A(audio.NumberOfChannels(), audio.NumberOfSamples(), 1);
  EXPECT_TRUE(ReadInSamples(audio, 0, A));
  return std::vector<short>(A.Pointer(), A.Pointer() + A.Length());
}

// Rate, channels, bits, and the chunks put in before sox's own (the file is
// otherwise left as sox wrote it).
const std::tuple<int, int, int, std::string> kSoxFiles[] = {
    {8000, 1, 8, ""},
    {44100, 2, 16, ""},
    {44100, 2, 16, Chunk("ANNO", "odd")},  // an odd size and its pad byte
};

TEST_F(QXAudioTest, ReadsTheSamplesSoxWrites) {
  if (!HaveSox()) GTEST_SKIP() << "sox is not installed";
  for (const auto& [rate, channels, bits, before] : kSoxFiles) {
    Shell("sox -V1 -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " -n -b " +
          std::to_string(bits) + " " + file.path + " synth 1000s sine 300 sine 500");
    file.Write(Form(before + file.Read().substr(12)));
    const QXAudio audio(file.path);
    EXPECT_EQ(audio.SampleRate(), rate);
    EXPECT_EQ(bits == 8 ? Frames<QXMutableCharArray>(audio) : Frames<QXMutableShortIntArray>(audio),
              SoxSamples(file.path, bits));
  }
}

TEST_F(QXAudioTest, SoxReadsWhatWeWrite) {
  if (!HaveSox()) GTEST_SKIP() << "sox is not installed";
  QXMutableShortIntArray samples(2, 700, 1);
  for (int i = 0; i < samples.Length(); i++) samples(i) = static_cast<short>(i * 45 - 31000);
  QXAudioOutput out(file.path, 2, 16, 44100);
  ASSERT_TRUE(WriteSamples(out, samples));
  out.Close();
  EXPECT_EQ(Shell("soxi -c " + file.path), "2\n");
  EXPECT_EQ(Shell("soxi -r " + file.path), "44100\n");
  EXPECT_EQ(Shell("soxi -b " + file.path), "16\n");
  EXPECT_EQ(Shell("soxi -s " + file.path), "700\n");
  EXPECT_EQ(SoxSamples(file.path, 16), Elements(samples));
}

}  // namespace
