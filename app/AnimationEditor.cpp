#include "app/AnimationEditor.h"

#include "animation/AnimationExport.h"
#include "animation/AnimationFile.h"
#include "animation/TimelinePane.h"
#include "app/AnimationSettingsDialog.h"
#include "app/FaceTables.h"
#include "app/WindowText.h"
#include "face/PoseFile.h"
#include "framework/app/KeyCodes.h"
#include "framework/app/vWindow.h"
#include "framework/dialogs/vFileSelect.h"
#include "framework/dialogs/vNoticeDialog.h"
#include "render/ChildStart.h"
#include "sound/LipSync.h"
#include "sound/MouthShapeSet.h"
#include "sound/MouthTrack.h"

#include <chrono>
#include <cstring>
#include <string>
#include <windows.h>

namespace {

const char* animationFilters[] = {"*.tfa", nullptr};
const char* includeFilters[] = {"*.inc", nullptr};
const char* soundFilters[] = {"*.wav", nullptr};

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

// A save dialog for `name` in the remembered folder; false when cancelled.
bool chooseSave(vWindow* owner, const char* title, char (&name)[FileNameSize], const char** filters,
                const char* extension) {
    int index = 0;
    vFileSelect select(owner, "File Select");
    char folder[MAX_PATH];
    char chosen[FileNameSize];
    std::memcpy(chosen, name, sizeof chosen);
    if (!select.fileSelectSave(title, chosen, FileNameSize, filters, index, 0,
                               dialogFolder(folder)) ||
        !*chosen)
        return false;
    addExtension(chosen, extension);
    std::memcpy(name, chosen, sizeof name);
    return true;
}

} // namespace

AnimationEditor::AnimationEditor(vWindow& window, Document& document)
    : window_(window), document_(document) {
    pane = new TimelinePane(document.animation(), document.playhead(), document.selectedTrack(),
                            document.selectedFrame());
    window.addPane(pane);
    document.addView(this);
    pane->onPress = [this] { stop(); };
    pane->onScrub = [this](int frame) { scrub(frame); };
    pane->waveform = &sound_.row();
    sound_.onRead = [this] { soundRead(); };
    sound_.onOutline = [this] { pane->redraw(); };
    pane->onKeySelected = [this](int track, int frame) { document_.selectKey(track, frame); };
    pane->onKeyMoved = [this](int track, int from, int to) {
        change("Move key", [&] { document_.moveKey(from, to, track); });
    };
}

AnimationEditor::~AnimationEditor() {
    vTimer::stop();
    document_.removeView(this);
    delete pane;
}

bool AnimationEditor::shown() const {
    return pane->isShown();
}

bool AnimationEditor::onCommand(int id) {
    switch (id) {
    case IdTimeline: toggleTimeline(); return true;
    case IdSetKey:
        if (shown())
            change("Set key",
                   [this] { document_.setKey(document_.playhead(), document_.model().pose); });
        return true;
    case IdDeleteKey: deleteKey(); return true;
    case IdPlay: togglePlay(); return true;
    case IdSound: chooseSound(); return true;
    case IdRemoveSound:
        change("Remove sound", [this] { document_.setSound(SoundReference()); });
        return true;
    case IdAnimationSettings: editSettings(); return true;
    case IdLipSync: lipSyncFromSound(); return true;
    case IdOpenAnimation: openAnimation(); return true;
    case IdSaveAnimation: saveAnimation(); return true;
    case IdExportAnimation: exportAnimation(); return true;
    default: return false;
    }
}

bool AnimationEditor::onKey(int key, int shift) {
    if (!shown()) return false;
    bool control = shift & ControlKeyBit;
    int playhead = document_.playhead(), frame = -1;
    const Animation& animation = document_.animation();
    switch (key) {
    case KeyLeft: frame = control ? animation.previousKey(playhead) : playhead - 1; break;
    case KeyRight: frame = control ? animation.nextKey(playhead) : playhead + 1; break;
    case KeyHome: frame = 0; break;
    case KeyEnd: frame = document_.lastFrame(); break;
    default: return false;
    }
    stop();
    // No key that way: the playhead stays.
    document_.moveTo(frame < 0 ? playhead : frame);
    return true;
}

template <class Change> void AnimationEditor::change(const char* name, Change change) {
    stop();
    document_.begin(name);
    change();
    document_.commit();
}

void AnimationEditor::deleteKey() {
    // The selected key alone, or every track's key at the playhead.
    int track = document_.selectedTrack();
    int frame = track >= 0 ? document_.selectedFrame() : document_.playhead();
    change("Delete key", [&] { document_.removeKey(frame, track); });
}

