#include "animation/AnimationFile.h"

#include "face/FileReplace.h"
#include "face/LineReader.h"
#include "face/PoseFile.h"
#include "face/PoseText.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char* const header = "TavokFace animation";
const char* const fpsLabel = "frames per second: ";
const char* const lengthLabel = "length in frames: ";
const char* const interpolationLabel = "interpolation: ";
const char* const interpolationNames[] = {"smooth", "linear", "hold"};
const char* const soundLabel = "sound ";
// The older files' key of the whole pose: the pose file's eight lines joined
// by spaces. It sets every track.
const char* const keyLabel = "key ";
const char* const keyForm = "<%f,%f,%f>,%f, %f,%f, %f,%f, %f, %f, %f, %f, %f";

// A track's key: its values in the form of their pose file lines.
struct TrackLine {
    const char* label;
    const char* form;
};
const TrackLine trackLines[TrackCount] = {
    {"eyes ", "<%f,%f,%f>,%f"},
    {"lids ", "%f,%f, %f,%f"},
    {"mouth ", "%f, %f, %f, %f, %f"},
};

constexpr int MaxLineLength = 1023;

// `form` with each conversion as `number`: "n" names a number in a notice,
// "%g" writes one.
std::string withNumbers(const char* form, const char* number) {
    std::string text;
    for (const char* c = form; *c; ++c) {
        if (c[0] == '%' && c[1] == 'f') {
            text += number;
            ++c;
        } else {
            text += *c;
        }
    }
    return text;
}

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

