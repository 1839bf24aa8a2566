// Feeds arbitrary bytes to the pose reader. Whatever it accepts must write
// out and read back to the same bytes.
#include "face/PoseModel.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string written(const PoseModel& model) {
    char* text = nullptr;
    size_t length = 0;
    std::FILE* out = open_memstream(&text, &length);
    if (!out || !model.writePose(out)) std::abort();
    std::fclose(out);
    std::string bytes(text, length);
    std::free(text);
    return bytes;
}

int read(PoseModel& model, const void* data, size_t size) {
    // fmemopen cannot open an empty buffer: open one byte and consume it.
    static char empty = 0;
    std::FILE* in =
        size ? fmemopen(const_cast<void*>(data), size, "rb") : fmemopen(&empty, 1, "rb");
    if (!in) std::abort();
    if (size == 0) std::fgetc(in);
    int result = model.readPose(in);
    std::fclose(in);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PoseModel model;
    int result = read(model, data, size);
    if (result != PoseFileOk && result != PoseFileDataError) std::abort();
    if (result != PoseFileOk) return 0;
    std::string first = written(model);
    PoseModel again;
    if (read(again, first.data(), first.size()) != PoseFileOk) std::abort();
    if (written(again) != first) std::abort();
    return 0;
}