void AnimationEditor::documentChanged(int hints) {
    // The changed pose is the one to key, not the playhead's.
    if (hints & HintStep) halt();
    // An undo or redo (a history change that is no step) drops a sound
    // still being chosen: arriving after it, the sound would be a surprise.
    bool undone = (hints & HintHistory) && !(hints & HintStep);
    if ((hints & HintSound) || (undone && choice_.has())) loadSound();
    if (hints &
        (HintKeys | HintPlayhead | HintSettings | HintKeying | HintKeySelection | HintSound)) {
        pane->redraw();
        showMenus();
    }
}

void AnimationEditor::toggleTimeline() {
    stop();
    pane->showPane(!shown());
    window_.setValue(IdTimeline, shown(), SetValue);
    document_.setKeying(shown());
}

void AnimationEditor::togglePlay() {
    if (playing_) {
        stop();
        return;
    }
    if (!shown()) return;
    const AnimationSettings& settings = document_.animation().settings();
    playing_ = true;
    firstFrame_ = lastFrame_ = document_.playhead();
    soundStarted_ = false;
    clock_.start(firstFrame_, settings.fps, settings.length, microsecondsNow());
    // Ticks well inside a frame period: each frame is drawn when it is due.
    start(std::max(1, 250 / settings.fps));
    onTick();
}

double AnimationEditor::soundFrame() {
    const Animation& animation = document_.animation();
    return sound_.frameHeard(animation.settings().fps, animation.sound().start);
}

void AnimationEditor::onTick() {
    const AnimationSettings& settings = document_.animation().settings();
    long long now = microsecondsNow();
    // While the sound plays, the frame shown is the one it has reached.
    double heard = soundFrame();
    if (heard >= 0) clock_.follow(now, (long long)((heard - firstFrame_) * 1e6 / settings.fps));
    int frame = clock_.frameDue(now);
    if (frame < 0) return;
    if (frame < lastFrame_) {
        // Looped: the sound starts again with the frame.
        sound_.stop();
        clock_.start(frame, settings.fps, settings.length, now);
        clock_.frameDue(now);
        firstFrame_ = frame;
        soundStarted_ = false;
    }
    lastFrame_ = frame;
    if (!soundStarted_)
        soundStarted_ = sound_.play(frame, settings.fps, document_.animation().sound().start);
    document_.moveTo(frame);
    if (onFrameDrawn) onFrameDrawn(frame, clock_.lastDue(), microsecondsNow());
}

void AnimationEditor::scrub(int frame) {
    document_.selectKey(-1, -1);
    document_.moveTo(frame);
    const Animation& animation = document_.animation();
    sound_.play(document_.playhead(), animation.settings().fps, animation.sound().start, 1);
}

bool AnimationEditor::loadSound() {
    choice_ = SoundReference();
    return sound_.load(document_.animation().sound().path) || !document_.animation().sound().has();
}

void AnimationEditor::chooseSound() {
    stop();
    vFileSelect select(&window_, "File Select");
    char folder[MAX_PATH];
    select.startIn(dialogFolder(folder));
    std::wstring name;
    if (!select.fileSelectWide("Open Sound", name, soundFilters) || name.empty()) return;
    SoundReference sound{utf8Text(name), document_.animation().sound().start};
    // The document keeps its sound while this one is read; the file held
    // already is read again, as it may have changed. One whose header does
    // not read has its outcome at once.
    choice_ = sound;
    if (!sound_.load(sound.path, true) || !sound_.reading()) soundRead();
}

void AnimationEditor::soundRead() {
    pane->redraw();
    SoundReference chosen = choice_;
    choice_ = SoundReference();
    if (sound_.has()) {
        if (chosen.has()) change("Sound", [&] { document_.setSound(chosen); });
        return;
    }
    const std::string& path = chosen.has() ? chosen.path : document_.animation().sound().path;
    notice(("The sound could not be read:\n\n" + path + ": " + sound_.error()).c_str());
    // The document's own sound again, as it was before the choice.
    if (chosen.has()) loadSound();
}

bool AnimationEditor::halt() {
    if (!playing_) return false;
    vTimer::stop();
    sound_.stop();
    playing_ = false;
    return true;
}

void AnimationEditor::stop() {
    // The playhead stops where the sound was, even if its last frame was
    // not yet drawn (the timer comes after the key that stops).
    double heard = playing_ ? soundFrame() : -1;
    if (!halt()) return;
    if (heard >= 0 && heard < document_.animation().settings().length)
        document_.moveTo(int(heard));
    else
        document_.refresh(HintPlayhead);
}

void AnimationEditor::editSettings() {
    stop();
    AnimationSettings settings = document_.animation().settings();
    AnimationSettingsDialog dialog(&window_);
    if (!dialog.ask(settings) || settings == document_.animation().settings()) return;
    change("Animation settings", [&] { document_.setSettings(settings); });
}

