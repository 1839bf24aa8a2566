#include "animation/AnimationFile.h"

#include "face/FileReplace.h"
#include "face/LineReader.h"
#include "face/PoseFile.h"
#include "face/PoseText.h"

#include <cstring>

namespace {

const char* const header = "TavokFace animation";
const char* const fpsLabel = "frames per second: ";
const char* const lengthLabel = "length in frames: ";
const char* const interpolationLabel = "interpolation: ";
const char* const interpolationNames[] = {"smooth", "linear", "hold"};
const char* const keyLabel = "key ";
// The key's values: the pose file's eight lines joined by spaces.
const char* const valuesForm = "<%f,%f,%f>,%f, %f,%f, %f,%f, %f, %f, %f, %f, %f";
const char* const valuesShape = "<n,n,n>,n, n,n, n,n, n, n, n, n, n";

constexpr int MaxLineLength = 255;

// A whole number of plain digits from 0 to `max` at `s`, without leading
// zeros; moves `s` past it.
bool takeWhole(const char*& s, int max, int& value) {
    if (s[0] == '0' && s[1] >= '0' && s[1] <= '9') return false;
    const char* start = s;
    long long number = 0;
    while (*s >= '0' && *s <= '9' && s - start < 6)
        number = number * 10 + (*s++ - '0');
    if (s == start || (*s >= '0' && *s <= '9') || number > max) return false;
    value = int(number);
    return true;
}

bool startsWith(const char*& s, const char* prefix) {
    std::size_t length = std::strlen(prefix);
    if (std::strncmp(s, prefix, length) != 0) return false;
    s += length;
    return true;
}

// A setting line "LABEL N" with N from `low` to `high`.
bool settingLine(const char* line, const char* label, int low, int high, int& value) {
    return startsWith(line, label) && takeWhole(line, high, value) && *line == '\0' && value >= low;
}

std::string settingWanted(const char* label, int low, int high) {
    return "expected \"" + std::string(label) + "N\" with N from " + std::to_string(low) + " to " +
           std::to_string(high);
}

class Reader {
  public:
    Reader(std::FILE* in, AnimationReadError* error) : lines_(in), error_(error) {}

    int read(Animation& animation);

  private:
    // The next line into line_; false after reporting why there is none.
    bool next(bool endAllowed, bool& ended);
    int fail(const std::string& what);
    bool key(Animation& read, int previous, int& frame);

