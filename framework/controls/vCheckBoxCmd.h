// A check box that the command itself flips on each click.
#pragma once

#include "framework/controls/vCmd.h"

class vCheckBoxCmd : public vCmd {
  public:
    vCheckBoxCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int getValue(int askedId) override { return askedId == id ? curValue : -1; }
    // The value at this showing, which Cancel brings back; the record keeps
    // the declared one.
    void saveValue() override { savedValue = curValue; }
    // Puts the box back and reports it, leaving the record as it was.
    void restoreValue() override;
    int setValue(int value, int type) override;
    void setString(const char* text) override;
    void onNotify(int, int) override;
};
