// A window and a canvas pane that record the events the framework delivers.
#pragma once

#include "framework/app/vApp.h"
#include "framework/app/vCmdWindow.h"
#include "framework/draw/vCanvasPane.h"
#include "tests/win/WinTest.h"

class RecordingCanvas : public vCanvasPane {
  public:
    explicit RecordingCanvas(EventLog& log) : log(log) {}
    void onMouseDown(int x, int y, int b) override { log.add("down %d %d %d", x, y, b); }
    void onMouseUp(int x, int y, int b) override { log.add("up %d %d %d", x, y, b); }
    void onMouseDrag(int x, int y, int b) override { log.add("drag %d %d %d", x, y, b); }
    void onMouseMove(int x, int y) override { log.add("move %d %d", x, y); }
    void onEnterFocus() override { log.add("enter"); }
    void onLeaveFocus() override { log.add("leave"); }
    void onRedraw(int x, int y, int w, int h) override {
        log.add("redraw %d %d %d %d", x, y, w, h);
    }
    void onResize(int w, int h) override { log.add("resize %d %d", w, h); }
    void onFontChanged(const vFont& f) override { log.add("font %d %d", f.family, f.pointSize); }
    void onHScroll(int shown, int pos) override {
        log.add("hscroll %d %d", shown, pos);
        vCanvasPane::onHScroll(shown, pos);
    }
    void onVScroll(int shown, int pos) override {
        log.add("vscroll %d %d", shown, pos);
        vCanvasPane::onVScroll(shown, pos);
    }

  private:
    EventLog& log;
};

class RecordingWindow : public vCmdWindow {
  public:
    RecordingWindow(EventLog& log, const char* name = "Recorder", int width = 200, int height = 150)
        : vCmdWindow(name, width, height), log(log), canvas(log) {}
    ~RecordingWindow() override { ++deleted; }

    void onKey(int key, int shift) override { log.add("key %x %d", key, shift); }
    void onCommand(int id, int value, int kind) override {
        log.add("command %d %d %d", id, value, kind);
    }

    // Closes the window as the application does, and deletes it at once.
    static void closeAndDelete(vWindow* window) {
        theApp->closeAppWindow(window);
        theApp->deleteList.remove(window);
        delete window;
    }

    inline static int deleted = 0;

  private:
    EventLog& log;

  public:
    RecordingCanvas canvas;
};
