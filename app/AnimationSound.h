// The animation's sound in the editor: the clip read from its file, shown
// as the strip's waveform row, and played from a frame on, for a frame's
// length while scrubbing, or in step with playback. Frames are the
// animation's, at its frame rate, with the sound's first sample at frame
// `start`. The file is read on a thread, so a long sound never holds up
// the window: until it is in, the row says so, then shows the outline of
// its waveform, and the sound is silent.
#pragma once

#include "animation/WaveformRow.h"
#include "framework/app/vTimer.h"
#include "sound/SoundClip.h"
#include "sound/SoundReading.h"
#include "sound/win/SoundPlayer.h"

#include <functional>
#include <string>

class AnimationSound : private vTimer {
  public:
    // Starts reading the sound at `path` (UTF-8) unless it is the one last
    // read and not `again` (chosen anew, its file may have changed); ""
    // clears it. False, with error() saying why, when it is not a sound
    // that can be read: there is then no sound.
    bool load(const std::string& path, bool again = false);
    // Called when the row shows the outline of the sound's waveform, before
    // its samples are in.
    std::function<void()> onOutline;
    // Called once the reading has ended, when the row shows the sound, or,
    // with error() saying why, when its samples could not be read.
    std::function<void()> onRead;
    bool has() const { return !clip_.empty(); }
    const SoundClip& clip() const { return clip_; }
    bool reading() const { return reading_.pending(); }
    // Waits for a reading still going on and takes it, onRead included, as
    // its end would.
    void finish();
    // Whether the clip is that of the sound at `path`.
    bool holds(const std::string& path) const { return has() && path == path_; }
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
    void onTick() override;
    // Takes what the reading brought, and readies the sound device for it.
    void take();

    SoundReading reading_;
    SoundClip clip_;
    SoundPlayer player_;
    WaveformRow row_;
    std::string path_;
    std::string error_;
};
