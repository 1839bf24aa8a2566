// The program's main window: menu, command bar, face view and status bar;
// its commands and keys, the pose open and save flows, and the settings file.
// It holds the document and makes the other windows; each of them, and the
// face, the status line and the Edit menu here, show the document as it
// tells them of changes.
#pragma once

#include "document/Document.h"
#include "framework/app/vCmdWindow.h"

#include <string>

class vMenuPane;
class vCommandPane;
class FaceCanvasPane;
class RenderPreview;
class AnimationEditor;
class ExpressionWindow;
class AnimationRenderer;

class FaceCmdWindow : public vCmdWindow, public DocumentView {
  public:
    FaceCmdWindow(const char* name, int width, int height);
    ~FaceCmdWindow() override;

    void onCommand(int id, int value, int kind) override;
    // Every key refreshes the status line and redraws the face.
    void onKey(int key, int shift) override;
    // Closing the program also ends the render preview's work.
    void closeWindow() override;
    // The face, the status line, the Edit menu and the render preview
    // follow the document.
    void documentChanged(int hints) override;

    void showSelection();
    // 1 when saved or cancelled, 0 when the pose could not be written.
    int savePose();
    // Reads (mode 0, at start-up) or writes (mode 1, at closing) the
    // settings file; `owner` owns the notices.
    virtual void loadSettings(vWindow* owner, int mode);

    Document document;
    // Typed views of the panes this window made and deletes; the base keeps
    // its own untyped pointers to the menu and the canvas.
    vMenuPane* menuPane = nullptr;
    FaceCanvasPane* canvasPane = nullptr;
    vCommandPane* commandPane = nullptr;
    vCommandPane* statusPane = nullptr;
    RenderPreview* renderPreview = nullptr;
    AnimationEditor* animationEditor = nullptr;
    ExpressionWindow* expressionWindow = nullptr;
    AnimationRenderer* animationRenderer = nullptr;

  private:
    // One named step of the pose; a drag in progress ends first, as its own.
    // `keepStatus`: the status line keeps its text (Restore, Open); steps
    // of one `gesture` merge.
    template <class Change>
    void changePose(const std::string& name, Change change, bool keepStatus = false,
                    int gesture = GestureNone);
    // A press on the face chose a part; each move of its drag is a step of
    // one gesture.
    void facePressed();
    void faceDragged();
    void openPose();
    void undoOrRedo(bool undo);
    void toggleSymmetric();
    // Ctrl+M and Ctrl+Shift+Z, which the menu table cannot declare.
    int shortcut(int key, int shift);
    // The face shows the document's pose and selection.
    void showFace();
    void redrawFace();
    void showStatus(int hints);
    void showHistory();
    void notice(const char* caption, const char* message);
    // After a successful save or load: remember where and what, show the name.
    void remember(const char* name);
    // 1 when loaded or cancelled, 2 when the chosen file gave no pose;
    // `name` the file chosen.
    int loadPose(PoseModel& model, char (&name)[256]);

    // The Edit menu as last shown; -1 before the first time.
    int undoShown = -1;
    int redoShown = -1;
    std::string undoName_ = "-";
    std::string redoName_ = "-";
    // The hints of the changes since the last key began.
    int told_ = 0;
    bool keepStatus_ = false;

    void toggleRenderPreview();
    void toggleExpressions();
    void saveRender();
};
