// The outline of a waveform for drawing it at any zoom: for each column of
// a view, the lowest and highest sample it covers. A pyramid of per-block
// extremes, each level a fixed number of the one below, answers a column
// from a handful of blocks whatever its width. Needs no platform.
#pragma once

#include <cstdint>
#include <vector>

struct SampleRange {
    float low;
    float high;
};

class WaveSummary {
  public:
    WaveSummary() = default;
    // Summarises `count` samples; they are kept by reference and must
    // outlive the summary.
    WaveSummary(const float* samples, std::int64_t count);

    std::int64_t length() const { return count_; }
    // The extremes of samples [first, last); the range must be within the
    // samples and not empty.
    SampleRange range(std::int64_t first, std::int64_t last) const;
    // `columns` columns sharing samples [first, last) evenly: column i covers
    // [first + i * n / columns, first + (i + 1) * n / columns) with n the
    // samples shown, or, zoomed in further than a sample a column, the one
    // sample where it starts. Columns past the end of the sound are empty
    // (low > high).
    std::vector<SampleRange> columns(std::int64_t first, std::int64_t last, int columns) const;

  private:
    // Extremes of whole blocks [first, last) of `level` (0: the samples).
    void scan(int level, std::int64_t first, std::int64_t last, SampleRange& into) const;
    std::int64_t blockSize(int level) const;

    const float* samples_ = nullptr;
    std::int64_t count_ = 0;
    // levels_[k] holds the extremes of blocks of blockSize(k + 1) samples.
    std::vector<std::vector<SampleRange>> levels_;
};
