#include "app/RenderAnimationDialog.h"

#include "framework/dialogs/CommandObject.h"

#include <algorithm>

namespace {

enum LocalId {
    FrameSize = 10,
    SizeLabel = 19,
    WidthLabel = 22,
    HeightLabel,
    FrameOutput = 39,
    FolderLabel = 41,
    StemLabel = 43,
    FrameRangeId = 49,
    FirstLabel = 51,
    LastLabel = 53,
    KeptNote = 63
};

struct Preset {
    int id, width, height;
} presets[] = {{RenderAnimationDialog::IdSize320, 320, 240},
               {RenderAnimationDialog::IdSize640, 640, 480},
               {RenderAnimationDialog::IdSize1280, 1280, 720},
               {RenderAnimationDialog::IdSize1920, 1920, 1080}};

int sideRange[] = {16, 8192, 1};
int frameRange[] = {0, 9999, 1};

using D = RenderAnimationDialog;

// kind, id, value, title, items, attributes, sensitive, frame, right of, below, size, tip
CommandObject renderCommands[] = {
    {Frame, FrameSize, 0, "", nullptr, 0, 1, 0, 0, 0, 0, nullptr},
    {Label, SizeLabel, 0, "Size", nullptr, 0, 1, FrameSize, 0, 0, 0, nullptr},
    {RadioButton, D::IdSize320, 1, "&320 x 240", nullptr, 0, 1, FrameSize, 0, SizeLabel, 0,
     nullptr},
    {RadioButton, D::IdSize640, 0, "&640 x 480", nullptr, 0, 1, FrameSize, 0, D::IdSize320, 0,
     nullptr},
    {RadioButton, D::IdSize1280, 0, "1280 x &720", nullptr, 0, 1, FrameSize, 0, D::IdSize640, 0,
     nullptr},
    {RadioButton, D::IdSize1920, 0, "1920 x 10&80", nullptr, 0, 1, FrameSize, 0, D::IdSize1280, 0,
     nullptr},
    {RadioButton, D::IdSizeCustom, 0, "C&ustom:", nullptr, 0, 1, FrameSize, 0, D::IdSize1920, 0,
     nullptr},
    {Label, WidthLabel, 0, "&Width", nullptr, 0, 1, FrameSize, 0, D::IdSizeCustom, 0, nullptr},
    {Spinner, D::IdWidth, 320, "", sideRange, 0, 1, FrameSize, WidthLabel, D::IdSizeCustom, 0,
     "16 to 8192 pixels"},
    {Label, HeightLabel, 0, "H&eight", nullptr, 0, 1, FrameSize, 0, D::IdWidth, 0, nullptr},
    {Spinner, D::IdHeight, 240, "", sideRange, 0, 1, FrameSize, WidthLabel, D::IdWidth, 0,
     "16 to 8192 pixels"},
    {CheckBox, D::IdAntialias, 1, "&Antialiasing", nullptr, 0, 1, FrameSize, 0, D::IdHeight, 0,
     "Smoother edges, slower renders"},
    {Frame, FrameOutput, 0, "", nullptr, 0, 1, 0, FrameSize, 0, 0, nullptr},
    {Label, FolderLabel, 0, "Output &folder:", nullptr, 0, 1, FrameOutput, 0, 0, 0, nullptr},
    {TextIn, D::IdFolder, 0, "", nullptr, AttrReportChanges, 1, FrameOutput, 0, FolderLabel, 32,
     nullptr},
    {Label, StemLabel, 0, "File &name stem:", nullptr, 0, 1, FrameOutput, 0, D::IdFolder, 0,
     nullptr},
    {TextIn, D::IdStem, 0, "", nullptr, AttrReportChanges, 1, FrameOutput, 0, StemLabel, 32,
     "Frames are named stem000.png and on"},
    {Label, FirstLabel, 0, "Fi&rst frame", nullptr, 0, 1, FrameOutput, 0, D::IdStem, 0, nullptr},
    {Spinner, D::IdFirst, 0, "", frameRange, 0, 1, FrameOutput, FirstLabel, D::IdStem, 0, nullptr},
    {Label, LastLabel, 0, "&Last frame", nullptr, 0, 1, FrameOutput, 0, D::IdFirst, 0, nullptr},
    {Spinner, D::IdLast, 0, "", frameRange, 0, 1, FrameOutput, FirstLabel, D::IdFirst, 0, nullptr},
    {CheckBox, D::IdGif, 1, "Also make an animated &GIF", nullptr, 0, 1, FrameOutput, 0, D::IdLast,
     0, "stem.gif in the output folder, looping"},
    {CheckBox, D::IdVideo, 0, "Also make a &video (MP4) with the sound", nullptr, 0, 1, FrameOutput,
     0, D::IdGif, 0, "stem.mp4 in the output folder, made by ffmpeg"},
    {Label, KeptNote, 0, "", nullptr, 0, 1, FrameOutput, 0, D::IdVideo, 132,
     "Frames an earlier render of this animation and settings left there"},
    {Button, IdOk, 0, " &Start ", nullptr, AttrDefault, 1, 0, 0, FrameSize, 0, nullptr},
    {Button, IdCancel, 0, "Cancel", nullptr, 0, 1, 0, IdOk, FrameSize, 0, nullptr},
    {EndOfList, 0, 0, nullptr, nullptr, 0, 0, 0, 0, 0, 0, nullptr},
};

} // namespace

