#include "gallery/GalleryDialog.h"

#include "framework/app/vApp.h"
#include "framework/draw/vColor.h"
#include "framework/draw/vIcon.h"

#include <cstdio>

namespace {

enum LocalId {
    FrameButtons = 10,
    ButtonsCaption,
    PushButton,
    Toggle,
    IconPush,
    IconToggle,
    Colored,
    FrameChoices = 20,
    ChoicesCaption,
    Check,
    FrameLabels = 30,
    PlainLabel,
    Compact,
    Color = 34,
    Picture,
    FrameText = 40,
    TextCaption,
    Display = 43,
    FrameValues = 50,
    ValuesCaption,
    Upright = 56,
    FrameLists = 60,
    ListsCaption,
    DetailsCaption = 71,
};

// A 16 by 16 one-bit diamond; each byte keeps its leftmost pixel in the low bit.
const unsigned char* diamondRows() {
    static unsigned char rows[32];
    for (int y = 0; y < 16; ++y) {
        int half = y < 8 ? y : 15 - y;
        unsigned bits = 0;
        for (int x = 7 - half; x <= 8 + half; ++x)
            bits |= 1u << x;
        rows[2 * y] = static_cast<unsigned char>(bits);
        rows[2 * y + 1] = static_cast<unsigned char>(bits >> 8);
    }
    return rows;
}

vIcon diamond(diamondRows(), 16, 16, 1);
vColor teal(0, 128, 128);
vColor crimson(192, 0, 48);
int percentRange[] = {0, 100};
int spinRange[] = {0, 100, 5};
const char* days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", nullptr};
const char* fruits[] = {"Apple", "Banana", "Cherry", "Damson", "Elderberry",
                        "Fig",   "Grape",  "Hazel",  "Kiwi",   nullptr};
const char* colours[] = {"Red", "Green", "Blue", "Teal", nullptr};
const char twoLines[] = "A text of\ntwo lines";

using G = GalleryDialog;

// kind, id, value, title, items, attributes, sensitive, frame, right of, below, size, tip
CommandObject galleryCommands[] = {
    {Frame, FrameButtons, 0, "", nullptr, 0, 1, 0, 0, 0, 0, nullptr},
    {Label, ButtonsCaption, 0, "Buttons", nullptr, 0, 1, FrameButtons, 0, 0, 0, nullptr},
    {Button, PushButton, 0, "&Push", nullptr, 0, 1, FrameButtons, 0, ButtonsCaption, 0,
     "A push button"},
    {ToggleButton, Toggle, 0, "Toggle", nullptr, 0, 1, FrameButtons, PushButton, ButtonsCaption, 0,
     "Stays down until clicked again"},
    {IconButton, IconPush, 0, "", &diamond, 0, 1, FrameButtons, Toggle, ButtonsCaption, 0,
     "An icon button"},
    {ToggleIconButton, IconToggle, 0, "", &diamond, 0, 1, FrameButtons, IconPush, ButtonsCaption, 0,
     "An icon toggle"},
    {ColorButton, Colored, 0, "", &teal, 0, 1, FrameButtons, IconToggle, ButtonsCaption, 14,
     "A colour button"},

    {Frame, FrameChoices, 0, "", nullptr, 0, 1, 0, FrameButtons, 0, 0, nullptr},
    {Label, ChoicesCaption, 0, "Choices", nullptr, 0, 1, FrameChoices, 0, 0, 0, nullptr},
    {CheckBox, Check, 1, "&Check box", nullptr, 0, 1, FrameChoices, 0, ChoicesCaption, 0, nullptr},
    {CheckBox, G::IdDetails, 1, "&Details", nullptr, 0, 1, FrameChoices, 0, Check, 0,
     "Shows or hides the details frame"},
    {RadioButton, G::IdFirstRadio, 1, "&One", nullptr, 0, 1, FrameChoices, Check, ChoicesCaption, 0,
     nullptr},
    {RadioButton, G::IdFirstRadio + 1, 0, "&Two", nullptr, 0, 1, FrameChoices, Check,
     G::IdFirstRadio, 0, nullptr},
    {RadioButton, G::IdFirstRadio + 2, 0, "T&hree", nullptr, 0, 1, FrameChoices, Check,
     G::IdFirstRadio + 1, 0, nullptr},

    {Frame, FrameLabels, 0, "", nullptr, 0, 1, 0, 0, FrameChoices, 0, nullptr},
    {Label, PlainLabel, 0, "Labels:", nullptr, 0, 1, FrameLabels, 0, 0, 0, nullptr},
    {CompactLabel, Compact, 0, "compact", nullptr, 0, 1, FrameLabels, PlainLabel, 0, 0, nullptr},
    {BoxedLabel, G::IdSliderValue, 0, "Slider: 40", nullptr, 0, 1, FrameLabels, Compact, 0, 60,
     nullptr},
    {ColorLabel, Color, 0, "coloured", &crimson, 0, 1, FrameLabels, G::IdSliderValue, 0, 0,
     nullptr},
    {Icon, Picture, 0, "", &diamond, 0, 1, FrameLabels, Color, 0, 0, nullptr},

    {Frame, FrameText, 0, "", nullptr, 0, 1, 0, 0, FrameLabels, 0, nullptr},
    {Label, TextCaption, 0, "Text", nullptr, 0, 1, FrameText, 0, 0, 0, nullptr},
    {TextIn, G::IdTextIn, 0, "Type here", nullptr, 0, 1, FrameText, 0, TextCaption, 16,
     "A text entry"},
    {Text, Display, 0, "", const_cast<char*>(twoLines), 0, 1, FrameText, G::IdTextIn, TextCaption,
     0, nullptr},

    {Frame, FrameValues, 0, "", nullptr, 0, 1, 0, 0, FrameText, 0, nullptr},
    {Label, ValuesCaption, 0, "Values", nullptr, 0, 1, FrameValues, 0, 0, 0, nullptr},
    {Slider, G::IdSlider, 40, "", percentRange, 0, 1, FrameValues, 0, ValuesCaption, 0, "A slider"},
    {Slider, Upright, 0, "", nullptr, AttrVertical | AttrSmall, 1, FrameValues, G::IdSlider,
     ValuesCaption, 0, "A vertical slider"},
    {Spinner, G::IdNumberSpinner, 50, "", spinRange, 0, 1, FrameValues, 0, G::IdSlider, 0,
     "A numeric spinner"},
    {Spinner, G::IdDaySpinner, 0, "", days, AttrTextList, 1, FrameValues, G::IdNumberSpinner,
     G::IdSlider, 0, "A spinner of texts"},
    {Progress, G::IdProgress, 0, "", percentRange, AttrPercent, 1, FrameValues, 0,
     G::IdNumberSpinner, 76, "Moved by a timer"},
    {Button, G::IdReset, 0, "&Reset", nullptr, 0, 1, FrameValues, G::IdProgress, G::IdNumberSpinner,
     0, "Starts the progress again"},

    {Frame, FrameLists, 0, "", nullptr, 0, 1, 0, FrameValues, FrameText, 0, nullptr},
    {Label, ListsCaption, 0, "Lists", nullptr, 0, 1, FrameLists, 0, 0, 0, nullptr},
    {List, G::IdList, 2, "", fruits, AttrRows, 1, FrameLists, 0, ListsCaption, 5, "A list"},
    {ComboBox, G::IdComboBox, 0, "", colours, 0, 1, FrameLists, G::IdList, ListsCaption, 0,
     "A combo box"},
    {ToggleFrame, G::IdDetailsFrame, 1, "", nullptr, 0, 1, FrameLists, G::IdList, G::IdComboBox, 0,
     nullptr},
    {Label, DetailsCaption, 0, "Details", nullptr, 0, 1, G::IdDetailsFrame, 0, 0, 0, nullptr},
    {Progress, G::IdDetailsProgress, 40, "", percentRange, AttrVertical | AttrNoValueText, 1,
     G::IdDetailsFrame, DetailsCaption, 0, 30, "Follows the slider"},

    {Button, IdOk, 0, " OK ", nullptr, AttrDefault, 1, 0, 0, FrameValues, 0, nullptr},
    {Button, IdCancel, 0, "Cancel", nullptr, 0, 1, 0, IdOk, FrameValues, 0, nullptr},
    {EndOfList, 0, 0, nullptr, nullptr, 0, 0, 0, 0, 0, 0, nullptr},
};

// The kinds whose reported value is their state, kept in the table.
bool keepsState(int kind) {
    switch (kind) {
    case CheckBox:
    case RadioButton:
    case ToggleButton:
    case ToggleIconButton:
    case Slider:
    case Spinner:
    case List:
    case ComboBox: return true;
    default: return false;
    }
}

} // namespace

