#include "framework/controls/vLabelCmd.h"

#include "framework/controls/DialogText.h"
#include "framework/controls/OwnerDrawing.h"
#include "framework/dialogs/vCmdParent.h"
#include "framework/draw/vIcon.h"

vLabelCmd::vLabelCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vLabelCmd::initialize();
}

void vLabelCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    if (record.kind == Icon && items) {
        icon = static_cast<vIcon*>(items);
        width = icon->width / 2 + 14;
        height = icon->height / 2 + 6;
        parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId,
                             0);
        templateItemOffset = parent->addTemplateItem(
            x, y, width, height, id, BS_OWNERDRAW | visibleStyle(), "BUTTON", "", 0, nullptr);
        return;
    }
    if (record.size > 0)
        width = record.size;
    else if ((record.attributes & AttrMessage) && visibleLength(title) < 20)
        width = 88;
    else
        width = dialogTextWidth(title) + 8;
    // Compact labels sit lower in a shorter row.
    bool compact = record.kind == CompactLabel || parent->layoutStyle == LayoutStatusBar;
    height = compact ? 9 : 11;
    parent->placeCommand(x, y, width, compact ? 11 : 14, record.frameId, record.rightOfId,
                         record.belowId, 0);
    y += compact ? 2 : 3;
    templateItemOffset = parent->addTemplateItem(
        x, y, width, height, id, SS_LEFTNOWORDWRAP | visibleStyle(), "STATIC", title, 0, nullptr);
}

void vLabelCmd::setString(const char* text) {
    setTitle(text);
}

int vLabelCmd::drawItem(int, DRAWITEMSTRUCT* record) {
    if (!icon) return 0;
    if (record->itemAction == ODA_SELECT || record->itemAction == ODA_FOCUS) return 1;
    if (record->itemAction != ODA_DRAWENTIRE) return 0;
    OwnerDrawing drawing(record->hDC);
    drawing.select(GetStockObject(BLACK_PEN));
    // One-bit icons are drawn in black; the transparent part of others
    // shows the button face.
    drawing.select(icon->depth == 1 || !icon->transparent
                       ? GetStockObject(BLACK_BRUSH)
                       : drawing.solidBrush(GetSysColor(COLOR_BTNFACE)));
    drawing.icon(*icon, 0, 0);
    return 1;
}
