// The gallery program: the dialog of every control over an empty frame.
// Closing the dialog, or the frame, ends the program.
#include "framework/app/vApp.h"
#include "gallery/GalleryDialog.h"

#include <memory>

namespace {

vApp application("Gallery", 0, 0, 0);
std::unique_ptr<GalleryDialog> gallery;

} // namespace

int appMain(int, char**) {
    gallery = std::make_unique<GalleryDialog>(nullptr);
    gallery->endsProgram = 1;
    gallery->showDialog(nullptr);
    return 0;
}
