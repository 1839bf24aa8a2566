// A label in a sunken box, painted by the command from its own copy of the
// text.
#pragma once

#include "framework/controls/vCmd.h"

class vBoxedLabelCmd : public vCmd {
  public:
    vBoxedLabelCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int setValue(int value, int type) override { return setCommonValue(value, type); }
    // Copies the text (cut to the buffer) and paints it again.
    void setString(const char* text) override;
    void onNotify(int, int) override {}
    int measureItem(int controlId, MEASUREITEMSTRUCT* record) override {
        return measureOwnerDrawn(controlId, record);
    }
    int drawItem(int controlId, DRAWITEMSTRUCT* record) override;

    char textBuffer[80] = "";
};
