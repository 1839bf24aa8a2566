#include "document/Document.h"

#include <algorithm>
#include <cstring>

void Document::removeView(DocumentView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void Document::tell(int hints) {
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
    from_ = model_.state();
    fromPlayhead_ = playhead_;
}

void Document::setKey(int frame, const float* pose) {
    KeyChange& change = step_.keyChange(frame, animation_.keyAt(frame));
    if (!animation_.setKey(frame, pose)) return;
    change.has = true;
    std::memcpy(change.now, pose, sizeof change.now);
}

bool Document::removeKey(int frame) {
    KeyChange& change = step_.keyChange(frame, animation_.keyAt(frame));
    if (!animation_.removeKey(frame)) return false;
    change.has = false;
    return true;
}

bool Document::moveKey(int from, int to) {
    const AnimationKey* key = animation_.keyAt(from);
    if (!key || to < 0 || to > lastFrame() || animation_.keyAt(to)) return false;
    AnimationKey moved = *key;
    removeKey(from);
    setKey(to, moved.pose);
    playhead_ = to;
    return true;
}

void Document::setSettings(const AnimationSettings& settings) {
    // Keys past the new end go, as changes of their own.
    std::vector<AnimationKey> keys = animation_.keys();
    for (const AnimationKey& key : keys)
        if (key.frame >= settings.length) removeKey(key.frame);
    animation_.setSettings(settings);
    playhead_ = std::clamp(playhead_, 0, lastFrame());
}

void Document::replaceAnimation(const Animation& animation) {
    std::vector<AnimationKey> keys = animation_.keys();
    for (const AnimationKey& key : keys)
        removeKey(key.frame);
    animation_.setSettings(animation.settings());
    for (const AnimationKey& key : animation.keys())
        setKey(key.frame, key.pose);
    playhead_ = std::clamp(playhead_, 0, lastFrame());
}

void Document::commit() {
    int hints = hintsFrom(from_, fromPlayhead_);
    // Keying follows the pose at the playhead, or the playhead shows its frame.
    if (keying_ && (hints & HintPose))
        setKey(playhead_, model_.pose);
    else if (keying_ && (!step_.keys.empty() || !(animation_.settings() == step_.settingsBefore)))
        followPlayhead();
    hints |= hintsFrom(from_, fromPlayhead_);
    bool keysChanged = false;
    for (const KeyChange& change : step_.keys)
        keysChanged = keysChanged || change.had != change.has ||
                      (change.has && std::memcmp(change.was, change.now, sizeof change.now) != 0);
    if (keysChanged) hints |= HintKeys;
    if (!(animation_.settings() == step_.settingsBefore)) hints |= HintSettings;
    if (hints & (HintPose | HintKeys | HintSettings)) {
        step_.after = model_.state();
        step_.playheadAfter = playhead_;
        step_.settingsAfter = animation_.settings();
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
    if (!step->keys.empty()) hints |= HintKeys;
    // The settings first: the keys of either side lie within its length.
    animation_.setSettings(forward ? step->settingsAfter : step->settingsBefore);
    for (const KeyChange& change : step->keys) {
        if (forward ? change.has : change.had)
            animation_.setKey(change.frame, forward ? change.now : change.was);
        else
            animation_.removeKey(change.frame);
    }
    model_.setState(forward ? step->after : step->before);
    playhead_ = forward ? step->playheadAfter : step->playheadBefore;
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
