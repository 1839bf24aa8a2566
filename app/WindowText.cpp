#include "app/WindowText.h"

#include <cstdio>
#include <cstring>

void formatSelection(char* out, std::size_t size, int selection, const float* pose) {
    if (selection < 2)
        std::snprintf(out, size, "Eyes Selected <%g,%g,%g> %g", double(pose[0]), double(pose[1]),
                      double(pose[2]), double(pose[3]));
    else if (selection <= 5)
        std::snprintf(out, size, "Eye Lid Selected  %g", double(pose[selection + 2]));
    else
        std::snprintf(out, size, "Mouth part Selected  %g", double(pose[selection + 2]));
}

bool addPoseExtension(char* name, std::size_t size) {
    if (std::strchr(name, '.')) return true;
    std::size_t length = std::strlen(name);
    if (length + 5 > size) return false;
    std::memcpy(name + length, ".txt", 5);
    return true;
}

const char* fileTitle(const char* path) {
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}
