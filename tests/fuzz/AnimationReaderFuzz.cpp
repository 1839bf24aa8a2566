// Feeds arbitrary bytes to the animation reader. Whatever it accepts, in the
// older form or with tracks and a sound, must save to a file that reads back
// to the same animation and the same bytes.
#include "animation/AnimationFile.h"
#include "face/PoseFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string written(const Animation& animation) {
    char* text = nullptr;
    size_t length = 0;
    std::FILE* out = open_memstream(&text, &length);
    if (!out || !writeAnimation(animation, out)) std::abort();
    std::fclose(out);
    std::string bytes(text, length);
    std::free(text);
    return bytes;
}

int read(Animation& animation, const void* data, size_t size) {
    // fmemopen cannot open an empty buffer: open one byte and consume it.
    static char empty = 0;
    std::FILE* in =
        size ? fmemopen(const_cast<void*>(data), size, "rb") : fmemopen(&empty, 1, "rb");
    if (!in) std::abort();
    if (size == 0) std::fgetc(in);
    int result = readAnimation(animation, in);
    std::fclose(in);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Animation animation;
    int result = read(animation, data, size);
    if (result != PoseFileOk && result != PoseFileDataError) std::abort();
    if (result != PoseFileOk) {
        if (animation != Animation()) std::abort();
        return 0;
    }
    std::string first = written(animation);
    Animation again, third;
    if (read(again, first.data(), first.size()) != PoseFileOk) std::abort();
    std::string second = written(again);
    if (read(third, second.data(), second.size()) != PoseFileOk) std::abort();
    if (again != animation || again != third || second != first) std::abort();
    return 0;
}
