#include "render/PovrayRunner.h"

#include "face/FileReplace.h"
#include "face/PoseFile.h"
#include "face/PoseTable.h"
#include "render/ChildStart.h"
#include "render/Povray.h"
#include "render/WicImage.h"

#include <cstdio>
#include <cstring>
#include <windows.h>

// Paths are UTF-8 here and wide at every call of the platform, so folders
// beyond the ANSI code page (the program's, the temporary one) work.
namespace {

// Under Wine Unix programs are started through the Unix shell: it gives
// what Wine does not (the child's id, its end) and knows the Unix PATH,
// which is not the PATH the Windows side sees.
const char* const unixShell = "Z:\\bin\\sh";
// How long an ended render may take to go before it is killed.
const long long graceTime = 2000;

long long now() {
    return static_cast<long long>(GetTickCount64());
}

bool isFile(const std::string& path) {
    DWORD attributes = GetFileAttributesW(wideText(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesW(wideText(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Any length: the size asked for first may have grown by the second call.
std::string variable(const char* name) {
    std::wstring value(256, L'\0');
    for (;;) {
        DWORD length =
            GetEnvironmentVariableW(wideText(name).c_str(), &value[0], DWORD(value.size()));
        if (length < value.size()) return utf8Text(value.substr(0, length));
        value.resize(length);
    }
}

std::string contents(const std::string& path, DWORD limit = 1 << 26) {
    HANDLE file =
        CreateFileW(wideText(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (text.size() < limit && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    return text;
}

std::string systemMessage(DWORD code) {
    wchar_t text[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, 512, nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r'))
        --length;
    return length ? utf8Text(std::wstring(text, length)) : "error " + std::to_string(code);
}

// A Windows program starts with "MZ"; anything else (a Unix program or
// script) Wine would start without a process handle.
bool isWindowsProgram(const std::string& path) {
    return contents(path, 2).compare(0, 2, "MZ") == 0;
}

bool processRuns(unsigned long id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(id));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    bool runs = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return runs;
}

// Removes `folder` (ending in a backslash) and the files in it.
void removeFolder(const std::string& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wideText(folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileW((wideText(folder) + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(wideText(folder.substr(0, folder.size() - 1)).c_str());
}

bool runShell(const std::string& script, const std::string& folder) {
    HANDLE none = nullptr;
    return startChild(shellCommand(unixShell, script), folder, INVALID_HANDLE_VALUE, false, nullptr,
                      none);
}

} // namespace

PovrayRunner::PovrayRunner() {
    job_ = childJob();
}

PovrayRunner::~PovrayRunner() {
    close();
    if (job_) CloseHandle(job_);
}

std::string PovrayRunner::findPovray() {
    std::string named = variable(PovrayVariable);
    // Under Wine the variable may hold a Unix path.
    if (!named.empty() && named[0] == '/') named = windowsPathOf(named);
    std::string path = variable("PATH");
    for (const char* installed : {"ProgramW6432", "ProgramFiles"})
        if (!variable(installed).empty()) path += ";" + povrayInstallFolder(variable(installed));
    std::string found = findProgram(named, path, ';', povrayNames, isFile);
    return found.empty() && named.empty() ? findUnixProgram("povray") : found;
}

std::string PovrayRunner::findTool(const std::string& name) {
    std::string found = findProgram("", variable("PATH"), ';', {name + ".exe"}, isFile);
    return found.empty() ? findUnixProgram(name) : found;
}

std::string PovrayRunner::findUnixProgram(const std::string& name) {
    if (!underWine() || !isFile(unixShell) || !prepare()) return {};
    // Ask the shell (with its builtins only: the PATH may hold nothing
    // else), judging by the line it writes, for a few seconds at most.
    std::string answer = folder_ + name + "-path.txt";
    if (!runShell(unixFindScript(name, name + "-path.txt"), folder_)) return {};
    std::string line;
    for (long long deadline = now() + 3000;
         (line = contents(answer)).find('\n') == std::string::npos && now() < deadline;)
        Sleep(5);
    DeleteFileW(wideText(answer).c_str());
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return !line.empty() && line[0] == '/' && isFile(windowsPathOf(line)) ? windowsPathOf(line)
                                                                          : "";
}

std::string PovrayRunner::findScene() {
    return findSceneFolder(programFolder(), windowsPathOf(TAVOK_SOURCE_SCENE), isFile);
}

std::string PovrayRunner::file(const char* kind, int number) const {
    return std::string(kind) + "-" + std::to_string(number) + (kind[0] == 'o' ? ".bmp" : ".txt");
}

void PovrayRunner::fail(const char* what, std::string details) {
    problem = what;
    error = std::move(details);
}

void PovrayRunner::removeStaleFolders() {
    std::wstring wide(MAX_PATH + 1, L'\0');
    wide.resize(GetTempPathW(DWORD(wide.size()), &wide[0]));
    std::string temp = utf8Text(wide);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wideText(temp + ScratchPrefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        unsigned long owner = scratchFolderOwner(utf8Text(found.cFileName));
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && owner &&
            owner != GetCurrentProcessId() && !processRuns(owner))
            removeFolder(temp + utf8Text(found.cFileName) + "\\");
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool PovrayRunner::prepare() {
    if (!folder_.empty() && isFolder(folder_)) return true;
    scene_ = findScene();
    if (scene_.empty()) {
        fail("No scene", "The scene files TavokHead.pov and TavokHead.inc were not found\n"
                         "in the povray folder beside the program.");
        return false;
    }
    std::string folder = folder_.substr(0, folder_.size() - 1);
    bool made;
    if (folder_.empty()) {
        removeStaleFolders();
        std::wstring temp(MAX_PATH + 1, L'\0');
        temp.resize(GetTempPathW(DWORD(temp.size()), &temp[0]));
        // Each runner has a folder of its own, however many start in one tick.
        DWORD stamp = GetTickCount();
        do
            folder = utf8Text(temp) + ScratchPrefix + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(stamp++);
        while (!(made = CreateDirectoryW(wideText(folder).c_str(), nullptr)) &&
               GetLastError() == ERROR_ALREADY_EXISTS);
    } else {
        made = CreateDirectoryW(wideText(folder).c_str(), nullptr) ||
               GetLastError() == ERROR_ALREADY_EXISTS;
    }
    if (!made) {
        fail("No scratch folder",
             "Cannot make the scratch folder " + folder + ":\n" + systemMessage(GetLastError()));
        return false;
    }
    folder_ = folder + "\\";
    for (const char* name : {"TavokHead.pov", "TavokHead.inc"})
        if (!CopyFileW(wideText(scene_ + "\\" + name).c_str(), wideText(folder_ + name).c_str(),
                       FALSE)) {
            fail("No scratch folder", std::string("Cannot copy ") + name + " to " + folder_ +
                                          ":\n" + systemMessage(GetLastError()));
            return false;
        }
    return true;
}

std::string PovrayRunner::imageFile(int number, int frames) const {
    return frames > 1 ? "out-" + std::to_string(number) + "-.bmp" : file("out", number);
}

bool PovrayRunner::writeScratch(const char* name, const std::function<bool(std::FILE*)>& write) {
    std::string path = folder_ + name, tmp;
    std::FILE* out = createBeside(path, tmp);
    bool written = out && write(out);
    if (out) written = std::fclose(out) == 0 && written;
    if (written && replaceFile(tmp.c_str(), path.c_str())) return true;
    if (out) removeFile(tmp.c_str());
    fail("Cannot write the pose", "Cannot write the pose to " + folder_);
    return false;
}

int PovrayRunner::start(const std::string& program, const float* pose, int width, int height,
                        int count) {
    problem.clear();
    error.clear();
    tidy();
    if (!prepare()) return 0;
    // One pose is the scene's pose.txt; several, the rows of its animation.inc.
    if (count > 1 ? !writeScratch("animation.inc",
                                  [&](std::FILE* out) { return writePoseTable(pose, count, out); })
                  : !writeScratch("pose.txt", [&](std::FILE* out) { return writePose(pose, out); }))
        return 0;
    int number = ++lastNumber_;
    Child child = {number, nullptr, false, 0, 0, false, now(), 0, 0, count};
    child.deadline = child.startedAt + count * renderDeadline(lastRender_);
    bool started = false;
    if (underWine() && !isWindowsProgram(program)) {
        child.throughShell = true;
        started = !unixPathOf(program).empty() &&
                  runShell(unixRenderScript(unixPathOf(program), imageFile(number, count), width,
                                            height, file("log", number), file("pid", number),
                                            file("status", number), count),
                           folder_);
    } else {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE log = CreateFileW(wideText(folder_ + file("log", number)).c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        started = startChild(renderCommand(program, imageFile(number, count), width, height,
                                           file("log", number), count),
                             folder_, log, isPovrayForWindows(program), job_, child.process);
        if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
        if (started && !child.process) {
            fail("POV-Ray failed", "Started " + program + " but got no process handle.");
            return 0;
        }
    }
    if (!started) {
        fail("POV-Ray failed", "Cannot start " + program + ":\n" + systemMessage(GetLastError()));
        return 0;
    }
    children_.push_back(child);
    return number;
}

bool PovrayRunner::ended(Child& child) {
    if (!child.throughShell) return WaitForSingleObject(child.process, 0) == WAIT_OBJECT_0;
    // A killed group cannot linger; its status may never come when the
    // scratch folder went away.
    return contents(folder_ + file("status", child.number)).find('\n') != std::string::npos ||
           (child.signals == 2 && now() >= child.graceEnd);
}

void PovrayRunner::end(Child& child, bool kill) {
    child.cancelled = true;
    if (!child.throughShell) {
        if (!child.signals) TerminateProcess(child.process, 1);
        child.signals = 2;
        return;
    }
    if (child.signals == 2 || (child.signals == 1 && !kill && now() < child.graceEnd)) return;
    // The shell writes the group's id at once, but it may not have run yet.
    if (!child.group &&
        std::sscanf(contents(folder_ + file("pid", child.number)).c_str(), "%d", &child.group) != 1)
        return;
    bool hard = kill || child.signals == 1;
    if (runShell(
            unixSignalScript(child.group, hard ? "KILL" : "TERM", file("status", child.number)),
            folder_)) {
        child.signals = hard ? 2 : 1;
        child.graceEnd = now() + graceTime;
    }
}

void PovrayRunner::forget(std::size_t index) {
    Child& child = children_[index];
    if (child.process) CloseHandle(child.process);
    for (const char* kind : {"out", "log", "pid", "status"})
        DeleteFileW(wideText(folder_ + file(kind, child.number)).c_str());
    for (int frame = 0; child.frames > 1 && frame < child.frames; ++frame)
        DeleteFileW(wideText(folder_ + frameImageName(imageFile(child.number, child.frames), frame))
                        .c_str());
    children_.erase(children_.begin() + std::ptrdiff_t(index));
}

bool PovrayRunner::tidy() {
    bool running = false;
    for (std::size_t i = children_.size(); i-- > 0;) {
        if (!children_[i].cancelled) continue;
        if (ended(children_[i])) {
            forget(i);
            continue;
        }
        end(children_[i], false);
        running = true;
    }
    return running;
}

PovrayRunner::State PovrayRunner::poll(int number) {
    tidy();
    problem.clear();
    error.clear();
    for (std::size_t i = 0; i < children_.size(); ++i) {
        Child& child = children_[i];
        if (child.number != number || child.cancelled) continue;
        if (!ended(child)) {
            if (now() < child.deadline) return Running;
            end(child, true);
            fail("POV-Ray did not finish",
                 "POV-Ray did not finish within " +
                     std::to_string((child.deadline - child.startedAt) / 1000) +
                     " s, so it was ended.");
            return TimedOut;
        }
        // The time of a frame: a run's deadline counts its frames.
        lastRender_ = (now() - child.startedAt) / child.frames;
        frames.assign(std::size_t(child.frames), RgbImage());
        bool rendered = true;
        for (int frame = 0; frame < child.frames; ++frame) {
            std::string name = imageFile(number, child.frames);
            if (child.frames > 1) name = frameImageName(name, frame);
            rendered &= WicImage::decode(contents(folder_ + name), frames[std::size_t(frame)]);
        }
        image = frames[0];
        if (!rendered) {
            fail("POV-Ray failed", errorLines(contents(folder_ + file("log", number)), 6));
            if (error.empty()) error = "POV-Ray wrote no image.";
        }
        forget(i);
        return rendered ? Rendered : Failed;
    }
    fail("POV-Ray failed", "No such render.");
    return Failed;
}

void PovrayRunner::cancel(int number) {
    for (Child& child : children_)
        if (child.number == number) end(child, false);
}

void PovrayRunner::close() {
    for (Child& child : children_)
        end(child, false);
    // Asked to end, then killed: the grace time and a little more.
    for (long long deadline = now() + 2 * graceTime + 500; tidy() && now() < deadline;)
        Sleep(10);
    while (!children_.empty())
        forget(children_.size() - 1);
    if (!folder_.empty()) removeFolder(folder_);
    folder_.clear();
}