RenderAnimationDialog::RenderAnimationDialog(vBaseWindow* owner)
    : vModalDialog(owner, "Render animation") {
    addDialogCmds(renderCommands);
}

bool RenderAnimationDialog::ask(RenderRequest& request, int length,
                                std::function<int(const RenderRequest&)> kept) {
    request_ = request;
    length_ = length;
    kept_ = std::move(kept);
    filled_ = false;
    int value = 0;
    if (showModalDialog(nullptr, value) != IdOk) return false;
    if (request_.folder.empty() || request_.stem.empty()) return false;
    request = request_;
    return true;
}

void RenderAnimationDialog::onDialogDisplayed() {
    // A spinner takes its number as a position.
    int size = IdSizeCustom;
    for (const Preset& preset : presets)
        if (preset.width == request_.width && preset.height == request_.height) size = preset.id;
    setValue(size, 1, SetValue);
    setValue(IdWidth, request_.width, SetPosition);
    setValue(IdHeight, request_.height, SetPosition);
    setValue(IdAntialias, request_.antialias, SetValue);
    setString(IdFolder, request_.folder.c_str());
    setString(IdStem, request_.stem.c_str());
    setValue(IdFirst, request_.first, SetPosition);
    setValue(IdLast, request_.last, SetPosition);
    setValue(IdGif, request_.gif, SetValue);
    setValue(IdVideo, request_.video, SetValue);
    // Filling the fields reports changes: the request is read only after.
    filled_ = true;
    showKept();
}

void RenderAnimationDialog::showKept() {
    int kept = kept_ && !request_.folder.empty() && !request_.stem.empty() ? kept_(request_) : 0;
    setString(KeptNote, kept ? (std::to_string(kept) + " frames there already are kept.").c_str()
                             : "No frames of these settings there yet.");
}

void RenderAnimationDialog::read() {
    request_.width = getValue(IdWidth);
    request_.height = getValue(IdHeight);
    for (const Preset& preset : presets)
        if (getValue(preset.id)) request_.width = preset.width, request_.height = preset.height;
    request_.antialias = getValue(IdAntialias) != 0;
    request_.folder = textIn(IdFolder);
    request_.stem = textIn(IdStem);
    request_.last = std::clamp(getValue(IdLast), 0, length_ - 1);
    request_.first = std::clamp(getValue(IdFirst), 0, request_.last);
    request_.gif = getValue(IdGif) != 0;
    request_.video = getValue(IdVideo) != 0;
}

void RenderAnimationDialog::onDialogCommand(int id, int value, int kind) {
    // The fields may have been typed into: read them as Start closes, and
    // at every change for the frames kept.
    if (id != IdCancel && filled_) read();
    if (id != IdOk && id != IdCancel && filled_) showKept();
    vModalDialog::onDialogCommand(id, value, kind);
}
