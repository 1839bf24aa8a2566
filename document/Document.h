// The editor's document: the pose and its selected part, symmetric editing,
// the animation with its tracks and sound, the playhead, the selected key
// and the one undo history of them all. Every
// change runs between begin and commit as one named step; views are told
// what changed by a hint and redraw from the document. Needs no platform.
#pragma once

#include "document/History.h"

#include <string>
#include <vector>

// What a change touched, or'ed together.
enum DocumentHint {
    HintPose = 1,
    HintSelection = 2,
    HintKeys = 4,
    HintPlayhead = 8,
    HintSettings = 16,
    HintHistory = 32,
    HintKeying = 64,
    HintStep = 128, // a change was committed, whether or not it was a step
    HintKeySelection = 256,
    HintSound = 512
};

// Gestures: their consecutive steps merge into one.
enum Gesture { GestureNone = 0, GestureDrag = 1, GestureMix = 2, GestureKey = 3 };

class DocumentView {
  public:
    virtual ~DocumentView() = default;
    virtual void documentChanged(int hints) = 0;
};

class Document {
  public:
    explicit Document(History history = History()) : history_(std::move(history)) {}

    const PoseModel& model() const { return model_; }
    const Animation& animation() const { return animation_; }
    // A reference that lives as long as the document: the strip reads it.
    const int& playhead() const { return playhead_; }
    int lastFrame() const { return animation_.settings().length - 1; }
    // While keying (the timeline shows), a pose change sets the key at the
    // playhead, on the tracks whose values it changed, in the same step, and
    // the playhead's frame gives the pose.
    bool keying() const { return keying_; }
    // The selected key: its track (-1: none) and frame. References that live
    // as long as the document: the strip reads them.
    const int& selectedTrack() const { return selectedTrack_; }
    const int& selectedFrame() const { return selectedFrame_; }
    bool symmetric() const { return model_.symmetric; }
    // The name of the last change begun, "Undo" or "Redo".
    const std::string& changeName() const { return changeName_; }

    // Views are told of every change; they must outlive the document or leave.
    void addView(DocumentView* view) { views_.push_back(view); }
    void removeView(DocumentView* view);

    // A change: `name` names the step on the Edit menu. Steps that change
    // neither the pose, the keys, the settings nor the sound are none: only
    // the selection or playhead they moved is shown.
    void begin(const std::string& name, int gesture = GestureNone);
    PoseModel& pose() { return model_; }
    // The key of `track`, or of every track, at `frame` from its values in
    // `pose`; removing and moving as the animation does (animation/Animation.h).
    void setKey(int frame, const float* pose, int track = AllTracks);
    bool removeKey(int frame, int track = AllTracks);
    // The playhead goes along, and so does the key's selection.
    bool moveKey(int from, int to, int track = AllTracks);
    void setSettings(const AnimationSettings& settings);
    void setSound(const SoundReference& sound);
    void replaceAnimation(const Animation& animation);
    void commit();
    // Starts a gesture (a press on the face): its first step undoes to the
    // state before the press.
    void beginGesture(int gesture);
    // The next step of the same kind is a step of its own.
    void endGesture();
    bool inGesture(int gesture) const { return gesture_ == gesture; }

    // Not steps: the playhead (kept within the frames), the selected key
    // (track -1: none; a key that goes is no longer selected), keying,
    // symmetry.
    void moveTo(int frame);
    void selectKey(int track, int frame);
    void setKeying(bool on);
    void setSymmetric(bool on) { model_.symmetric = on; }
    // Tells the views again, as if `hints` changed (playback ended).
    void refresh(int hints) { tell(hints); }

    bool undo();
    bool redo();
    const Step* undoStep() const { return history_.undoStep(); }
    const Step* redoStep() const { return history_.redoStep(); }
    const History& history() const { return history_; }

  private:
    // Records and sets one track's key.
    void setTrackKey(int track, int frame, const float* values);
    // Keys the tracks whose values differ from `before` at the playhead.
    void keyChangedTracks(const float* before);
    // The pose at the playhead, when keying and there are keys.
    void followPlayhead();
    // Brings back the state before (`forward` false) or after `step`.
    bool apply(const Step* step, bool forward);
    void tell(int hints);
    int hintsFrom(const PoseState& pose, int playhead) const;

    PoseModel model_;
    Animation animation_;
    int playhead_ = 0;
    int selectedTrack_ = -1;
    int selectedFrame_ = -1;
    bool keying_ = false;
    History history_;
    std::vector<DocumentView*> views_;
    Step step_;
    std::string changeName_;
    // The state at begin: a gesture's step may start before it.
    PoseState from_{};
    int fromPlayhead_ = 0;
    int gesture_ = GestureNone;
    PoseState gestureBefore_{};
    int gesturePlayhead_ = 0;
};
