// The clip's arithmetic, the power spectrum, and the waveform summary
// against the extremes counted sample by sample over random sounds and views.
#include "sound/FourierPower.h"
#include "sound/SoundClip.h"
#include "sound/WaveSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

TEST(SoundClip, MixesChannelsAndMapsTimesToSamplesAndFrames) {
    SoundClip clip(8000, {{0.75f, 0.5f, 0.0f}, {0.25f, 0.5f, -1.0f}});
    EXPECT_EQ(clip.mono(), (Samples{0.5f, 0.5f, -0.5f}));
    // Full scale is one step short of 1; beyond it is held there.
    EXPECT_EQ(SoundClip(8000, {{0.25f, 1.0f, 2.0f, -3.0f}}).mono(),
              (Samples{0.25f, 32767 / 32768.0f, 32767 / 32768.0f, -1.0f}));
    EXPECT_TRUE(SoundClip().mono().empty());
    EXPECT_DOUBLE_EQ(clip.seconds(), 3.0 / 8000);
    EXPECT_EQ(clip.sampleAt(-1), 0);
    EXPECT_EQ(clip.sampleAt(1.5 / 8000), 1);
    EXPECT_EQ(clip.sampleAt(1), 2);
    EXPECT_DOUBLE_EQ(clip.timeOf(2), 2.0 / 8000);
    for (int fps = 1; fps <= 60; ++fps)
        for (int n = 0; n < 3000; ++n) {
            ASSERT_EQ(frameAt(frameTime(n, fps), fps), n) << fps;
            ASSERT_EQ(frameAt(frameTime(n + 1, fps) - 1e-6, fps), n) << fps;
            // n steps of 10 ms need the frames that cover them.
            ASSERT_EQ(framesFor(n * 0.01, fps), (n * fps + 99) / 100) << fps << " " << n;
        }
}

TEST(FourierPower, ToneLandsInItsBinAndPowerAddsUp) {
    for (int size = 4; size <= 2048; size *= 2)
        for (int bin = 1; bin < size / 2; bin += 1 + bin / 3) {
            std::vector<float> samples(static_cast<std::size_t>(size)),
                power(std::size_t(size / 2 + 1));
            double energy = 0;
            for (int i = 0; i < size; ++i)
                samples[std::size_t(i)] =
                    float(std::cos(2 * std::acos(-1.0) * bin * i / size + 0.3) + 0.1 * (i % 3));
            for (float sample : samples)
                energy += double(sample) * sample;
            FourierPower(size).compute(samples.data(), power.data());
            EXPECT_EQ(std::max_element(power.begin(), power.end()) - power.begin(), bin) << size;
            // Parseval: the spectrum holds the samples' energy, size times.
            double total = power[0] + power[std::size_t(size / 2)];
            for (int k = 1; k < size / 2; ++k)
                total += 2 * double(power[std::size_t(k)]);
            EXPECT_NEAR(total, size * energy, 1e-3 * size * energy) << size << " " << bin;
        }
}

TEST(WaveSummary, ColumnsHoldTheExtremesOfTheirSamples) {
    std::mt19937 random(39);
    for (int round = 0; round < 300; ++round) {
        std::int64_t count = std::uniform_int_distribution<std::int64_t>(
            1, round % 30 == 0 ? 3000000 : 5000)(random);
        int channels = 1 + round % 2;
        SoundClip clip(8000, channels, count);
        std::uniform_int_distribution<int> value(-32768, 32767);
        for (std::int64_t i = 0; i < count * channels; ++i)
            clip.frames()[i] = std::int16_t(value(random));
        Samples samples = clip.mono();
        // Summarised at once, or as a reader does, in pieces as they come;
        // or outlined from pieces of whole blocks not kept, a column then
        // widened to the blocks it touches.
        WaveSummary summary(clip, 0);
        std::uniform_int_distribution<std::int64_t> piece(1, 70000);
        for (std::int64_t done = 0; done < count;)
            summary.extend(done = std::min(count, done + piece(random)));
        if (round % 4 == 0) summary = WaveSummary(clip);
        std::int64_t block = round % 4 == 3 ? WaveSummary::blockFrames() : 1;
        if (block > 1) {
            summary = WaveSummary(channels);
            for (std::int64_t done = 0; done < count;) {
                std::int64_t next = std::min(count, done + piece(random) * block);
                Pcm copy(clip.frames() + done * channels, clip.frames() + next * channels);
                summary.extend(copy.data(), done = next);
            }
        }
        ASSERT_EQ(summary.length(), count);
        for (int view = 0; view < 5; ++view) {
            std::int64_t first = std::uniform_int_distribution<std::int64_t>(0, count - 1)(random);
            // Views may run past the end, and show fewer samples than columns.
            std::int64_t last =
                first + std::uniform_int_distribution<std::int64_t>(1, count)(random);
            int columns = std::uniform_int_distribution<int>(1, 700)(random);
            std::vector<SampleRange> shown = summary.columns(first, last, columns);
            ASSERT_EQ(int(shown.size()), columns);
            std::int64_t n = last - first;
            for (int i = 0; i < columns; ++i) {
                std::int64_t start = first + n * i / columns;
                std::int64_t end =
                    std::min(count, std::max(first + n * (i + 1) / columns, start + 1));
                if (start < count) {
                    start = start / block * block;
                    end = std::min(count, (end + block - 1) / block * block);
                }
                if (start >= count) {
                    EXPECT_GT(shown[std::size_t(i)].low, shown[std::size_t(i)].high);
                    continue;
                }
                auto [low, high] =
                    std::minmax_element(samples.begin() + start, samples.begin() + end);
                ASSERT_EQ(shown[std::size_t(i)].low, *low)
                    << count << " " << first << " " << last << " " << columns << " column " << i;
                ASSERT_EQ(shown[std::size_t(i)].high, *high);
            }
        }
    }
}

} // namespace
