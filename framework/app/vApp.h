// The application: frame window, registered windows, bar layout, message loop.
#pragma once

#include "framework/app/vBaseItem.h"
#include "framework/draw/vFont.h"

#include <forward_list>
#include <string>
#include <windows.h>

class vWindow;
class vAppWinInfo;
class vBar;
class _appWorkTimer;
struct WindowMessage;
struct Handled;

// One file dropped on the frame: its full path in UTF-8 and the drop point in
// frame client coordinates.
struct DroppedFile {
    std::string path;
    int x;
    int y;
};

// The frame's private request to lay out its bars and client area again.
constexpr UINT RelayoutMessage = WM_USER + 1;

class vApp : public vBaseItem {
  public:
    vApp(const char* name, int singleWindow = 0, int width = 0, int height = 0);
    ~vApp() override;

    virtual void appCommand(vWindow* window, int id, int value, int kind);
    virtual void closeLastCmdWindow(vWindow* window, int code);
    virtual int closeAppWindow(vWindow* window);
    virtual int closeAuxWindow(vWindow* window);
    virtual void exitApp();
    virtual void onAppKey(vWindow* window, int key, int shift);
    virtual vWindow* newAppWindow(vWindow* window, const char* name, int width, int height,
                                  vAppWinInfo* info);
    virtual vWindow* newAuxWindow(vWindow* window);
    virtual void onDropFile(const DroppedFile& drop);
    virtual void onWorkSlice();

    void registerWindow(vWindow* window, vAppWinInfo* info);
    void unregisterWindow(vWindow* window);
    int isAuxWindow(vWindow* window);
    void queueWindowDelete(vWindow* window);
    void postQuit(int code);
    void addCommandPane(vBar* bar);
    void removeCommandPane(vBar* bar);
    void showPanesFor(vWindow* window);
    void setValueInWindows(int id, int value, int setType);
    int clipboardHasText();
    // The font every new drawing context starts with.
    vFont defaultFont() { return vFont(FontFixed, 10, FontNormal, FontNormal, 0, 0); }
    void doWorkSlice();
    bool isRegistered(const vWindow* window) const;
    void initApp(int& argc, char** argv, HINSTANCE instance, HINSTANCE prevInstance, int showState);
    int messageLoop();
    void relayoutFrame();
    void warningBox(const char* text);
    void fatalError(const char* text);

    HINSTANCE instance() const { return static_cast<HINSTANCE>(handle); }

    struct WindowEntry {
        vWindow* window;
        vAppWinInfo* info;
    };

    HPEN whitePen = nullptr;
    HPEN greyPen = nullptr;
    HPEN highlightPen = nullptr;
    HPEN shadowPen = nullptr;
    HBRUSH faceBrush = nullptr;
    std::forward_list<WindowEntry> windows; // newest first
    std::forward_list<vBar*> commandPanes;  // newest first
    int initialized = 0;
    int defaultHeight;
    int defaultWidth;
    int frameWidth;
    int frameHeight;
    int closing = 0;
    int singleWindow;
    std::forward_list<vWindow*> deleteList; // newest first
    _appWorkTimer* workTimer = nullptr;     // null unless the program starts one
    HMENU frameMenu = nullptr;
    HMENU frameFileMenu = nullptr;
    HWND frameWindow = nullptr;
    HWND clientWindow = nullptr;
    HACCEL accelerators = nullptr;
    HICON appIcon = nullptr;
    HICON windowIcon = nullptr;

    // The frame's messages; the others go to the platform's frame default.
    Handled handleMessage(const WindowMessage& message);

  private:
    // The window procedure of class "MdiFrameClass".
    static LRESULT CALLBACK frameProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam);
    LRESULT frameDefault(const WindowMessage& message);
    Handled handleCreate(const WindowMessage& message);
    Handled handleSize(const WindowMessage& message);
    Handled handleMove();
    Handled handleClose(const WindowMessage& message);
    Handled handleEndSession(const WindowMessage& message);
    Handled handleCommand(const WindowMessage& message);
    Handled handleSysCommand(const WindowMessage& message);
    Handled handleDropFiles(const WindowMessage& message);
    Handled handleRelayout();
    Handled handleMouseActivate();
    void releaseResources();
    void stopWorkTimer();
};

extern vApp* theApp;
extern int appDestroyed;

// The program's start hook, defined by the program: called after the frame
// exists; a non-zero result ends the program with it, 0 runs the loop.
int appMain(int argc, char** argv);

using StartHook = int (*)(int argc, char** argv);
void setStartHook(StartHook hook);
// The program entry behind the platform's entry point.
int appStart(HINSTANCE instance, HINSTANCE prevInstance, const char* commandLine, int showState);
