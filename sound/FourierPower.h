// The power at each frequency of blocks of real samples of one power-of-two size,
// through a complex transform of half that size. Needs no platform.
#pragma once

#include <complex>
#include <vector>

class FourierPower {
  public:
    // `size` a power of two, 4 or more.
    explicit FourierPower(int size);

    // The power of `samples` (size of them) in size / 2 + 1 bins into
    // `power`; bin k holds k * rate / size Hz.
    void compute(const float* samples, float* power);

  private:
    // The in-place radix-2 transform of x_.
    void transform();

    int half_;
    std::vector<std::complex<float>> x_;
    std::vector<std::complex<float>> turns_;  // of the half-size transform
    std::vector<std::complex<float>> unpack_; // of the full size
    std::vector<int> order_;                  // bit-reversed indexes
};
