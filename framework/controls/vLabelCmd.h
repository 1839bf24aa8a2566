// A text label ("STATIC"), or an owner-drawn icon; also what the container
// makes of a record whose kind it cannot create.
#pragma once

#include "framework/controls/vCmd.h"

class vIcon;

class vLabelCmd : public vCmd {
  public:
    vLabelCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int setValue(int value, int type) override { return setCommonValue(value, type); }
    void setString(const char* text) override;
    void onNotify(int, int) override {}
    int measureItem(int controlId, MEASUREITEMSTRUCT* record) override {
        return measureOwnerDrawn(controlId, record);
    }
    // Paints the icon of an icon label.
    int drawItem(int controlId, DRAWITEMSTRUCT* record) override;

    vIcon* icon = nullptr;
};