GalleryDialog::GalleryDialog(vBaseWindow* owner) : vDialog(owner, "Every control") {
    addDialogCmds(galleryCommands);
}

GalleryDialog::~GalleryDialog() {
    ticker.stop();
    if (displayed) vDialog::closeDialog();
}

CommandObject* GalleryDialog::record(int id) {
    for (CommandObject* r = galleryCommands; r->kind != EndOfList; ++r)
        if (r->id == id) return r;
    return nullptr;
}

void GalleryDialog::showDialog(const char* message) {
    vDialog::showDialog(message);
    if (displayed) ticker.start(200);
}

void GalleryDialog::closeDialog() {
    ticker.stop();
    vDialog::closeDialog();
    if (endsProgram && theApp) theApp->exitApp();
}

void GalleryDialog::onDialogDisplayed() {
    setValue(IdDetailsFrame, record(IdDetails)->value, SetPosition);
}

void GalleryDialog::onDialogCommand(int id, int value, int kind) {
    if (keepsState(kind))
        if (CommandObject* r = record(id)) r->value = value;
    switch (id) {
    case IdSlider:
        std::snprintf(boxText, sizeof boxText, "Slider: %d", value);
        setString(IdSliderValue, boxText);
        setValue(IdDetailsProgress, value, SetPosition);
        break;
    case IdDetails: setValue(IdDetailsFrame, value, SetPosition); break;
    case IdReset: setValue(IdProgress, 0, SetPosition); break;
    case IdList: showChoice("List", fruits, value); break;
    case IdComboBox: showChoice("Combo", colours, value); break;
    default: break;
    }
    vDialog::onDialogCommand(id, value, kind);
}

void GalleryDialog::showChoice(const char* what, const char* const* texts, int index) {
    // An index of -1 is no choice.
    std::snprintf(boxText, sizeof boxText, "%s: %s", what, index >= 0 ? texts[index] : "-");
    setString(IdSliderValue, boxText);
}

void GalleryDialog::advance() {
    int next = getValue(IdProgress) + ProgressStep;
    setValue(IdProgress, next > 100 ? 0 : next, SetPosition);
}
