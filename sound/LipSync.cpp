#include "sound/LipSync.h"

#include "sound/MouthKeys.h"

#include <algorithm>
#include <cmath>

namespace {

// What the analysis tells speech by, tuned on espeak-ng's voices: levels in
// dB, shares of the power from 100 Hz up, peaks in Hz, times in steps.
constexpr struct {
    // Silent: this far below the voice's level, or below `quietest` of full
    // scale. A silence inside speech up to `longestClosure` is a stop's
    // closure, a longer one a pause.
    float silenceBelow = 30, quietest = -80;
    int longestClosure = 15;
    // A stop's release shows noise within `onset`; a hiss lasting
    // `fricative` from the start is a fricative, not a release. The lips'
    // release is low in the spectrum with little hiss over its first two
    // steps (`lipsReleaseLow`, `lipsReleaseHigh`); the tongue's (T, K) high
    // or in the middle.
    int onset = 5, fricative = 6;
    float noisyOnset = 0.2f, lipsReleaseLow = 0.5f, lipsReleaseHigh = 0.15f;
    // The breath of a stop before silence lasts up to `breath` and stays
    // `breathBelow` under the voice's level.
    std::size_t breath = 15;
    float breathBelow = 15;
    // The breath of a P starting a phrase: at least `burstLow` of its power
    // low, `breathMiddle` in the middle, less than `breathHigh` high, its
    // second peak below `breathSecondPeak`.
    float burstLow = 0.3f, breathMiddle = 0.2f, breathHigh = 0.3f, breathSecondPeak = 1650;
    // A B's release starting a phrase: its second peak falls `locusFall` or
    // more in a step, the step after with less than `locusHigh` high.
    float locusFall = 250, locusHigh = 0.08f;
    // A hum has no upper formants and no hiss. A murmur, the voice behind a
    // closure (M, N, B, D, G), is a hum `murmurDip` below the loudest sound
    // within `dipSteps` on either side; it holds its level within
    // `murmurSpread` for `murmurSteps`, where a rounded vowel (W, "oo")
    // rises or fades. Behind closed lips the second resonance stays below
    // `lipsSecondPeak`; behind the tongue and in close vowels it lies higher.
    // A phrase's last murmur follows its fading vowel: any hum
    // `murmurBelow` under the voice's level counts too.
    float humLow = 0.75f, humFirstPeak = 400, murmurDip = 9, murmurSpread = 4, murmurBelow = 14;
    int dipSteps = 15;
    std::size_t murmurSteps = 3;
    // Behind closed lips the first resonance stays low too, below
    // `lipsFirstPeak`, as against an R or a vowel fading into the murmur.
    float lipsSecondPeak = 1300, lipsFirstPeak = 320;
    // Open vowels' first formant lies above `openFirstPeak`; a stop's
    // release raises it `releaseRise` within a step.
    float openFirstPeak = 480, releaseRise = 150;
    // A voice bar, the throat's hum behind a closed mouth, has its first
    // formant below `barFirstPeak`; a B's release makes it `barRise` louder
    // within two steps.
    float barFirstPeak = 270, barRise = 3;
} Tune;

bool hum(const SpeechFrame& frame) {
    return frame.low > Tune.humLow && frame.firstPeak < Tune.humFirstPeak && frame.high < 0.06f;
}

bool hiss(const SpeechFrame& frame) {
    return frame.high > 0.4f;
}

// The value `at` places from the lowest of `values`, which it reorders.
float middle(std::vector<float>& values, std::size_t at) {
    std::nth_element(values.begin(), values.begin() + long(at), values.end());
    return values[at];
}

// The voice's level: loud vowels, ignoring the loudest few steps.
float voiceLevel(const std::vector<SpeechFrame>& frames) {
    std::vector<float> levels;
    for (const SpeechFrame& frame : frames)
        if (frame.level > Tune.quietest) levels.push_back(frame.level);
    return levels.empty() ? 0 : middle(levels, levels.size() * 95 / 100);
}

// The shape of an open step with sound, `relative` dB from the voice's
// level. Hiss is a fricative or a stop's release, loud and high for S and
// T, softer and broader for F; otherwise a vowel, by where its first two
// formants lie.
MouthShape soundShape(const SpeechFrame& frame, float relative) {
    if (hiss(frame))
        return frame.high > 0.85f || relative > -20 ? MouthShape::Clenched : MouthShape::Teeth;
    if (frame.firstPeak >= 700) return MouthShape::Wide;
    if (frame.firstPeak >= Tune.openFirstPeak)
        return frame.secondPeak < 1300 ? MouthShape::Rounded : MouthShape::Open;
    if (frame.secondPeak >= 1900) return MouthShape::Open;
    if (frame.secondPeak >= 1450) return MouthShape::Puckered;
    return frame.high > 0.08f ? MouthShape::Tongue : MouthShape::Rounded;
}

class StepReader {
  public:
    explicit StepReader(const std::vector<SpeechFrame>& frames)
        : frames_(frames), count_(frames.size()), level_(voiceLevel(frames)),
          steps_(count_, MouthStep{MouthShape::Rest, false}), murmur_(count_, false) {}

