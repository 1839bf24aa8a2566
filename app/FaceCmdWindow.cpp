#include "app/FaceCmdWindow.h"

#include "app/AnimationEditor.h"
#include "app/ExpressionWindow.h"
#include "app/AnimationRenderer.h"
#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "app/RenderPreview.h"
#include "app/SettingsFile.h"
#include "app/WindowText.h"
#include "face/FaceCanvasPane.h"
#include "face/PoseFile.h"
#include "framework/app/KeyCodes.h"
#include "framework/app/vApp.h"
#include "framework/app/vMenuPane.h"
#include "framework/dialogs/vCommandPane.h"
#include "framework/dialogs/vFileSelect.h"
#include "framework/dialogs/vNoticeDialog.h"

#include <cstring>
#include <string>
#include <windows.h>

namespace {

struct KeyBinding {
    int key;
    int action;
};

const KeyBinding keyBindings[] = {{'4', KeyEyeXUp},    {'7', KeyEyeXDown},    {'8', KeyRaise},
                                  {'5', KeyLower},     {'9', KeyEyeZUp},      {'6', KeyEyeZDown},
                                  {'+', KeyPupilGrow}, {'-', KeyPupilShrink}, {'1', KeyZeroEyeX},
                                  {'2', KeyRestore},   {'3', KeyZeroEyeZ},    {0, KeyNone}};

int keyAction(int key) {
    for (const KeyBinding* binding = keyBindings; binding->key; ++binding)
        if (binding->key == key) return binding->action;
    return KeyNone;
}

const char* const noticeCaption = "Notice";
const char* const aboutCaption = "    About ";
const char* const aboutText = " TavokFace helps you pose the face of a robot\n"
                              " for a ray-traced POV-Ray robot model.\n\n"
                              " Written by Tavo K. Ferrand\n"
                              " tavok@tavokface.example\n\n"
                              " This is version 1.1";

// The settings file beside the program, even when it runs under another
// file name; false, with no path, when the path would not fit.
bool locateSettings() {
    char program[1024];
    DWORD length = GetModuleFileNameA(GetModuleHandleA("TavokF.exe"), program, sizeof program);
    if (length == 0 || length >= sizeof program) {
        settingsPath[0] = '\0';
        return false;
    }
    return settingsPathBeside(program, settingsPath);
}

// Where the file dialogs start: the current folder, which start-up made the
// remembered one, rather than the platform's own last folder. Null when
// unknown or too long.
const char* dialogFolder(char (&folder)[MAX_PATH]) {
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH ? folder : nullptr;
}

} // namespace

FaceCmdWindow::FaceCmdWindow(const char* name, int width, int height)
    : vCmdWindow(name, width, height) {
    // The order fixes the layout: bars stack in the order they are made.
    menuPane = new vMenuPane(faceMenu);
    addPane(menuPane);
    commandPane = new vCommandPane(faceCommandBar);
    addPane(commandPane);
    canvasPane = new FaceCanvasPane;
    addPane(canvasPane);
    // Made before the status bar: the timeline stacks above it.
    animationEditor = new AnimationEditor(*this);
    statusPane = new vCommandPane(faceStatusBar);
    addPane(statusPane);
    canvasPane->onDragStep = [this] { poseChanged(); };
    canvasPane->onDragEnd = [this](const PoseState& before) {
        history.record(before, *canvasPane);
        showHistory();
    };
    animationEditor->followDrags();
    // The menu table outlives windows: it may hold another window's states.
    setValue(IdSymmetric, 0, SetValue);
    showHistory();
    renderPreview = new RenderPreview(this, IdRenderPreview, canvasPane);
    expressionWindow = new ExpressionWindow(this, IdExpressions);
    animationRenderer = new AnimationRenderer(*this);
    showWindow();
}

FaceCmdWindow::~FaceCmdWindow() {
    delete animationRenderer;
    delete animationEditor;
    delete expressionWindow;
    delete renderPreview;
    delete menuPane;
    delete canvasPane;
    delete commandPane;
    delete statusPane;
}

void FaceCmdWindow::closeWindow() {
    animationRenderer->cancel();
    renderPreview->shutDown();
    expressionWindow->shutDown();
    vCmdWindow::closeWindow();
}

void FaceCmdWindow::notice(const char* caption, const char* message) {
    vNoticeDialog box(this, caption);
    box.notice(message);
}

