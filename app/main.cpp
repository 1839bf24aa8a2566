// The TavokFace program: one window inside the framework's frame.
#include "framework/app/vApp.h"

namespace {

vApp application("TavokFace", 1, 0, 0);

} // namespace

int appMain(int, char**) {
    theApp->newAppWindow(nullptr, "TavokFace", 350, 350, nullptr);
    return 0;
}
