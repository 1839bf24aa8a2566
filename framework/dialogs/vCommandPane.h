// A command bar or status bar of a window: a row of commands in a captionless
// child dialog window of the frame, laid out by the frame; every user action
// of its commands goes to the owning window's onCommand.
#pragma once

#include "framework/app/vBar.h"
#include "framework/app/vPane.h"
#include "framework/dialogs/StatusItemDef.h"
#include "framework/dialogs/vCmdParent.h"

#include <windows.h>

struct WindowMessage;
struct Handled;

class vCommandPane : public vPane, public vCmdParent, public vBar {
  public:
    // A command bar; the table must outlive the bar.
    explicit vCommandPane(CommandObject* table);
    // A status bar: one boxed label per field, from a copy the bar owns.
    explicit vCommandPane(StatusItemDef* table);
    ~vCommandPane() override;

    void initialize(vWindow* owner, void* nativeHandle) override;
    int getPaneValue(int id, int& value) override;
    int getPaneTextIn(int id, char* buffer, int size) override;
    void setPaneValue(int id, int value, int setType) override;
    void setPaneString(int id, const char* text) override;
    // Asks the frame for a new layout only when the state changes.
    void showPane(int on) override;
    // A command's report goes to the window that owns the bar.
    void processCommand(int id, int value, int kind) override;

    int inLayout() override;
    int atBottom() override { return containerKind == PaneStatusBar; }
    int barHeight() override { return paneHeight; }
    HWND barWindow() override { return windowHandle; }
    void placed(int edge) override { paneEdge = edge; }
    void showFor(vWindow* active) override;

    // The bar window's messages; the others go to the dialog manager.
    Handled handleMessage(const WindowMessage& message);

    CommandObject* commandTable;
    CommandObject* ownedTable = nullptr;
    int ownedCount = 0;
    HWND parentHandle = nullptr;
    int shown = 1;       // takes part in the frame's layout
    int initialised = 0; // its window is initialised and its owner active

  private:
    static INT_PTR CALLBACK barProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam);
    Handled handleInit(const WindowMessage& message);
    Handled handleEnable(const WindowMessage& message);
    Handled handlePaint(const WindowMessage& message);
    Handled handleMeasureItem(const WindowMessage& message);
    Handled handleDrawItem(const WindowMessage& message);
    Handled handleCommand(const WindowMessage& message);
    Handled handleScroll(const WindowMessage& message);
    Handled handleControlColor(const WindowMessage& message);
};

// The tool-tip window the bars share; null until the first bar is made.
extern HWND barTipWindow;
