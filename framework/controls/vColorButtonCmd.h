// A button filled with a colour that the program can change part by part.
#pragma once

#include "framework/controls/vButtonCmd.h"
#include "framework/draw/vColor.h"

class vColorButtonCmd : public vButtonCmd {
  public:
    vColorButtonCmd(vCmdParent* parent, CommandObject* record);

    // The colour set types, then the button's own.
    int setValue(int value, int type) override;
    int drawItem(int controlId, DRAWITEMSTRUCT* record) override;

    // The colour rules shared with colour labels: red and green change
    // quietly, blue and a whole colour ask for a repaint. -1 for a type that
    // is not a colour's, else whether to repaint.
    static int applyColor(vColor& color, const vColor* initialColor, int value, int type);
    // Sets the control's text again so that it paints the new colour.
    static void repaintText(HWND control);

    vColor color;
    const vColor* initialColor = nullptr;
};
