// The render preview beside the face: the POV-Ray render of the current
// pose, redone in the background once the edits pause, so the editor never
// waits for POV-Ray. Problems show in the window itself, never in a notice.
#pragma once

#include "framework/app/vTimer.h"
#include "framework/app/vToolWindow.h"
#include "render/PovrayRunner.h"
#include "render/RenderSchedule.h"
#include "render/RgbImage.h"

#include <string>

class FaceCanvasPane;
class vWindow;

class RenderPreview : public vToolWindow, private vTimer {
  public:
    static constexpr int ImageWidth = 320;
    static constexpr int ImageHeight = 240;
    static constexpr int StatusHeight = 22;
    // Long enough to span the gap between the key presses of one edit.
    static constexpr int Pause = 300;

    // The pose of `face` is read whenever a render starts, and the window
    // never covers its drawing; the close box gives `owner` the command
    // `toggleCommand`.
    RenderPreview(vWindow* owner, int toggleCommand, FaceCanvasPane* face);
    ~RenderPreview() override;

    // Shows the window and renders the current pose.
    void open();
    // Hides the window and ends a running render.
    void close();
    // When the program closes: ends every render and removes the scratch
    // folder.
    void shutDown();
    // The pose changed: render it once the edits pause.
    void poseChanged();
    // Writes the image shown as PNG when `path` ends in ".png" (any case),
    // else as BMP; false when there is no image or it cannot be written.
    bool saveImage(const char* path) const;

    const RgbImage& image() const { return image_; }
    // The status line: "Rendering...", the render's time, or why not.
    const std::string& status() const { return status_; }
    // Several lines over the picture when there is none to show.
    const std::string& message() const { return message_; }
    // A render runs or waits for the edits to pause: other renders wait.
    bool busy() const { return isShown() && !program_.empty() && !schedule_.idle(); }
    // Renders started since the window was made.
    int renderCount() const { return renders_; }
    const std::string& scratchFolder() const { return runner_.folder(); }

    void onRedraw(vWinDC& dc) override;
    void onClose() override;
    bool areaToKeepClear(RECT& area) override;

  private:
    void onTick() override;
    void startRender(long long now);
    void finishRender(PovrayRunner::State state, long long now);
    // Ends the render in progress, if any; the schedule forgets it.
    void cancelRunning();
    void setStatus(std::string status, std::string message);

    vWindow* owner_;
    int toggleCommand_;
    FaceCanvasPane* face_;
    std::string program_;
    RenderSchedule schedule_{Pause};
    PovrayRunner runner_;
    int running_ = 0; // the runner's number of the render in progress
    long long startedAt_ = 0;
    int renders_ = 0;
    RgbImage image_;
    std::string status_;
    std::string message_;
};