// A path the sound line holds and gives back: no control character (a line
// end, an end of file).
bool plainPath(const std::string& path) {
    return !path.empty() &&
           std::none_of(path.begin(), path.end(), [](char c) { return (unsigned char)c < 0x20; });
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

// What a line of keys may be.
std::string keyLinesWanted() {
    std::string text =
        "expected \"" + std::string(keyLabel) + "FRAME: " + withNumbers(keyForm, "n") + "\"";
    for (int t = 0; t < TrackCount; ++t)
        text += std::string(t + 1 < TrackCount ? ", \"" : " or \"") + trackLines[t].label +
                "FRAME: " + withNumbers(trackLines[t].form, "n") + "\"";
    return text;
}

class Reader {
  public:
    Reader(std::FILE* in, AnimationReadError* error) : lines_(in), error_(error) {}

    int read(Animation& animation);

  private:
    // The next line into line_; false after reporting why there is none.
    bool next(bool endAllowed, bool& ended);
    // Reports what is wrong with the line; false.
    bool fail(const std::string& what);
    bool settings(Animation& read);
    // The sound line's text after its label at `s`.
    bool sound(const char* s, Animation& read);
    // A line of keys, in order after the one before.
    bool keys(Animation& read);
    // The frame of a key after `label` at `s`, after `previous`.
    bool frame(const char*& s, const Animation& read, const char* label, int& frame);
    // `count` values in `form` at `s`, filling the line.
    bool values(const char* s, const char* form, int count, float* values);

    LineReader lines_;
    AnimationReadError* error_;
    int number_ = 0;
    int result_ = PoseFileDataError;
    char line_[MaxLineLength + 1] = {};
    // The keys so far: the older form's or a track's, and the last frame.
    bool wholePoses_ = false;
    int track_ = -1;
    int previous_ = -1;
};

bool Reader::fail(const std::string& what) {
    if (error_) *error_ = {number_, what};
    return false;
}

bool Reader::next(bool endAllowed, bool& ended) {
    ++number_;
    ended = false;
    int length = 0;
    switch (lines_.read(line_, MaxLineLength, &length)) {
    case LineReader::Line:
        return int(std::strlen(line_)) == length || fail("NUL byte inside the line");
    case LineReader::End:
        ended = endAllowed;
        return !endAllowed && fail("line missing: the file ends before the settings do");
    case LineReader::TooLong:
        return fail("line longer than " + std::to_string(MaxLineLength) + " characters");
    case LineReader::Error: result_ = PoseFileNoAccess; return fail("cannot be read");
    }
    return false;
}

bool Reader::frame(const char*& s, const Animation& read, const char* label, int& frame) {
    int last = read.settings().length - 1;
    if (!takeWhole(s, MaxLength, frame) || !startsWith(s, ": ")) return fail(keyLinesWanted());
    if (frame > last)
        return fail("key frame " + std::to_string(frame) + " is past the last frame " +
                    std::to_string(last));
    if (frame <= previous_)
        return fail(std::string(label) + "frame " + std::to_string(frame) +
                    " does not follow frame " + std::to_string(previous_) +
                    ": keys go in rising frame order");
    previous_ = frame;
    return true;
}

bool Reader::values(const char* s, const char* form, int count, float* values) {
    const char* end = nullptr;
    int converted = scanPoseLine(s, form, values, &end, true);
    if (converted != count)
        return fail("expected \"" + withNumbers(form, "n") + "\": number " +
                    std::to_string(converted + 1) + " is missing or not a finite decimal number");
    return *end == '\0' || fail("unexpected text after number " + std::to_string(count));
}

bool Reader::keys(Animation& read) {
    const char* s = line_;
    int at = 0;
    if (startsWith(s, keyLabel)) {
        if (track_ >= 0) return fail("a \"key\" line of the whole pose among track lines");
        wholePoses_ = true;
        float pose[PoseCount];
        if (!frame(s, read, keyLabel, at) || !values(s, keyForm, PoseCount, pose)) return false;
        return read.setKey(at, pose);
    }
    int track = 0;
    while (track < TrackCount && !startsWith(s, trackLines[track].label))
        ++track;
    if (track == TrackCount) return fail(keyLinesWanted());
    if (wholePoses_) return fail("a track line among \"key\" lines of the whole pose");
    if (track < track_) return fail("the tracks go in the order eyes, lids, mouth");
    if (track > track_) previous_ = -1;
    track_ = track;
    float own[MaxTrackValues];
    if (!frame(s, read, trackLines[track].label, at) ||
        !values(s, trackLines[track].form, trackKinds[track].count, own))
        return false;
    return read.setTrackKey(track, at, own);
}

bool Reader::settings(Animation& read) {
    AnimationSettings settings;
    bool ended = false;
    if (!next(false, ended)) return false;
    if (std::strcmp(line_, header) != 0)
        return fail("expected \"" + std::string(header) + "\": not an animation file");
    if (!next(false, ended)) return false;
    if (!settingLine(line_, fpsLabel, MinFps, MaxFps, settings.fps))
        return fail(settingWanted(fpsLabel, MinFps, MaxFps));
    if (!next(false, ended)) return false;
    if (!settingLine(line_, lengthLabel, MinLength, MaxLength, settings.length))
        return fail(settingWanted(lengthLabel, MinLength, MaxLength));
    if (!next(false, ended)) return false;
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
    return true;
}

bool Reader::sound(const char* s, Animation& read) {
    SoundReference sound;
    if (!takeWhole(s, MaxLength - 1, sound.start) || !startsWith(s, ": ") || !*s)
        return fail("expected \"" + std::string(soundLabel) +
                    "FRAME: PATH\" with FRAME from 0 to " + std::to_string(MaxLength - 1));
    sound.path = s;
    if (!plainPath(sound.path)) return fail("a control character in the sound's path");
    read.setSound(sound);
    return true;
}

int Reader::read(Animation& animation) {
    Animation read;
    if (!settings(read)) return result_;
    for (bool first = true;; first = false) {
        bool ended = false;
        if (!next(true, ended)) {
            if (!ended) return result_;
            break;
        }
        // The sound, if any, comes before the keys.
        const char* s = line_;
        bool soundLine = startsWith(s, soundLabel);
        if (soundLine && !first) {
            fail(read.sound().has() ? "a second sound line: an animation has one sound"
                                    : "the sound line goes before the keys");
            return result_;
        }
        if (!(soundLine ? sound(s, read) : keys(read))) return result_;
    }
    animation = read;
    if (error_) *error_ = {};
    return PoseFileOk;
}

bool writeLine(std::FILE* out, const std::string& line) {
    return line.size() <= std::size_t(MaxLineLength) &&
           std::fwrite(line.data(), 1, line.size(), out) == line.size() &&
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
    Animation read;
    int result = readAnimation(read, in, error);
    std::fclose(in);
    if (result != PoseFileOk) return result;
    SoundReference sound = read.sound();
    if (sound.has()) {
        sound.path = soundPathFrom(sound.path, path);
        read.setSound(sound);
    }
    animation = read;
    return result;
}

bool writeAnimation(const Animation& animation, std::FILE* out) {
    const AnimationSettings& settings = animation.settings();
    const SoundReference& sound = animation.sound();
    bool ok = writeLine(out, header) && writeLine(out, fpsLabel + std::to_string(settings.fps)) &&
              writeLine(out, lengthLabel + std::to_string(settings.length)) &&
              writeLine(out, interpolationLabel +
                                 std::string(interpolationNames[settings.interpolation]));
    if (sound.has())
        ok = ok && plainPath(sound.path) &&
             writeLine(out, soundLabel + std::to_string(sound.start) + ": " + sound.path);
    for (int t = 0; t < TrackCount; ++t) {
        std::string form = withNumbers(trackLines[t].form, "%g");
        for (const TrackKey& key : animation.track(t).keys()) {
            char text[256];
            ok = ok && formatPoseLine(text, sizeof text, form.c_str(), key.values, true) >= 0 &&
                 writeLine(out, trackLines[t].label + std::to_string(key.frame) + ": " + text);
        }
    }
    return ok && std::ferror(out) == 0;
}

int writeAnimationFile(const Animation& animation, const char* path) {
    Animation written = animation;
    SoundReference sound = animation.sound();
    if (sound.has()) {
        sound.path = soundPathFor(sound.path, path);
        written.setSound(sound);
    }
    return replaceWithWritten(path,
                              [&written](std::FILE* out) { return writeAnimation(written, out); });
}

namespace {

// The longest path a sound line holds, whatever its start frame.
const std::size_t MaxSoundPath =
    MaxLineLength - std::strlen(soundLabel) - std::to_string(MaxLength - 1).size() - 2;

} // namespace

std::string soundPathFor(const std::string& sound, const char* file) {
    std::error_code code;
    fs::path absolute = fs::absolute(fs::u8path(sound), code).lexically_normal();
    fs::path folder = fs::absolute(fs::u8path(file), code).parent_path().lexically_normal();
    std::string whole = absolute.generic_u8string();
    std::string relative = absolute.lexically_relative(folder).generic_u8string();
    // Another drive has no relative path; a deep one may be too long for
    // its line where the whole path is not.
    bool tooLong = relative.size() > MaxSoundPath && whole.size() <= MaxSoundPath;
    return relative.empty() || tooLong ? whole : relative;
}

std::string soundLineProblem(const Animation& animation, const char* file) {
    if (!animation.sound().has()) return "";
    std::string path = soundPathFor(animation.sound().path, file);
    if (!plainPath(path)) return "the sound's path holds a control character (a tab, a line end)";
    if (path.size() > MaxSoundPath)
        return "the sound's path is longer than the " + std::to_string(MaxSoundPath) +
               " bytes its line holds";
    return "";
}

std::string soundPathFrom(const std::string& written, const char* file) {
    fs::path sound = fs::u8path(written);
    if (sound.is_relative()) sound = fs::u8path(file).parent_path() / sound;
    return sound.lexically_normal().make_preferred().u8string();
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
