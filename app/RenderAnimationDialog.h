// "Render animation...": the size (presets or custom), antialiasing, the
// output folder and file name stem, the frame range and whether to make an
// animated GIF and a video with the sound too, in a dialog of the
// framework's own controls.
#pragma once

#include "framework/dialogs/vModalDialog.h"

#include <functional>
#include <string>

struct RenderRequest {
    int width = 320;
    int height = 240;
    bool antialias = true;
    std::string folder; // UTF-8, like the stem
    std::string stem = "animation";
    int first = 0;
    int last = 0;
    bool gif = true;
    bool video = false;
};

class RenderAnimationDialog : public vModalDialog {
  public:
    enum Id {
        IdSize320 = 11,
        IdSize640,
        IdSize1280,
        IdSize1920,
        IdSizeCustom,
        IdWidth = 20,
        IdHeight,
        IdAntialias = 30,
        IdFolder = 40,
        IdStem = 42,
        IdFirst = 50,
        IdLast = 52,
        IdGif = 60,
        IdVideo = 62
    };

    explicit RenderAnimationDialog(vBaseWindow* owner);

    // Shows `request` for an animation of `length` frames; true, with the
    // choices, after Start. `kept` tells, as the choices change, how many
    // frames rendered before the render keeps.
    bool ask(RenderRequest& request, int length, std::function<int(const RenderRequest&)> kept);

    void onDialogDisplayed() override;
    void onDialogCommand(int id, int value, int kind) override;

  private:
    void read();
    void showKept();

    RenderRequest request_;
    int length_ = 1;
    std::function<int(const RenderRequest&)> kept_;
    bool filled_ = false;
};
