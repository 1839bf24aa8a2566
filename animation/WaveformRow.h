// The sound's row of the timeline strip: the waveform to the ruler's scale,
// from the frame where the sound starts, as a line from the lowest to the
// highest sample of each column. The columns are kept between paints: a
// scrub redraws the strip at every step, and only a new clip, width, length,
// frame rate or start computes them again.
#pragma once

#include "animation/RulerScale.h"
#include "sound/SoundClip.h"
#include "sound/WaveSummary.h"

#include <vector>
#include <windows.h>

class WaveformRow {
  public:
    // `clip` (none: nullptr) must outlive the row or be replaced first.
    void setClip(const SoundClip* clip);
    // The same with the clip's summary made already.
    void setClip(const SoundClip* clip, WaveSummary summary);
    // The outline of the waveform of a sound at `rate` still being read,
    // shown until its clip comes.
    void setOutline(int rate, WaveSummary outline);
    bool hasClip() const { return clip_ != nullptr; }
    bool hasWaveform() const { return summary_.length() > 0; }
    // Says that a sound is being read, while there is no waveform.
    void setReading(bool reading) { reading_ = reading; }
    // Draws the row into `band` of `dc`, whose x `origin` is the ruler's
    // 0; the sound's first sample lies at frame `start` of `ruler`, at
    // `fps` frames a second.
    void paint(HDC dc, const RECT& band, int origin, const RulerScale& ruler, int fps, int start);

  private:
    // The two ends of each column's line, for one call that draws them all.
    void layOut(const RECT& band, int origin, const RulerScale& ruler, int fps, int start);
    void showReading(HDC dc, const RECT& band);

    const SoundClip* clip_ = nullptr;
    int rate_ = 0;
    bool reading_ = false;
    WaveSummary summary_;
    struct Layout {
        RECT band;
        int origin;
        RulerScale ruler;
        int fps;
        int start;
    } laidOut_{};
    std::vector<POINT> points_;
    std::vector<DWORD> counts_;
};
