// A drop-down list of texts; its value is the index of the chosen text. The
// texts stay the application's: the command keeps a pointer to the array.
#pragma once

#include "framework/controls/vCmd.h"

class vComboBoxCmd : public vCmd {
  public:
    // The native messages of one kind of list control.
    struct ListMessages {
        UINT reset, insert, select, selected;
        int selectionChange, doubleClick;
    };

    vComboBoxCmd(vCmdParent* parent, CommandObject* record);

    int getValue(int askedId) override { return askedId == id ? selection : -1; }
    // Cancelling a dialog brings the command back to its value at the showing.
    void saveValue() override;
    void restoreValue() override;
    int setValue(int value, int type) override;
    void onNotify(int, int code) override;

    const char* const* itemList = nullptr;
    int maxChars = 10;
    int itemCount = 0;
    int selection = -1;

  protected:
    // For the list box, which shares everything but its messages and size.
    vComboBoxCmd(vCmdParent* parent, CommandObject* record, const ListMessages& messages);

    // Counts the texts, widens maxChars to the longest and picks the
    // declared selection within them.
    void loadListItems();
    // Sizes, places and adds the control, at least `minWidth` wide.
    void addControl(int minWidth, int controlHeight, std::uint32_t style, const char* className);
    // Selects `value`, or the control's selection is cleared (-1).
    void selectInControl(int value);
    // Fills the control again from the array and selects `value`.
    int reload(int value);
    std::uint32_t groupStyle() const;

  private:
    const ListMessages& messages;
    int shownValue = -1;
};
