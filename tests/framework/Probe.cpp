// A small framework program for the start-up and shutdown tests: it notes
// its arguments and what the framework does to it in the file named by
// TAVOK_PROBE_OUT; its last argument chooses what it does.
#include "framework/app/vApp.h"
#include "framework/app/vCmdWindow.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <shlobj.h>

namespace {

std::FILE* out = nullptr;

void note(const char* format, ...) {
    if (!out) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(out, format, args);
    va_end(args);
    std::fputc('\n', out);
    std::fflush(out);
}

class ProbeWindow : public vCmdWindow {
  public:
    explicit ProbeWindow(const char* name) : vCmdWindow(name, 100, 80) {}
    ~ProbeWindow() override { note("deleted %s", name); }
};

class ProbeApp : public vApp {
  public:
    using vApp::vApp;
    int closeAppWindow(vWindow* window) override {
        if (refusals > 0) {
            --refusals;
            note("refused %s", window->name);
            return 0;
        }
        note("closing %s", window->name);
        return vApp::closeAppWindow(window);
    }
    void onDropFile(const DroppedFile& drop) override {
        note("drop %s %d %d", drop.path.c_str(), drop.x, drop.y);
    }
    int refusals = 0;
};

ProbeApp probe("Probe", 0, 0, 0);

// Hands the frame a dropped file, as the shell does.
void dropFile(const char* path, int x, int y) {
    std::size_t length = std::strlen(path);
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + length + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = {x, y};
    std::memcpy(reinterpret_cast<char*>(drop + 1), path, length);
    GlobalUnlock(memory);
    PostMessageA(probe.frameWindow, WM_DROPFILES, WPARAM(memory), 0);
}

} // namespace

int appMain(int argc, char** argv) {
    if (const char* path = std::getenv("TAVOK_PROBE_OUT")) out = std::fopen(path, "w");
    note("argc %d", argc);
    for (int i = 1; i < argc; ++i)
        note("arg %s", argv[i]);
    const char* mode = argc > 1 ? argv[argc - 1] : "";
    if (std::strcmp(mode, "return5") == 0) return 5;
    probe.newAppWindow(new ProbeWindow("A"), "A", 0, 0, nullptr);
    probe.newAppWindow(new ProbeWindow("B"), "B", 0, 0, nullptr);
    if (std::strcmp(mode, "drop") == 0) dropFile("C:\\dropped\\pose.txt", 5, 6);
    if (std::strcmp(mode, "refuse") == 0) {
        probe.refusals = 1;
        PostMessageA(probe.frameWindow, WM_CLOSE, 0, 0);
    }
    PostMessageA(probe.frameWindow, WM_CLOSE, 0, 0);
    return 0;
}
