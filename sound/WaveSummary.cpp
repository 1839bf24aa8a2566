#include "sound/WaveSummary.h"

#include <algorithm>

// The first level's blocks and the growth from one level to the next: a
// column costs at most about 2 * (FirstBlock + Fanout * levels) reads.
constexpr std::int64_t FirstBlock = 64;
constexpr std::int64_t Fanout = 8;

namespace {

// The extremes of sums of `Channels` samples over each frame of a block:
// one loop per channel count, which the compiler keeps tight.
template <int Channels>
void blockExtremes(const std::int16_t* frames, std::int64_t size, int& low, int& high) {
    int lowest = 1 << 20, highest = -(1 << 20);
    for (std::int64_t i = 0; i < size; ++i) {
        int sum = 0;
        for (int c = 0; c < Channels; ++c)
            sum += frames[i * Channels + c];
        lowest = std::min(lowest, sum);
        highest = std::max(highest, sum);
    }
    low = lowest;
    high = highest;
}

} // namespace

WaveSummary::WaveSummary(const SoundClip& clip, std::int64_t count)
    : frames_(clip.frames()), channels_(std::max(clip.channelCount(), 1)) {
    extend(count);
}

WaveSummary::WaveSummary(int channels) : channels_(channels) {}

void WaveSummary::extend(std::int64_t count) {
    // The last block may have grown: it is made again.
    std::int64_t first = count_ / FirstBlock * FirstBlock;
    add(frames_ + first * channels_, first, count);
}

void WaveSummary::extend(const std::int16_t* frames, std::int64_t count) {
    add(frames, count_, count);
}

void WaveSummary::add(const std::int16_t* frames, std::int64_t first, std::int64_t count) {
    std::int64_t from = first / FirstBlock;
    count_ = count;
    std::int64_t blocks = (count + FirstBlock - 1) / FirstBlock;
    if (levels_.empty()) levels_.emplace_back();
    std::vector<Extremes>& lowest = levels_[0];
    lowest.resize(std::size_t(blocks));
    for (std::int64_t b = from; b < blocks; ++b) {
        const std::int16_t* block = frames + (b - from) * FirstBlock * channels_;
        std::int64_t size = std::min(FirstBlock, count - b * FirstBlock);
        Extremes& out = lowest[std::size_t(b)];
        if (channels_ == 1)
            blockExtremes<1>(block, size, out.low, out.high);
        else
            blockExtremes<2>(block, size, out.low, out.high);
    }
    // Then the blocks above them, from the first that changed.
    const std::size_t fanout = std::size_t(Fanout);
    for (std::size_t k = 0; levels_[k].size() > 1; ++k) {
        if (k + 1 == levels_.size()) levels_.emplace_back();
        const std::vector<Extremes>& below = levels_[k];
        std::vector<Extremes>& level = levels_[k + 1];
        from /= Fanout;
        level.resize((below.size() + fanout - 1) / fanout);
        for (std::size_t b = std::size_t(from); b < level.size(); ++b) {
            auto start = below.begin() + std::ptrdiff_t(b * fanout);
            auto end = below.begin() + std::ptrdiff_t(std::min(below.size(), (b + 1) * fanout));
            Extremes both = *start;
            for (auto i = start + 1; i < end; ++i) {
                both.low = std::min(both.low, i->low);
                both.high = std::max(both.high, i->high);
            }
            level[b] = both;
        }
    }
}

int WaveSummary::sum(std::int64_t frame) const {
    const std::int16_t* samples = frames_ + frame * channels_;
    return channels_ == 1 ? samples[0] : samples[0] + samples[1];
}

std::int64_t WaveSummary::blockSize(int level) const {
    std::int64_t size = 1;
    for (int k = 0; k < level; ++k)
        size *= k == 0 ? FirstBlock : Fanout;
    return size;
}

void WaveSummary::scan(int level, std::int64_t first, std::int64_t last, Extremes& into) const {
    for (std::int64_t i = first; i < last; ++i) {
        Extremes block =
            level == 0 ? Extremes{sum(i), sum(i)} : levels_[std::size_t(level - 1)][std::size_t(i)];
        into.low = std::min(into.low, block.low);
        into.high = std::max(into.high, block.high);
    }
}

SampleRange WaveSummary::range(std::int64_t first, std::int64_t last) const {
    // Without the samples, the blocks around them.
    if (!frames_) {
        first = first / FirstBlock * FirstBlock;
        last = (last + FirstBlock - 1) / FirstBlock * FirstBlock;
    }
    Extremes result{1 << 20, -(1 << 20)};
    // Climb: at each level read the blocks up to the next level's block
    // edges at both ends, then go on with the bigger blocks between.
    int top = int(levels_.size());
    for (int level = 0; first < last; ++level) {
        std::int64_t size = blockSize(level);
        if (level == top) {
            scan(level, first / size, last / size, result);
            break;
        }
        std::int64_t outer = blockSize(level + 1);
        std::int64_t headEnd = std::min(last, (first + outer - 1) / outer * outer);
        std::int64_t tailStart = std::max(headEnd, last / outer * outer);
        scan(level, first / size, headEnd / size, result);
        scan(level, tailStart / size, last / size, result);
        first = headEnd;
        last = tailStart;
    }
    // As SoundClip::mono() makes the mean: exactly.
    float scale = 1.0f / (SoundClip::FullScale * float(channels_));
    return {float(result.low) * scale, float(result.high) * scale};
}

std::vector<SampleRange> WaveSummary::columns(std::int64_t first, std::int64_t last,
                                              int columns) const {
    std::vector<SampleRange> out(std::size_t(std::max(columns, 0)), SampleRange{1.0f, -1.0f});
    std::int64_t shown = last - first;
    for (int i = 0; i < columns; ++i) {
        // In a wider type: a view far beyond the samples must not overflow.
        auto at = [&](int column) {
            return first + std::int64_t(static_cast<long double>(shown) * column / columns);
        };
        std::int64_t start = at(i);
        std::int64_t end = std::max(at(i + 1), start + 1);
        start = std::max<std::int64_t>(start, 0);
        end = std::min(end, count_);
        if (start < end) out[std::size_t(i)] = range(start, end);
    }
    return out;
}

std::int64_t WaveSummary::blockFrames() {
    return FirstBlock;
}
