#include "QXAudio.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "QXAiffBytes.h"
#include "QXMatlabFileBytes.h"
#include "QXReportingTest.h"

namespace {

// The bytes 0, 1, 2, ... (mod 256).
std::string Counting(int length) {
  std::string bytes;
  for (int i = 0; i < length; i++) bytes += static_cast<char>(i);
  return bytes;
}

std::vector<signed char> CountingFrom(int first, int count) {
  std::vector<signed char> values;
  for (int i = first; i < first + count; i++) values.push_back(static_cast<signed char>(i));
  return values;
}

class QXAudioTest : public QXReportingTest {
 protected:
  std::unique_ptr<QXAudio> Open(const std::string& bytes) {
    file.Write(bytes);
    return std::make_unique<QXAudio>(file.path);
  }

  QXTempPath file{"audio", ".aiff"};
};

// A read that must fail, and what it reports.
struct QXRefusal {
  std::function<bool()> call;
  std::string report;
};

TEST_F(QXAudioTest, ReadsTheLastFramesIntoAShortenedArray) {
  const auto audio = Open(Form(Comm(1, 1000, 8) + Ssnd(Counting(1000))));
  QXMutableCharArray A(1, 20, 1);
  ASSERT_TRUE(ReadInSamples(*audio, 990, A));
  EXPECT_EQ(A.n(), 10);
  EXPECT_EQ(Elements(A), CountingFrom(990, 10));
}

TEST_F(QXAudioTest, RefusesArraysThatDoNotFitTheFile) {
  const auto audio = Open(Form(Comm(2, 4, 16) + Ssnd(std::string(16, '\1'))));
  QXMutableShortIntArray mono(1, 4, 1), stereo(2, 4, 1), volume(2, 2, 2);
  QXMutableCharArray chars(2, 4, 1);
  QXMutableUCharArray bytes(2, 4, 1);
  // clang-format off
  const QXRefusal cases[] = {
      {[&] { return ReadInSamples(*audio, 0, mono); }, "ReadInSamples(audio,#,array): Number of channels is incompatible."},
      {[&] { return ReadInSamples(*audio, 0, bytes); }, "ReadInSamples(audio,#,UCharArray): Number of channels is incompatible."},
      {[&] { return ReadInSamples(*audio, 0, chars); }, "ReadInSamples(audio,#,CharArray): Sample depth is incompatiable."},
      {[&] { return ReadInSamples(*audio, 4, stereo); }, "ReadInSamples(audio,#,array): sampleNumber out of bounds."},
      {[&] { return ReadInSamples(*audio, -1, stereo); }, "ReadInSamples(audio,#,array): sampleNumber out of bounds."},
      {[&] { return ReadInSamples(*audio, 0, volume); }, "ReadInSamples(audio,#,array): Passing in a 3D array."},
  };
  // clang-format on
  for (const QXRefusal& refusal : cases) {
    EXPECT_FALSE(refusal.call());
    EXPECT_EQ(Reports(), Lines{refusal.report});
  }
}

TEST_F(QXAudioTest, AFailedReadLeavesTheArrayAsItWas) {
  const auto audio = Open(Form(Comm(1, 1000, 8) + Ssnd(Counting(1000))));
  ASSERT_EQ(truncate(file.path.c_str(), 500), 0);
  QXMutableCharArray A(1, 20, 1);
  A = 7;
  EXPECT_FALSE(ReadInSamples(*audio, 990, A));
  EXPECT_EQ(Reports(), Lines{"ReadInSamples(audio,#,CharArray): Failed when reading from file."});
  EXPECT_EQ(Elements(A), std::vector<signed char>(20, 7));
}

TEST_F(QXAudioTest, ReadsSixteenBitSamplesIntoShortAndSignExtendedIntArrays) {
  const auto audio =
      Open(Form(Comm(2, 2, 16) + Ssnd(Be(-2, 2) + Be(32767, 2) + Be(-32768, 2) + Be(1, 2))));
  QXMutableShortIntArray S(2, 2, 1);
  QXMutableIntArray I(2, 2, 1);
  ASSERT_TRUE(ReadInSamples(*audio, 0, S));
  ASSERT_TRUE(ReadInSamples(*audio, 0, I));
  EXPECT_EQ(Elements(S), (std::vector<short>{-2, 32767, -32768, 1}));
  EXPECT_EQ(Elements(I), (std::vector<int>{-2, 32767, -32768, 1}));
}

TEST_F(QXAudioTest, RawFramesOfTwelveBitSamplesTakeWholeBytes) {
  const auto audio = Open(Form(Comm(2, 2, 12) + Ssnd("\x12\x30\x45\x60\x78\x90\xAB\xC0")));
  QXMutableUCharArray A(4, 2, 1);
  ASSERT_TRUE(ReadInSamples(*audio, 1, A));
  EXPECT_EQ(Elements(A), (std::vector<unsigned char>{0x78, 0x90, 0xAB, 0xC0}));
}

TEST_F(QXAudioTest, SkipsPadBytesAndLongFormatChunksAndHonoursTheSoundOffset) {
  const std::string format = Comm(1, 3, 8).substr(8) + "xx";
  const auto audio = Open(Form(Chunk("ANNO", "odd") + Chunk("COMM", format) + Ssnd("--abc", 2)));
  QXMutableCharArray A(1, 3, 1);
  ASSERT_TRUE(ReadInSamples(*audio, 0, A));
  EXPECT_EQ(Elements(A), (std::vector<signed char>{'a', 'b', 'c'}));
}

TEST_F(QXAudioTest, AFrameCountBeyondTheSoundChunkIsCutToTheFramesThere) {
  const auto audio = Open(Form(Comm(2, 0xFFFFFFFF, 16) + Ssnd(std::string(10, 'a'))));
  EXPECT_EQ(audio->NumberOfSamples(), 2);
}

TEST_F(QXAudioTest, HostileFilesAreInvalid) {
  const std::string comm = Comm(1, 4, 8), ssnd = Ssnd("abcd"), minus8 = Be(-8, 4);
  // clang-format off
  const std::string files[] = {
      Form(comm),
      Form(ssnd),
      "FORM" + minus8 + "AIFF" + comm + ssnd,
      Form("COMM" + minus8 + comm.substr(8) + ssnd),
      Form(comm + "SSND" + minus8 + ssnd.substr(8)),
      Form("ANNO" + minus8 + comm + ssnd),
      Form(comm + Chunk("SSND", "1234")),
      Form(Chunk("COMM", comm.substr(8, 10)) + ssnd),
      Form(ssnd + comm.substr(0, 20)),
      Form(Comm(0, 4, 8) + ssnd),
      Form(Comm(1, 4, 0) + ssnd),
      Form(comm + Ssnd("abcd", 5)),
      Form(comm + "SSND" + Be(100, 4) + Be(0, 8) + "abcd"),
      "FORM" + Be(1000, 4) + "AIFF" + comm + ssnd,
      Chunk("FORM", "AIFC" + comm + ssnd),
  };
  // clang-format on
  for (const std::string& bytes : files) {
    const auto audio = Open(bytes);
    EXPECT_EQ(Reports(), Lines{"QXAudio(file): Invalid format"});
    EXPECT_EQ(audio->NumberOfChannels(), 0);
    EXPECT_EQ(audio->NumberOfSamples(), 0);
    EXPECT_EQ(audio->FileName(), "");
    EXPECT_EQ(audio->FilePointer(), nullptr);
  }
}

TEST_F(QXAudioTest, CloseWritesTheSizesOfTheFramesWritten) {
  QXMutableShortIntArray frames(2, 100, 1);
  frames = -2;
  QXAudioOutput out(file.path, 2, 16, 44100);
  ASSERT_TRUE(WriteSamples(out, frames));
  out.Close();
  const std::string bytes = file.Read();
  EXPECT_EQ(bytes.size(), 454u);
  EXPECT_EQ(bytes.substr(0, 54), "FORM" + Be(446, 4) + "AIFFCOMM" + Be(18, 4) + Be(2, 2) +
                                     Be(100, 4) + Be(16, 2) + Be(0x400EAC44, 4) + Be(0, 6) +
                                     "SSND" + Be(408, 4) + Be(0, 8));
  EXPECT_EQ(bytes.substr(452), Be(-2, 2));
}

TEST_F(QXAudioTest, ReadsBackWhatTheWriterWroteAndClosedOnItsWay) {
  const auto frames = MakeArray<short>(2, 3, 1, {1, -1, 300, -300, 32767, -32768});
  {
    QXAudioOutput out(file.path, 2, 16, 44100);
    ASSERT_TRUE(WriteSamples(out, frames));
  }
  QXAudio audio(file.path);
  EXPECT_EQ(audio.SampleRate(), 44100);
  EXPECT_EQ(audio.SampleSize(), 16);
  EXPECT_EQ(audio.NumberOfSamples(), 3);
  QXMutableShortIntArray back(2, 3, 1);
  ASSERT_TRUE(ReadInSamples(audio, 0, back));
  EXPECT_EQ(Elements(back), Elements(frames));
}

TEST_F(QXAudioTest, WriteSamplesRefusesArraysThatDoNotFitTheFile) {
  QXAudioOutput out(file.path, 2, 16, 8000);
  // clang-format off
  const QXRefusal cases[] = {
      {[&] { return WriteSamples(out, QXMutableShortIntArray(1, 2, 1)); }, "WriteSamples(Audio,ShortIntArr): Incorrect number of samples."},
      {[&] { return WriteSamples(out, QXMutableCharArray(2, 2, 1)); }, "WriteSamples(Audio,QXCharArray): Only works for 8 bits per sample."},
      {[&] { return WriteSamples(out, QXMutableIntArray(2, 2, 1)); }, "WriteSamples(Audio,QXIntArray): Only works for 32 bits per sample."},
      {[&] { return WriteSamples(out, QXMutableUCharArray(2, 2, 1)); }, "WriteSamples(Audio,QXUCharArray): Incorrect number of bytes per sample."},
      {[&] { return WriteSamples(out, QXMutableShortIntArray(2, 2, 2)); }, "WriteSamples(Audio,ShortIntArr): Passing in a 3D array."},
  };
  // clang-format on
  for (const QXRefusal& refusal : cases) {
    EXPECT_FALSE(refusal.call());
    EXPECT_EQ(Reports(), Lines{refusal.report});
  }
  EXPECT_TRUE(WriteSamples(out, QXShortIntArray()));
  out.Close();
  EXPECT_FALSE(WriteSamples(out, MakeArray<short>(2, 1, 1, {1, 2})));
  EXPECT_EQ(file.Read().size(), 54u);
}

TEST_F(QXAudioTest, FramesAreCountedInWholeBytesAndNoneWithoutChannels) {
  {
    QXAudioOutput twelveBits(file.path, 1, 12, 8000);
    WriteSamples(twelveBits, MakeArray<unsigned char>(2, 3, 1, {1, 2, 3, 4, 5, 6}));
  }
  EXPECT_EQ(file.Read().substr(22, 4), Be(3, 4));
  { QXAudioOutput noChannels(file.path, 0, 16, 8000); }
  EXPECT_EQ(file.Read().substr(22, 4), Be(0, 4));
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

// Rates as sox writes them (and zero): the 80-bit bytes in hexadecimal.
const std::pair<double, const char*> kExtendedNumbers[] = {
    {0, "00000000000000000000"},         {0.5, "3ffe8000000000000000"},
    {1, "3fff8000000000000000"},         {3, "4000c000000000000000"},
    {8000, "400bfa00000000000000"},      {11025, "400cac44000000000000"},
    {44100, "400eac44000000000000"},     {192000, "4010bb80000000000000"},
    {12345.678, "400cc0e6b645a1cac000"},
};

std::string Hex(const unsigned char* bytes) {
  char text[21];
  for (int i = 0; i < 10; i++) std::snprintf(text + 2 * i, 3, "%02x", bytes[i]);
  return text;
}

TEST(QXExtendedNumberTest, ConvertsRatesAsSoxWritesThem) {
  for (const auto& [value, hex] : kExtendedNumbers) {
    unsigned char bytes[10];
    QXConvertDoubleTo80(value, bytes);
    EXPECT_EQ(Hex(bytes), hex);
    EXPECT_EQ(QXConvert80ToDouble(bytes), value) << hex;
  }
}

TEST(QXExtendedNumberTest, EveryDoubleComesBackBitForBit) {
  for (double value : {-44100.0, -0.0, 5e-324, DBL_MIN, DBL_MAX, HUGE_VAL, std::nan("")}) {
    unsigned char bytes[10];
    QXConvertDoubleTo80(value, bytes);
    const double back = QXConvert80ToDouble(bytes);
    EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << value;
  }
}

TEST(QXExtendedNumberTest, CutsWhatADoubleCannotHoldTowardZero) {
  EXPECT_EQ(QXConvert80ToDouble(
                reinterpret_cast<const unsigned char*>("\x40\x0e\xac\x44\0\0\0\0\x07\xff")),
            44100);
  EXPECT_EQ(
      QXConvert80ToDouble(reinterpret_cast<const unsigned char*>("\x7f\xfe\x80\0\0\0\0\0\0\0")),
      DBL_MAX);
  EXPECT_EQ(
      QXConvert80ToDouble(reinterpret_cast<const unsigned char*>("\x00\x01\x80\0\0\0\0\0\0\0")), 0);
}

}  // namespace
