#include "animation/WaveformRow.h"

#include <algorithm>
#include <cmath>
#include <utility>

void WaveformRow::setClip(const SoundClip* clip) {
    setClip(clip, clip ? WaveSummary(*clip) : WaveSummary());
}

void WaveformRow::setClip(const SoundClip* clip, WaveSummary summary) {
    clip_ = clip;
    setOutline(clip ? clip->rate() : 0, std::move(summary));
}

void WaveformRow::setOutline(int rate, WaveSummary outline) {
    rate_ = rate;
    summary_ = std::move(outline);
    points_.clear();
    counts_.clear();
    laidOut_ = {};
}

void WaveformRow::layOut(const RECT& band, int origin, const RulerScale& ruler, int fps,
                         int start) {
    laidOut_ = {band, origin, ruler, fps, start};
    points_.clear();
    counts_.clear();
    // Column i spans the ruler from its tick x to the next: frames
    // [i * (length - 1) / span, (i + 1) * (length - 1) / span).
    int left = ruler.frameX(0), columns = ruler.frameX(ruler.length - 1) - left;
    if (columns <= 0) return;
    auto sampleOf = [&](int frame) {
        return std::int64_t(std::floor(double(frame - start) * rate_ / fps));
    };
    std::vector<SampleRange> ranges =
        summary_.columns(sampleOf(0), sampleOf(ruler.length - 1), columns);
    int middle = (band.top + band.bottom) / 2, half = (band.bottom - band.top) / 2 - 1;
    for (int i = 0; i < columns; ++i) {
        const SampleRange& range = ranges[std::size_t(i)];
        if (range.low > range.high) continue;
        // A line leaves out its last point: one more pixel shows silence.
        int x = origin + left + i;
        points_.push_back({x, middle - int(std::lround(range.high * half))});
        points_.push_back({x, middle - int(std::lround(range.low * half)) + 1});
        counts_.push_back(2);
    }
}

void WaveformRow::paint(HDC dc, const RECT& band, int origin, const RulerScale& ruler, int fps,
                        int start) {
    SetDCBrushColor(dc, RGB(236, 240, 246));
    FillRect(dc, &band, HBRUSH(GetStockObject(DC_BRUSH)));
    if (!hasWaveform()) {
        if (reading_) showReading(dc, band);
        return;
    }
    const Layout& was = laidOut_;
    if (!EqualRect(&was.band, &band) || was.origin != origin || was.ruler.width != ruler.width ||
        was.ruler.margin != ruler.margin || was.ruler.length != ruler.length || was.fps != fps ||
        was.start != start)
        layOut(band, origin, ruler, fps, start);
    if (counts_.empty()) return;
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, RGB(40, 110, 60));
    PolyPolyline(dc, points_.data(), counts_.data(), DWORD(counts_.size()));
    SelectObject(dc, oldPen);
}

void WaveformRow::showReading(HDC dc, const RECT& band) {
    RECT text = band;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, RGB(90, 100, 120));
    DrawTextA(dc, "Reading the sound...", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}
