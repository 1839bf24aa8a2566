// The sound reader over WAV files that libsndfile writes here: each format
// the program takes reads back to the samples written; broken files and
// formats it does not take give a reason and load nothing.
#include "sound/native/SoundFileReader.h"
#include "tests/support/TestFolder.h"

#include <sndfile.h>

#include <cmath>
#include <filesystem>

namespace {

class SoundFileReaderTest : public TestFolder {
  protected:
    SoundFileReaderTest() : TestFolder("sound-reader-") {}

    // A WAV of `frames` frames of a different tone per channel; its path.
    std::string write(const std::string& name, int format, int rate, int channels, int frames) {
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = channels;
        info.format = format;
        SNDFILE* file = sf_open(path(name).c_str(), SFM_WRITE, &info);
        EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
        std::vector<float> samples;
        for (int i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c)
                samples.push_back(tone(c, i));
        if (file) sf_writef_float(file, samples.data(), frames);
        sf_close(file);
        return path(name);
    }
    static float tone(int channel, int i) {
        return 0.5f * float(std::sin(0.01 * (channel + 1) * i));
    }

    // Reading `file` fails with a reason mentioning `why` and leaves the clip.
    void expectRefused(const std::string& file, const std::string& why) {
        SoundClip clip(8000, {{0.25f}});
        SoundFileReader reader;
        EXPECT_FALSE(reader.read(file, clip)) << file;
        EXPECT_NE(reader.error().find(why), std::string::npos) << reader.error();
        EXPECT_EQ(clip.length(), 1) << file;
    }
};

TEST_F(SoundFileReaderTest, ReadsEachSampleFormatMonoOrStereo) {
    struct Case {
        int format;
        int rate;
        int channels;
        float step; // the format's quantisation
    } cases[] = {
        {SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, 1, 1.0f / 128},
        {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 2, 1.0f / 32768},
        {SF_FORMAT_WAV | SF_FORMAT_PCM_24, 44100, 1, 1.0f / 8388608},
        {SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 2, 0},
        {SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 16000, 2, 1.0f / 32768},
    };
    for (const Case& c : cases) {
        std::string file = write("tone.wav", c.format, c.rate, c.channels, 1234);
        SoundClip clip;
        SoundFileReader reader;
        ASSERT_TRUE(reader.read(file, clip)) << reader.error();
        ASSERT_EQ(clip.rate(), c.rate);
        ASSERT_EQ(clip.channelCount(), c.channels);
        ASSERT_EQ(clip.length(), 1234);
        for (int i = 0; i < 1234; i += 7) {
            float mix = 0;
            for (int ch = 0; ch < c.channels; ++ch) {
                EXPECT_NEAR(clip.channel(ch)[i], tone(ch, i), c.step) << c.format << " " << i;
                mix += tone(ch, i) / float(c.channels);
            }
            EXPECT_NEAR(clip.mono()[i], mix, c.step) << c.format << " " << i;
        }
    }
}

TEST_F(SoundFileReaderTest, BrokenFilesAndOtherFormatsLoadNothing) {
    std::string good =
        fileBytes(write("good.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1, 5000));
    expectRefused(put("cut.wav", good.substr(0, good.size() / 2)), "ends before");
    expectRefused(put("cut-in-header.wav", good.substr(0, 30)), "not a sound file");
    expectRefused(put("text.wav", "hello, not a sound\n"), "not a sound file");
    // The header announces twice the samples the file holds.
    std::string claims = good;
    std::uint32_t size = std::uint32_t(good.size() - 44) * 2;
    for (int b = 0; b < 4; ++b)
        claims[std::size_t(40 + b)] = char((size >> (8 * b)) & 0xff);
    ASSERT_EQ(good.substr(36, 4), "data");
    expectRefused(put("claims.wav", claims), "ends before");
    std::string floats = fileBytes(write("nan.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 8000, 1, 100));
    floats.replace(floats.find("data") + 8 + 4 * 50, 4, "\x00\x00\xc0\x7f", 4);
    expectRefused(put("nan.wav", floats), "not a number");
    expectRefused(write("fast.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 96000, 1, 100), "96000 Hz");
    expectRefused(write("slow.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 4000, 1, 100), "4000 Hz");
    expectRefused(write("int32.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 8000, 1, 100), "24-bit");
    expectRefused(write("three.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 3, 100), "stereo");
    expectRefused(write("tone.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 8000, 1, 100), "not a WAV");
    expectRefused(write("empty.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 0), "no sound");
    expectRefused(path("missing.wav"), "not a sound file");
}

} // namespace
