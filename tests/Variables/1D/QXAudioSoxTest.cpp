// sox, a peer reader and writer of AIFF files, as the oracle: we read the
// files sox writes and sox reads the files we write, each side comparing the
// samples with the raw ones that sox extracts. Skipped when sox is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "QXAiffBytes.h"
#include "QXAudio.h"
#include "QXByteOrderInternal.h"
#include "QXTestSupport.h"

namespace {

// What the shell command printed.
std::string Output(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) text += static_cast<char>(c);
  if (pipe != nullptr) pclose(pipe);
  return text;
}

void Sox(const std::string& arguments) {
  ASSERT_EQ(std::system(("sox -V1 " + arguments).c_str()), 0) << arguments;
}

// The samples of the file as sox decodes them.
std::vector<int> SoxSamples(const std::string& path, int bits) {
  QXTempPath raw("sox", ".raw");
  Sox(path + " -t raw -e signed-integer -B -b " + std::to_string(bits) + " " + raw.path);
  const std::string text = raw.Read();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::vector<int> samples;
  for (size_t i = 0; i < text.size(); i += bits / 8)
    samples.push_back(bits == 8 ? static_cast<signed char>(bytes[i])
                                : QXLoad<int16_t>(bytes + i, QXByteOrder::BigEndian));
  return samples;
}

// Every frame of the file, read in the form of its sample size.
template <class Array>
std::vector<int> Frames(const QXAudio& audio) {
  Array A(audio.NumberOfChannels(), audio.NumberOfSamples(), 1);
  EXPECT_TRUE(ReadInSamples(audio, 0, A));
  return std::vector<int>(A.Pointer(), A.Pointer() + A.Length());
}
std::vector<int> OurSamples(const QXAudio& audio) {
  return audio.SampleSize() == 8 ? Frames<QXMutableCharArray>(audio)
                                 : Frames<QXMutableShortIntArray>(audio);
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
  for (const auto& [rate, channels, bits] : kFormats) {
    Sox("-r " + std::to_string(rate) + " -c " + std::to_string(channels) + " -n -b " +
        std::to_string(bits) + " " + file.path + " synth 1000s sine 300 sine 500");
    const QXAudio audio(file.path);
    EXPECT_EQ(audio.SampleRate(), rate);
    EXPECT_EQ(audio.NumberOfSamples(), 1000);
    EXPECT_EQ(OurSamples(audio), SoxSamples(file.path, bits));
  }
}

TEST_F(QXAudioSoxTest, SkipsAnOddChunkAndItsPadByteAsSoxDoes) {
  Sox("-r 44100 -c 2 -n -b 16 " + file.path + " synth 500s sine 440");
  const std::string chunks = file.Read().substr(12);
  file.Write(Form(Chunk("ANNO", "odd") + chunks));
  const QXAudio audio(file.path);
  EXPECT_EQ(audio.NumberOfSamples(), 500);
  EXPECT_EQ(OurSamples(audio), SoxSamples(file.path, 16));
}

TEST_F(QXAudioSoxTest, SoxReadsWhatWeWrite) {
  for (const auto& [rate, channels, bits] : kFormats) {
    std::vector<int> samples(channels * 700);
    for (int i = 0; i < channels * 700; i++)
      samples[i] = (i * 47) % (1 << bits) - (1 << (bits - 1));
    QXMutableShortIntArray shorts(channels, 700, 1);
    QXMutableCharArray chars(channels, 700, 1);
    std::copy(samples.begin(), samples.end(), chars.Pointer());
    std::copy(samples.begin(), samples.end(), shorts.Pointer());
    {
      QXAudioOutput out(file.path, channels, bits, rate);
      ASSERT_TRUE(bits == 8 ? WriteSamples(out, chars) : WriteSamples(out, shorts));
    }
    const std::string soxi = "for o in c r b s; do soxi -$o " + file.path + "; done";
    EXPECT_EQ(Output(soxi), std::to_string(channels) + "\n" + std::to_string(rate) + "\n" +
                                std::to_string(bits) + "\n700\n");
    EXPECT_EQ(SoxSamples(file.path, bits), samples);
  }
}

}  // namespace
