// Rendering the animation from the editor: File > Render animation... asks
// how, then POV-Ray renders a snapshot of the animation in the background,
// one process per core, while a modeless window shows the progress and
// editing goes on; then the GIF and the video with the sound, as asked. The
// live preview pauses meanwhile, so that the cores go to the frames, and
// catches up at the end. Closing the program cancels.
#pragma once

#include "animation/Animation.h"
#include "animrender/AnimationRenderJob.h"
#include "app/RenderAnimationDialog.h"
#include "framework/app/vTimer.h"

#include <functional>
#include <string>

class AnimationProgressWindow;
class AnimationSound;
class Document;
class vWindow;

class AnimationRenderer : private vTimer {
  public:
    // Renders `document`'s animation; `window` owns the dialogs and shows the
    // outcome in its status line.
    AnimationRenderer(vWindow& window, const Document& document);
    ~AnimationRenderer() override;

    // The dialog, then the render of the window's animation as it is now.
    void ask();
    // Starts rendering `animation` (copied) as `request` says; false, and
    // `problem` says why in a notice, when it cannot.
    bool start(const Animation& animation, const RenderRequest& request);
    bool rendering() const { return rendering_; }
    // Ends every POV-Ray, keeps the complete frames and closes the window.
    void cancel();

    AnimationProgressWindow* progressWindow() const { return progress_; }
    // What the last render ended with, for the status line.
    std::string outcome;
    // Told when a render ends: the paused preview may render again.
    std::function<void()> onEnded;
    // The editor's sound, whose clip spares reading the sound again.
    const AnimationSound* heldSound = nullptr;

  private:
    // Shows how far the render has come; ends it once over.
    void onTick() override;
    // Whether the animation's sound reads to its end, before any frame is
    // rendered, as `tavokpose animate --video` asks; `error` says why not.
    bool soundReads(std::string& error) const;
    // Ends the render as the job ended, once it has: whether it had.
    bool endIfOver(const AnimationRenderJob::Status& status);
    std::string renderedText(const RenderProgress& progress) const;
    void end(const std::string& outcome, const std::string& problem);

    vWindow& window_;
    const Document& document_;
    RenderRequest request_;
    int fps_ = 25;
    int lengthAsked_ = 0; // the animation's length at the last ask
    bool rendering_ = false;
    AnimationRenderJob job_;
    std::string povray_;
    std::string ffmpeg_;
    SoundReference sound_;
    AnimationProgressWindow* progress_ = nullptr;
    int frameShown_ = 0; // the job's frameCount shown
    AnimationRenderJob::Stage stageShown_ = AnimationRenderJob::Frames;
};
