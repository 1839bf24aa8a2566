// Lip-sync from a voice: a mouth shape for every 10 ms of it, read from its
// loudness and spectral balance. Needs no platform.
#pragma once

#include "sound/MouthShape.h"
#include "sound/SoundClip.h"
#include "sound/SpeechFeatures.h"

#include <vector>

// One step per speech frame. Silence is at rest, except a short one inside
// speech, the closure of a stop consonant; a burst is marked where speech
// starts after a pause with a released consonant.
std::vector<MouthStep> mouthSteps(const std::vector<SpeechFrame>& frames);

// The mouth keys at `fps` for the clip's voice (its channels mixed), from
// frame 0 at the clip's start.
std::vector<MouthKey> lipSync(const SoundClip& clip, int fps);
