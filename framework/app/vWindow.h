// A child window of the frame: owns panes and turns platform messages into
// events for its canvas pane, its menu accelerators and its key and command
// hooks.
#pragma once

#include "framework/app/vBaseWindow.h"

#include <forward_list>

class vPane;
class vMenuPane;
class vCanvasPane;
struct WindowMessage;
struct Handled;

// Cursor kinds of setCursorKind.
enum CursorKind {
    CursorUpArrow = 2,
    CursorCross = 3,
    CursorSizeLeftRight = 4,
    CursorText = 6,
    CursorIcon = 7,
    CursorSizeUpDown = 8,
    CursorCrossHair = 10,
    CursorSizeAll = 11,
    CursorWait = 12,
    CursorArrow = 13
};

class vWindow : public vBaseWindow {
  public:
    vWindow(const char* name, int width = 0, int height = 0, int windowKind = 0);
    ~vWindow() override;

    void createWindow() override;
    virtual void onKey(int key, int shift);
    virtual void onMenuCommand(int id);
    virtual void onCommand(int id, int value, int kind);
    virtual void onWorkSlice() {}
    virtual void addPane(vPane* pane);
    virtual int getValue(int id);
    virtual int getTextIn(int id, char* buffer, int max);
    virtual void raiseWindow();
    virtual void setValue(int id, int value, int setType);
    virtual void setString(int id, const char* text);
    virtual void setValueAll(int id, int value, int setType);
    virtual void setStringAll(int id, const char* text);
    // `text` is UTF-8: a file's name shows whatever its characters.
    virtual void setTitle(const char* text);
    virtual void getWindowPosition(int& left, int& top, int& width, int& height);
    virtual void setWindowPosition(int left, int top);
    virtual void closeWindow();

    void setCursorKind(int kind);
    // `repeat`: the platform repeats a key held down.
    void translateKey(int code, int isVirtualKey, bool repeat);

    // The window procedure of class "MdiWindowClass".
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int height;
    int width;
    std::forward_list<vPane*> panes; // newest first; the derived window owns them
    vMenuPane* menuPane = nullptr;
    vCanvasPane* canvasPane = nullptr;
    vWindow* nextWindow = nullptr;
    int created = 0;
    HMENU menuBar = nullptr;
    int windowMenuIndex = 0;
    int activationClick = 0;
    int leftDown = 0;
    HCURSOR cursor = nullptr;

    // The window's messages; the others go to the platform's child default.
    Handled handleMessage(const WindowMessage& message);

  private:
    Handled handleSize(const WindowMessage& message);
    Handled handleSetFocus();
    Handled handleKillFocus();
    Handled handlePaint();
    Handled handleClose();
    Handled handleKeyDown(const WindowMessage& message);
    Handled handleChar(const WindowMessage& message);
    Handled handleCommand(const WindowMessage& message);
    Handled handleScroll(const WindowMessage& message);
    Handled handleMouseMove(const WindowMessage& message);
    Handled handleLeftDown(const WindowMessage& message);
    Handled handleLeftUp(const WindowMessage& message);
    Handled handleButtonDown(const WindowMessage& message, int button);
    Handled handleButtonUp(const WindowMessage& message, int button);
    Handled handleCaptureChanged(const WindowMessage& message);
    Handled handleActivate(const WindowMessage& message);
    Handled handleOther();
    void unlink();
};

// All constructed windows, newest first, linked by nextWindow.
extern vWindow* windowList;
extern int windowCount;
extern HWND activeWindow;
extern HWND previousActive;
