// The platform's sound reader over WAV files written here byte by byte:
// each format the program takes reads back to the samples written; broken
// files and formats it does not take give a reason and load nothing.
#include "sound/SoundFileReader.h"
#include "tests/support/TestFolder.h"

#include <cmath>
#include <cstring>

namespace {

float tone(int channel, int i) {
    return 0.5f * float(std::sin(0.01 * (channel + 1) * i));
}

void put16(std::string& out, unsigned value) {
    out += char(value & 0xff), out += char(value >> 8 & 0xff);
}
void put32(std::string& out, unsigned value) {
    put16(out, value & 0xffff), put16(out, value >> 16);
}

// A WAV of `frames` frames of tones; `tag` 0xfffe writes the extensible form.
std::string wav(unsigned tag, int rate, int channels, int bits, int frames) {
    std::string data;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            float value = tone(c, i);
            if (bits == 32 && tag != 1) {
                unsigned raw;
                std::memcpy(&raw, &value, 4);
                put32(data, raw);
                continue;
            }
            long scaled = std::lround(value * float(1L << (bits - 1)));
            if (bits == 8) scaled += 128;
            for (int b = 0; b < bits / 8; ++b)
                data += char(scaled >> (8 * b) & 0xff);
        }
    std::string format;
    put16(format, tag), put16(format, unsigned(channels)), put32(format, unsigned(rate));
    put32(format, unsigned(rate * channels * bits / 8)),
        put16(format, unsigned(channels * bits / 8));
    put16(format, unsigned(bits));
    if (tag == 0xfffe) {
        put16(format, 22), put16(format, unsigned(bits)), put32(format, channels == 2 ? 3 : 4);
        put32(format, bits == 32 ? 3 : 1);
        format += std::string("\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71", 12);
    }
    std::string out = "RIFF";
    put32(out, unsigned(4 + 8 + format.size() + 8 + data.size()));
    out += "WAVEfmt ";
    put32(out, unsigned(format.size()));
    out += format + "data";
    put32(out, unsigned(data.size()));
    return out + data;
}

class SoundFileReaderTest : public TestFolder {
  protected:
    SoundFileReaderTest() : TestFolder("sound-reader-") {}

    void expectRefused(const std::string& name, const std::string& bytes, const std::string& why) {
        SoundClip clip(8000, {{0.25f}});
        SoundFileReader reader;
        EXPECT_FALSE(reader.read(std::filesystem::path(put(name, bytes)).native(), clip)) << name;
        EXPECT_NE(reader.error().find(why), std::string::npos) << name << ": " << reader.error();
        EXPECT_EQ(clip.length(), 1) << name;
    }
};

TEST_F(SoundFileReaderTest, ReadsEachSampleFormatMonoOrStereo) {
    struct Case {
        unsigned tag;
        int rate, channels, bits;
    } cases[] = {{1, 8000, 1, 8},   {1, 22050, 2, 16},      {1, 44100, 1, 24},
                 {3, 48000, 2, 32}, {0xfffe, 16000, 2, 16}, {0xfffe, 32000, 1, 32}};
    for (const Case& c : cases) {
        SoundClip clip;
        SoundFileReader reader;
        put("tone.wav", wav(c.tag, c.rate, c.channels, c.bits, 1234));
        ASSERT_TRUE(reader.read((dir / "tone.wav").native(), clip)) << reader.error();
        ASSERT_EQ(clip.rate(), c.rate);
        ASSERT_EQ(clip.channelCount(), c.channels);
        ASSERT_EQ(clip.length(), 1234);
        float step = c.bits == 32 ? 0 : 1.0f / float(1L << (c.bits - 1));
        for (int i = 0; i < 1234; i += 7)
            for (int ch = 0; ch < c.channels; ++ch)
                EXPECT_NEAR(clip.channel(ch)[i], tone(ch, i), step) << c.bits << " bits, " << i;
    }
}

TEST_F(SoundFileReaderTest, BrokenFilesAndOtherFormatsLoadNothing) {
    std::string good = wav(1, 22050, 1, 16, 5000);
    expectRefused("cut.wav", good.substr(0, good.size() / 2), "ends before");
    expectRefused("cut-in-header.wav", good.substr(0, 30), "not a sound file");
    expectRefused("text.wav", "hello, not a sound\n", "not a sound file");
    std::string claims = good;
    claims.replace(40, 4, std::string("\x40\x9c\x00\x00", 4));
    expectRefused("claims.wav", claims, "ends before");
    expectRefused("fast.wav", wav(1, 96000, 1, 16, 100), "96000 Hz");
    expectRefused("int32.wav", wav(1, 8000, 1, 32, 100), "24-bit");
    expectRefused("three.wav", wav(1, 8000, 3, 16, 100), "stereo");
    expectRefused("empty.wav", wav(1, 8000, 1, 16, 0), "no sound");
    std::string floats = wav(3, 8000, 1, 32, 100);
    floats.replace(44 + 4 * 50, 4, std::string("\x00\x00\xc0\x7f", 4));
    expectRefused("nan.wav", floats, "not a number");
    expectRefused("nothing.wav", "", "not a sound file");
}

} // namespace
