// The main window's animation: the timeline strip under the face, the
// Animate menu, playback in step with the sound, and the animation files. While the timeline is
// shown the face shows the pose at the playhead and every change of the
// pose sets the key there (the document keys it); hidden, it changes nothing.
#pragma once

#include "animation/PlaybackClock.h"
#include "app/AnimationSound.h"
#include "app/FileDialogState.h"
#include "document/Document.h"
#include "framework/app/vTimer.h"

#include <functional>

class vWindow;
class TimelinePane;

class AnimationEditor : public DocumentView, private vTimer {
  public:
    // Makes the timeline pane and adds it to `window`'s panes; `window`
    // shows the menus and owns the dialogs.
    AnimationEditor(vWindow& window, Document& document);
    ~AnimationEditor() override;

    bool shown() const;
    bool playing() const { return playing_; }
    // The window's commands of the timeline and the animation files; false
    // for any other id.
    bool onCommand(int id);
    // Left/Right, Ctrl+Left/Right, Home and End move the playhead while the
    // timeline is shown; false for any other key.
    bool onKey(int key, int shift);
    // The strip and the Animate menu follow the document; any change stops
    // playback.
    void documentChanged(int hints) override;
    // Ends playback and its sound with the face at the playhead.
    void stop();
    // The frame the sound being heard has reached, or a negative number
    // when none plays.
    double soundFrame();
    // The sound read for the document, for the render to use again.
    const AnimationSound& sound() const { return sound_; }

    TimelinePane* pane = nullptr;
    // Told of each frame playback draws: the frame, when it was due and when
    // it was drawn, in microseconds of the steady clock.
    std::function<void(int frame, long long due, long long drawn)> onFrameDrawn;

  private:
    void toggleTimeline();
    // One named step of the animation.
    template <class Change> void change(const char* name, Change change);
    // The selected key, or the keys at the playhead.
    void deleteKey();
    void togglePlay();
    // Animate > Sound...: a WAV file becomes the animation's sound once it
    // has been read; one that cannot be read leaves no trace.
    void chooseSound();
    // The sound the document names, read unless it was the last one read,
    // instead of any sound still being chosen; false when it names one that
    // cannot be read.
    bool loadSound();
    // The sound's samples are in, or could not be read after all.
    void soundRead();
    // The frame of the strip a press or drag chose: a frame's length of
    // the sound there plays.
    void scrub(int frame);
    // Ends playback as it stands; whether it was playing.
    bool halt();
    void editSettings();
    // Fills the mouth track from the animation's sound, as one step.
    void lipSyncFromSound();
    void openAnimation();
    void saveAnimation();
    void exportAnimation();
    // The Animate menu's states.
    void showMenus();
    void notice(const char* message);
    void onTick() override;

    vWindow& window_;
    Document& document_;
    PlaybackClock clock_;
    bool playing_ = false;
    AnimationSound sound_;
    SoundReference choice_;     // chosen and being read; none when its path is ""
    int firstFrame_ = 0;        // where the clock last started
    int lastFrame_ = 0;         // the frame drawn last, to see playback loop
    bool soundStarted_ = false; // since the clock started
    // The menu states as last shown.
    int timelineShown_ = 0;
    int onKeyShown_ = 0;
    int soundShown_ = 0;
    // The names the animation's file dialogs offer next.
    char animationName_[FileNameSize] = "animation.tfa";
    // The sample scene takes the include by this name.
    char includeName_[FileNameSize] = "animation.inc";
};
