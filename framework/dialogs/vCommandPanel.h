// A row of commands from a CommandObject table in a child window of any
// window, such as a tool window's slider and buttons. It never takes the
// keyboard: its commands are laid out as a command bar's are, without tab
// stops. Every user action goes to onCommand, the release of a slider's
// thumb or arrow to onRelease.
#pragma once

#include "framework/dialogs/vCmdParent.h"

#include <functional>
#include <windows.h>

struct WindowMessage;
struct Handled;

class vCommandPanel : public vCmdParent {
  public:
    // The table must outlive the panel.
    explicit vCommandPanel(CommandObject* table);
    ~vCommandPanel() override;

    // Makes the commands in a child window of `parent` at its top-left corner.
    void create(HWND parent);
    // Its size in pixels once created.
    SIZE size() const;
    void processCommand(int id, int value, int kind) override;

    std::function<void(int id, int value)> onCommand;
    // The scroll code (SB_THUMBTRACK, ...) of the slider report in progress.
    int scrollCode = 0;
    std::function<void(int id)> onRelease;

    Handled handleMessage(const WindowMessage& message);

  private:
    static INT_PTR CALLBACK panelProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam);
    Handled handleInit(const WindowMessage& message);
    Handled handleCommand(const WindowMessage& message);
    Handled handleScroll(const WindowMessage& message);

    CommandObject* table_;
};
