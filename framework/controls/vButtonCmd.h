// Push, default, toggle and icon buttons. Toggle and icon buttons are
// owner-drawn: they paint their raised, sunk or pressed look themselves.
#pragma once

#include "framework/controls/vCmd.h"

class vIcon;

class vButtonCmd : public vCmd {
  public:
    vButtonCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int getValue(int askedId) override { return askedId == id ? curValue : -1; }
    // The value at this showing, which Cancel brings back; the record keeps
    // the declared one.
    void saveValue() override { savedValue = curValue; }
    // Toggles put their control back and report; other buttons keep theirs.
    void restoreValue() override;
    int setValue(int value, int type) override;
    void setString(const char* text) override;
    // Every notification is a click; a toggle flips first.
    void onNotify(int, int) override;
    int measureItem(int controlId, MEASUREITEMSTRUCT* record) override {
        return measureOwnerDrawn(controlId, record);
    }
    int drawItem(int controlId, DRAWITEMSTRUCT* record) override;

    vIcon* icon = nullptr;

  protected:
    bool isToggle() const;
    // Paints again from the command's state, hidden or not.
    void repaint();

  private:
    int drawIconButton(const DRAWITEMSTRUCT& record);
    int drawToggleButton(const DRAWITEMSTRUCT& record);
};
