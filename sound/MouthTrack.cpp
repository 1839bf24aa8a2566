#include "sound/MouthTrack.h"

int setMouthTrack(Animation& animation, const std::vector<MouthKey>& keys,
                  const MouthShapeSet& shapes, int start) {
    while (!animation.track(TrackMouth).keys().empty())
        animation.removeKey(animation.track(TrackMouth).keys().back().frame, TrackMouth);
    int left = 0;
    for (const MouthKey& key : keys)
        if (!animation.setTrackKey(TrackMouth, start + key.frame, shapes.mouth(key.shape))) ++left;
    return left;
}
