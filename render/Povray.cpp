#include "render/Povray.h"

#include "render/Quoting.h"

#include <algorithm>
#include <cctype>

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    char last = folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + "\\" + name;
}

std::vector<std::string> renderOptions(const std::string& image, int width, int height,
                                       int frames) {
    std::vector<std::string> options = {
        "+O" + image, "+FB", "+W" + std::to_string(width), "+H" + std::to_string(height), "-D",
        "-P",         "+WT1"};
    // Several poses are the rows of the scene's animation include.
    if (frames > 1)
        options.insert(options.end(),
                       {"Declare=Animation=1", "+KFI0", "+KFF" + std::to_string(frames - 1)});
    return options;
}

std::string lowered(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

const char* const povrayMissingText = "POV-Ray was not found, so there is no render.\n"
                                      "Debian or Ubuntu: apt-get install povray\n"
                                      "Windows: install POV-Ray 3.7; its pvengine64.exe\n"
                                      "is found in Program Files\\POV-Ray\\v3.7\\bin.\n"
                                      "Or set POVRAY to the program's path.\n"
                                      "Then press F5 twice.";

const std::vector<std::string> povrayNames = {"povray.exe", "pvengine64.exe", "pvengine.exe"};

std::string findProgram(const std::string& variable, const std::string& path, char separator,
                        const std::vector<std::string>& names, const FileTest& isFile) {
    if (!variable.empty()) return isFile(variable) ? variable : std::string();
    for (const std::string& folder : split(path, separator)) {
        if (folder.empty()) continue;
        for (const std::string& name : names)
            if (isFile(joined(folder, name))) return joined(folder, name);
    }
    return {};
}

std::string povrayInstallFolder(const std::string& programFiles) {
    return joined(programFiles, "POV-Ray\\v3.7\\bin");
}

bool isPovrayForWindows(const std::string& program) {
    std::string name = lowered(program.substr(program.find_last_of("\\/") + 1));
    return name.compare(0, 8, "pvengine") == 0;
}

std::string windowsPathOf(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string unixPathOf(const std::string& windowsPath) {
    if (windowsPath.size() < 3 || (windowsPath[0] != 'Z' && windowsPath[0] != 'z') ||
        windowsPath[1] != ':')
        return {};
    std::string path = windowsPath.substr(2);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string findSceneFolder(const std::string& programFolder, const std::string& sourceFolder,
                            const FileTest& isFile) {
    for (const std::string& folder : {joined(programFolder, "povray"), sourceFolder})
        if (isFile(joined(folder, "TavokHead.pov")) && isFile(joined(folder, "TavokHead.inc")))
            return folder;
    return {};
}

std::string renderCommand(const std::string& program, const std::string& image, int width,
                          int height, const std::string& logFile, int frames) {
    std::vector<std::string> args = {program, "+ITavokHead.pov"};
    if (isPovrayForWindows(program)) args = {program, "/EXIT", "/RENDER", "TavokHead.pov"};
    for (const std::string& option : renderOptions(image, width, height, frames))
        args.push_back(option);
    if (isPovrayForWindows(program)) args.push_back("+GA" + logFile);
    std::string line = windowsLine(args);
    return line;
}

std::string frameImageName(const std::string& image, int frame) {
    std::string::size_type dot = image.rfind('.');
    return image.substr(0, dot) + std::to_string(frame) + image.substr(dot);
}

std::string shellCommand(const std::string& shell, const std::string& script) {
    return windowsArgument(shell) + " -c " + windowsArgument(script);
}

std::string unixRunScript(const std::vector<std::string>& args, const std::string& logFile,
                          const std::string& pidFile, const std::string& statusFile,
                          const std::string& aliveFile, int staleSeconds) {
    // setsid makes the group; its first process writes the group's id (its
    // own) and becomes the program; setsid -w waits for it to end.
    std::string script = "rm -f " + shellQuoted(pidFile) +
                         "\nsetsid -w sh -c 'echo $$ >\"$1\"; shift; exec \"$@\"' sh " +
                         shellQuoted(pidFile);
    for (const std::string& arg : args)
        script += " " + shellQuoted(arg);
    script += " </dev/null >" + shellQuoted(logFile) + " 2>&1 &\nrun=$! watch=\n";
    // The group is in no job of Wine's, and Wine does not start it as a
    // child that could ask for a signal at its parent's death: it ends when
    // its starter stops touching the file, however the starter ended. The
    // watcher counts seconds of the system's uptime, not turns of its loop,
    // which a loaded machine stretches; no clock step moves it, and a turn
    // counts 5 s at most, so a machine waking from sleep does not end a live
    // starter's render. A file gone is a starter gone, even one gone before
    // the group has written its id: the watcher waits for the id.
    if (!aliveFile.empty())
        script += "(last= idle=0 prev=\nwhile m=$(stat -c %Y " + shellQuoted(aliveFile) +
                  " 2>/dev/null); do\nnow=$((prev + 1)); { read up _ </proc/uptime && "
                  "now=${up%.*}; } 2>/dev/null\nstep=$((now - ${prev:-$now})); prev=$now; "
                  "[ $step -le 5 ] || step=5\n[ \"$m\" = \"$last\" ] && idle=$((idle + step)) "
                  "|| { last=$m; idle=0; }\n[ $idle -lt " +
                  std::to_string(staleSeconds) +
                  " ] || break\n(cd / && exec sleep 1)\ndone\nwhile [ ! -s " +
                  shellQuoted(pidFile) +
                  " ] && kill -0 $run 2>/dev/null; do (cd / && exec sleep 0.1); done\n"
                  "kill -s KILL -- -\"$(cat " +
                  shellQuoted(pidFile) + ")\") &\nwatch=$!\n";
    // The shell would say "Killed" on our output for a cancelled program.
    return script +
           "wait $run 2>/dev/null\nstatus=$?\n[ -z \"$watch\" ] || kill $watch 2>/dev/null\necho "
           "$status >" +
           shellQuoted(statusFile);
}

std::string unixRenderScript(const std::string& program, const std::string& image, int width,
                             int height, const std::string& logFile, const std::string& pidFile,
                             const std::string& statusFile, int frames) {
    std::vector<std::string> args = {program, "+ITavokHead.pov"};
    for (const std::string& option : renderOptions(image, width, height, frames))
        args.push_back(option);
    return unixRunScript(args, logFile, pidFile, statusFile);
}

std::string unixSignalScript(int group, const char* signal, const std::string& statusFile) {
    return "test -s " + shellQuoted(statusFile) + " || kill -s " + signal + " -- -" +
           std::to_string(group);
}

std::string unixFindScript(const std::string& name, const std::string& answerFile) {
    return "echo \"$(command -v " + shellQuoted(name) + ")\" >" + shellQuoted(answerFile);
}

long long renderDeadline(long long lastRender) {
    return std::max(10000LL, 10 * lastRender);
}

unsigned long scratchFolderOwner(const std::string& name) {
    std::string prefix = ScratchPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    std::string rest = name.substr(prefix.size());
    std::string::size_type dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 9 || dash + 1 == rest.size() ||
        rest.find_first_not_of("0123456789-") != std::string::npos ||
        rest.find('-', dash + 1) != std::string::npos)
        return 0;
    return std::stoul(rest.substr(0, dash));
}

std::string errorLines(const std::string& log, int count) {
    std::vector<std::string> lines;
    std::size_t firstError = std::string::npos;
    for (std::string line : split(log, '\n')) {
        // Progress lines end in carriage returns; the last state counts.
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = line.substr(line.rfind('\r') == std::string::npos ? 0 : line.rfind('\r') + 1);
        if (line.find_first_not_of(" -=") == std::string::npos) continue;
        if (firstError == std::string::npos && line.find("rror") != std::string::npos)
            firstError = lines.size();
        lines.push_back(line);
    }
    std::size_t from = lines.size() > std::size_t(count) ? lines.size() - count : 0;
    std::string text;
    if (firstError != std::string::npos && firstError >= from)
        from = firstError;
    else if (firstError != std::string::npos && count > 0) {
        // The error line says what went wrong: it stays, the lines after it
        // fill what room is left.
        text = lines[firstError];
        from = std::max(from + 1, firstError + 1);
    }
    for (std::size_t i = from; i < lines.size(); ++i)
        text += (text.empty() ? "" : "\n") + lines[i];
    return text;
}