    LineReader lines_;
    AnimationReadError* error_;
    int number_ = 0;
    int result_ = PoseFileDataError;
    char line_[MaxLineLength + 1] = {};
};

int Reader::fail(const std::string& what) {
    if (error_) *error_ = {number_, what};
    return PoseFileDataError;
}

bool Reader::next(bool endAllowed, bool& ended) {
    ++number_;
    ended = false;
    int length = 0;
    switch (lines_.read(line_, MaxLineLength, &length)) {
    case LineReader::Line:
        if (int(std::strlen(line_)) == length) return true;
        fail("NUL byte inside the line");
        return false;
    case LineReader::End:
        ended = endAllowed;
        if (!endAllowed) fail("line missing: the file ends before the settings do");
        return false;
    case LineReader::TooLong:
        fail("line longer than " + std::to_string(MaxLineLength) + " characters");
        return false;
    case LineReader::Error:
        if (error_) *error_ = {number_, "cannot be read"};
        result_ = PoseFileNoAccess;
        return false;
    }
    return false;
}

bool Reader::key(Animation& read, int previous, int& frame) {
    const char* s = line_;
    int last = read.settings().length - 1;
    if (!startsWith(s, keyLabel) || !takeWhole(s, MaxLength, frame) || !startsWith(s, ": ")) {
        fail("expected \"key FRAME: " + std::string(valuesShape) + "\"");
        return false;
    }
    if (frame > last) {
        fail("key frame " + std::to_string(frame) + " is past the last frame " +
             std::to_string(last));
        return false;
    }
    if (frame <= previous) {
        fail("key frame " + std::to_string(frame) + " does not follow frame " +
             std::to_string(previous) + ": keys go in rising frame order");
        return false;
    }
    float pose[PoseCount];
    const char* end = nullptr;
    int converted = scanPoseLine(s, valuesForm, pose, &end, true);
    if (converted != PoseCount) {
        fail("expected \"" + std::string(valuesShape) + "\": number " +
             std::to_string(converted + 1) + " is missing or not a finite decimal number");
        return false;
    }
    if (*end != '\0') {
        fail("unexpected text after the thirteenth number");
        return false;
    }
    read.setKey(frame, pose);
    return true;
}

int Reader::read(Animation& animation) {
    Animation read;
    AnimationSettings settings;
    bool ended = false;
    if (!next(false, ended)) return result_;
    if (std::strcmp(line_, header) != 0)
        return fail("expected \"" + std::string(header) + "\": not an animation file");
    if (!next(false, ended)) return result_;
    if (!settingLine(line_, fpsLabel, MinFps, MaxFps, settings.fps))
        return fail(settingWanted(fpsLabel, MinFps, MaxFps));
    if (!next(false, ended)) return result_;
    if (!settingLine(line_, lengthLabel, MinLength, MaxLength, settings.length))
        return fail(settingWanted(lengthLabel, MinLength, MaxLength));
    if (!next(false, ended)) return result_;
    const char* s = line_;
    bool named = false;
    if (startsWith(s, interpolationLabel))
        for (int i = 0; i < 3 && !named; ++i)
            if (std::strcmp(s, interpolationNames[i]) == 0) {
                settings.interpolation = Interpolation(i);
                named = true;
            }
    if (!named)
        return fail("expected \"" + std::string(interpolationLabel) +
                    "smooth\", \"linear\" or \"hold\"");
    read.setSettings(settings);
    for (int previous = -1;;) {
        if (!next(true, ended)) {
            if (!ended) return result_;
            break;
        }
        int frame = 0;
        if (!key(read, previous, frame)) return PoseFileDataError;
        previous = frame;
    }
    animation = read;
    if (error_) *error_ = {};
    return PoseFileOk;
}

bool writeLine(std::FILE* out, const std::string& line) {
    return std::fwrite(line.data(), 1, line.size(), out) == line.size() &&
           std::fwrite("\r\n", 1, 2, out) == 2;
}

} // namespace

int readAnimation(Animation& animation, std::FILE* in, AnimationReadError* error) {
    return Reader(in, error).read(animation);
}

int readAnimationFile(Animation& animation, const char* path, AnimationReadError* error) {
    std::FILE* in = openFile(path, "rb");
    if (!in) {
        if (error) *error = {0, "cannot be read"};
        return PoseFileNoAccess;
    }
    int result = readAnimation(animation, in, error);
    std::fclose(in);
    return result;
}

bool writeAnimation(const Animation& animation, std::FILE* out) {
    const AnimationSettings& settings = animation.settings();
    bool ok = writeLine(out, header) && writeLine(out, fpsLabel + std::to_string(settings.fps)) &&
              writeLine(out, lengthLabel + std::to_string(settings.length)) &&
              writeLine(out, interpolationLabel +
                                 std::string(interpolationNames[settings.interpolation]));
    for (const AnimationKey& key : animation.keys()) {
        std::string line = keyLabel + std::to_string(key.frame) + ":";
        for (int number = 1; number <= PoseFileLines && ok; ++number) {
            char text[256];
            ok = formatPoseFileLine(text, sizeof text, number, key.pose, true) >= 0;
            line += ' ';
            line += text;
        }
        ok = ok && writeLine(out, line);
    }
    return ok && std::ferror(out) == 0;
}

int writeAnimationFile(const Animation& animation, const char* path) {
    return replaceWithWritten(
        path, [&animation](std::FILE* out) { return writeAnimation(animation, out); });
}

int replaceWithWritten(const char* path, const std::function<bool(std::FILE*)>& write) {
    std::string tmp;
    std::FILE* out = createBeside(path, tmp);
    if (!out) return PoseFileNoAccess;
    bool ok = write(out) && flushToDisk(out);
    ok = (std::fclose(out) == 0) && ok;
    if (ok && replaceFile(tmp.c_str(), path)) return PoseFileOk;
    removeFile(tmp.c_str());
    return PoseFileNoAccess;
}
