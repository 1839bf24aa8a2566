#include "framework/controls/vTextInCmd.h"

#include "framework/dialogs/vCmdParent.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

vTextInCmd::vTextInCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vTextInCmd::initialize();
}

void vTextInCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    int length = int(std::strlen(title));
    // A title too long for the copy shows, but reads back empty until edited.
    if (length < TextSize) std::memcpy(textBuffer, title, std::size_t(length) + 1);
    shownText = title;
    int characters = record.attributes & AttrSmall ? 10 : record.attributes & AttrLarge ? 35 : 20;
    if (record.size > 0) characters = record.size;
    if (characters < length) characters = length + 6;
    width = 4 * characters + 6;
    height = 14;
    std::uint32_t style = WS_TABSTOP | ES_AUTOHSCROLL | visibleStyle();
    if (record.attributes & AttrPassword) style |= ES_PASSWORD;
    if (!(record.attributes & AttrNoBorder)) style |= WS_BORDER;
    parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId, 0);
    templateItemOffset =
        parent->addTemplateItem(x, y, width, height, id, style, "EDIT", title, 0, nullptr);
    // The container reads the entry's text through its title.
    title = textBuffer;
}

void vTextInCmd::setString(const char* text) {
    SetDlgItemTextA(parent->windowHandle, id, textOrEmpty(text));
}

void vTextInCmd::onNotify(int, int code) {
    bool reports = cmdObject->attributes & AttrReportChanges;
    if (code == EN_CHANGE) {
        if (starting) return;
        LRESULT length = SendMessageA(controlWindow(id), WM_GETTEXT, TextSize,
                                      reinterpret_cast<LPARAM>(textBuffer));
        textBuffer[std::clamp(int(length), 0, TextSize - 1)] = '\0';
        shownText = textBuffer;
        if (reports) parent->processCommand(id, TextInChanged, cmdObject->kind);
    } else if (code == EN_KILLFOCUS && reports) {
        parent->processCommand(id, TextInFocusLost, cmdObject->kind);
    }
}

int vTextInCmd::copyText(char* buffer, int max) const {
    if (!buffer || max <= 0) return 0;
    int length = std::min(int(std::strlen(textBuffer)), max - 1);
    std::memcpy(buffer, textBuffer, std::size_t(length));
    buffer[length] = '\0';
    return length;
}

void vTextInCmd::saveValue() {
    vCmd::saveValue();
    savedShown = shownText;
    savedBuffer = textBuffer;
}

void vTextInCmd::restoreValue() {
    vCmd::restoreValue();
    shownText = savedShown;
    std::snprintf(textBuffer, sizeof textBuffer, "%s", savedBuffer.c_str());
}

void vTextInCmd::onDialogShown() {
    // The kept copy stays as it is: a declared title too long for it still
    // reads back empty until the user edits it.
    starting = true;
    SetDlgItemTextA(parent->windowHandle, id, shownText.c_str());
    starting = false;
}
