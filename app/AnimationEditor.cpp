#include "app/AnimationEditor.h"

#include "animation/AnimationExport.h"
#include "animation/AnimationFile.h"
#include "animation/TimelinePane.h"
#include "app/AnimationSettingsDialog.h"
#include "app/FaceCmdWindow.h"
#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "app/RenderPreview.h"
#include "face/FaceCanvasPane.h"
#include "face/PoseFile.h"
#include "framework/app/KeyCodes.h"
#include "framework/dialogs/vFileSelect.h"
#include "framework/dialogs/vNoticeDialog.h"

#include <chrono>
#include <cstring>
#include <string>

namespace {

const char* animationFilters[] = {"*.tfa", nullptr};
const char* includeFilters[] = {"*.inc", nullptr};

long long microsecondsNow() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Adds `extension` to a name that has none.
void addExtension(char (&name)[FileNameSize], const char* extension) {
    const char* base = std::strrchr(name, '\\');
    base = base ? base + 1 : name;
    if (std::strchr(base, '.')) return;
    std::size_t length = std::strlen(name);
    if (length + std::strlen(extension) < sizeof name) std::strcat(name, extension);
}

} // namespace

AnimationEditor::AnimationEditor(FaceCmdWindow& window) : window_(window) {
    pane = new TimelinePane(timeline);
    window.addPane(pane);
    pane->onPress = [this] { stop(); };
    pane->onScrub = [this](int frame) { scrub(frame); };
    pane->onKeyMoved = [this](int from, int to) { moveKey(from, to); };
}

AnimationEditor::~AnimationEditor() {
    vTimer::stop();
    delete pane;
}

bool AnimationEditor::shown() const {
    return pane->isShown();
}

void AnimationEditor::followDrags() {
    FaceCanvasPane* face = window_.canvasPane;
    auto step = face->onDragStep;
    face->onDragStep = [this, step] {
        if (!dragging_) dragBefore_ = timeline.state();
        dragging_ = true;
        step();
    };
    auto end = face->onDragEnd;
    face->onDragEnd = [this, end](const PoseState& before) {
        dragging_ = false;
        if (shown()) timeline.record(dragBefore_);
        showMenus();
        end(before);
    };
}

bool AnimationEditor::onCommand(int id) {
    switch (id) {
    case IdTimeline: toggleTimeline(); return true;
    case IdSetKey: setKey(); return true;
    case IdDeleteKey: deleteKey(); return true;
    case IdPlay: togglePlay(); return true;
    case IdAnimationSettings: editSettings(); return true;
    case IdOpenAnimation: openAnimation(); return true;
    case IdSaveAnimation: saveAnimation(); return true;
    case IdExportAnimation: exportAnimation(); return true;
    default: return false;
    }
}

bool AnimationEditor::onKey(int key, int shift) {
    if (!shown()) return false;
    bool control = shift & ControlKeyBit;
    int frame = -1;
    switch (key) {
    case KeyLeft: frame = control ? timeline.previousKeyFrame() : timeline.playhead - 1; break;
    case KeyRight: frame = control ? timeline.nextKeyFrame() : timeline.playhead + 1; break;
    case KeyHome: frame = 0; break;
    case KeyEnd: frame = timeline.lastFrame(); break;
    default: return false;
    }
    stop();
    scrub(frame);
    return true;
}

void AnimationEditor::poseChanged() {
    if (!shown()) return;
    stop();
    Timeline::State before = timeline.state();
    timeline.animation.setKey(timeline.playhead, window_.canvasPane->pose);
    // The face already shows the key's pose. A drag is one step, recorded
    // when it ends.
    if (!dragging_) timeline.record(before);
    showTimeline();
}

bool AnimationEditor::undoOrRedo(bool undo) {
    if (!shown()) return false;
    stop();
    if (undo ? timeline.undo() : timeline.redo()) showFrame();
    showMenus();
    return true;
}

void AnimationEditor::toggleTimeline() {
    stop();
    pane->showPane(!shown());
    window_.setValue(IdTimeline, shown(), SetValue);
    if (shown()) showFrame();
    showMenus();
}

void AnimationEditor::setKey() {
    if (!shown()) return;
    stop();
    Timeline::State before = timeline.state();
    timeline.animation.setKey(timeline.playhead, window_.canvasPane->pose);
    timeline.record(before);
    showTimeline();
}

void AnimationEditor::deleteKey() {
    stop();
    Timeline::State before = timeline.state();
    if (timeline.animation.removeKey(timeline.playhead)) changed(before);
}

