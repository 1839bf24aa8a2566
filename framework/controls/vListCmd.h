// A list box of texts; its value is the index of the chosen text. A double
// click reports the chosen index again.
#pragma once

#include "framework/controls/vComboBoxCmd.h"

class vListCmd : public vComboBoxCmd {
  public:
    vListCmd(vCmdParent* parent, CommandObject* record);

    int setValue(int value, int type) override;

    int visibleRows = 8;
};
