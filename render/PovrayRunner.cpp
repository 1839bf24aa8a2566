#include "render/PovrayRunner.h"

#include "face/PoseFile.h"
#include "render/Povray.h"
#include "render/WicImage.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <windows.h>

namespace {

bool isFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string variable(const char* name) {
    char value[4096];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool underWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Under Wine Unix programs are started through the Unix shell: it gives
// what Wine does not (the child's id, its end) and knows the Unix PATH,
// which is not the PATH the Windows side sees.
const char* const unixShell = "Z:\\bin\\sh";

// A Unix program, which Wine starts without giving a process handle.
bool isUnixProgram(const std::string& path) {
    char start[4] = {};
    std::ifstream(path, std::ios::binary).read(start, sizeof start);
    return std::memcmp(start, "\177ELF", sizeof start) == 0;
}

std::string programFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string program = length > 0 && length < sizeof path ? std::string(path) : std::string();
    return program.substr(0, program.find_last_of('\\') + 1);
}

bool startProcess(std::string command, const std::string& folder, HANDLE log, HANDLE& process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (log != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = log;
        startup.hStdError = log;
    }
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, log != INVALID_HANDLE_VALUE,
                        CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    process = info.hProcess;
    return true;
}

} // namespace

std::string PovrayRunner::findPovray() {
    std::string named = variable(PovrayVariable);
    // Under Wine the variable may hold a Unix path.
    if (!named.empty() && named[0] == '/') named = windowsPathOf(named);
    std::string found = findProgram(named, variable("PATH"), ';', "povray.exe", isFile);
    if (!found.empty() || !named.empty() || !underWine() || !isFile(unixShell) || !prepare())
        return found;
    // Ask the shell (with its builtins only: the PATH may hold nothing
    // else), judging by the line it writes, for a few seconds at most.
    HANDLE none = nullptr;
    std::string answer = folder_ + "povray-path.txt";
    if (!startProcess("\"" + std::string(unixShell) +
                          "\" -c \"echo \\\"$(command -v povray)\\\" >povray-path.txt\"",
                      folder_, INVALID_HANDLE_VALUE, none))
        return found;
    std::string path;
    for (DWORD deadline = GetTickCount() + 3000;
         (path = contents(answer)).find('\n') == std::string::npos && GetTickCount() < deadline;)
        Sleep(5);
    DeleteFileA(answer.c_str());
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r'))
        path.pop_back();
    if (!path.empty() && path[0] == '/' && isFile(windowsPathOf(path))) found = windowsPathOf(path);
    return found;
}

std::string PovrayRunner::findScene() {
    return findSceneFolder(programFolder(), windowsPathOf(TAVOK_SOURCE_SCENE), isFile);
}

std::string PovrayRunner::file(const char* kind, int number) const {
    return std::string(kind) + "-" + std::to_string(number) + (kind[0] == 'o' ? ".bmp" : ".txt");
}

bool PovrayRunner::prepare() {
    if (!folder_.empty()) return true;
    scene_ = findScene();
    if (scene_.empty()) {
        error = "The scene files TavokHead.pov and TavokHead.inc were not found\n"
                "in the povray folder beside the program.";
        return false;
    }
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) return false;
    std::string folder = std::string(temp) + "TavokF-" + std::to_string(GetCurrentProcessId()) +
                         "-" + std::to_string(GetTickCount());
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        error = "Cannot make the scratch folder " + folder;
        return false;
    }
    folder_ = folder + "\\";
    for (const char* name : {"TavokHead.pov", "TavokHead.inc"})
        if (!CopyFileA((scene_ + "\\" + name).c_str(), (folder_ + name).c_str(), FALSE)) {
            error = std::string("Cannot copy ") + name + " to " + folder_;
            return false;
        }
    return true;
}

int PovrayRunner::start(const std::string& program, const float* pose, int width, int height) {
    error.clear();
    sweep();
    if (!prepare()) return 0;
    if (writePoseFile(pose, (folder_ + "pose.txt").c_str()) != PoseFileOk) {
        error = "Cannot write the pose to " + folder_;
        return 0;
    }
    int number = ++lastNumber_;
    HANDLE process = nullptr;
    bool started = false;
    if (isUnixProgram(program)) {
        started = startProcess(
            unixRenderCommand(unixShell, unixPathOf(program), file("out", number), width, height,
                              file("log", number), file("pid", number), file("status", number)),
            folder_, INVALID_HANDLE_VALUE, process);
    } else {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE log =
            CreateFileA((folder_ + file("log", number)).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                        &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        started = startProcess(renderCommand(program, file("out", number), width, height), folder_,
                               log, process);
        if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
    }
    if (!started) {
        error = "Cannot start " + program;
        return 0;
    }
    children_.push_back({number, process, false, false});
    return number;
}

bool PovrayRunner::ended(Child& child) {
    if (child.process) return WaitForSingleObject(child.process, 0) == WAIT_OBJECT_0;
    return contents(folder_ + file("status", child.number)).find('\n') != std::string::npos;
}

void PovrayRunner::end(Child& child) {
    child.cancelled = true;
    if (child.process) {
        TerminateProcess(child.process, 1);
        child.killSent = true;
        return;
    }
    // The shell writes the id at once, but it may not have run yet.
    int id = 0;
    if (child.killSent ||
        std::sscanf(contents(folder_ + file("pid", child.number)).c_str(), "%d", &id) != 1)
        return;
    HANDLE none = nullptr;
    child.killSent =
        startProcess("\"" + std::string(unixShell) + "\" -c \"kill " + std::to_string(id) + "\"",
                     folder_, INVALID_HANDLE_VALUE, none);
}

void PovrayRunner::forget(std::size_t index) {
    Child& child = children_[index];
    if (child.process) CloseHandle(child.process);
    for (const char* kind : {"out", "log", "pid", "status"})
        DeleteFileA((folder_ + file(kind, child.number)).c_str());
    children_.erase(children_.begin() + std::ptrdiff_t(index));
}

void PovrayRunner::sweep() {
    for (std::size_t i = children_.size(); i-- > 0;) {
        if (!children_[i].cancelled) continue;
        if (ended(children_[i]))
            forget(i);
        else if (!children_[i].killSent)
            end(children_[i]);
    }
}

PovrayRunner::State PovrayRunner::poll(int number) {
    sweep();
    for (std::size_t i = 0; i < children_.size(); ++i) {
        if (children_[i].number != number) continue;
        if (!ended(children_[i])) return Running;
        bool rendered = WicImage::decode(contents(folder_ + file("out", number)), image);
        if (!rendered) {
            error = errorLines(contents(folder_ + file("log", number)), 6);
            if (error.empty()) error = "POV-Ray wrote no image.";
        }
        forget(i);
        return rendered ? Rendered : Failed;
    }
    error = "No such render.";
    return Failed;
}

void PovrayRunner::cancel(int number) {
    for (Child& child : children_)
        if (child.number == number) end(child);
}

void PovrayRunner::close() {
    for (Child& child : children_)
        end(child);
    DWORD deadline = GetTickCount() + 3000;
    while (!children_.empty() && GetTickCount() < deadline) {
        sweep();
        Sleep(10);
    }
    while (!children_.empty())
        forget(children_.size() - 1);
    if (folder_.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((folder_ + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder_.substr(0, folder_.size() - 1).c_str());
    folder_.clear();
}
