// A dialog window built from a CommandObject table: the template is laid out
// once and reused for every showing. Every user action of its commands comes
// to onDialogCommand.
#pragma once

#include "framework/app/WindowMessage.h"
#include "framework/app/vBaseWindow.h"
#include "framework/dialogs/KeyboardFilters.h"
#include "framework/dialogs/vCmdParent.h"

#include <string>

class vModalDialog;

class vDialog : public vBaseWindow, public vCmdParent {
  public:
    // `owner` may be null: the dialog then has no owner window.
    vDialog(vBaseWindow* owner, const char* name, int modal = 0);
    ~vDialog() override;

    // Creates every command of the table in order and closes the template;
    // a null table creates nothing.
    virtual void addDialogCmds(CommandObject* table);
    virtual void addDialogCmd(CommandObject* record, vCmd* command);
    // Every command returns to its value of the showing, then the dialog closes.
    virtual void cancelDialog();
    virtual void closeDialog();
    virtual void setDialogTitle(const char* title);
    virtual void onDialogCommand(int id, int value, int kind);
    // Called once the controls of a new showing are initialised.
    virtual void onDialogDisplayed() {}
    // A non-empty `message` replaces the title of every AttrMessage command.
    virtual void showDialog(const char* message);
    // OK and Done take what was typed into the fields first; a wrong one
    // gets a notice naming the values it takes, and the dialog stays.
    void processCommand(int id, int value, int kind) override;

    // Moves the dialog, keeping its size, to (left, top) pixels from the
    // top-left corner of the application's client window.
    void setDialogPosition(int left, int top);

    Handled handleMessage(const WindowMessage& message);

    int displayed = 0;
    vModalDialog* previousModal = nullptr;
    HWND ownerHandle = nullptr;
    HWND dialogHandle = nullptr;
    HWND toolTipHandle = nullptr;
    int modal;
    unsigned long shownTick = 0;      // the platform's milliseconds at the latest showing
    bool handsBackActivation = false; // see dialogKeepsActivation

  protected:
    // Marks, for a modal loop running on the stack, that its dialog has been
    // deleted; loops nest, each with its own mark.
    struct LoopWatch {
        explicit LoopWatch(LoopWatch*& head) : head(head), outer(head) { head = this; }
        ~LoopWatch() {
            if (!deleted) head = outer;
        }
        LoopWatch*& head;
        LoopWatch* outer;
        bool deleted = false;
    };
    LoopWatch* loopWatch = nullptr;

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam);
    Handled handleInit(const WindowMessage& message);
    Handled handleCommand(const WindowMessage& message);
    Handled handleScroll(const WindowMessage& message);
    Handled handleMeasureItem(const WindowMessage& message);
    Handled handleDrawItem(const WindowMessage& message);
    Handled handleControlColor(const WindowMessage& message);
    // Gives each command its text, state and focus; whether it moved the focus.
    bool initialiseCommands();
    void unregister();
    // Every command takes what was typed into it; false after the notice.
    bool takeTyped();
    // Whether the dialog handles its messages while a modal dialog runs.
    bool answersNow() const;
    // Ends the modal loop of a dialog being deleted while shown.
    void endModalLoop();

    std::string messageText; // the latest message, which AttrMessage records show
    bool everShown = false;
    unsigned shownAt = 0; // order of the latest showing
    static unsigned showings;
};

// The modal dialog shown now, or null.
extern vModalDialog* currentModalDialog;
