#include "sound/WaveSummary.h"

#include <algorithm>

// The first level's blocks and the growth from one level to the next: a
// column costs at most about 2 * (FirstBlock + Fanout * levels) reads.
constexpr std::int64_t FirstBlock = 64;
constexpr std::int64_t Fanout = 8;

WaveSummary::WaveSummary(const float* samples, std::int64_t count)
    : samples_(samples), count_(count) {
    std::vector<SampleRange> level;
    level.reserve(std::size_t(count / FirstBlock + 1));
    for (std::int64_t start = 0; start < count; start += FirstBlock) {
        const float* block = samples + start;
        std::int64_t size = std::min(FirstBlock, count - start);
        float low = block[0], high = block[0];
        for (std::int64_t i = 1; i < size; ++i) {
            low = std::min(low, block[i]);
            high = std::max(high, block[i]);
        }
        level.push_back({low, high});
    }
    while (level.size() > 1) {
        std::vector<SampleRange> next;
        std::size_t fanout = std::size_t(Fanout);
        next.reserve(level.size() / fanout + 1);
        for (std::size_t start = 0; start < level.size(); start += fanout) {
            SampleRange both = level[start];
            for (std::size_t i = start + 1; i < std::min(level.size(), start + fanout); ++i) {
                both.low = std::min(both.low, level[i].low);
                both.high = std::max(both.high, level[i].high);
            }
            next.push_back(both);
        }
        levels_.push_back(std::move(level));
        level = std::move(next);
    }
    if (!level.empty()) levels_.push_back(std::move(level));
}

std::int64_t WaveSummary::blockSize(int level) const {
    std::int64_t size = 1;
    for (int k = 0; k < level; ++k)
        size *= k == 0 ? FirstBlock : Fanout;
    return size;
}

void WaveSummary::scan(int level, std::int64_t first, std::int64_t last, SampleRange& into) const {
    for (std::int64_t i = first; i < last; ++i) {
        SampleRange block = level == 0 ? SampleRange{samples_[i], samples_[i]}
                                       : levels_[std::size_t(level - 1)][std::size_t(i)];
        into.low = std::min(into.low, block.low);
        into.high = std::max(into.high, block.high);
    }
}

SampleRange WaveSummary::range(std::int64_t first, std::int64_t last) const {
    SampleRange result{samples_[first], samples_[first]};
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
    return result;
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