void FaceCmdWindow::onCommand(int id, int value, int kind) {
    // Whatever the command, a drag in progress is a step of its own before it.
    canvasPane->endDrag();
    PoseState before;
    switch (id) {
    case IdRestore:
        before = beginChange();
        canvasPane->resetPose();
        canvasPane->drawFace();
        endChange(before, false);
        break;
    case IdHelpContents: WinHelpA(nativeWindow, "TavokF.hlp", HELP_CONTEXT, 3); break;
    case IdAbout: notice(aboutCaption, aboutText); break;
    case IdOpen:
        // A failed open resets the pose: a step of its own, too.
        before = beginChange();
        if (loadPose() == 2) canvasPane->resetPose();
        canvasPane->drawFace();
        endChange(before, false);
        break;
    case IdSave:
        if (savePose() == 0) notice(noticeCaption, "Save error");
        break;
    case IdRenderPreview: toggleRenderPreview(); break;
    case IdSaveRender: saveRender(); break;
    case IdExpressions: toggleExpressions(); break;
    case IdRenderAnimation: animationRenderer->ask(); break;
    case IdExit: theApp->exitApp(); break;
    case IdUndo: undoOrRedo(true); break;
    case IdRedo: undoOrRedo(false); break;
    case IdMirror:
        before = beginChange();
        canvasPane->mirrorPose();
        canvasPane->drawFace();
        // A symmetric pose is no step, but the selection moved: show it anyway.
        endChange(before, false);
        showSelection();
        break;
    case IdSymmetric: toggleSymmetric(); break;
    default:
        if (!animationEditor->onCommand(id)) vCmdWindow::onCommand(id, value, kind);
        break;
    }
}

void FaceCmdWindow::onKey(int key, int shift) {
    if (animationEditor->onKey(key, shift)) return;
    if (int id = shortcut(key, shift)) {
        onMenuCommand(id);
        return;
    }
    PoseState before = beginChange();
    if (int action = keyAction(key)) canvasPane->applyKeyAction(action);
    if (history.record(before, *canvasPane))
        poseChanged();
    else
        showSelection();
    vCmdWindow::onKey(key, shift);
    canvasPane->drawFace();
}

void FaceCmdWindow::toggleRenderPreview() {
    bool show = !renderPreview->isShown();
    if (show)
        renderPreview->open();
    else
        renderPreview->close();
    setValue(IdRenderPreview, show, SetValue);
    expressionWindow->keepClearOf(*renderPreview);
}

void FaceCmdWindow::toggleExpressions() {
    bool show = !expressionWindow->isShown();
    if (show)
        expressionWindow->open();
    else
        expressionWindow->close();
    setValue(IdExpressions, show, SetValue);
}

void FaceCmdWindow::setExpressionPose(const float* pose, const char* name, bool live) {
    // A click, or a drag whose release went astray, ends a drag's step.
    PoseState before = mixing && live ? mixStart : beginChange();
    mixStart = before;
    mixing = live;
    std::memcpy(canvasPane->pose, pose, sizeof canvasPane->pose);
    canvasPane->drawFace();
    if (!live) history.record(before, *canvasPane);
    poseChanged(false);
    setString(IdStatusText, (std::string("Expression ") + name).c_str());
}

void FaceCmdWindow::endExpressionMix() {
    if (!mixing) return;
    mixing = false;
    endChange(mixStart, false);
}

void FaceCmdWindow::saveRender() {
    if (renderPreview->image().rgb.empty()) {
        notice(noticeCaption, "No render to save yet: press F5 for the render preview");
        return;
    }
    char name[FileNameSize] = "render.png";
    int index = 0;
    static const char* renderFilters[] = {"*.png", "*.bmp", nullptr};
    vFileSelect select(this, "File Select");
    select.defaultExtension = "png";
    if (!select.fileSelectSave("Save Render", name, FileNameSize, renderFilters, index, 0,
                               nullptr) ||
        !*name)
        return;
    if (!renderPreview->saveImage(name)) notice(noticeCaption, "Save error");
}

int FaceCmdWindow::shortcut(int key, int shift) {
    // The key state tells Ctrl+M from Return, which type the same character.
    if (key == KeyCtrlM && GetKeyState(VK_CONTROL) < 0) return IdMirror;
    if (key == KeyCtrlZ && shift == ShiftKeyBit && history.canRedo()) return IdRedo;
    return 0;
}

