// Feeds arbitrary bytes to the pose reader, from a stream and from memory:
// both must agree. Whatever it accepts must be finite, and writing it must give a file that reads
// back to the same values and the same bytes.
#include "face/PoseFile.h"
#include "face/PoseModel.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string written(const float* pose) {
    char* text = nullptr;
    size_t length = 0;
    std::FILE* out = open_memstream(&text, &length);
    if (!out || !writePose(pose, out)) std::abort();
    std::fclose(out);
    std::string bytes(text, length);
    std::free(text);
    return bytes;
}

int read(float* pose, const void* data, size_t size) {
    // fmemopen cannot open an empty buffer: open one byte and consume it.
    static char empty = 0;
    std::FILE* in =
        size ? fmemopen(const_cast<void*>(data), size, "rb") : fmemopen(&empty, 1, "rb");
    if (!in) std::abort();
    if (size == 0) std::fgetc(in);
    int result = readPose(pose, in);
    std::fclose(in);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PoseModel model, fromText;
    int result = read(model.pose, data, size);
    if (readPoseText(fromText.pose,
                     std::string(static_cast<const char*>(static_cast<const void*>(data)), size)) !=
            result ||
        std::memcmp(model.pose, fromText.pose, sizeof model.pose) != 0)
        std::abort();
    if (result != PoseFileOk && result != PoseFileDataError) std::abort();
    if (result != PoseFileOk) return 0;
    for (float value : model.pose)
        if (!std::isfinite(value)) std::abort();
    std::string first = written(model.pose);
    PoseModel again;
    if (read(again.pose, first.data(), first.size()) != PoseFileOk) std::abort();
    // What six digits keep reads back unchanged once written.
    PoseModel third;
    std::string second = written(again.pose);
    if (read(third.pose, second.data(), second.size()) != PoseFileOk) std::abort();
    if (std::memcmp(again.pose, third.pose, sizeof again.pose) != 0) std::abort();
    if (second != first) std::abort();
    return 0;
}
