// A part of a window: menu bar, command bar, status bar or canvas.
#pragma once

class vWindow;

// Kind codes of panes and command containers: a bar is both, with one code;
// a dialog is a container only.
enum PaneKind { PaneMenu = 2, PaneCommandBar = 3, PaneStatusBar = 6, PaneDialog = 7 };

class vPane {
  public:
    explicit vPane(int kind) : kind(kind) {}
    virtual ~vPane() = default;
    vPane(const vPane&) = delete;
    vPane& operator=(const vPane&) = delete;

    virtual void initialize(vWindow* owner, void* nativeHandle) {
        window = owner;
        handle = nativeHandle;
    }
    // Each returns 0 when the pane does not hold `id`.
    virtual int getPaneValue(int, int& value) {
        value = 0;
        return 0;
    }
    virtual int getPaneTextIn(int, char*, int) { return 0; }
    virtual void setPaneValue(int, int, int) {}
    virtual void setPaneString(int, const char*) {}
    virtual void showPane(int) {}
    virtual int paneKind() { return kind; }

    vWindow* window = nullptr;
    void* handle = nullptr;
    int kind;
};
