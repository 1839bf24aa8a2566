#include "sound/SpeechFeatures.h"

#include <cmath>
#include <complex>

namespace {

const double Pi = std::acos(-1.0);

// An in-place radix-2 transform of `n` (a power of two) complex values.
class Transform {
  public:
    explicit Transform(int n) : n_(n), turns_(std::size_t(n / 2)), order_(n) {
        for (int k = 0; k < n / 2; ++k)
            turns_[k] = std::polar(1.0f, float(-2 * Pi * k / n));
        int bits = 0;
        while ((1 << bits) < n)
            ++bits;
        for (int i = 0; i < n; ++i) {
            int reversed = 0;
            for (int b = 0; b < bits; ++b)
                reversed |= ((i >> b) & 1) << (bits - 1 - b);
            order_[i] = reversed;
        }
    }

    void run(std::vector<std::complex<float>>& x) const {
        for (int i = 0; i < n_; ++i)
            if (order_[i] > i) std::swap(x[i], x[std::size_t(order_[i])]);
        for (int span = 1; span < n_; span *= 2) {
            int stride = n_ / (2 * span);
            for (int start = 0; start < n_; start += 2 * span)
                for (int k = 0; k < span; ++k) {
                    std::complex<float>& a = x[start + k];
                    std::complex<float>& b = x[start + k + span];
                    std::complex<float> t = b * turns_[k * stride];
                    b = a - t;
                    a += t;
                }
        }
    }

  private:
    int n_;
    std::vector<std::complex<float>> turns_;
    std::vector<int> order_;
};

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
        hann[i] = float(0.5 - 0.5 * std::cos(2 * Pi * (i + 0.5) / size));
        windowPower += double(hann[i]) * hann[i];
    }
    // A real signal of `size` samples as a complex one of half as many.
    int half = size / 2;
    Transform transform(half);
    std::vector<std::complex<float>> x(half);
    std::vector<std::complex<float>> unpack(half);
    for (int k = 0; k < half; ++k)
        unpack[k] = std::polar(1.0f, float(-2 * Pi * k / size));
    double binWidth = double(rate) / size;
    auto bin = [&](double hertz) { return std::min(half, int(std::lround(hertz / binWidth))); };
    int from = bin(100), lowEnd = bin(900), middleEnd = bin(2500);
    int firstFrom = bin(200), firstEnd = bin(1000), secondFrom = bin(900), secondEnd = bin(2600);

    long long steps = (count * 100 + rate - 1) / rate;
    std::vector<SpeechFrame> frames(steps);
    std::vector<float> power(std::size_t(half + 1));
    for (long long step = 0; step < steps; ++step) {
        long long centre = std::llround((step + 0.5) * rate * SpeechStep);
        long long start = centre - size / 2;
        double energy = 0;
        for (int i = 0; i < half; ++i) {
            long long a = start + 2 * i, b = a + 1;
            float re = a >= 0 && a < count ? samples[a] * hann[2 * i] : 0.0f;
            float im = b >= 0 && b < count ? samples[b] * hann[2 * i + 1] : 0.0f;
            energy += double(re) * re + double(im) * im;
            x[i] = {re, im};
        }
        transform.run(x);
        // Split the two interleaved transforms and combine them.
        for (int k = 0; k <= half; ++k) {
            std::complex<float> a = x[k % half];
            std::complex<float> b = std::conj(x[(half - k) % half]);
            std::complex<float> even = 0.5f * (a + b);
            std::complex<float> odd = std::complex<float>(0, -0.5f) * (a - b);
            std::complex<float> turn = k < half ? unpack[k] : std::complex<float>(-1, 0);
            power[k] = std::norm(even + turn * odd);
        }
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
