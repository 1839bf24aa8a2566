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
#include "render/ChildStart.h"

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

// The menu keeps the label it is given: one static text per item, whole,
// since a cut could fall inside a character of the name.
std::string undoLabel = "&Undo";
std::string redoLabel = "&Redo";

void setLabel(vWindow& window, int id, std::string& label, const char* verb, const Step* step) {
    label = verb;
    if (step) label += ' ';
    // A file's "&" is a letter of its name, not a mnemonic.
    for (char c : step ? step->name : std::string())
        label += c == '&' ? "&&" : std::string(1, c);
    window.setString(id, label.c_str());
}

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
    return settingsPathBeside(programFolder().c_str(), settingsPath);
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
    document.addView(this);
    // Made before the status bar: the timeline stacks above it.
    animationEditor = new AnimationEditor(*this, document);
    statusPane = new vCommandPane(faceStatusBar);
    addPane(statusPane);
    canvasPane->onPress = [this] { facePressed(); };
    canvasPane->onDragStep = [this] { faceDragged(); };
    canvasPane->onDragEnd = [this](const PoseState&) {
        document.endGesture();
        showHistory();
    };
    // The menu table outlives windows: it may hold another window's states.
    setValue(IdSymmetric, 0, SetValue);
    showHistory();
    renderPreview = new RenderPreview(this, IdRenderPreview, canvasPane);
    expressionWindow = new ExpressionWindow(this, IdExpressions, document);
    expressionWindow->neighbour = renderPreview;
    expressionWindow->neighbourRendering = [this] { return renderPreview->busy(); };
    animationRenderer = new AnimationRenderer(*this, document);
    animationRenderer->onEnded = [this] { renderPreview->poseChanged(); };
    animationRenderer->heldSound = &animationEditor->sound();
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

template <class Change>
void FaceCmdWindow::changePose(const std::string& name, Change change, bool keepStatus,
                               int gesture) {
    canvasPane->endDrag();
    document.begin(name, gesture);
    change(document.pose());
    keepStatus_ = keepStatus;
    document.commit();
    keepStatus_ = false;
}

void FaceCmdWindow::onCommand(int id, int value, int kind) {
    // Whatever the command, a drag in progress is a step of its own before it.
    canvasPane->endDrag();
    switch (id) {
    case IdRestore:
        changePose(
            "Restore", [](PoseModel& pose) { pose.resetPose(); }, true);
        break;
    case IdHelpContents: WinHelpA(nativeWindow, "TavokF.hlp", HELP_CONTEXT, 3); break;
    case IdAbout: notice(aboutCaption, aboutText); break;
    case IdOpen: openPose(); break;
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
        changePose("Mirror", [](PoseModel& pose) { pose.mirrorPose(); });
        // A symmetric pose is no step, but the selection moved: show it anyway.
        showSelection();
        break;
    case IdSymmetric: toggleSymmetric(); break;
    default:
        if (!animationEditor->onCommand(id)) vCmdWindow::onCommand(id, value, kind);
        break;
    }
}

void FaceCmdWindow::onKey(int key, int shift) {
    // Any key ends a drag first, as its own step.
    canvasPane->endDrag();
    if (animationEditor->onKey(key, shift)) return;
    if (int id = shortcut(key, shift)) {
        onMenuCommand(id);
        return;
    }
    told_ = 0;
    int action = keyAction(key);
    // A key held down is one step, however often the platform repeats it.
    if (!(shift & RepeatKeyBit)) document.endGesture();
    changePose(
        std::string("Key ") + char(key),
        [action](PoseModel& pose) {
            if (action) pose.applyKeyAction(action);
        },
        false, GestureKey);
    if (!(told_ & HintPose)) showSelection();
    vCmdWindow::onKey(key, shift);
    if (!(told_ & (HintPose | HintSelection))) redrawFace();
}

void FaceCmdWindow::facePressed() {
    document.beginGesture(GestureDrag);
    document.begin("Drag", GestureDrag);
    document.pose().selection = canvasPane->selection;
    document.commit();
}

void FaceCmdWindow::faceDragged() {
    document.begin("Drag", GestureDrag);
    document.pose().setState(canvasPane->state());
    document.commit();
}

void FaceCmdWindow::documentChanged(int hints) {
    told_ |= hints;
    if (hints & (HintPose | HintSelection)) showFace();
    // The preview pauses while the animation renders, whatever changed the pose.
    if ((hints & HintPose) && !animationRenderer->rendering()) renderPreview->poseChanged();
    showStatus(hints);
    if (hints & HintHistory) showHistory();
}

void FaceCmdWindow::showFace() {
    const PoseModel& model = document.model();
    // A drag step's face is drawn already.
    if (std::memcmp(canvasPane->pose, model.pose, sizeof model.pose) != 0 ||
        canvasPane->selection != model.selection)
        redrawFace();
}

