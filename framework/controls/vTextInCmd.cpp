#include "framework/controls/vTextInCmd.h"

#include "framework/app/WideText.h"
#include "framework/dialogs/vCmdParent.h"

#include <cstring>

vTextInCmd::vTextInCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vTextInCmd::initialize();
}

void vTextInCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    int length = int(std::strlen(title));
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
    // The template's text is set again, as UTF-8, when the dialog shows.
    templateItemOffset =
        parent->addTemplateItem(x, y, width, height, id, style, "EDIT", "", 0, nullptr);
    keep(shownText);
}

void vTextInCmd::keep(const std::string& text) {
    kept = text;
    // The container reads the entry's text through its title.
    title = kept.c_str();
}

void vTextInCmd::show(const std::string& text) {
    SetWindowTextW(controlWindow(id), wideText(text).c_str());
}

void vTextInCmd::setString(const char* text) {
    show(textOrEmpty(text));
}

void vTextInCmd::onNotify(int, int code) {
    bool reports = cmdObject->attributes & AttrReportChanges;
    if (code == EN_CHANGE) {
        if (starting) return;
        HWND field = controlWindow(id);
        std::wstring text(std::size_t(GetWindowTextLengthW(field)) + 1, L'\0');
        text.resize(std::size_t(GetWindowTextW(field, &text[0], int(text.size()))));
        keep(utf8Text(text));
        shownText = kept;
        if (reports) parent->processCommand(id, TextInChanged, cmdObject->kind);
    } else if (code == EN_KILLFOCUS && reports) {
        parent->processCommand(id, TextInFocusLost, cmdObject->kind);
    }
}

void vTextInCmd::saveValue() {
    vCmd::saveValue();
    savedShown = shownText;
    savedKept = kept;
}

void vTextInCmd::restoreValue() {
    vCmd::restoreValue();
    shownText = savedShown;
    keep(savedKept);
}

void vTextInCmd::onDialogShown() {
    starting = true;
    show(shownText);
    starting = false;
}
