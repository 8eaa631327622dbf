// sox, a peer reader and writer of AIFF files, as the oracle: we read the
// files sox writes and sox reads the files we write, each side comparing the
// samples with the raw ones that sox extracts. Skipped when sox is missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "QXAiffBytes.h"
#include "QXAudio.h"
#include "QXTestSupport.h"

namespace {

// What the command printed on standard output.
std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      text.append(buffer, got);
    pclose(pipe);
  }
  return text;
}

// Runs sox quietly with the arguments.
void Sox(const std::string& arguments) {
  ASSERT_EQ(std::system(("sox -V1 " + arguments).c_str()), 0) << arguments;
}

// The samples of the file as sox decodes them, big-endian, `bits` each.
std::vector<int> SoxSamples(const std::string& path, int bits) {
  QXTempPath raw("sox", ".raw");
  Sox(path + " -t raw -e signed-integer -b " + std::to_string(bits) + " -B " + raw.path);
  const std::string bytes = raw.Read();
  std::vector<int> samples;
  for (size_t i = 0; i + bits / 8 <= bytes.size(); i += bits / 8)
    samples.push_back(bits == 8 ? static_cast<signed char>(bytes[i])
                                : static_cast<short>(static_cast<unsigned char>(bytes[i]) << 8 |
                                                     static_cast<unsigned char>(bytes[i + 1])));
  return samples;
}

// Every frame of the file, in the form its sample size asks for.
std::vector<int> OurSamples(const QXAudio& audio) {
  QXMutableShortIntArray shorts(audio.NumberOfChannels(), audio.NumberOfSamples(), 1);
  QXMutableCharArray chars(audio.NumberOfChannels(), audio.NumberOfSamples(), 1);
  if (audio.SampleSize() == 8 && ReadInSamples(audio, 0, chars))
    return std::vector<int>(chars.Pointer(), chars.Pointer() + chars.Length());
  if (audio.SampleSize() == 16 && ReadInSamples(audio, 0, shorts))
    return std::vector<int>(shorts.Pointer(), shorts.Pointer() + shorts.Length());
  return {};
}

struct QXSoxFormat {
  int rate, channels, bits;
};
const QXSoxFormat kFormats[] = {{8000, 1, 8}, {44100, 2, 16}};

class QXAudioSoxTest : public testing::Test {
 protected:
  void SetUp() override {
    static const bool haveSox = std::system("sox --version >/dev/null 2>&1") == 0;
    if (!haveSox) GTEST_SKIP() << "sox is not installed";
  }
  QXTempPath file{"sox", ".aiff"};
};

TEST_F(QXAudioSoxTest, ReadsTheSamplesSoxWrites) {
  for (const QXSoxFormat& format : kFormats) {
    SCOPED_TRACE(format.rate);
    Sox("-r " + std::to_string(format.rate) + " -c " + std::to_string(format.channels) + " -n -b " +
        std::to_string(format.bits) + " " + file.path + " synth 1000s sine 300 sine 500");
    const QXAudio audio(file.path);
    EXPECT_EQ(audio.NumberOfChannels(), format.channels);
    EXPECT_EQ(audio.SampleRate(), format.rate);
    EXPECT_EQ(audio.NumberOfSamples(), 1000);
    EXPECT_EQ(OurSamples(audio), SoxSamples(file.path, format.bits));
  }
}

TEST_F(QXAudioSoxTest, SkipsAnOddChunkAndItsPadByteAsSoxDoes) {
  Sox("-r 44100 -c 2 -n -b 16 " + file.path + " synth 500s sine 440");
  const std::string sox = file.Read();
  const std::string padded = sox.substr(0, 12) + Chunk("ANNO", "odd") + sox.substr(12);
  file.Write("FORM" + Be(static_cast<int64_t>(padded.size()) - 8, 4) + padded.substr(8));
  const QXAudio audio(file.path);
  EXPECT_EQ(audio.NumberOfSamples(), 500);
  EXPECT_EQ(OurSamples(audio), SoxSamples(file.path, 16));
}

TEST_F(QXAudioSoxTest, SoxReadsWhatWeWrite) {
  QXMutableShortIntArray shorts(2, 700, 1);
  QXMutableCharArray chars(1, 700, 1);
  for (int i = 0; i < 1400; i++) shorts(i) = static_cast<short>(i * 47);
  for (int i = 0; i < 700; i++) chars(i) = static_cast<signed char>(i * 3);
  for (const QXSoxFormat& format : kFormats) {
    SCOPED_TRACE(format.rate);
    {
      QXAudioOutput out(file.path, format.channels, format.bits, format.rate);
      ASSERT_TRUE(format.bits == 8 ? WriteSamples(out, chars) : WriteSamples(out, shorts));
    }
    EXPECT_EQ(Output("soxi -c " + file.path), std::to_string(format.channels) + "\n");
    EXPECT_EQ(Output("soxi -r " + file.path), std::to_string(format.rate) + "\n");
    EXPECT_EQ(Output("soxi -b " + file.path), std::to_string(format.bits) + "\n");
    EXPECT_EQ(Output("soxi -s " + file.path), "700\n");
    const std::vector<int> ours = format.bits == 8
                                      ? std::vector<int>(chars.Pointer(), chars.Pointer() + 700)
                                      : std::vector<int>(shorts.Pointer(), shorts.Pointer() + 1400);
    EXPECT_EQ(SoxSamples(file.path, format.bits), ours);
  }
}

}  // namespace
