// A one-line text entry. It keeps its own copy of the text, refreshed on
// every change, and that copy is what the container reads back. Its text is
// UTF-8 and of any length, both ways: the platform's wide characters carry
// it, so nothing is cut or lost to the ANSI code page.
#pragma once

#include "framework/controls/vCmd.h"

#include <string>

// Reported values of an entry with AttrReportChanges.
enum TextInReport { TextInChanged = 32158, TextInFocusLost = 32159 };

class vTextInCmd : public vCmd {
  public:
    vTextInCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int setValue(int value, int type) override { return setCommonValue(value, type); }
    // Sets the control's text; the change notification refreshes the copy.
    void setString(const char* text) override;
    void onNotify(int, int code) override;
    // Cancel brings back the text of the showing; OK keeps what was typed.
    void saveValue() override;
    void restoreValue() override;
    // Shows the text of this showing: the declared title at the first, what
    // the entry kept at later ones. Not a change the user made.
    void onDialogShown() override;

  private:
    void keep(const std::string& text);
    void show(const std::string& text);

    std::string kept;       // what the container reads, through the title
    std::string shownText;  // what the field shows at its next showing
    std::string savedShown; // shownText and kept at this showing
    std::string savedKept;
    bool starting = false;
};
