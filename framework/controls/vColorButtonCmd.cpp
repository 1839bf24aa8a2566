#include "framework/controls/vColorButtonCmd.h"

#include "framework/app/vApp.h"
#include "framework/controls/OwnerDrawing.h"

#include <cstring>
#include <string>

vColorButtonCmd::vColorButtonCmd(vCmdParent* parent, CommandObject* record)
    : vButtonCmd(parent, record) {
    initialColor = static_cast<const vColor*>(items);
    if (initialColor) color = *initialColor;
}

int vColorButtonCmd::applyColor(vColor& color, const vColor* initialColor, int value, int type) {
    switch (type) {
    case SetRed: color.setRed(value); return 0;
    case SetGreen: color.setGreen(value); return 0;
    case SetBlue: color.setBlue(value); return 1;
    case SetColor:
        if (!initialColor) return 0;
        color = *initialColor;
        return 1;
    default: return -1;
    }
}

void vColorButtonCmd::repaintText(HWND control) {
    // The whole text, however long: setting it again must not cut it.
    std::wstring text(std::size_t(GetWindowTextLengthW(control)) + 1, L'\0');
    GetWindowTextW(control, text.data(), int(text.size()));
    SetWindowTextW(control, text.c_str());
}

int vColorButtonCmd::setValue(int value, int type) {
    int repaint = applyColor(color, initialColor, value, type);
    if (repaint < 0) return vButtonCmd::setValue(value, type);
    if (repaint) repaintText(controlWindow(id));
    return repaint;
}

int vColorButtonCmd::drawItem(int, DRAWITEMSTRUCT* record) {
    if (record->itemAction == ODA_FOCUS) return 1;
    if (record->itemAction != ODA_DRAWENTIRE && record->itemAction != ODA_SELECT) return 0;
    const RECT& r = record->rcItem;
    OwnerDrawing drawing(record->hDC);
    COLORREF nearest = GetNearestColor(drawing.dc, color.packed);
    SetBkColor(drawing.dc, nearest);
    if (record->itemAction == ODA_SELECT && (record->itemState & ODS_SELECTED)) {
        drawing.select(GetStockObject(BLACK_PEN));
        drawing.select(drawing.solidBrush(nearest));
        drawing.fill(r.left, r.top, r.right, r.bottom);
        if (*title) {
            RECT text = {r.left + 2, r.top + 2, r.right, r.bottom};
            drawing.caption(title, text);
        }
        drawing.pressedEdge(r, r.bottom + 1);
        return 1;
    }
    drawing.select(theApp->shadowPen);
    drawing.select(record->itemState & ODS_DISABLED ? GetStockObject(LTGRAY_BRUSH)
                                                    : drawing.solidBrush(nearest));
    drawing.fill(r.left, r.top, r.right, r.bottom);
    if (title[std::strspn(title, " ")] != '\0') drawing.caption(title, r);
    drawing.raisedEdge(r, theApp->highlightPen, theApp->shadowPen);
    return 1;
}
