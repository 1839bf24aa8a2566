// The record that declares one command (control) of a dialog, command bar or
// status bar, with its kind codes, attribute bits, set types and standard ids.
// Needs no platform.
#pragma once

#include <cstddef>
#include <cstdint>

enum CommandKind {
    EndOfList = 0,
    CompactLabel = 2,
    BoxedLabel = 3,
    Button = 4,
    CheckBox = 5,
    ColorButton = 6,
    ColorLabel = 7,
    ComboBox = 9,
    Frame = 10,
    Icon = 11,
    IconButton = 12,
    Label = 13,
    List = 14,
    Menu = 15,
    Progress = 16,
    RadioButton = 17,
    ComboBoxReserved = 18,
    Slider = 19,
    ListReserved = 20,
    Spinner = 21,
    TextIn = 22,
    Text = 23,
    ToggleButton = 24,
    ToggleFrame = 25,
    ToggleIconButton = 26,
    Picture = 27
};

// Attribute bits; several names share a bit, each meaning its own kinds.
enum CommandAttribute : std::uint32_t {
    AttrMessage = 0x00001,
    AttrDefault = 0x00002,
    AttrLarge = 0x00004,
    AttrSmall = 0x00008,
    AttrHidden = 0x00010,
    AttrVertical = 0x00040,
    AttrNoNotify = 0x00100,
    AttrNoValueText = 0x00100,
    AttrPassword = 0x00100,
    AttrTextList = 0x00200,
    AttrReportChanges = 0x00200,
    AttrNoBorder = 0x00400,
    AttrNoSpace = 0x00800,
    AttrRows = 0x01000,
    AttrPercent = 0x01000,
    AttrFlat = 0x10000
};

// The third argument of every setValue.
enum SetType {
    SetValue = 0,
    SetSensitive = 1,
    SetPosition = 2,
    SetHidden = 3,
    SetListChanged = 4,
    SetListReplaced = 5,
    SetRed = 6,
    SetGreen = 7,
    SetBlue = 8,
    SetColor = 9
};

enum StandardCommandId { IdCancel = 32150, IdOk = 32151, IdDone = 32152 };

struct CommandObject {
    std::int32_t kind;
    std::int32_t id;
    std::int32_t value;
    const char* title;
    void* items;
    std::uint32_t attributes;
    std::int32_t sensitive;
    std::int32_t frameId;
    std::int32_t rightOfId;
    std::int32_t belowId;
    std::int32_t size;
    const char* tip;
};

// Applications declare tables as initialised data: twelve 32-bit fields in a
// 32-bit build, pointer-sized pointers in a 64-bit one.
static_assert(sizeof(void*) != 4 || sizeof(CommandObject) == 48, "CommandObject layout");
