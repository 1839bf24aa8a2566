#include "face/PoseFile.h"

#include "face/FileReplace.h"
#include "face/LineReader.h"
#include "face/PoseText.h"

#include <string>

namespace {

// One line of the pose file: its writing and reading formats, the first pose
// index it holds and how many values it must give.
struct PoseLine {
    const char* writeFormat;
    const char* readFormat;
    int first;
    int count;
};

const PoseLine poseLines[PoseFileLines] = {
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

int fail(PoseReadError* error, PoseFault fault, int line, int converted, const char* form) {
    if (error) *error = {fault, line, converted, form};
    return fault == FaultUnreadable ? PoseFileNoAccess : PoseFileDataError;
}

// The line's form with "n" for each number and no trailing comma: "<n,n,n>,n".
std::string lineForm(const char* format) {
    std::string form;
    for (const char* f = format; *f; ++f) {
        if (f[0] == '%' && f[1] == 'g') {
            form += 'n';
            ++f;
        } else {
            form += *f;
        }
    }
    if (!form.empty() && form.back() == ',') form.pop_back();
    return form;
}

} // namespace

int formatPoseFileLine(char* out, std::size_t size, int line, const float* pose, bool exact) {
    const PoseLine& l = poseLines[line - 1];
    return formatPoseLine(out, size, l.writeFormat, pose + l.first, exact);
}

bool writePose(const float* pose, std::FILE* out) {
    for (int line = 1; line <= PoseFileLines; ++line) {
        char text[256];
        int length = formatPoseFileLine(text, sizeof text, line, pose);
        if (length < 0) return false;
        if (std::fwrite(text, 1, std::size_t(length), out) != std::size_t(length)) return false;
        if (std::fwrite("\r\n", 1, 2, out) != 2) return false;
    }
    return std::ferror(out) == 0;
}

int writePoseFile(const float* pose, const char* path) {
    // Write beside the target and replace it only when everything is on disk,
    // so a failed save never destroys the previous pose file.
    std::string tmp;
    std::FILE* out = createBeside(path, tmp);
    if (!out) return PoseFileNoAccess;
    bool ok = writePose(pose, out) && flushToDisk(out);
    ok = (std::fclose(out) == 0) && ok;
    if (ok && replaceFile(tmp.c_str(), path)) return PoseFileOk;
    removeFile(tmp.c_str());
    return PoseFileNoAccess;
}

namespace {

int readLines(float* pose, LineReader reader, PoseReadError* error) {
    for (int number = 1; number <= PoseFileLines; ++number) {
        const PoseLine& line = poseLines[number - 1];
        char text[MaxLineLength + 1];
        switch (reader.read(text, MaxLineLength)) {
        case LineReader::Line: break;
        case LineReader::Error: return fail(error, FaultUnreadable, number, 0, line.writeFormat);
        case LineReader::End: return fail(error, FaultMissingLine, number, 0, line.writeFormat);
        case LineReader::TooLong: return fail(error, FaultLineTooLong, number, 0, line.writeFormat);
        }
        int converted = scanPoseLine(text, line.readFormat, pose + line.first);
        if (converted != line.count)
            return fail(error, FaultMismatch, number, converted, line.writeFormat);
    }
    if (error) *error = {};
    return PoseFileOk;
}

} // namespace

int readPose(float* pose, std::FILE* in, PoseReadError* error) {
    return readLines(pose, LineReader(in), error);
}

int readPoseText(float* pose, const std::string& text, PoseReadError* error) {
    return readLines(pose, LineReader(text), error);
}

int readPoseFile(float* pose, const char* path, PoseReadError* error) {
    std::FILE* in = openFile(path, "rb");
    if (!in) return fail(error, FaultUnreadable, 0, 0, "");
    int result = readPose(pose, in, error);
    std::fclose(in);
    return result;
}

std::string describePoseFault(const PoseReadError& error) {
    switch (error.fault) {
    case FaultMissingLine:
        return "line missing: a pose file has " + std::to_string(PoseFileLines) + " lines";
    case FaultLineTooLong: return "line longer than 199 characters";
    case FaultMismatch:
        return "expected \"" + lineForm(error.form) + "\": number " +
               std::to_string(error.converted + 1) + " is missing or not a finite decimal number";
    case FaultUnreadable: return "cannot be read";
    case FaultNone: break;
    }
    return "";
}