PoseState FaceCmdWindow::beginChange() {
    canvasPane->endDrag();
    return canvasPane->state();
}

void FaceCmdWindow::endChange(const PoseState& before, bool showValue) {
    if (history.record(before, *canvasPane)) poseChanged(showValue);
}

void FaceCmdWindow::undoOrRedo(bool undo) {
    if (animationEditor->undoOrRedo(undo)) return;
    if (!(undo ? history.undo(*canvasPane) : history.redo(*canvasPane))) return;
    canvasPane->drawFace();
    poseChanged();
}

void FaceCmdWindow::toggleSymmetric() {
    canvasPane->symmetric = !canvasPane->symmetric;
    setValue(IdSymmetric, canvasPane->symmetric, SetValue);
}

void FaceCmdWindow::poseChanged(bool showValue) {
    animationEditor->poseChanged();
    if (showValue) showSelection();
    showHistory();
    if (!animationRenderer->rendering()) renderPreview->poseChanged();
}

void FaceCmdWindow::showHistory() {
    // Only changes reach the menu: this runs on every key and drag step.
    int undo = history.canUndo(), redo = history.canRedo();
    if (animationEditor->shown()) {
        undo = animationEditor->canUndo();
        redo = animationEditor->canRedo();
    }
    // A drag in progress can be undone: Ctrl+Z ends it first.
    undo = undo || canvasPane->dragging();
    if (undo != undoShown) setValue(IdUndo, undo, SetSensitive);
    if (redo != redoShown) setValue(IdRedo, redo, SetSensitive);
    undoShown = undo;
    redoShown = redo;
}

void FaceCmdWindow::showSelection() {
    char text[180];
    formatSelection(text, sizeof text, canvasPane->selection, canvasPane->pose);
    setString(IdStatusText, text);
}

void FaceCmdWindow::remember(const char* name) {
    // A current directory longer than the buffer is not remembered cut short.
    char directory[FileNameSize];
    DWORD length = GetCurrentDirectoryA(FileNameSize, directory);
    if (length > 0 && length < FileNameSize) std::memcpy(lastDirectory, directory, length + 1);
    std::memcpy(lastFileName, name, std::strlen(name) + 1);
    setTitle(fileTitle(name));
}

int FaceCmdWindow::savePose() {
    char name[FileNameSize];
    std::memcpy(name, lastFileName, sizeof name);
    filterIndex = 0;
    vFileSelect select(this, "File Select");
    char folder[MAX_PATH];
    if (!select.fileSelectSave("Save Pose", name, FileNameSize, fileFilters, filterIndex, 0,
                               dialogFolder(folder)))
        return select.pathTooLong ? 0 : 1;
    if (!*name) return 1;
    if (!addPoseExtension(name, sizeof name)) return 0;
    if (canvasPane->writePoseFile(name) != PoseFileOk) return 0;
    remember(name);
    return 1;
}

int FaceCmdWindow::loadPose() {
    char name[FileNameSize];
    std::memcpy(name, lastFileName, sizeof name);
    filterIndex = 0;
    vFileSelect select(this, "File Select");
    char folder[MAX_PATH];
    select.startIn(dialogFolder(folder));
    int chosen = select.fileSelect("Load Pose", name, FileNameSize, fileFilters, filterIndex);
    if (!chosen && select.pathTooLong) {
        notice(noticeCaption, "File Not found");
        return 2;
    }
    if (!chosen || !*name) return 1;
    int result = canvasPane->readPoseFile(name);
    if (result != PoseFileOk) {
        notice(noticeCaption, result == PoseFileNoAccess ? "File Not found" : "data error in File");
        return 2;
    }
    remember(name);
    showSelection();
    return 1;
}

void FaceCmdWindow::loadSettings(vWindow* owner, int mode) {
    vNoticeDialog box(owner, noticeCaption);
    if (mode == 0) {
        if (locateSettings() && readSettingsDirectory(settingsPath, lastDirectory)) {
            // A directory that no longer exists leaves the current one.
            SetCurrentDirectoryA(lastDirectory);
            return;
        }
        box.notice("Unable to open INI FILE\n\n Creating NEW INI FILE");
        std::strcpy(lastDirectory, "C:\\");
    }
    if (!writeSettingsFile(settingsPath, lastDirectory)) box.notice("Unable to Save INI");
}
