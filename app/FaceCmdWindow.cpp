#include "app/FaceCmdWindow.h"

#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "app/RenderPreview.h"
#include "app/SettingsFile.h"
#include "app/WindowText.h"
#include "face/FaceCanvasPane.h"
#include "face/PoseFile.h"
#include "framework/app/vApp.h"
#include "framework/app/vMenuPane.h"
#include "framework/dialogs/vCommandPane.h"
#include "framework/dialogs/vFileSelect.h"
#include "framework/dialogs/vNoticeDialog.h"

#include <cstring>
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
    statusPane = new vCommandPane(faceStatusBar);
    addPane(statusPane);
    renderPreview = new RenderPreview(this, IdRenderPreview, canvasPane->pose);
    showWindow();
}

FaceCmdWindow::~FaceCmdWindow() {
    delete renderPreview;
    delete menuPane;
    delete canvasPane;
    delete commandPane;
    delete statusPane;
}

void FaceCmdWindow::closeWindow() {
    renderPreview->shutDown();
    vCmdWindow::closeWindow();
}

void FaceCmdWindow::notice(const char* caption, const char* message) {
    vNoticeDialog box(this, caption);
    box.notice(message);
}

void FaceCmdWindow::onCommand(int id, int value, int kind) {
    switch (id) {
    case IdRestore:
        canvasPane->resetPose();
        canvasPane->drawFace();
        poseChanged();
        break;
    case IdHelpContents: WinHelpA(nativeWindow, "TavokF.hlp", HELP_CONTEXT, 3); break;
    case IdAbout: notice(aboutCaption, aboutText); break;
    case IdOpen:
        if (loadPose() == 2) canvasPane->resetPose();
        canvasPane->drawFace();
        poseChanged();
        break;
    case IdSave:
        if (savePose() == 0) notice(noticeCaption, "Save error");
        break;
    case IdRenderPreview: toggleRenderPreview(); break;
    case IdSaveRender: saveRender(); break;
    case IdExit: theApp->exitApp(); break;
    default: vCmdWindow::onCommand(id, value, kind); break;
    }
}

void FaceCmdWindow::onKey(int key, int shift) {
    if (int action = keyAction(key)) canvasPane->applyKeyAction(action);
    showSelection();
    vCmdWindow::onKey(key, shift);
    canvasPane->drawFace();
    poseChanged();
}

void FaceCmdWindow::poseChanged() {
    renderPreview->poseChanged();
}

void FaceCmdWindow::toggleRenderPreview() {
    bool show = !renderPreview->isShown();
    if (show)
        renderPreview->open();
    else
        renderPreview->close();
    setValue(IdRenderPreview, show, SetValue);
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
    if (!select.fileSelectSave("Save Render", name, FileNameSize, renderFilters, index, 0,
                               nullptr) ||
        !*name)
        return;
    if (!renderPreview->saveImage(name)) notice(noticeCaption, "Save error");
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
    if (!select.fileSelectSave("Save Pose", name, FileNameSize, fileFilters, filterIndex, 0,
                               nullptr) ||
        !*name)
        return 1;
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
    if (!select.fileSelect("Load Pose", name, FileNameSize, fileFilters, filterIndex) || !*name)
        return 1;
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
