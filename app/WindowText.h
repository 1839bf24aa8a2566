// The texts the main window forms: the status line for the selected part,
// the name a pose is saved under, and the title shown for a chosen file.
// Needs no platform.
#pragma once

#include <cstddef>

// The status line for `selection` (-1 none, 0..1 eyes, 2..5 a lid, 6..10 a
// mouth point) and the thirteen pose values.
void formatSelection(char* out, std::size_t size, int selection, const float* pose);

// Adds ".txt" to a chosen name with no "." anywhere in it. False, with the
// name unchanged, when there is no room for it in `size` bytes: a name cut
// short would be another file.
bool addPoseExtension(char* name, std::size_t size);

// The part of `path` after its last backslash, or all of it.
const char* fileTitle(const char* path);
