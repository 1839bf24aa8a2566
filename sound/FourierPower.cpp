#include "sound/FourierPower.h"

#include <cmath>

FourierPower::FourierPower(int size)
    : half_(size / 2), x_(std::size_t(half_)), turns_(std::size_t(half_ / 2)),
      unpack_(std::size_t(half_)), order_(std::size_t(half_)) {
    const double pi = std::acos(-1.0);
    for (int k = 0; k < half_ / 2; ++k)
        turns_[std::size_t(k)] = std::polar(1.0f, float(-2 * pi * k / half_));
    for (int k = 0; k < half_; ++k)
        unpack_[std::size_t(k)] = std::polar(1.0f, float(-2 * pi * k / size));
    int bits = 0;
    while ((1 << bits) < half_)
        ++bits;
    for (int i = 0; i < half_; ++i) {
        int reversed = 0;
        for (int b = 0; b < bits; ++b)
            reversed |= ((i >> b) & 1) << (bits - 1 - b);
        order_[std::size_t(i)] = reversed;
    }
}

void FourierPower::transform() {
    for (std::size_t i = 0; i < x_.size(); ++i)
        if (std::size_t(order_[i]) > i) std::swap(x_[i], x_[std::size_t(order_[i])]);
    for (int span = 1; span < half_; span *= 2) {
        int stride = half_ / (2 * span);
        for (int start = 0; start < half_; start += 2 * span)
            for (int k = 0; k < span; ++k) {
                std::complex<float>& a = x_[std::size_t(start + k)];
                std::complex<float>& b = x_[std::size_t(start + k + span)];
                std::complex<float> t = b * turns_[std::size_t(k * stride)];
                b = a - t;
                a += t;
            }
    }
}

void FourierPower::compute(const float* samples, float* power) {
    // Even samples as the real values, odd ones as the imaginary values: two
    // transforms in one, split apart afterwards.
    for (int i = 0; i < half_; ++i)
        x_[std::size_t(i)] = {samples[2 * i], samples[2 * i + 1]};
    transform();
    for (int k = 0; k <= half_; ++k) {
        std::complex<float> a = x_[std::size_t(k % half_)];
        std::complex<float> b = std::conj(x_[std::size_t((half_ - k) % half_)]);
        std::complex<float> even = 0.5f * (a + b);
        std::complex<float> odd = std::complex<float>(0, -0.5f) * (a - b);
        std::complex<float> turn = k < half_ ? unpack_[std::size_t(k)] : std::complex<float>(-1, 0);
        power[k] = std::norm(even + turn * odd);
    }
}
