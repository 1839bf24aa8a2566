// The animation's sound in the editor: the clip read from its file, shown
// as the strip's waveform row, and played from a frame on, for a frame's
// length while scrubbing, or in step with playback. Frames are the
// animation's, at its frame rate, with the sound's first sample at frame
// `start`.
#pragma once

#include "animation/WaveformRow.h"
#include "sound/SoundClip.h"
#include "sound/win/SoundPlayer.h"

#include <string>

class AnimationSound {
  public:
    // Reads the sound at `path` (UTF-8) unless it is the one last read, and
    // readies the sound device for it; "" clears it. False, with error()
    // saying why, when it cannot be read: there is then no sound.
    bool load(const std::string& path);
    bool has() const { return !clip_.empty(); }
    const std::string& error() const { return error_; }
    WaveformRow& row() { return row_; }

    // Plays `frames` frames' length (all the rest when negative) from
    // `frame` on; false when the sound has nothing at that frame.
    bool play(int frame, int fps, int start, int frames = -1);
    void stop() { player_.stop(); }
    // The frame the sound being heard has reached, to the microsecond, or
    // a negative number when it does not play.
    double frameHeard(int fps, int start);

  private:
    SoundClip clip_;
    SoundPlayer player_;
    WaveformRow row_;
    std::string path_;
    std::string error_;
};
