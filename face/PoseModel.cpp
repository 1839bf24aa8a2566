#include "PoseModel.h"

#include "PoseText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace {

const float defaultPose[PoseCount] = {0, 0, 0, 0.5f, 30, -30, 30, -30, 0, 0, 0, 0, 0};

// One line of the pose file: its writing and reading formats, the first pose
// index it holds and how many values it must give.
struct PoseLine {
    const char* writeFormat;
    const char* readFormat;
    int first;
    int count;
};

const PoseLine poseLines[] = {
    {"<%g,%g,%g>,%g,", "<%f,%f,%f>,%f", 0, 4},
    {"%g,%g,", "%f,%f", 4, 2},
    {"%g,%g,", "%f,%f", 6, 2},
    {"%g,", "%f", 8, 1},
    {"%g,", "%f", 9, 1},
    {"%g,", "%f", 10, 1},
    {"%g,", "%f", 11, 1},
    {"%g", "%f", 12, 1},
};

// A line holds at most this many characters before its line end.
constexpr int MaxLineLength = 199;

// Reads lines as a text-mode stream would deliver them: CR LF and LF both end
// a line, and a byte 26 ends the file.
class LineReader {
  public:
    explicit LineReader(std::FILE* in) : in_(in) {}

    enum Result { Line, End, TooLong, Error };

    Result read(char (&line)[MaxLineLength + 1]) {
        int length = 0;
        for (;;) {
            int c = ended_ ? EOF : std::getc(in_);
            if (c == 26) ended_ = true;
            if (c == EOF || c == 26) {
                if (std::ferror(in_)) return Error;
                if (length == 0) return End;
                break;
            }
            if (c == '\n') break;
            if (length == MaxLineLength) return TooLong;
            line[length++] = char(c);
        }
        if (length > 0 && line[length - 1] == '\r') --length;
        line[length] = '\0';
        return Line;
    }

  private:
    std::FILE* in_;
    bool ended_ = false;
};

// Replaces `to` with `from` in one step, so `to` is never left half written.
bool replaceFile(const char* from, const char* to) {
#ifdef _WIN32
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from, to) == 0;
#endif
}

// Creates a new file beside `path` and names it in `tmp`; null if none can be made.
std::FILE* createBeside(const std::string& path, std::string& tmp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmp = path + ".~" + std::to_string(attempt);
        int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
        if (fd >= 0) {
            std::FILE* f = fdopen(fd, "wb");
            if (!f) {
                close(fd);
                std::remove(tmp.c_str());
            }
            return f;
        }
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

bool flushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

} // namespace

PoseModel::PoseModel() {
    resetPose();
}

void PoseModel::resetPose() {
    std::memcpy(pose, defaultPose, sizeof pose);
    std::memcpy(resetCopy, pose, sizeof resetCopy);
}

void PoseModel::step(int index, double delta, double low, float lowValue, double high,
                     float highValue) {
    pose[index] = float(double(pose[index]) + delta);
    if (pose[index] > high) pose[index] = highValue;
    if (pose[index] < low) pose[index] = lowValue;
}

void PoseModel::applyKeyAction(int code) {
    if (selection < 2) {
        switch (code) {
        case KeyEyeXUp: step(PoseEyeX, 1, -90, -90, 90, 90); break;
        case KeyEyeXDown: step(PoseEyeX, -1, -90, -90, 90, 90); break;
        case KeyRaise: step(PoseEyeY, 1, -90, -90, 90, 90); break;
        case KeyLower: step(PoseEyeY, -1, -90, -90, 90, 90); break;
        // The z rotation wraps to 0 past a full turn either way.
        case KeyEyeZUp: step(PoseEyeZ, 1, -360, 0, 360, 0); break;
        case KeyEyeZDown: step(PoseEyeZ, -1, -360, 0, 360, 0); break;
        // A pupil smaller than one step closes completely.
        case KeyPupilGrow: step(PosePupil, 0.05, 0.05, 0, 1, 1); break;
        case KeyPupilShrink: step(PosePupil, -0.05, 0.05, 0, 1, 1); break;
        case KeyZeroEyeX: pose[PoseEyeX] = 0; break;
        case KeyRestore: pose[PoseEyeY] = 0; break;
        case KeyZeroEyeZ: pose[PoseEyeZ] = 0; break;
        default: break;
        }
        return;
    }
    if (selection > 10) return;
    int index = selection + 2;
    bool lid = selection <= 5;
    // "8" moves a lid edge or a mouth point up on the screen: a lid angle
    // grows downwards, a mouth value upwards.
    switch (code) {
    case KeyRaise:
        if (lid)
            step(index, -1, -90, -90, 90, 90);
        else
            step(index, 0.05, -1, -1, 1, 1);
        break;
    case KeyLower:
        if (lid)
            step(index, 1, -90, -90, 90, 90);
        else
            step(index, -0.05, -1, -1, 1, 1);
        break;
    case KeyRestore: pose[index] = resetCopy[index]; break;
    default: break;
    }
}

bool PoseModel::writePose(std::FILE* out) const {
    for (const PoseLine& line : poseLines) {
        char text[256];
        int length = formatPoseLine(text, sizeof text, line.writeFormat, pose + line.first);
        if (length < 0) return false;
        if (std::fwrite(text, 1, std::size_t(length), out) != std::size_t(length)) return false;
        if (std::fwrite("\r\n", 1, 2, out) != 2) return false;
    }
    return std::ferror(out) == 0;
}

int PoseModel::writePoseFile(const char* path) const {
    // Write beside the target and replace it only when everything is on disk,
    // so a failed save never destroys the previous pose file.
    std::string tmp;
    std::FILE* out = createBeside(path, tmp);
    if (!out) return PoseFileNoAccess;
    bool ok = writePose(out) && flushToDisk(out);
    ok = (std::fclose(out) == 0) && ok;
    if (ok && replaceFile(tmp.c_str(), path)) return PoseFileOk;
    std::remove(tmp.c_str());
    return PoseFileNoAccess;
}

int PoseModel::readPose(std::FILE* in) {
    LineReader reader(in);
    for (const PoseLine& line : poseLines) {
        char text[MaxLineLength + 1];
        switch (reader.read(text)) {
        case LineReader::Line: break;
        case LineReader::Error: return PoseFileNoAccess;
        case LineReader::End:
        case LineReader::TooLong: return PoseFileDataError;
        }
        if (scanPoseLine(text, line.readFormat, pose + line.first) != line.count)
            return PoseFileDataError;
    }
    return PoseFileOk;
}

int PoseModel::readPoseFile(const char* path) {
    std::FILE* in = std::fopen(path, "rb");
    if (!in) return PoseFileNoAccess;
    int result = readPose(in);
    std::fclose(in);
    return result;
}
