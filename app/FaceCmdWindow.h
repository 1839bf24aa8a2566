// The program's main window: menu, command bar, face view and status bar;
// its commands and keys, the pose open and save flows, and the settings file.
#pragma once

#include "face/PoseHistory.h"
#include "framework/app/vCmdWindow.h"

class vMenuPane;
class vCommandPane;
class FaceCanvasPane;
class RenderPreview;
class AnimationEditor;
class ExpressionWindow;
class AnimationRenderer;

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
    // Every change of the pose ends here: the status field shows the value
    // (unless `showValue` is false: Restore and a failed Open leave the text
    // as it was), Undo and Redo follow the history, and the
    // render preview follows the pose.
    void poseChanged(bool showValue = true);
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
    PoseHistory history;
    RenderPreview* renderPreview = nullptr;
    AnimationEditor* animationEditor = nullptr;
    ExpressionWindow* expressionWindow = nullptr;

    // The expression library sets the pose and the status shows
    // "Expression <name>". A click (`live` false) is one undo step; the live
    // steps of a slider drag become one when endExpressionMix follows.
    void setExpressionPose(const float* pose, const char* name, bool live);
    void endExpressionMix();
    AnimationRenderer* animationRenderer = nullptr;

  private:
    friend class AnimationEditor;
    // The state before a change by a command or key; a drag in progress
    // ends first, as its own step.
    PoseState beginChange();
    // Records the change since `before` as one step.
    void endChange(const PoseState& before, bool showValue = true);
    void undoOrRedo(bool undo);
    void toggleSymmetric();
    // Ctrl+M and Ctrl+Shift+Z, which the menu table cannot declare.
    int shortcut(int key, int shift);
    void showHistory();
    void notice(const char* caption, const char* message);
    // After a successful save or load: remember where and what, show the name.
    void remember(const char* name);

    // Undo's and Redo's sensitivity as last shown; -1 before the first time.
    int undoShown = -1;
    int redoShown = -1;

    void toggleRenderPreview();
    void toggleExpressions();
    // The pose before a slider drag of the expression library.
    PoseState mixStart;
    bool mixing = false;
    void saveRender();
};
