#include "sound/MouthTrack.h"

#include <algorithm>
#include <cstdio>

int setMouthTrack(Animation& animation, const std::vector<MouthKey>& keys,
                  const MouthShapeSet& shapes, int start) {
    while (!animation.track(TrackMouth).keys().empty())
        animation.removeKey(animation.track(TrackMouth).keys().back().frame, TrackMouth);
    int left = 0;
    for (const MouthKey& key : keys)
        if (!animation.setTrackKey(TrackMouth, start + key.frame, shapes.mouth(key.shape))) ++left;
    return left;
}

std::string keysLeftOutText(int left, const Animation& animation, double seconds, int start) {
    const AnimationSettings& settings = animation.settings();
    char text[160];
    std::snprintf(text, sizeof text,
                  "%d mouth keys past the animation's last frame left out: %.2f s of the sound "
                  "runs beyond it",
                  left, seconds - std::max(0.0, double(settings.length - start) / settings.fps));
    return text;
}
