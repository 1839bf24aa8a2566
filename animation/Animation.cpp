#include "animation/Animation.h"

#include <algorithm>

bool AnimationSettings::valid() const {
    return fps >= MinFps && fps <= MaxFps && length >= MinLength && length <= MaxLength &&
           (interpolation == InterpolateSmooth || interpolation == InterpolateLinear ||
            interpolation == InterpolateHold);
}

bool AnimationSettings::operator==(const AnimationSettings& other) const {
    return fps == other.fps && length == other.length && interpolation == other.interpolation;
}

bool SoundReference::operator==(const SoundReference& other) const {
    return path == other.path && start == other.start;
}

Animation::Animation()
    : tracks_{AnimationTrack(TrackEyes), AnimationTrack(TrackLids), AnimationTrack(TrackMouth)} {}

void Animation::setSettings(const AnimationSettings& settings) {
    settings_ = settings;
    for (AnimationTrack& track : tracks_)
        track.dropFrom(settings.length);
}

bool Animation::setKey(int frame, const float* pose, int track) {
    if (frame < 0 || frame >= settings_.length) return false;
    for (int t = firstOf(track); t < endOf(track); ++t)
        tracks_[t].setKey(frame, pose + trackKinds[t].first);
    return true;
}

bool Animation::setTrackKey(int track, int frame, const float* values) {
    if (frame < 0 || frame >= settings_.length) return false;
    tracks_[track].setKey(frame, values);
    return true;
}

bool Animation::removeKey(int frame, int track) {
    bool removed = false;
    for (int t = firstOf(track); t < endOf(track); ++t)
        removed = tracks_[t].removeKey(frame) || removed;
    return removed;
}

bool Animation::canMoveKey(int from, int to, int track) const {
    if (!hasKey(from, track) || to < 0 || to >= settings_.length) return false;
    for (int t = firstOf(track); t < endOf(track); ++t)
        if (tracks_[t].keyAt(from) && tracks_[t].keyAt(to) && from != to) return false;
    return true;
}

bool Animation::moveKey(int from, int to, int track) {
    if (!canMoveKey(from, to, track)) return false;
    for (int t = firstOf(track); t < endOf(track); ++t)
        if (const TrackKey* key = tracks_[t].keyAt(from)) {
            TrackKey moved = *key;
            tracks_[t].removeKey(from);
            tracks_[t].setKey(to, moved.values);
        }
    return true;
}

bool Animation::hasKey(int frame, int track) const {
    for (int t = firstOf(track); t < endOf(track); ++t)
        if (tracks_[t].keyAt(frame)) return true;
    return false;
}

int Animation::previousKey(int frame, int track) const {
    int nearest = -1;
    for (int t = firstOf(track); t < endOf(track); ++t)
        nearest = std::max(nearest, tracks_[t].previousKey(frame));
    return nearest;
}

int Animation::nextKey(int frame, int track) const {
    int nearest = -1;
    for (int t = firstOf(track); t < endOf(track); ++t) {
        int next = tracks_[t].nextKey(frame);
        if (next >= 0 && (nearest < 0 || next < nearest)) nearest = next;
    }
    return nearest;
}

bool Animation::poseAt(int frame, float* pose) const {
    bool any = false;
    for (const AnimationTrack& track : tracks_)
        any = track.valuesAt(frame, settings_.interpolation, pose) || any;
    return any;
}

bool Animation::operator==(const Animation& other) const {
    return settings_ == other.settings_ && sound_ == other.sound_ &&
           std::equal(tracks_, tracks_ + TrackCount, other.tracks_);
}
