// A radio button. The buttons of one container with the same frame form a
// group: turning one on turns the group's other one off.
#pragma once

#include "framework/controls/vCmd.h"

class vRadioButtonCmd : public vCmd {
  public:
    vRadioButtonCmd(vCmdParent* parent, CommandObject* record);
    ~vRadioButtonCmd() override;

    void initialize() override;
    int getValue(int askedId) override { return askedId == id ? curValue : -1; }
    // The value at this showing, which Cancel brings back; the record keeps
    // the declared one.
    void saveValue() override { savedValue = curValue; }
    // Puts this button back and reports it; the group is left alone.
    void restoreValue() override;
    int setValue(int value, int type) override;
    void setString(const char* text) override;
    void onNotify(int, int) override;

    vRadioButtonCmd* nextRadio = nullptr;

  private:
    // The first other button of the group that is on, if any.
    vRadioButtonCmd* otherOn();

    // Every live radio button of the process, newest first.
    static vRadioButtonCmd* radioButtonChain;
};
