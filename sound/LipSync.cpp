#include "sound/LipSync.h"

#include "sound/MouthKeys.h"

#include <algorithm>

namespace {

// Steps this far below the voice's level are silent, as are all below
// Quietest dB of full scale.
constexpr float SilenceBelow = 30;
constexpr float Quietest = -80;
// A silence inside speech up to this many steps is a stop's closure, a
// longer one a pause.
constexpr int LongestClosure = 15;
// A consonant released after a pause shows noise this soon.
constexpr int OnsetSteps = 5;
constexpr float NoisyOnset = 0.15f;
// The lips close on a hum at least this far below the loudest sound within
// DipSteps on either side.
constexpr float LipsDip = 10;
constexpr int DipSteps = 15;

// A hum with no upper formants and no hiss: the voice behind closed lips.
bool hum(const SpeechFrame& frame) {
    return frame.low > 0.8f && frame.firstPeak < 400;
}

// The voice's level: loud vowels, ignoring the loudest few steps.
float voiceLevel(const std::vector<SpeechFrame>& frames) {
    std::vector<float> levels;
    for (const SpeechFrame& frame : frames)
        if (frame.level > Quietest) levels.push_back(frame.level);
    if (levels.empty()) return 0;
    std::size_t at = levels.size() * 95 / 100;
    std::nth_element(levels.begin(), levels.begin() + long(at), levels.end());
    return levels[at];
}

// The shape of a step with sound, `relative` dB from the voice's level and
// `dip` dB below the loudest sound around it. Hiss is a fricative or a
// stop's release, loud and high for S and T, softer and broader for F; a
// hum in a dip is the lips closed (M, or the voicing of B); otherwise a
// vowel, by where its first two formants lie.
MouthShape soundShape(const SpeechFrame& frame, float relative, float dip) {
    if (frame.high > 0.4f)
        return frame.high > 0.85f || relative > -20 ? MouthShape::Clenched : MouthShape::Teeth;
    if (hum(frame) && frame.high < 0.06f && dip >= LipsDip) return MouthShape::Closed;
    if (frame.firstPeak >= 700) return MouthShape::Wide;
    if (frame.firstPeak >= 480)
        return frame.secondPeak < 1300 ? MouthShape::Rounded : MouthShape::Open;
    if (frame.secondPeak >= 1900) return MouthShape::Open;
    if (frame.secondPeak >= 1450) return MouthShape::Puckered;
    return frame.high > 0.08f ? MouthShape::Tongue : MouthShape::Rounded;
}

} // namespace

std::vector<MouthStep> mouthSteps(const std::vector<SpeechFrame>& frames) {
    float level = voiceLevel(frames);
    std::size_t count = frames.size();
    std::vector<MouthStep> steps(count, MouthStep{MouthShape::Rest, false});
    for (std::size_t i = 0; i < count; ++i) {
        float relative = frames[i].level - level;
        if (relative < -SilenceBelow || frames[i].level <= Quietest) continue;
        float around = frames[i].level;
        for (std::size_t j = i - std::min<std::size_t>(i, DipSteps);
             j < std::min(count, i + DipSteps + 1); ++j)
            around = std::max(around, frames[j].level);
        steps[i].shape = soundShape(frames[i], relative, around - frames[i].level);
    }
    for (std::size_t start = 0; start < count;) {
        std::size_t end = start;
        while (end < count && steps[end].shape == MouthShape::Rest)
            ++end;
        if (end == start) {
            ++start;
            continue;
        }
        if (end < count && start > 0 && end - start <= LongestClosure) {
            // Before a T or K the tongue, not the lips, closes.
            MouthShape closure =
                frames[end].high > 0.5f ? MouthShape::Clenched : MouthShape::Closed;
            for (std::size_t i = start; i < end; ++i)
                steps[i].shape = closure;
        } else if (end < count) {
            // A release opens with a hiss, or with the hum of a B.
            bool released = hum(frames[end]) || (end + 1 < count && hum(frames[end + 1]));
            for (std::size_t i = end; i < std::min(count, end + OnsetSteps); ++i)
                released = released || frames[i].high >= NoisyOnset;
            steps[end].burst = released;
        }
        start = end;
    }
    return steps;
}

std::vector<MouthKey> lipSync(const SoundClip& clip, int fps) {
    if (clip.empty()) return {};
    return mouthKeys(mouthSteps(speechFrames(clip.mono().data(), clip.length(), clip.rate())), fps);
}
