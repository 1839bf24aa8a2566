// The main window's animation: the timeline strip under the face, the
// Animate menu, playback, undo of timeline changes and the animation files.
// While the timeline is shown the face shows the pose at the playhead and
// every change of the pose sets the key there; hidden, it changes nothing.
#pragma once

#include "animation/Timeline.h"
#include "framework/app/vTimer.h"

#include <functional>

class FaceCmdWindow;
class TimelinePane;

class AnimationEditor : private vTimer {
  public:
    // Makes the timeline pane and adds it to `window`'s panes.
    explicit AnimationEditor(FaceCmdWindow& window);
    ~AnimationEditor() override;

    bool shown() const;
    bool playing() const { return playing_; }
    // The window's commands of the timeline and the animation files; false
    // for any other id.
    bool onCommand(int id);
    // Left/Right, Ctrl+Left/Right, Home and End move the playhead while the
    // timeline is shown; false for any other key.
    bool onKey(int key, int shift);
    // The one entry of every pose change: the key at the playhead follows.
    void poseChanged();
    // Undo and Redo of the timeline while it is shown; false when hidden.
    bool undoOrRedo(bool undo);
    bool canUndo() const { return timeline.canUndo(); }
    bool canRedo() const { return timeline.canRedo(); }
    // A drag of the face is one step of the timeline, as of the pose.
    void followDrags();

    Timeline timeline;
    TimelinePane* pane = nullptr;
    // Told of each frame playback draws: the frame, when it was due and when
    // it was drawn, in microseconds of the steady clock.
    std::function<void(int frame, long long due, long long drawn)> onFrameDrawn;

  private:
    void toggleTimeline();
    void setKey();
    void deleteKey();
    void togglePlay();
    void stop();
    void editSettings();
    void openAnimation();
    void saveAnimation();
    void exportAnimation();
    void scrub(int frame);
    void moveKey(int from, int to);
    // The face takes the pose at the playhead; the strip and status follow.
    void showFrame();
    // The strip and the menus follow the timeline.
    void showTimeline();
    // Records the change since `before` as one step and shows it.
    void changed(const Timeline::State& before);
    // The Animate menu's and Undo's states.
    void showMenus();
    void notice(const char* message);
    void onTick() override;

    FaceCmdWindow& window_;
    PlaybackClock clock_;
    bool playing_ = false;
    bool dragging_ = false;
    // The menu states as last shown.
    int timelineShown_ = 0;
    int onKeyShown_ = 0;
    Timeline::State dragBefore_;
};
