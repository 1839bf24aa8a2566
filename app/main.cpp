// The TavokFace program: its one application object, made before the
// framework starts.
#include "app/FaceApp.h"

namespace {

FaceApp application("TavokFace", 1, 0, 0);

} // namespace
