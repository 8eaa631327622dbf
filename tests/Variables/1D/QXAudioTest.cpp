#include "QXAudio.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "QXAiffBytes.h"
#include "QXMatlabFileBytes.h"

namespace {

class QXAudioTest : public QXReportingTest {
 protected:
  const QXAudio& Open(const std::string& bytes) {
    file.Write(bytes);
    audio = std::make_unique<QXAudio>(file.path);
    return *audio;
  }

  QXTempPath file{"audio", ".aiff"}, output{"audio", ".aiff"};
  std::unique_ptr<QXAudio> audio;
};

// A call that must fail, and what it reports.
struct QXRefusal {
  std::function<bool()> call;
  std::string report;
};

std::string Text(const QXCharArray& A) {
  return std::string(A.Pointer(), A.Pointer() + A.Length());
}

TEST_F(QXAudioTest, ReadsTheLastFramesIntoAShortenedArrayAndNothingWhenTheReadFails) {
  const QXAudio& mono = Open(Form(Comm(1, 1000, 8) + Ssnd(std::string(990, 'x') + "0123456789")));
  QXMutableCharArray A(1, 20, 1), B(1, 20, 1);
  ASSERT_TRUE(ReadInSamples(mono, 990, A));
  EXPECT_EQ(Text(A), "0123456789");
  ASSERT_EQ(truncate(file.path.c_str(), 500), 0);
  B = '-';
  EXPECT_FALSE(ReadInSamples(mono, 990, B));
  EXPECT_EQ(Reports(), Lines{"ReadInSamples(audio,#,CharArray): Failed when reading from file."});
  EXPECT_EQ(Text(B), std::string(20, '-'));
}

TEST_F(QXAudioTest, RefusesArraysThatDoNotFitTheFile) {
  const QXAudio& stereo = Open(Form(Comm(2, 4, 16) + Ssnd(std::string(16, '\1'))));
  QXAudioOutput out(output.path, 2, 16, 8000);
  QXMutableShortIntArray one(1, 4, 1), two(2, 4, 1), volume(2, 2, 2);
  QXMutableCharArray chars(2, 4, 1);
  QXMutableUCharArray bytes(2, 4, 1);
  QXMutableIntArray ints(2, 4, 1);
  // clang-format off
  const QXRefusal cases[] = {
      {[&] { return ReadInSamples(stereo, 0, one); }, "ReadInSamples(audio,#,array): Number of channels is incompatible."},
      {[&] { return ReadInSamples(stereo, 0, bytes); }, "ReadInSamples(audio,#,UCharArray): Number of channels is incompatible."},
      {[&] { return ReadInSamples(stereo, 0, chars); }, "ReadInSamples(audio,#,CharArray): Sample depth is incompatiable."},
      {[&] { return ReadInSamples(stereo, 4, two); }, "ReadInSamples(audio,#,array): sampleNumber out of bounds."},
      {[&] { return ReadInSamples(stereo, -1, ints); }, "ReadInSamples(audio,#,IntArray): sampleNumber out of bounds."},
      {[&] { return ReadInSamples(stereo, 0, volume); }, "ReadInSamples(audio,#,array): Passing in a 3D array."},
      {[&] { return WriteSamples(out, one); }, "WriteSamples(Audio,ShortIntArr): Incorrect number of samples."},
      {[&] { return WriteSamples(out, chars); }, "WriteSamples(Audio,QXCharArray): Only works for 8 bits per sample."},
      {[&] { return WriteSamples(out, ints); }, "WriteSamples(Audio,QXIntArray): Only works for 32 bits per sample."},
      {[&] { return WriteSamples(out, bytes); }, "WriteSamples(Audio,QXUCharArray): Incorrect number of bytes per sample."},
      {[&] { return WriteSamples(out, volume); }, "WriteSamples(Audio,ShortIntArr): Passing in a 3D array."},
  };
  // clang-format on
  for (const QXRefusal& refusal : cases) {
    EXPECT_FALSE(refusal.call());
    EXPECT_EQ(Reports(), Lines{refusal.report});
  }
  out.Close();
  EXPECT_FALSE(WriteSamples(out, two));
  EXPECT_EQ(output.Read().size(), 54u);
}

TEST_F(QXAudioTest, SkipsPadBytesAndLongFormatChunksAndHonoursTheSoundOffset) {
  const std::string longFormat = Chunk("COMM", Comm(1, 3, 8).substr(8) + "xx");
  const QXAudio& mono = Open(Form(Chunk("ANNO", "odd") + longFormat + Ssnd("--abc", 2)));
  QXMutableCharArray A(1, 3, 1);
  ASSERT_TRUE(ReadInSamples(mono, 0, A));
  EXPECT_EQ(Text(A), "abc");
}

TEST_F(QXAudioTest, AFrameCountBeyondTheSoundChunkIsCutToTheFramesThere) {
  EXPECT_EQ(Open(Form(Comm(2, 0xFFFFFFFF, 16) + Ssnd("0123456789"))).NumberOfSamples(), 2);
}

TEST_F(QXAudioTest, HostileFilesAreInvalid) {
  const std::string comm = Comm(1, 4, 8), ssnd = Ssnd("abcd"), minus8 = Be(-8, 4);
  // clang-format off
  const std::string files[] = {
      Form(comm),                                               // no SSND
      "FORM" + minus8 + "AIFF" + comm + ssnd,                   // -8 at each chunk
      Form("ANNO" + minus8 + comm + ssnd),
      Form("COMM" + minus8 + comm.substr(8) + ssnd),
      Form(comm + "SSND" + minus8 + ssnd.substr(8)),
      Form(comm + Chunk("SSND", "1234")),                       // SSND under 8 bytes
      Form(Chunk("COMM", comm.substr(8, 10)) + ssnd),           // COMM under 18 bytes
      Form(ssnd + comm.substr(0, 20)),                          // COMM cut by the end
      Form(Comm(0, 4, 8) + ssnd),                               // no channels
      Form(Comm(1, 4, 0) + ssnd),                               // no bits
      Form(comm + Ssnd("abcd", 5)),                             // offset past the frames
      Form(comm + "SSND" + Be(100, 4) + Be(0, 8) + "abcd"),     // chunks past the end
      "FORM" + Be(1000, 4) + "AIFF" + comm + ssnd,
      Chunk("FORM", "AIFC" + comm + ssnd),                      // no AIFF form
  };
  // clang-format on
  for (const std::string& bytes : files) {
    const QXAudio& invalid = Open(bytes);
    EXPECT_EQ(Reports(), Lines{"QXAudio(file): Invalid format"});
    EXPECT_EQ(invalid.NumberOfChannels(), 0);
    EXPECT_EQ(invalid.NumberOfSamples(), 0);
    EXPECT_EQ(invalid.FilePointer(), nullptr);
  }
}

TEST_F(QXAudioTest, TheWriterPatchesTheSizesWhenItGoes) {
  QXMutableShortIntArray frames(2, 50, 1);
  for (int i = 0; i < 100; i++) frames(i) = static_cast<short>(i * 661 - 30000);
  {
    QXAudioOutput out(file.path, 2, 16, 44100);
    ASSERT_TRUE(WriteSamples(out, frames));
    ASSERT_TRUE(WriteSamples(out, frames));
  }
  const std::string bytes = file.Read();
  EXPECT_EQ(bytes.size(), 454u);
  EXPECT_EQ(bytes.substr(0, 58), "FORM" + Be(446, 4) + "AIFFCOMM" + Be(18, 4) + Be(2, 2) +
                                     Be(100, 4) + Be(16, 2) + Be(0x400EAC44, 4) + Be(0, 6) +
                                     "SSND" + Be(408, 4) + Be(0, 8) + Be(-30000, 2) +
                                     Be(661 - 30000, 2));
  QXMutableIntArray back(2, 50, 1);  // sign-extended
  ASSERT_TRUE(ReadInSamples(QXAudio(file.path), 50, back));
  EXPECT_EQ(Elements(back), std::vector<int>(frames.Pointer(), frames.Pointer() + 100));
}

TEST_F(QXAudioTest, FramesAreCountedInWholeBytesAndNoneWithoutChannels) {
  const auto frames = MakeArray<unsigned char>(2, 3, 1, {0x12, 0x30, 0x45, 0x60, 0x78, 0x90});
  {
    QXAudioOutput twelveBits(file.path, 1, 12, 8000);
    WriteSamples(twelveBits, frames);
  }
  EXPECT_EQ(file.Read().substr(22, 4), Be(3, 4));
  QXMutableUCharArray back(2, 3, 1);
  ASSERT_TRUE(ReadInSamples(QXAudio(file.path), 0, back));
  EXPECT_EQ(Elements(back), Elements(frames));
  { QXAudioOutput noChannels(output.path, 0, 16, 8000); }
  EXPECT_EQ(output.Read().substr(22, 4), Be(0, 4));
}

TEST_F(QXAudioTest, AFailedWriteIsReportedAndTakenBack) {
  QXMutableShortIntArray frames(1, 4096, 1);
  frames = 1;
  QXAudioOutput out(file.path, 1, 16, 8000);
  {
    QXFileSizeLimit limit(1000);
    EXPECT_FALSE(WriteSamples(out, frames));
  }
  EXPECT_EQ(
      Reports(),
      Lines{"WriteSamples(Audio,ShortIntArr): Could not write the samples (File too large)."});
  out.Close();
  EXPECT_EQ(file.Read().size(), 54u);
}

// Rates as sox writes them, and other numbers as the x87 80-bit long double holds them.
const std::pair<double, const char*> kExtendedNumbers[] = {
    {0.5, "3ffe8000000000000000"},     {1, "3fff8000000000000000"},
    {3, "4000c000000000000000"},       {8000, "400bfa00000000000000"},
    {44100, "400eac44000000000000"},   {12345.678, "400cc0e6b645a1cac000"},
    {0, "00000000000000000000"},       {-0.0, "80000000000000000000"},
    {-44100, "c00eac44000000000000"},  {5e-324, "3bcd8000000000000000"},
    {DBL_MAX, "43fefffffffffffff800"}, {HUGE_VAL, "7fff8000000000000000"},
    {NAN, "7fffc000000000000000"},
};

std::string Hex(const unsigned char* bytes) {
  char text[21];
  for (int i = 0; i < 10; i++) std::snprintf(text + 2 * i, 3, "%02x", bytes[i]);
  return text;
}

TEST(QXExtendedNumberTest, ConvertsAsOtherWritersDo) {
  for (const auto& [value, hex] : kExtendedNumbers) {
    unsigned char bytes[10];
    QXConvertDoubleTo80(value, bytes);
    EXPECT_EQ(Hex(bytes), hex);
    const double back = QXConvert80ToDouble(bytes);
    EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << hex;
  }
}

TEST(QXExtendedNumberTest, CutsWhatADoubleCannotHoldTowardZero) {
  const auto bytes = [](const char* text) { return reinterpret_cast<const unsigned char*>(text); };
  EXPECT_EQ(QXConvert80ToDouble(bytes("\x40\x0e\xac\x44\0\0\0\0\x07\xff")), 44100);
  EXPECT_EQ(QXConvert80ToDouble(bytes("\x7f\xfe\x80\0\0\0\0\0\0\0")), DBL_MAX);
  EXPECT_EQ(QXConvert80ToDouble(bytes("\x00\x01\x80\0\0\0\0\0\0\0")), 0);
}

}  // namespace
