// The outline of a clip's waveform for drawing it at any zoom: for each
// column of a view, the lowest and highest sample of the channels' mean it
// covers. A pyramid of per-block extremes, each level a fixed number of the
// one below, answers a column from a handful of blocks whatever its width.
// It grows with a clip being read, block by block while the block's
// samples are in the cache. Needs no platform.
#pragma once

#include "sound/SoundClip.h"

#include <cstdint>
#include <vector>

struct SampleRange {
    float low;
    float high;
};

class WaveSummary {
  public:
    WaveSummary() = default;
    // Summarises the first `count` frames of `clip`, all of them by
    // default. The clip's samples are read again for narrow columns: they
    // must outlive the summary and keep their place.
    explicit WaveSummary(const SoundClip& clip) : WaveSummary(clip, clip.length()) {}
    WaveSummary(const SoundClip& clip, std::int64_t count);
    // Takes in the clip's frames up to `count`, written since.
    void extend(std::int64_t count);
    // The outline of a sound of `channels` whose samples it does not keep,
    // taken in piece by piece by the other extend(): a column narrower
    // than its first level's blocks shows the blocks' extremes.
    explicit WaveSummary(int channels);
    // Takes in `frames` up to frame `count`, from length() on, which is a
    // multiple of blockFrames().
    void extend(const std::int16_t* frames, std::int64_t count);
    static std::int64_t blockFrames();

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
    // Extremes in sums of a frame's samples.
    struct Extremes {
        int low;
        int high;
    };
    // Extremes of whole blocks [first, last) of `level` (0: the frames).
    void scan(int level, std::int64_t first, std::int64_t last, Extremes& into) const;
    std::int64_t blockSize(int level) const;
    // Summarises `frames`, frames [first, count); `first` starts a block.
    void add(const std::int16_t* frames, std::int64_t first, std::int64_t count);
    int sum(std::int64_t frame) const;

    const std::int16_t* frames_ = nullptr;
    int channels_ = 1;
    std::int64_t count_ = 0;
    // levels_[k] holds the extremes of blocks of blockSize(k + 1) frames.
    std::vector<std::vector<Extremes>> levels_;
};
