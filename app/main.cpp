// The TavokFace program: one window inside the framework's frame.
#include "app/FaceCmdWindow.h"
#include "framework/app/vApp.h"

namespace {

vApp application("TavokFace", 1, 0, 0);

} // namespace

int appMain(int, char**) {
    auto* window = new FaceCmdWindow("TavokFace", 350, 350);
    theApp->newAppWindow(window, "TavokFace", 350, 350, nullptr);
    window->addPane(&window->canvas);
    return 0;
}
