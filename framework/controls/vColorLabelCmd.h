// A label whose text has a colour that the program can change part by part;
// the dialog paints the text in it.
#pragma once

#include "framework/controls/vLabelCmd.h"
#include "framework/draw/vColor.h"

class vColorLabelCmd : public vLabelCmd {
  public:
    vColorLabelCmd(vCmdParent* parent, CommandObject* record);

    // The colour set types, then the label's own.
    int setValue(int value, int type) override;
    void colorText(HDC dc) override;

    vColor color;
    const vColor* initialColor = nullptr;
};