void AnimationEditor::lipSyncFromSound() {
    stop();
    // The analysis takes all of it: the rest of a reading is waited for (a
    // chosen sound is then the document's). A failed one gave its notice.
    if (sound_.reading()) {
        sound_.finish();
        if (!sound_.has()) return;
    }
    const Animation& animation = document_.animation();
    const SoundReference& sound = animation.sound();
    if (!sound.has())
        return notice("There is no sound to lip-sync: open one with Animate > Sound.");
    if (!sound_.has()) return notice((sound.path + ": " + sound_.error()).c_str());
    const SoundClip& clip = sound_.clip();
    MouthShapeSet shapes;
    if (!shapes.load(programFolder() + "\\poses\\mouths")) return notice(shapes.error().c_str());
    std::vector<MouthKey> keys = lipSync(clip, animation.settings().fps);
    if (!shown()) toggleTimeline();
    int left = 0;
    for (const MouthKey& key : keys)
        left += sound.start + key.frame >= animation.settings().length;
    // Only the mouth: the eyes and lids keep their keys.
    change("Lip-sync from sound", [&] {
        while (!document_.animation().track(TrackMouth).keys().empty())
            document_.removeKey(document_.animation().track(TrackMouth).keys().back().frame,
                                TrackMouth);
        float pose[PoseCount] = {};
        for (const MouthKey& key : keys) {
            std::copy(shapes.mouth(key.shape), shapes.mouth(key.shape) + MouthValues,
                      pose + PoseMouthFirst);
            document_.setKey(sound.start + key.frame, pose, TrackMouth);
        }
    });
    if (left > 0)
        notice((keysLeftOutText(left, document_.animation(), clip.seconds(), sound.start) +
                ".\n\nA longer animation (Animate > Animation settings) keeps them.")
                   .c_str());
}

void AnimationEditor::showMenus() {
    // Only changes reach the menu: this runs on every step of a scrub.
    int on = shown(), onKey = on && (document_.selectedTrack() >= 0 ||
                                     document_.animation().hasKey(document_.playhead()));
    if (on != timelineShown_) {
        window_.setValue(IdSetKey, on, SetSensitive);
        window_.setValue(IdPlay, on, SetSensitive);
    }
    if (onKey != onKeyShown_) window_.setValue(IdDeleteKey, onKey, SetSensitive);
    int sound = document_.animation().sound().has();
    if (sound != soundShown_) window_.setValue(IdRemoveSound, sound, SetSensitive);
    timelineShown_ = on;
    onKeyShown_ = onKey;
    soundShown_ = sound;
}

void AnimationEditor::notice(const char* message) {
    vNoticeDialog box(&window_, "Notice");
    box.notice(message);
}

void AnimationEditor::openAnimation() {
    stop();
    char name[FileNameSize];
    std::memcpy(name, animationName_, sizeof name);
    int index = 0;
    vFileSelect select(&window_, "File Select");
    char folder[MAX_PATH];
    select.startIn(dialogFolder(folder));
    if (!select.fileSelect("Open Animation", name, FileNameSize, animationFilters, index) || !*name)
        return;
    Animation read;
    AnimationReadError error;
    int result = readAnimationFile(read, name, &error);
    if (result != PoseFileOk) {
        std::string text = result == PoseFileNoAccess ? "File Not found" : "data error in File";
        if (error.line > 0)
            text +=
                "\n\n" + std::string(name) + ":" + std::to_string(error.line) + ": " + error.what;
        notice(text.c_str());
        return;
    }
    rememberDirectory();
    std::memcpy(animationName_, name, sizeof name);
    if (!shown()) toggleTimeline();
    change((std::string("Open ") + fileTitle(name)).c_str(),
           [&] { document_.replaceAnimation(read); });
    if (!loadSound())
        notice(("The animation's sound could not be read; it opens without it.\n\n" +
                read.sound().path + ": " + sound_.error())
                   .c_str());
}

void AnimationEditor::saveAnimation() {
    stop();
    if (!chooseSave(&window_, "Save Animation", animationName_, animationFilters, ".tfa")) return;
    std::string problem = soundLineProblem(document_.animation(), animationName_);
    if (!problem.empty())
        notice(("Cannot save " + std::string(animationName_) + ":\n\n" + problem).c_str());
    else if (writeAnimationFile(document_.animation(), animationName_) != PoseFileOk)
        notice("Save error");
    else
        rememberDirectory();
}

void AnimationEditor::exportAnimation() {
    stop();
    if (!chooseSave(&window_, "Export Animation for POV-Ray", includeName_, includeFilters, ".inc"))
        return;
    if (writeAnimationIncludeFile(document_.animation(), document_.model().pose, includeName_) !=
        PoseFileOk)
        notice("Save error");
    else
        rememberDirectory();
}
