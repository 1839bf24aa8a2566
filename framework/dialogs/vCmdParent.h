// The container half of dialogs and bars: owns the commands made from a
// CommandObject table, finds them by id, routes their reports to the owner,
// and lays them out into an in-memory dialog template.
#pragma once

#include "framework/app/vPane.h"
#include "framework/dialogs/CommandObject.h"
#include "framework/dialogs/DialogTemplate.h"

#include <forward_list>
#include <string>
#include <windows.h>

class vCmd;

// How commands without references are placed.
enum LayoutStyle { LayoutDialog = 0, LayoutCommandBar = 1, LayoutStatusBar = 2 };

class vCmdParent {
  public:
    // `containerKind`: PaneCommandBar, PaneStatusBar or PaneDialog.
    explicit vCmdParent(int containerKind);
    virtual ~vCmdParent();
    vCmdParent(const vCmdParent&) = delete;
    vCmdParent& operator=(const vCmdParent&) = delete;

    // A command's report of a user action; the owner's concern.
    virtual void processCommand(int, int, int) {}
    // Copies at most size - 1 characters of the entry's text; their number.
    virtual int getTextIn(int id, char* buffer, int size);
    // The entry's whole text (UTF-8), or "".
    std::string textIn(int id);
    virtual int getValue(int id);
    virtual void setValue(int id, int value, int setType);
    virtual void setString(int id, const char* text);
    void setPicture(int id, int width, int height, const std::uint8_t* rgb);
    // Hides or shows every command of a frame, nested frames' contents too.
    virtual void showFrameContents(int frameId, int shown);
    // Makes the command class of the record's kind; the one place that knows
    // every control class.
    virtual vCmd* createCommand(CommandObject* record);

    // Notifications of focus gain, edit updates, lack of space, overflow and
    // scrolling: nothing a command reports.
    static bool ignoredNotification(int code);

    int hasCommand(int id) { return findCommand(id) != nullptr; }
    // The newest command with `id`; stops at a command still being made.
    vCmd* findCommand(int id);
    // Makes a command of every record up to the end record, in table order.
    void buildCommands(CommandObject* table);

    // Layout in dialog units and the template, in this order: beginTemplate,
    // then placeCommand and addTemplateItem per command, then endTemplate.
    int beginTemplate(std::uint32_t style, int x, int y, int width, int height,
                      const char* menuName, const char* windowClass, const char* title,
                      int pointSize, const char* fontName);
    void placeCommand(int& x, int& y, int width, int height, int frameId, int rightOfId,
                      int belowId, int keepPosition);
    void growFrame(int right, int bottom, int gap, vCmd* frame);
    int addTemplateItem(int x, int y, int width, int height, int id, std::uint32_t style,
                        const char* className, const char* title, int dataLength, const void* data);
    void endTemplate();
    // Gives every command the state it starts with once the window exists:
    // check boxes and radio buttons holding any non-zero value are on (of a
    // group, the one declared first), then positions, sensitivity,
    // visibility and lists; frames and icons (and, with
    // `toggleFramesToo`, toggle frames) take no input.
    void setStartStates(bool toggleFramesToo);
    // Creates the tool-tip window if `tipWindow` is null, then registers the
    // tip of every command that has one.
    void registerToolTips(HWND& tipWindow);
    // Removes the tips registerToolTips gave `tipWindow`.
    void unregisterToolTips(HWND tipWindow);

    int layoutStyle = LayoutDialog;
    std::forward_list<vCmd*> commands; // newest first; a null entry is being made
    HWND windowHandle = nullptr;
    DialogTemplate dialogTemplate;
    int extentX;
    int extentY;
    int paneHeight = 0; // bars only, pixels
    int paneEdge = 0;
    int containerKind;

  private:
    // The newest made command with `id`, skipping any being made.
    vCmd* madeCommand(int id);
    // The frame `command` was placed in: the newest command with its frameId
    // that comes earlier in the table; null when there is none.
    vCmd* enclosingFrame(vCmd* command);
    void showContents(vCmd* frame, int shown);
    // Adds or deletes the tool of every command with a tip.
    void sendToolTips(HWND tipWindow, UINT request);
};
