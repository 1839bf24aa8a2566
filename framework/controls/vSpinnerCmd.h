// A text field with a small arrow scroll bar beside it, stepping through a
// numeric range or through a list of texts. The arrows and setValue change
// the value; a number typed into the field is taken when the dialog's OK
// asks for it.
#pragma once

#include "framework/controls/vCmd.h"

// The id the next spinner gives its text field: the lowest one no live
// spinner holds; shared by every container.
extern int nextSpinnerEditId;

class vSpinnerCmd : public vCmd {
  public:
    vSpinnerCmd(vCmdParent* parent, CommandObject* record);
    ~vSpinnerCmd() override;

    void initialize() override;
    int getValue(int askedId) override { return askedId == id ? spinValue : -1; }
    // Cancelling a dialog brings the command back to its value at the showing.
    void saveValue() override;
    void restoreValue() override;
    int setValue(int value, int type) override;
    // Scroll code 0 (the upper arrow) steps up, any other code down.
    void onNotify(int code, int) override;
    // A number within the range, or the range in `expected`; a list takes
    // only its arrows.
    bool takeTyped(std::string& expected) override;

    // The list or range in use: a null-terminated text array, or three ints.
    const void* itemList = nullptr;
    int maxChars = 0;
    int itemCount = 0;
    int rangeMax = 0;
    int rangeMin = 0;
    int step = 1;
    int spinValue = 0;
    int textMode = 0;
    int editId = 0;

  private:
    int shownValue = 0;
    void loadSpinnerItems();
    // Shows `value`, kept within the list or range.
    int setPosition(int value);
    // The text the field shows for `spinValue`; a number is written into `number`.
    const char* valueText(char (&number)[16]) const;
    bool unbounded() const { return rangeMin == 0 && rangeMax == 0; }
};
