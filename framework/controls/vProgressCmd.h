// An owner-drawn bar that shows a value within a range, with the value as
// text; it reports nothing of its own.
#pragma once

#include "framework/controls/vCmd.h"

class vProgressCmd : public vCmd {
  public:
    vProgressCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int getValue(int askedId) override { return askedId == id ? progressValue : -1; }
    // A value outside the range is ignored; sensitivity does not apply.
    int setValue(int value, int type) override;
    int measureItem(int controlId, MEASUREITEMSTRUCT* record) override {
        return measureOwnerDrawn(controlId, record);
    }
    int drawItem(int controlId, DRAWITEMSTRUCT* record) override;

    int rangeMin = 0;
    int rangeMax = 100;
    int progressValue = 0;
    int vertical = 0;
};
