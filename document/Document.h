// The editor's document: the pose and its selected part, symmetric editing,
// the animation, the playhead and the one undo history of them all. Every
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
    HintStep = 128 // a change was committed, whether or not it was a step
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
    // playhead in the same step, and the playhead's frame gives the pose.
    bool keying() const { return keying_; }
    bool symmetric() const { return model_.symmetric; }
    // The name of the last change begun, "Undo" or "Redo".
    const std::string& changeName() const { return changeName_; }

    // Views are told of every change; they must outlive the document or leave.
    void addView(DocumentView* view) { views_.push_back(view); }
    void removeView(DocumentView* view);

    // A change: `name` names the step on the Edit menu. Steps that change
    // neither the pose, the keys nor the settings are none: only the
    // selection or playhead they moved is shown.
    void begin(const std::string& name, int gesture = GestureNone);
    PoseModel& pose() { return model_; }
    void setKey(int frame, const float* pose);
    bool removeKey(int frame);
    bool moveKey(int from, int to);
    void setSettings(const AnimationSettings& settings);
    void replaceAnimation(const Animation& animation);
    void commit();
    // Starts a gesture (a press on the face): its first step undoes to the
    // state before the press.
    void beginGesture(int gesture);
    // The next step of the same kind is a step of its own.
    void endGesture();
    bool inGesture(int gesture) const { return gesture_ == gesture; }

    // Not steps: the playhead (kept within the frames), keying, symmetry.
    void moveTo(int frame);
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
    // The pose at the playhead, when keying and there are keys.
    void followPlayhead();
    // Brings back the state before (`forward` false) or after `step`.
    bool apply(const Step* step, bool forward);
    void tell(int hints);
    int hintsFrom(const PoseState& pose, int playhead) const;

    PoseModel model_;
    Animation animation_;
    int playhead_ = 0;
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
