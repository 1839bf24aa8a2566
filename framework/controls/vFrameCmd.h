// A box that holds the commands placed in it; a toggle frame shows and
// hides itself with its contents.
#pragma once

#include "framework/controls/vCmd.h"

class vFrameCmd : public vCmd {
  public:
    vFrameCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int setValue(int value, int type) override;
    void onNotify(int, int) override {}
    int measureItem(int controlId, MEASUREITEMSTRUCT* record) override {
        return measureOwnerDrawn(controlId, record);
    }
    int drawItem(int controlId, DRAWITEMSTRUCT* record) override;
};