    std::vector<MouthStep> read() {
        for (std::size_t i = 0; i < count_; ++i) {
            if (silent(i)) continue;
            murmur_[i] = hum(frames_[i]) && (dip(i) >= Tune.murmurDip ||
                                             frames_[i].level - level_ < -Tune.murmurBelow);
            steps_[i].shape = soundShape(frames_[i], frames_[i].level - level_);
        }
        closeMurmurs();
        readGaps();
        return std::move(steps_);
    }

  private:
    bool silent(std::size_t i) const {
        return frames_[i].level - level_ < -Tune.silenceBelow || frames_[i].level <= Tune.quietest;
    }

    float dip(std::size_t i) const {
        float around = frames_[i].level;
        for (std::size_t j = i - std::min<std::size_t>(i, Tune.dipSteps);
             j < std::min(count_, i + Tune.dipSteps + 1); ++j)
            around = std::max(around, frames_[j].level);
        return around - frames_[i].level;
    }

    // A murmur is judged whole: single steps of it stray.
    void closeMurmurs() {
        for (std::size_t start = 0, end; start < count_; start = end) {
            for (end = start + 1; end < count_ && murmur_[end] == murmur_[start];)
                ++end;
            if (!murmur_[start]) continue;
            MouthShape shape = lipsMurmur(start, end) ? MouthShape::Closed : MouthShape::Clenched;
            for (std::size_t i = start; i < end; ++i)
                steps_[i].shape = shape;
        }
    }

    // Whether the murmur of steps [start, end) holds its level long enough
    // (its edges fade in, or burst out) and lies low enough in the spectrum
    // for closed lips. Its level is its median: a stop's silence inside it
    // is deeper, a vowel fading into it louder.
    bool lipsMurmur(std::size_t start, std::size_t end) const {
        if (end - start < Tune.murmurSteps) return false;
        std::vector<float> levels;
        for (std::size_t i = start; i < end; ++i)
            levels.push_back(frames_[i].level);
        float level = middle(levels, levels.size() / 2);
        std::vector<float> second;
        for (std::size_t i = start; i < end; ++i)
            if (std::fabs(frames_[i].level - level) <= Tune.murmurSpread &&
                frames_[i].firstPeak < Tune.lipsFirstPeak)
                second.push_back(frames_[i].secondPeak);
        // The lower third: the vowels on either side pull the edges up.
        return second.size() >= Tune.murmurSteps &&
               middle(second, second.size() / 3) < Tune.lipsSecondPeak;
    }

    // Whether the sound from `end` on is a stop's release: a noise soon,
    // but not a hiss that lasts; or a short faint sound that silence ends,
    // the breath of a stop before a pause or another closure.
    bool released(std::size_t end) const {
        std::size_t hissing = end;
        while (hissing < count_ && hiss(frames_[hissing]))
            ++hissing;
        if (hissing - end >= Tune.fricative) return false;
        for (std::size_t i = end; i < std::min(count_, end + Tune.onset); ++i)
            if (frames_[i].high >= Tune.noisyOnset) return true;
        std::size_t last = end;
        float loudest = frames_[end].level;
        for (; last < count_ && !silent(last) && last - end <= Tune.breath; ++last)
            loudest = std::max(loudest, frames_[last].level);
        return last - end <= Tune.breath && loudest - level_ < -Tune.breathBelow;
    }

    // Whether a release starting at `end` is the lips': low in the
    // spectrum with little hiss over its first two steps, each counting by
    // its power, so that a faint step before the burst hardly counts.
    bool lipsRelease(std::size_t end) const {
        double power = 0, low = 0, high = 0;
        for (std::size_t i = end; i < std::min(count_, end + 2); ++i) {
            double p = std::pow(10.0, frames_[i].level / 10);
            power += p;
            low += p * frames_[i].low;
            high += p * frames_[i].high;
        }
        return low >= Tune.lipsReleaseLow * power && high < Tune.lipsReleaseHigh * power;
    }

