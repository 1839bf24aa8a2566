// A picture in a dialog, scaled down to fit its box (the record's size is
// the box's width in dialog units, three quarters of it its height) and
// centred there; empty until the program gives it one.
#pragma once

#include "framework/controls/vCmd.h"
#include "framework/draw/DevicePicture.h"

class vPictureCmd : public vCmd {
  public:
    vPictureCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    void setPicture(int width, int height, const std::uint8_t* rgb) override;
    int drawItem(int id, DRAWITEMSTRUCT* record) override;

  private:
    DevicePicture picture;
};
