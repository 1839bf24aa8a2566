// The platform's sound reader over WAV files written here byte by byte:
// each format the program takes reads back to the samples written; broken
// files and formats it does not take give a reason and load nothing.
#include "sound/SoundFileReader.h"
#include "sound/SoundReading.h"
#include "tests/support/TestFolder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <thread>

namespace {

float tone(int channel, int i) {
    return 0.5f * float(std::sin(0.01 * (channel + 1) * i));
}

// Appends `value` as `count` little-endian bytes.
void little(std::string& out, std::uint64_t value, int count) {
    for (int b = 0; b < count; ++b)
        out += char(value >> (8 * b) & 0xff);
}

// A WAV of `frames` frames of tones; `tag` 0xfffe writes the extensible form.
std::string wav(unsigned tag, int rate, int channels, int bits, int frames) {
    std::string data;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            float value = tone(c, i);
            std::uint64_t raw =
                std::uint64_t(std::llround(std::ldexp(value, bits - 1))) + (bits == 8 ? 128 : 0);
            double wide = value;
            if (bits == 32 && tag != 1) std::memcpy(&raw, &value, 4);
            if (bits == 64) std::memcpy(&raw, &wide, 8);
            little(data, raw, bits / 8);
        }
    std::string format;
    for (auto [value, count] : {std::pair{tag, 2},
                                {unsigned(channels), 2},
                                {unsigned(rate), 4},
                                {unsigned(rate * channels * bits / 8), 4},
                                {unsigned(channels * bits / 8), 2},
                                {unsigned(bits), 2}})
        little(format, value, count);
    if (tag == 0xfffe) {
        for (auto [value, count] : {std::pair{22u, 2},
                                    {unsigned(bits), 2},
                                    {channels == 2 ? 3u : 4u, 4},
                                    {bits == 32 ? 3u : 1u, 4}})
            little(format, value, count);
        format += std::string("\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71", 12);
    }
    std::string out = "RIFF";
    little(out, unsigned(4 + 8 + format.size() + 8 + data.size()), 4);
    out += "WAVEfmt ";
    little(out, unsigned(format.size()), 4);
    out += format + "data";
    little(out, unsigned(data.size()), 4);
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
                 {3, 48000, 2, 32}, {0xfffe, 16000, 2, 16}, {0xfffe, 32000, 1, 32},
                 {3, 11025, 2, 64}};
    for (const Case& c : cases) {
        SoundClip clip;
        SoundFileReader reader;
        // A name beyond any code page; a block size that disagrees with
        // the samples' is taken as they say.
        std::string bytes = wav(c.tag, c.rate, c.channels, c.bits, 1234);
        if (c.bits == 16) bytes[32] = 1;
        auto path = std::filesystem::u8path(put("tone \xe6\x97\xa5 \xe2\x82\xac.wav", bytes));
        ASSERT_TRUE(reader.read(path.native(), clip)) << reader.error();
        ASSERT_EQ(clip.rate(), c.rate);
        ASSERT_EQ(clip.channelCount(), c.channels);
        ASSERT_EQ(clip.length(), 1234);
        // Within a step of the file's samples or of the clip's 16 bits.
        float step = std::ldexp(1.0f, 1 - std::min(c.bits, 16));
        for (int i = 0; i < 1234; i += 7)
            for (int ch = 0; ch < c.channels; ++ch)
                EXPECT_NEAR(clip.sample(ch, i), tone(ch, i), step) << c.bits << " bits, " << i;
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

TEST_F(SoundFileReaderTest, FloatsBeyondFullScaleAreHeldAtIt) {
    std::string floats = wav(3, 8000, 1, 32, 100);
    floats.replace(44, 8, std::string("\x00\x00\xc0\xbf\xe6\xb1\x61\x7f", 8)); // -1.5, 3e38
    SoundClip clip;
    SoundFileReader reader;
    ASSERT_TRUE(reader.read(std::filesystem::path(put("loud.wav", floats)).native(), clip));
    EXPECT_EQ(clip.frames()[0], -32768);
    EXPECT_EQ(clip.frames()[1], 32767);
    // A double beyond a float's range too.
    std::string doubles = wav(3, 8000, 1, 64, 100);
    const double beyond[] = {-1.5, 1e300};
    std::memcpy(&doubles[44], beyond, sizeof beyond);
    ASSERT_TRUE(reader.read(std::filesystem::path(put("louder.wav", doubles)).native(), clip))
        << reader.error();
    EXPECT_EQ(clip.frames()[0], -32768);
    EXPECT_EQ(clip.frames()[1], 32767);
}

// Read on a thread, a sound is refused at once as read() refuses it, or
// comes in as read() reads it, with its waveform's summary after its
// outline; a new start or a cancel drops the reading going on.
TEST_F(SoundFileReaderTest, ReadsOnAThreadAsAtOnce) {
    auto path = std::filesystem::path(put("stereo.wav", wav(1, 8000, 2, 16, 20000))).native();
    SoundReading reading;
    EXPECT_FALSE(reading.start(std::filesystem::path(put("text.wav", "text")).native()));
    EXPECT_NE(reading.error().find("not a sound file"), std::string::npos) << reading.error();
    ASSERT_TRUE(reading.start(path));
    ASSERT_TRUE(reading.start(path));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!reading.outlined() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_TRUE(reading.outlined()) << "the outline, within 20 s";
    EXPECT_EQ(reading.rate(), 8000);
    WaveSummary outline = reading.takeOutline();
    SoundClip clip, direct;
    WaveSummary summary;
    ASSERT_TRUE(reading.take(clip, summary)) << reading.error();
    ASSERT_TRUE(SoundFileReader().read(path, direct));
    Samples mono = direct.mono();
    EXPECT_EQ(clip.mono(), mono);
    auto [low, high] = std::minmax_element(mono.begin(), mono.end());
    for (const WaveSummary* made : {&summary, &outline}) {
        SampleRange whole = made->range(0, made->length());
        EXPECT_EQ(made->length(), direct.length());
        EXPECT_EQ(std::pair(whole.low, whole.high), std::pair(*low, *high));
    }
    ASSERT_TRUE(reading.start(path));
    reading.cancel();
    EXPECT_FALSE(reading.pending());
}

// A cancel is seen once the read going on is done, so closing the editor
// while a long sound is read waits for one read, however slow the disk.
TEST_F(SoundFileReaderTest, CancelEndsALongReadingAfterTheReadGoingOn) {
    // Five minutes of 48 kHz stereo: 57.6 MB, many reads.
    const std::int64_t frames = 5 * 60 * 48000;
    std::string bytes = wav(1, 48000, 2, 16, 0), size;
    little(size, std::uint64_t(frames) * 4, 4);
    bytes.replace(40, 4, size);
    bytes.resize(bytes.size() + std::size_t(frames) * 4);
    auto path = std::filesystem::path(put("long.wav", bytes)).native();
    SoundReading reading;
    // A busy machine may leave this thread waiting until the reading has
    // ended: then it is tried again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_TRUE(reading.start(path)) << reading.error();
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (reading.framesRead() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        std::int64_t before = reading.framesRead();
        ASSERT_GT(before, 0) << "the long sound's first read, within 20 s";
        reading.cancel();
        std::int64_t after = reading.framesRead();
        if (after == frames) continue;
        // The read going on when the count was taken, and the one going on
        // when the cancel came.
        EXPECT_LE((after - before) * 4, 2 * SoundFileReader::ReadBytes);
        return;
    }
    FAIL() << "the reading ended before the cancel three times";
}

} // namespace
