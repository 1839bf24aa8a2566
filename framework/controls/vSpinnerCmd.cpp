#include "framework/controls/vSpinnerCmd.h"

#include "framework/controls/ValueRange.h"
#include "framework/dialogs/vCmdParent.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

int nextSpinnerEditId = 32174;

namespace {

// The field ids of the live spinners: a closed dialog's ids are taken again,
// so opening and closing dialogs never runs the ids into other ranges.
std::set<int> editIdsInUse;

int takeEditId() {
    int id = nextSpinnerEditId;
    editIdsInUse.insert(id);
    while (editIdsInUse.count(nextSpinnerEditId))
        ++nextSpinnerEditId;
    return id;
}

void freeEditId(int id) {
    if (editIdsInUse.erase(id)) nextSpinnerEditId = std::min(nextSpinnerEditId, id);
}

int decimalLength(int value) {
    char text[16];
    return std::snprintf(text, sizeof text, "%d", value);
}

} // namespace

vSpinnerCmd::vSpinnerCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vSpinnerCmd::initialize();
}

vSpinnerCmd::~vSpinnerCmd() {
    freeEditId(editId);
}

void vSpinnerCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    loadSpinnerItems();
    std::uint32_t fieldStyle = WS_BORDER | ES_CENTER | visibleStyle();
    // A typed number may be wider than the field: it scrolls rather than
    // stops (a multi-line field that cannot scroll down refuses what wraps).
    if (!textMode) fieldStyle |= ES_RIGHT | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    width = maxChars * 4 + 2;
    if (record.attributes & AttrLarge) width = width * 3 / 2;
    if (record.size >= 1 && record.size <= 2047) width = record.size;
    height = 14;
    editId = takeEditId();
    parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId, 0);
    char number[16];
    templateItemOffset = parent->addTemplateItem(x, y, width, height, editId, fieldStyle, "EDIT",
                                                 valueText(number), 0, nullptr);
    // The arrows sit right of the field; only the extents and frame grow.
    int arrowX = x + width;
    int arrowY = y;
    parent->placeCommand(arrowX, arrowY, 10, height, record.frameId, 0, 0, 1);
    parent->addTemplateItem(arrowX, arrowY, 10, height, id, WS_GROUP | SBS_VERT | visibleStyle(),
                            "SCROLLBAR", title, 0, nullptr);
    width += 10;
}

void vSpinnerCmd::loadSpinnerItems() {
    itemList = items;
    if (cmdObject->attributes & AttrTextList) {
        textMode = 1;
        step = 1;
        itemCount = 0;
        maxChars = 0;
        // A null list is an empty one.
        auto* texts = static_cast<const char* const*>(itemList);
        for (; texts && texts[itemCount]; ++itemCount)
            maxChars = std::max(maxChars, int(std::strlen(texts[itemCount])));
        spinValue = curValue >= 0 && curValue < itemCount ? curValue : 0;
        return;
    }
    textMode = 0;
    if (auto* range = static_cast<const int*>(itemList)) {
        rangeMin = range[0];
        rangeMax = range[1];
        step = range[2];
        maxChars = 1 + std::max(decimalLength(rangeMin), decimalLength(rangeMax));
    } else {
        rangeMin = 0;
        rangeMax = 32767;
        step = 1;
        maxChars = 6;
    }
    spinValue = curValue;
}

const char* vSpinnerCmd::valueText(char (&number)[16]) const {
    if (!textMode) {
        std::snprintf(number, sizeof number, "%d", spinValue);
        return number;
    }
    auto* texts = static_cast<const char* const*>(itemList);
    return texts && spinValue >= 0 && spinValue < itemCount ? texts[spinValue] : "";
}

void vSpinnerCmd::saveValue() {
    vCmd::saveValue();
    shownValue = spinValue;
}

void vSpinnerCmd::restoreValue() {
    vCmd::restoreValue();
    setPosition(shownValue);
}

int vSpinnerCmd::setPosition(int value) {
    // An empty list shows nothing at index 0; a 0..0 range has no bounds.
    if (textMode)
        value = std::max(0, std::min(value, itemCount - 1));
    else if (!unbounded())
        value = std::max(rangeMin, std::min(value, rangeMax));
    spinValue = value;
    char number[16];
    return SetDlgItemTextA(parent->windowHandle, editId, valueText(number));
}

int vSpinnerCmd::setValue(int value, int type) {
    switch (type) {
    case SetValue:
    case SetPosition: return setPosition(value);
    case SetListReplaced:
    case SetListChanged: {
        if (type == SetListReplaced) items = cmdObject->items;
        int widest = maxChars;
        loadSpinnerItems();
        maxChars = std::max(maxChars, widest);
        return setPosition(value);
    }
    case SetSensitive: sensitive = value; return EnableWindow(controlWindow(id), value);
    case SetHidden:
        // The field goes with its arrows.
        ShowWindow(controlWindow(editId), value ? SW_HIDE : SW_SHOW);
        return setCommonValue(value, type);
    default: return 0;
    }
}

bool vSpinnerCmd::takeTyped(std::string& expected) {
    if (textMode) return true;
    // The whole text, however long: a prefix could pass for a number.
    HWND field = controlWindow(editId);
    std::string text(std::size_t(GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(std::size_t(GetWindowTextA(field, text.data(), int(text.size()))));
    int value = 0;
    if (parseWhole(text.c_str(), value) &&
        (unbounded() || (value >= rangeMin && value <= rangeMax))) {
        setPosition(value);
        return true;
    }
    expected = std::to_string(rangeMin) + " to " + std::to_string(rangeMax);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    return false;
}

void vSpinnerCmd::onNotify(int code, int) {
    bool up = code == SB_LINEUP;
    std::int64_t next = spinValue;
    if (textMode) {
        if (up && spinValue > 0) next -= step;
        if (!up && spinValue < itemCount - 1) next += step;
    } else {
        std::int64_t moved = up ? next + step : next - step;
        bool inside = up ? moved <= rangeMax : moved >= rangeMin;
        if ((inside || unbounded()) && moved >= INT32_MIN && moved <= INT32_MAX) next = moved;
    }
    // At an end nothing changes and nothing is reported.
    if (next == spinValue) return;
    setPosition(int(next));
    if (!(cmdObject->attributes & AttrNoNotify))
        parent->processCommand(id, spinValue, cmdObject->kind);
}
