#include "framework/controls/vColorLabelCmd.h"

#include "framework/controls/vColorButtonCmd.h"

vColorLabelCmd::vColorLabelCmd(vCmdParent* parent, CommandObject* record)
    : vLabelCmd(parent, record) {
    initialColor = static_cast<const vColor*>(items);
    if (initialColor) color = *initialColor;
}

int vColorLabelCmd::setValue(int value, int type) {
    int repaint = vColorButtonCmd::applyColor(color, initialColor, value, type);
    if (repaint < 0) return vLabelCmd::setValue(value, type);
    if (repaint) vColorButtonCmd::repaintText(controlWindow(id));
    return repaint;
}

void vColorLabelCmd::colorText(HDC dc) {
    SetTextColor(dc, color.packed);
}
