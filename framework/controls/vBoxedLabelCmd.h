// A label in a sunken box, painted by the command; the control holds the
// same text, so it reads back like any other control's.
#pragma once

#include "framework/controls/vCmd.h"

class vBoxedLabelCmd : public vCmd {
  public:
    vBoxedLabelCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int setValue(int value, int type) override { return setCommonValue(value, type); }
    // Keeps the text, whole, and paints it again.
    void setString(const char* text) override;
    void onNotify(int, int) override {}
    int measureItem(int controlId, MEASUREITEMSTRUCT* record) override {
        return measureOwnerDrawn(controlId, record);
    }
    int drawItem(int controlId, DRAWITEMSTRUCT* record) override;
};