void AnimationEditor::togglePlay() {
    if (playing_) {
        stop();
        return;
    }
    if (!shown()) return;
    const AnimationSettings& settings = timeline.animation.settings();
    playing_ = true;
    clock_.start(timeline.playhead, settings.fps, settings.length, microsecondsNow());
    // Ticks well inside a frame period: each frame is drawn when it is due.
    start(std::max(1, 250 / settings.fps));
    onTick();
}

void AnimationEditor::onTick() {
    long long now = microsecondsNow();
    int frame = clock_.frameDue(now);
    if (frame < 0) return;
    timeline.playhead = frame;
    timeline.animation.poseAt(frame, window_.canvasPane->pose);
    window_.canvasPane->drawFace();
    pane->redraw();
    std::string status = "frame " + std::to_string(frame) + " of " +
                         std::to_string(timeline.animation.settings().length);
    window_.setString(IdStatusText, status.c_str());
    if (onFrameDrawn) onFrameDrawn(frame, clock_.lastDue(), microsecondsNow());
}

void AnimationEditor::stop() {
    if (!playing_) return;
    vTimer::stop();
    playing_ = false;
    showFrame();
}

void AnimationEditor::editSettings() {
    stop();
    AnimationSettings settings = timeline.animation.settings();
    AnimationSettingsDialog dialog(&window_);
    if (!dialog.ask(settings) || settings == timeline.animation.settings()) return;
    Timeline::State before = timeline.state();
    timeline.animation.setSettings(settings);
    timeline.moveTo(timeline.playhead);
    changed(before);
}

void AnimationEditor::scrub(int frame) {
    timeline.moveTo(frame);
    showFrame();
}

void AnimationEditor::moveKey(int from, int to) {
    Timeline::State before = timeline.state();
    if (timeline.animation.moveKey(from, to)) timeline.playhead = to;
    changed(before);
}

void AnimationEditor::showFrame() {
    FaceCanvasPane* face = window_.canvasPane;
    if (timeline.animation.poseAt(timeline.playhead, face->pose)) {
        face->drawFace();
        window_.renderPreview->poseChanged();
    }
    window_.showSelection();
    showTimeline();
}

void AnimationEditor::showTimeline() {
    pane->redraw();
    showMenus();
}

void AnimationEditor::changed(const Timeline::State& before) {
    timeline.record(before);
    showFrame();
}

void AnimationEditor::showMenus() {
    // Only changes reach the menu: this runs on every step of a scrub.
    int on = shown(), onKey = on && timeline.animation.keyAt(timeline.playhead);
    if (on != timelineShown_) {
        window_.setValue(IdSetKey, on, SetSensitive);
        window_.setValue(IdPlay, on, SetSensitive);
    }
    if (onKey != onKeyShown_) window_.setValue(IdDeleteKey, onKey, SetSensitive);
    timelineShown_ = on;
    onKeyShown_ = onKey;
    window_.showHistory();
}

void AnimationEditor::notice(const char* message) {
    vNoticeDialog box(&window_, "Notice");
    box.notice(message);
}

void AnimationEditor::openAnimation() {
    stop();
    char name[FileNameSize] = "";
    int index = 0;
    vFileSelect select(&window_, "File Select");
    if (!select.fileSelect("Open Animation", name, FileNameSize, animationFilters, index) || !*name)
        return;
    Timeline::State before = timeline.state();
    AnimationReadError error;
    int result = readAnimationFile(timeline.animation, name, &error);
    if (result != PoseFileOk) {
        std::string text = result == PoseFileNoAccess ? "File Not found" : "data error in File";
        if (error.line > 0)
            text +=
                "\n\n" + std::string(name) + ":" + std::to_string(error.line) + ": " + error.what;
        notice(text.c_str());
        return;
    }
    timeline.moveTo(timeline.playhead);
    if (!shown()) toggleTimeline();
    changed(before);
}

void AnimationEditor::saveAnimation() {
    stop();
    char name[FileNameSize] = "animation.tfa";
    int index = 0;
    vFileSelect select(&window_, "File Select");
    if (!select.fileSelectSave("Save Animation", name, FileNameSize, animationFilters, index, 0,
                               nullptr) ||
        !*name)
        return;
    addExtension(name, ".tfa");
    if (writeAnimationFile(timeline.animation, name) != PoseFileOk) notice("Save error");
}

void AnimationEditor::exportAnimation() {
    stop();
    // The sample scene takes the include by this name.
    char name[FileNameSize] = "animation.inc";
    int index = 0;
    vFileSelect select(&window_, "File Select");
    if (!select.fileSelectSave("Export Animation for POV-Ray", name, FileNameSize, includeFilters,
                               index, 0, nullptr) ||
        !*name)
        return;
    addExtension(name, ".inc");
    if (writeAnimationIncludeFile(timeline.animation, window_.canvasPane->pose, name) != PoseFileOk)
        notice("Save error");
}
