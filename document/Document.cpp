#include "document/Document.h"

#include <algorithm>
#include <cstring>

void Document::removeView(DocumentView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void Document::tell(int hints) {
    if (selectedTrack_ >= 0 && !animation_.hasKey(selectedFrame_, selectedTrack_)) {
        selectedTrack_ = selectedFrame_ = -1;
        hints |= HintKeySelection;
    }
    if (hints == 0) return;
    // A view may leave while told.
    std::vector<DocumentView*> views = views_;
    for (DocumentView* view : views)
        view->documentChanged(hints);
}

int Document::hintsFrom(const PoseState& pose, int playhead) const {
    int hints = 0;
    if (std::memcmp(pose.pose, model_.pose, sizeof pose.pose) != 0) hints |= HintPose;
    if (pose.selection != model_.selection) hints |= HintSelection;
    if (playhead != playhead_) hints |= HintPlayhead;
    return hints;
}

void Document::begin(const std::string& name, int gesture) {
    step_ = Step();
    step_.name = changeName_ = name;
    step_.gesture = gesture;
    bool continues = gesture != GestureNone && gesture == gesture_;
    step_.before = continues ? gestureBefore_ : model_.state();
    step_.playheadBefore = continues ? gesturePlayhead_ : playhead_;
    step_.settingsBefore = animation_.settings();
    step_.soundBefore = animation_.sound();
    step_.selectionBefore[0] = selectedTrack_;
    step_.selectionBefore[1] = selectedFrame_;
    from_ = model_.state();
    fromPlayhead_ = playhead_;
}

void Document::setTrackKey(int track, int frame, const float* values) {
    KeyChange& change = step_.keyChange(track, frame, animation_.track(track).keyAt(frame));
    if (!animation_.setTrackKey(track, frame, values)) return;
    change.has = true;
    std::copy(values, values + trackKinds[track].count, change.now);
}

void Document::setKey(int frame, const float* pose, int track) {
    for (int t = 0; t < TrackCount; ++t)
        if (track == AllTracks || track == t) setTrackKey(t, frame, pose + trackKinds[t].first);
}

bool Document::removeKey(int frame, int track) {
    bool removed = false;
    for (int t = 0; t < TrackCount; ++t) {
        if ((track != AllTracks && track != t) || !animation_.hasKey(frame, t)) continue;
        step_.keyChange(t, frame, animation_.track(t).keyAt(frame)).has = false;
        animation_.removeKey(frame, t);
        removed = true;
    }
    return removed;
}

bool Document::moveKey(int from, int to, int track) {
    if (!animation_.canMoveKey(from, to, track)) return false;
    for (int t = 0; t < TrackCount; ++t) {
        const TrackKey* key = animation_.track(t).keyAt(from);
        if ((track != AllTracks && track != t) || !key) continue;
        TrackKey moved = *key;
        removeKey(from, t);
        setTrackKey(t, to, moved.values);
        if (t == selectedTrack_ && from == selectedFrame_) selectedFrame_ = to;
    }
    playhead_ = to;
    return true;
}

void Document::setSettings(const AnimationSettings& settings) {
    // Keys past the new end go, as changes of their own.
    for (int t = 0; t < TrackCount; ++t) {
        std::vector<TrackKey> keys = animation_.track(t).keys();
        for (const TrackKey& key : keys)
            if (key.frame >= settings.length) removeKey(key.frame, t);
    }
    animation_.setSettings(settings);
    playhead_ = std::clamp(playhead_, 0, lastFrame());
}

void Document::setSound(const SoundReference& sound) {
    animation_.setSound(sound);
}

void Document::replaceAnimation(const Animation& animation) {
    for (int t = 0; t < TrackCount; ++t) {
        std::vector<TrackKey> keys = animation_.track(t).keys();
        for (const TrackKey& key : keys)
            removeKey(key.frame, t);
    }
    animation_.setSettings(animation.settings());
    animation_.setSound(animation.sound());
    for (int t = 0; t < TrackCount; ++t)
        for (const TrackKey& key : animation.track(t).keys())
            setTrackKey(t, key.frame, key.values);
    playhead_ = std::clamp(playhead_, 0, lastFrame());
}

void Document::keyChangedTracks(const float* before) {
    for (int t = 0; t < TrackCount; ++t) {
        const TrackKind& kind = trackKinds[t];
        if (std::memcmp(before + kind.first, model_.pose + kind.first,
                        sizeof(float) * std::size_t(kind.count)) != 0)
            setKey(playhead_, model_.pose, t);
    }
}

void Document::commit() {
    int hints = hintsFrom(from_, fromPlayhead_);
    // Keying follows the pose at the playhead, or the playhead shows its frame.
    if (keying_ && (hints & HintPose))
        keyChangedTracks(from_.pose);
    else if (keying_ && (!step_.keys.empty() || !(animation_.settings() == step_.settingsBefore)))
        followPlayhead();
    hints |= hintsFrom(from_, fromPlayhead_);
    bool keysChanged = false;
    for (const KeyChange& change : step_.keys)
        keysChanged = keysChanged || change.had != change.has ||
                      (change.has && std::memcmp(change.was, change.now, sizeof change.now) != 0);
    if (keysChanged) hints |= HintKeys;
    if (!(animation_.settings() == step_.settingsBefore)) hints |= HintSettings;
    if (animation_.sound() != step_.soundBefore) hints |= HintSound;
    if (hints & (HintPose | HintKeys | HintSettings | HintSound)) {
        step_.after = model_.state();
        step_.playheadAfter = playhead_;
        step_.settingsAfter = animation_.settings();
        step_.soundAfter = animation_.sound();
        // A selected key the step removed is no longer selected.
        bool kept = selectedTrack_ >= 0 && animation_.hasKey(selectedFrame_, selectedTrack_);
        step_.selectionAfter[0] = kept ? selectedTrack_ : -1;
        step_.selectionAfter[1] = kept ? selectedFrame_ : -1;
        history_.push(std::move(step_));
        hints |= HintHistory;
    }
    tell(hints | HintStep);
}

void Document::beginGesture(int gesture) {
    endGesture();
    gesture_ = gesture;
    gestureBefore_ = model_.state();
    gesturePlayhead_ = playhead_;
}

void Document::endGesture() {
    gesture_ = GestureNone;
    history_.seal();
}

void Document::followPlayhead() {
    if (keying_) animation_.poseAt(playhead_, model_.pose);
}

void Document::moveTo(int frame) {
    PoseState before = model_.state();
    int playhead = playhead_;
    playhead_ = std::clamp(frame, 0, lastFrame());
    followPlayhead();
    tell(hintsFrom(before, playhead));
}

void Document::selectKey(int track, int frame) {
    if (track < 0 || !animation_.hasKey(frame, track)) track = frame = -1;
    if (track == selectedTrack_ && frame == selectedFrame_) return;
    selectedTrack_ = track;
    selectedFrame_ = frame;
    tell(HintKeySelection);
}

void Document::setKeying(bool on) {
    keying_ = on;
    PoseState before = model_.state();
    followPlayhead();
    tell(hintsFrom(before, playhead_) | HintKeying);
}

bool Document::apply(const Step* step, bool forward) {
    if (!step) return false;
    gesture_ = GestureNone;
    changeName_ = forward ? "Redo" : "Undo";
    PoseState pose = model_.state();
    int playhead = playhead_;
    int hints = HintHistory;
    if (!(step->settingsBefore == step->settingsAfter)) hints |= HintSettings;
    if (step->soundBefore != step->soundAfter) hints |= HintSound;
    if (!step->keys.empty()) hints |= HintKeys;
    // The settings first: the keys of either side lie within its length.
    animation_.setSettings(forward ? step->settingsAfter : step->settingsBefore);
    animation_.setSound(forward ? step->soundAfter : step->soundBefore);
    for (const KeyChange& change : step->keys) {
        if (forward ? change.has : change.had)
            animation_.setTrackKey(change.track, change.frame, forward ? change.now : change.was);
        else
            animation_.removeKey(change.frame, change.track);
    }
    model_.setState(forward ? step->after : step->before);
    playhead_ = forward ? step->playheadAfter : step->playheadBefore;
    const int* selection = forward ? step->selectionAfter : step->selectionBefore;
    if (selection[0] != selectedTrack_ || selection[1] != selectedFrame_) hints |= HintKeySelection;
    selectedTrack_ = selection[0];
    selectedFrame_ = selection[1];
    // A step made with the timeline hidden changed the face alone: shown,
    // the face is the animation's at the playhead, as after any step.
    followPlayhead();
    if (forward)
        history_.redone();
    else
        history_.undone();
    tell(hints | hintsFrom(pose, playhead));
    return true;
}

bool Document::undo() {
    return apply(history_.undoStep(), false);
}

bool Document::redo() {
    return apply(history_.redoStep(), true);
}
