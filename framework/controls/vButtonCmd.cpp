#include "framework/controls/vButtonCmd.h"

#include "framework/app/vApp.h"
#include "framework/controls/DialogText.h"
#include "framework/controls/OwnerDrawing.h"
#include "framework/dialogs/vCmdParent.h"
#include "framework/draw/vIcon.h"

#include <algorithm>
#include <cstring>

vButtonCmd::vButtonCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vButtonCmd::initialize();
}

void vButtonCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    std::uint32_t style =
        (parent->layoutStyle == LayoutCommandBar ? WS_GROUP : WS_GROUP | WS_TABSTOP) |
        visibleStyle();
    const char* text = title;
    bool iconKind = record.kind == IconButton || record.kind == ToggleIconButton;
    if (iconKind && items) {
        icon = static_cast<vIcon*>(items);
        width = icon->width / 2 + 5;
        height = icon->height / 2 + 5;
        style |= BS_OWNERDRAW;
        text = "";
    } else {
        width = 4 * visibleLength(title) + 10;
        height = 14;
        if (record.kind == Button || record.kind == ToggleButton) {
            width = std::max(width, int(record.size));
        } else if (record.size > 0) {
            width = record.size;
            height = record.size;
        }
        if (record.kind == ToggleButton || record.kind == ColorButton)
            style |= BS_OWNERDRAW;
        else if (record.attributes & AttrDefault)
            style |= BS_DEFPUSHBUTTON;
    }
    parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId, 0);
    templateItemOffset =
        parent->addTemplateItem(x, y, width, height, id, style, "BUTTON", text, 0, nullptr);
}

bool vButtonCmd::isToggle() const {
    return cmdObject->kind == ToggleButton || cmdObject->kind == ToggleIconButton;
}

void vButtonCmd::repaint() {
    RedrawWindow(controlWindow(id), nullptr, nullptr, RDW_INVALIDATE);
}

void vButtonCmd::restoreValue() {
    if (!isToggle() || curValue == savedValue) return;
    curValue = savedValue;
    repaint();
    parent->processCommand(id, curValue, cmdObject->kind);
}

int vButtonCmd::setValue(int value, int type) {
    if (type == SetValue || type == SetPosition) {
        curValue = value;
        repaint();
        return 1;
    }
    return setCommonValue(value, type);
}

void vButtonCmd::setString(const char* text) {
    setTitle(text);
}

void vButtonCmd::onNotify(int, int) {
    if (isToggle()) setValue(curValue ? 0 : 1, SetValue);
    parent->processCommand(id, curValue, cmdObject->kind);
}

int vButtonCmd::drawItem(int, DRAWITEMSTRUCT* record) {
    if (record->itemAction == ODA_FOCUS) return 1;
    if (record->itemAction != ODA_DRAWENTIRE && record->itemAction != ODA_SELECT) return 0;
    if (icon) return drawIconButton(*record);
    if (cmdObject->kind == ToggleButton) return drawToggleButton(*record);
    return 1;
}

int vButtonCmd::drawIconButton(const DRAWITEMSTRUCT& record) {
    const RECT& r = record.rcItem;
    bool flat = cmdObject->attributes & AttrFlat;
    OwnerDrawing drawing(record.hDC);
    drawing.select(GetStockObject(BLACK_PEN));
    if (record.itemAction == ODA_SELECT && (record.itemState & ODS_SELECTED)) {
        drawing.select(drawing.solidBrush(GetSysColor(COLOR_BTNFACE)));
        if (!flat) {
            drawing.fill(r.left, r.top, r.right, r.bottom);
            drawing.pressedEdge(r, r.bottom - 1);
        }
        drawing.select(GetStockObject(BLACK_BRUSH));
        drawing.icon(*icon, (r.right - icon->width) / 2 + 1, (r.bottom - icon->height) / 2 + 1,
                     true);
        return 1;
    }
    drawing.select(theApp->faceBrush);
    if (!flat) {
        drawing.fill(r.left, r.top, r.right, r.bottom);
        bool sunk = cmdObject->kind == ToggleIconButton && curValue;
        drawing.raisedEdge(r, sunk ? theApp->shadowPen : theApp->highlightPen,
                           sunk ? theApp->highlightPen : theApp->shadowPen);
    }
    if (record.itemState & ODS_DISABLED) {
        COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        drawing.select(shadow == GetSysColor(COLOR_BTNFACE) ? GetStockObject(GRAY_BRUSH)
                                                            : drawing.solidBrush(shadow));
    } else if (icon->transparent) {
        drawing.select(drawing.solidBrush(GetSysColor(COLOR_BTNFACE)));
    } else {
        drawing.select(GetStockObject(BLACK_BRUSH));
    }
    drawing.icon(*icon, (r.right - icon->width) / 2, (r.bottom - icon->height) / 2);
    return 1;
}

int vButtonCmd::drawToggleButton(const DRAWITEMSTRUCT& record) {
    RECT r = record.rcItem;
    bool flat = cmdObject->attributes & AttrFlat;
    bool held = record.itemAction == ODA_SELECT && (record.itemState & ODS_SELECTED);
    OwnerDrawing drawing(record.hDC);
    SetBkMode(drawing.dc, TRANSPARENT);
    drawing.select(held ? drawing.solidBrush(GetSysColor(COLOR_BTNFACE)) : theApp->faceBrush);
    drawing.select(
        GetStockObject(!held && (record.itemState & ODS_DISABLED) ? WHITE_PEN : BLACK_PEN));
    if (!flat) drawing.fill(r.left, r.top, r.right, r.bottom);
    bool shifted = held || curValue;
    bool shown = held ? *title != '\0' : title[std::strspn(title, " ")] != '\0';
    if (shown) {
        RECT text = r;
        if (shifted) text.left += 2, text.top += 2;
        drawing.caption(title, text);
    }
    if (flat) return 1;
    if (held) {
        drawing.pressedEdge(r, r.bottom + 1);
    } else {
        drawing.raisedEdge(r, curValue ? theApp->shadowPen : theApp->highlightPen,
                           curValue ? theApp->highlightPen : theApp->shadowPen);
    }
    return 1;
}