void FaceCmdWindow::redrawFace() {
    canvasPane->setState(document.model().state());
    canvasPane->drawFace();
}

void FaceCmdWindow::showStatus(int hints) {
    const std::string& change = document.changeName();
    if ((hints & HintStep) && change.compare(0, 11, "Expression ") == 0)
        setString(IdStatusText, change.c_str());
    else if (animationEditor->playing() && (hints & HintPlayhead))
        setString(IdStatusText, ("frame " + std::to_string(document.playhead()) + " of " +
                                 std::to_string(document.animation().settings().length))
                                    .c_str());
    else if (((hints & (HintPose | HintPlayhead)) || ((hints & HintKeying) && document.keying())) &&
             !keepStatus_)
        showSelection();
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
    if (key == KeyCtrlZ && (shift & ~RepeatKeyBit) == ShiftKeyBit && document.redoStep())
        return IdRedo;
    return 0;
}

void FaceCmdWindow::undoOrRedo(bool undo) {
    animationEditor->stop();
    if (undo)
        document.undo();
    else
        document.redo();
}

void FaceCmdWindow::toggleSymmetric() {
    document.setSymmetric(!document.symmetric());
    // A drag moves the face's own copy of the pose, partner included.
    canvasPane->symmetric = document.symmetric();
    setValue(IdSymmetric, document.symmetric(), SetValue);
}

void FaceCmdWindow::showHistory() {
    // Only changes reach the menu: this runs on every key and drag step.
    // A drag in progress can be undone: Ctrl+Z ends it first.
    const Step *undo = document.undoStep(), *redo = document.redoStep();
    int canUndo = undo || canvasPane->dragging(), canRedo = redo != nullptr;
    const std::string undoName = undo ? undo->name : "", redoName = redo ? redo->name : "";
    if (undoName != undoName_) setLabel(*this, IdUndo, undoLabel, "&Undo", undo);
    if (redoName != redoName_) setLabel(*this, IdRedo, redoLabel, "&Redo", redo);
    if (canUndo != undoShown) setValue(IdUndo, canUndo, SetSensitive);
    if (canRedo != redoShown) setValue(IdRedo, canRedo, SetSensitive);
    undoShown = canUndo;
    redoShown = canRedo;
    undoName_ = undoName;
    redoName_ = redoName;
}

void FaceCmdWindow::showSelection() {
    char text[180];
    formatSelection(text, sizeof text, document.model().selection, document.model().pose);
    setString(IdStatusText, text);
}

void FaceCmdWindow::remember(const char* name) {
    rememberDirectory();
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
    if (document.model().writePoseFile(name) != PoseFileOk) return 0;
    remember(name);
    return 1;
}

void FaceCmdWindow::openPose() {
    // A failed open resets the pose: a step of its own, too.
    char name[FileNameSize] = "";
    PoseModel model = document.model();
    int result = loadPose(model, name);
    if (result == 1 && !*name) {
        redrawFace();
        return;
    }
    if (result == 2) model.resetPose();
    // The status line keeps the notice's time, or shows the opened pose below.
    changePose(
        *name ? std::string("Open ") + fileTitle(name) : std::string("Open"),
        [&model](PoseModel& pose) { std::memcpy(pose.pose, model.pose, sizeof pose.pose); }, true);
    if (result == 1) showSelection();
}

int FaceCmdWindow::loadPose(PoseModel& model, char (&chosen)[FileNameSize]) {
    char name[FileNameSize];
    std::memcpy(name, lastFileName, sizeof name);
    filterIndex = 0;
    vFileSelect select(this, "File Select");
    char folder[MAX_PATH];
    select.startIn(dialogFolder(folder));
    int picked = select.fileSelect("Load Pose", name, FileNameSize, fileFilters, filterIndex);
    if (!picked && select.pathTooLong) {
        notice(noticeCaption, "File Not found");
        return 2;
    }
    if (!picked || !*name) return 1;
    std::memcpy(chosen, name, sizeof chosen);
    int result = model.readPoseFile(name);
    if (result != PoseFileOk) {
        notice(noticeCaption, result == PoseFileNoAccess ? "File Not found" : "data error in File");
        return 2;
    }
    remember(name);
    return 1;
}

void FaceCmdWindow::loadSettings(vWindow* owner, int mode) {
    vNoticeDialog box(owner, noticeCaption);
    if (mode == 0) {
        if (locateSettings() && readSettingsDirectory(settingsPath, lastDirectory)) {
            // A directory that no longer exists leaves the current one.
            enterRememberedDirectory();
            return;
        }
        box.notice("Unable to open INI FILE\n\n Creating NEW INI FILE");
        std::strcpy(lastDirectory, "C:\\");
    }
    if (!writeSettingsFile(settingsPath, lastDirectory)) box.notice("Unable to Save INI");
}
