#include "framework/controls/vTextCmd.h"

#include "framework/app/WideText.h"
#include "framework/dialogs/vCmdParent.h"

#include <algorithm>

vTextCmd::vTextCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vTextCmd::initialize();
}

vTextCmd::Measure vTextCmd::measure(const char* text) {
    Measure m = {1, 0};
    int run = 0;
    for (const char* c = text; *c; ++c) {
        if (*c == '\n' || *c == '\r') {
            ++m.lines;
            run = 0;
        } else {
            m.longest = std::max(m.longest, ++run);
        }
    }
    return m;
}

std::string vTextCmd::withCarriageReturns(const char* text) {
    std::string copy;
    for (const char* c = text; *c; ++c) {
        if (*c == '\n' && (c == text || c[-1] != '\r')) copy += '\r';
        copy += *c;
    }
    return copy;
}

void vTextCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    const char* shown = static_cast<const char*>(items);
    if (shown && *shown) title = shown;
    Measure m = measure(title);
    width = record.size > 0 ? record.size : 4 * m.longest + 3;
    height = 11 * m.lines + 1;
    std::uint32_t style = ES_READONLY | visibleStyle();
    if (!(record.attributes & AttrNoBorder)) style |= WS_BORDER;
    std::string text = title;
    if (m.lines > 1) {
        style |= ES_MULTILINE;
        text = withCarriageReturns(title);
    }
    parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId, 0);
    templateItemOffset =
        parent->addTemplateItem(x, y, width, height, id, style, "EDIT", text.c_str(), 0, nullptr);
}

void vTextCmd::setString(const char* text) {
    keepTitle(text);
    std::string shown = measure(title).lines > 1 ? withCarriageReturns(title) : title;
    SetDlgItemTextW(parent->windowHandle, id, wideText(shown).c_str());
}