    // Whether the sound from `end` on starts as only the lips start it:
    // their hum (M), the breath of a P, a B's voice bar, its falling second
    // resonance or its hum opening at once. The tongue's murmurs (N) and an
    // R's rounding open slowly.
    bool lipsOnset(std::size_t end) const {
        return steps_[end].shape == MouthShape::Closed || aspirated(end) || voiceBar(end) ||
               lipsLocus(end) || openedHum(end);
    }

    // Whether speech starts with a hum low in the spectrum as behind the
    // lips that a vowel ends at once, its first formant leaping up.
    bool openedHum(std::size_t end) const {
        for (std::size_t i = end; i < std::min(count_ - 1, end + 2); ++i)
            if (frames_[i].low > Tune.humLow && frames_[i].firstPeak < Tune.humFirstPeak &&
                frames_[i].secondPeak < Tune.lipsSecondPeak &&
                frames_[i + 1].firstPeak >= frames_[i].firstPeak + Tune.releaseRise)
                return true;
        return false;
    }

    // Whether speech starts with the breath of a P: a noise centred low,
    // neither a hiss nor a hum, that stays faint for two steps (a vowel is
    // loud by then).
    bool aspirated(std::size_t end) const {
        const SpeechFrame& burst = frames_[end];
        if (end + 1 >= count_ || burst.low < Tune.burstLow || burst.middle < Tune.breathMiddle ||
            burst.high >= Tune.breathHigh || burst.secondPeak >= Tune.breathSecondPeak)
            return false;
        return std::max(burst.level, frames_[end + 1].level) - level_ < -Tune.breathBelow;
    }

    // Whether speech starts with a voiced release whose second resonance
    // falls at once to the lips' low one, with no hiss after it (a B; the
    // tongue's D and G keep theirs high, with some hiss).
    bool lipsLocus(std::size_t end) const {
        if (end + 1 >= count_) return false;
        const SpeechFrame &burst = frames_[end], &next = frames_[end + 1];
        return burst.firstPeak < Tune.lipsFirstPeak && burst.low >= Tune.lipsReleaseLow &&
               burst.high < Tune.breathHigh && next.high < Tune.locusHigh &&
               next.secondPeak <= burst.secondPeak - Tune.locusFall;
    }

    // Whether speech starts with a voice bar that a release with no hiss
    // (the lips', not the tongue's) makes louder at once: a B before a close
    // vowel, whose first formant hardly rises.
    bool voiceBar(std::size_t end) const {
        const SpeechFrame& bar = frames_[end];
        if (bar.low < Tune.humLow + 0.1f || bar.firstPeak >= Tune.barFirstPeak || bar.high >= 0.1f)
            return false;
        for (std::size_t i = end + 1; i < std::min(count_, end + 3); ++i) {
            if (frames_[i].high >= 0.1f) return false;
            if (frames_[i].level >= bar.level + Tune.barRise) return true;
        }
        return false;
    }

    // A short silence inside speech is a stop's closure: the lips' when the
    // release starts low (P), the tongue's otherwise (T, K); with no release
    // it is a short pause. After a long one, speech starting with the lips'
    // release or their hum is a burst: the lips close before it.
    void readGaps() {
        for (std::size_t start = 0, end; start < count_; start = end) {
            for (end = start; end < count_ && silent(end);)
                ++end;
            if (end == start) {
                ++end;
                continue;
            }
            if (end == count_) break;
            bool release = released(end);
            bool lips = release && lipsRelease(end);
            if (start > 0 && end - start <= Tune.longestClosure) {
                lips = lips || lipsOnset(end);
                if (!release && !lips) continue;
                for (std::size_t i = start; i < end; ++i)
                    steps_[i].shape = lips ? MouthShape::Closed : MouthShape::Clenched;
            } else {
                steps_[end].burst = lipsOnset(end);
            }
        }
    }

    const std::vector<SpeechFrame>& frames_;
    std::size_t count_;
    float level_;
    std::vector<MouthStep> steps_;
    std::vector<bool> murmur_;
};

} // namespace

std::vector<MouthStep> mouthSteps(const std::vector<SpeechFrame>& frames) {
    return StepReader(frames).read();
}

std::vector<MouthKey> lipSync(const SoundClip& clip, int fps) {
    if (clip.empty()) return {};
    return mouthKeys(mouthSteps(speechFrames(clip.mono().data(), clip.length(), clip.rate())), fps);
}
