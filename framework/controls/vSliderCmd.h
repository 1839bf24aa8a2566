// A native scroll bar that holds a position within a range and reports each
// change, every intermediate position while the thumb is dragged.
#pragma once

#include "framework/controls/vCmd.h"

class vSliderCmd : public vCmd {
  public:
    vSliderCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int getValue(int askedId) override { return askedId == id ? sliderValue : -1; }
    // Cancelling a dialog brings the command back to its value at the showing.
    void saveValue() override;
    void restoreValue() override;
    // A position outside the range is ignored.
    int setValue(int value, int type) override;
    // (scroll code, thumb position) of a scroll message.
    void onNotify(int code, int thumb) override;

    int sliderValue = 0;
    int rangeMin = 0;
    int rangeMax = 100;

  private:
    int shownValue = 0;
    // The thumb's position while it is dragged.
    int trackPosition(int thumb);
};
