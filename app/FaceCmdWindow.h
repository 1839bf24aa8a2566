// The program's main window: menu, command bar, face view and status bar;
// its commands and keys, the pose open and save flows, and the settings file.
#pragma once

#include "framework/app/vCmdWindow.h"

class vMenuPane;
class vCommandPane;
class FaceCanvasPane;
class RenderPreview;

class FaceCmdWindow : public vCmdWindow {
  public:
    FaceCmdWindow(const char* name, int width, int height);
    ~FaceCmdWindow() override;

    void onCommand(int id, int value, int kind) override;
    // Every key refreshes the status line and redraws the face.
    void onKey(int key, int shift) override;
    // Closing the program also ends the render preview's work.
    void closeWindow() override;

    void showSelection();
    // Every change of the pose ends here: the render preview follows it.
    void poseChanged();
    // 1 when saved or cancelled, 0 when the pose could not be written.
    int savePose();
    // 1 when loaded or cancelled, 2 when the chosen file gave no pose.
    int loadPose();
    // Reads (mode 0, at start-up) or writes (mode 1, at closing) the
    // settings file; `owner` owns the notices.
    virtual void loadSettings(vWindow* owner, int mode);

    // Typed views of the panes this window made and deletes; the base keeps
    // its own untyped pointers to the menu and the canvas.
    vMenuPane* menuPane = nullptr;
    FaceCanvasPane* canvasPane = nullptr;
    vCommandPane* commandPane = nullptr;
    vCommandPane* statusPane = nullptr;
    RenderPreview* renderPreview = nullptr;

  private:
    void notice(const char* caption, const char* message);
    // After a successful save or load: remember where and what, show the name.
    void remember(const char* name);
    void toggleRenderPreview();
    void saveRender();
};
