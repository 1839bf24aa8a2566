// One command (control) of a dialog or bar, made from its CommandObject
// record: it sizes itself, takes its place and template item from the
// container, keeps its value and reports the user's actions.
#pragma once

#include "framework/dialogs/CommandObject.h"

#include <string>
#include <windows.h>

class vCmdParent;

class vCmd {
  public:
    // Derived constructors run their own initialize when the base is made.
    vCmd(vCmdParent* parent, CommandObject* record);
    virtual ~vCmd() = default;
    vCmd(const vCmd&) = delete;
    vCmd& operator=(const vCmd&) = delete;

    virtual void initialize() {}
    virtual int getValue(int) { return 0; }
    // Puts the record's value back to the one saved when the dialog was shown.
    virtual void restoreValue();
    virtual void saveValue();
    virtual int setValue(int, int) { return 0; }
    virtual void setString(const char*) {}
    // A picture of `width` x `height` pixels, three bytes (red, green,
    // blue) each in rows from the top; only a picture command shows it.
    virtual void setPicture(int, int, const std::uint8_t*) {}
    // Reports the record's value to the container.
    virtual void onNotify(int a, int b);
    virtual int measureItem(int, MEASUREITEMSTRUCT*) { return 0; }
    virtual int drawItem(int, DRAWITEMSTRUCT*) { return 0; }
    virtual HWND controlWindow(int id);
    // Sets the text colour its static control paints with; most keep the default.
    virtual void colorText(HDC) {}
    // The dialog holding it is being shown: a command whose showing needs
    // more than the dialog setting its title (a text entry) does it here.
    virtual void onDialogShown() {}
    // Takes what was typed into the control as its value; false, with the
    // values it takes in `expected` ("1 to 60"), when that is none of them.
    virtual bool takeTyped(std::string&) { return true; }

  protected:
    // A command's text is never null: a null text reads as "".
    static const char* textOrEmpty(const char* text) { return text ? text : ""; }
    // Loads title, id, value, sensitivity and items from the record.
    void loadCommon();
    // The measure rule of every owner-drawn command: its own size.
    int measureOwnerDrawn(int id, MEASUREITEMSTRUCT* record);
    // Loads, sizes, places and adds the template item of a check box or radio
    // button: a mark beside its title, in a 14-unit row.
    void addMarkedButton(std::uint32_t buttonStyle);
    // Keeps a copy of `text` (never null) as the title and shows it.
    void setTitle(const char* text);
    // Keeps a copy of `text` as the title: the caller's text may be gone
    // before the next redraw or read.
    void keepTitle(const char* text);
    // SetSensitive and SetHidden, shared by the classes that take them.
    int setCommonValue(int value, int type);
    // WS_VISIBLE unless the record asks for a hidden command.
    std::uint32_t visibleStyle() const;

  public:
    vCmdParent* parent;
    const char* title = "";
    void* items = nullptr;
    CommandObject* cmdObject;
    int sensitive = 0;
    int id = 0;
    int savedValue;
    int curValue = 0;
    int x = 0;
    int y = 0;
    int height = 0;
    int width = 0;
    int templateItemOffset = 0;

  private:
    std::string keptTitle;
};
