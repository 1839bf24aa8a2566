#include "sound/SpeechFeatures.h"

#include "sound/FourierPower.h"

#include <algorithm>
#include <cmath>

namespace {

// The power of two closest to 25 ms of samples, on a log scale.
int windowSize(int rate) {
    double wanted = 0.025 * rate;
    int size = 16;
    while (size * 2 <= wanted)
        size *= 2;
    return wanted / size > 2.0 * size / wanted ? size * 2 : size;
}

} // namespace

std::vector<SpeechFrame> speechFrames(const float* samples, long long count, int rate) {
    int size = windowSize(rate);
    std::vector<float> hann(size);
    double windowPower = 0;
    for (int i = 0; i < size; ++i) {
        hann[i] = float(0.5 - 0.5 * std::cos(2 * std::acos(-1.0) * (i + 0.5) / size));
        windowPower += double(hann[i]) * hann[i];
    }
    int half = size / 2;
    FourierPower spectrum(size);
    double binWidth = double(rate) / size;
    auto bin = [&](double hertz) { return std::min(half, int(std::lround(hertz / binWidth))); };
    int from = bin(100), lowEnd = bin(900), middleEnd = bin(2500);
    int firstFrom = bin(200), firstEnd = bin(1000), secondFrom = bin(900), secondEnd = bin(2600);

    long long steps = (count * 100 + rate - 1) / rate;
    std::vector<SpeechFrame> frames(steps);
    std::vector<float> windowed(size), power(std::size_t(half + 1));
    for (long long step = 0; step < steps; ++step) {
        long long start = std::llround((step + 0.5) * rate * SpeechStep) - size / 2;
        double energy = 0;
        for (int i = 0; i < size; ++i) {
            long long at = start + i;
            windowed[i] = at >= 0 && at < count ? samples[at] * hann[i] : 0.0f;
            energy += double(windowed[i]) * windowed[i];
        }
        spectrum.compute(windowed.data(), power.data());
        double sums[3] = {0, 0, 0}, first = 0, firstWeight = 0, second = 0, secondWeight = 0;
        for (int k = from; k <= half; ++k) {
            double p = power[k];
            sums[k < lowEnd ? 0 : k < middleEnd ? 1 : 2] += p;
            if (k >= firstFrom && k < firstEnd) first += p * k, firstWeight += p;
            if (k >= secondFrom && k < secondEnd) second += p * k, secondWeight += p;
        }
        double total = sums[0] + sums[1] + sums[2] + 1e-30;
        SpeechFrame& frame = frames[step];
        frame.level = float(10 * std::log10(energy / windowPower + 1e-12));
        frame.low = float(sums[0] / total);
        frame.middle = float(sums[1] / total);
        frame.high = float(sums[2] / total);
        frame.firstPeak = float(firstWeight > 0 ? first / firstWeight * binWidth : 0);
        frame.secondPeak = float(secondWeight > 0 ? second / secondWeight * binWidth : 0);
    }
    return frames;
}
