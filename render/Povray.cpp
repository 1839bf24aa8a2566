#include "render/Povray.h"

#include <vector>

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

std::string sizeOptions(const std::string& image, int width, int height) {
    return " +ITavokHead.pov +O" + image + " +FB +W" + std::to_string(width) + " +H" +
           std::to_string(height) + " -D -P +WT1";
}

} // namespace

const char* const povrayMissingText = "POV-Ray was not found, so there is no render.\n"
                                      "Debian or Ubuntu: apt-get install povray\n"
                                      "Windows: install POV-Ray 3.7 and put povray.exe on\n"
                                      "the PATH, or set POVRAY to the program's path.\n"
                                      "Then press F5 twice.";

std::string findProgram(const std::string& variable, const std::string& path, char separator,
                        const std::string& name, const FileTest& isFile) {
    if (!variable.empty()) return isFile(variable) ? variable : std::string();
    for (const std::string& folder : split(path, separator)) {
        if (folder.empty()) continue;
        std::string candidate = joined(folder, name);
        if (isFile(candidate)) return candidate;
    }
    return {};
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
                          int height) {
    return "\"" + program + "\"" + sizeOptions(image, width, height);
}

std::string unixRenderCommand(const std::string& shell, const std::string& program,
                              const std::string& image, int width, int height,
                              const std::string& logFile, const std::string& pidFile,
                              const std::string& statusFile) {
    return "\"" + shell + "\" -c \"'" + program + "'" + sizeOptions(image, width, height) + " >" +
           logFile + " 2>&1 & echo $! >" + pidFile + "; wait $!; echo $? >" + statusFile + "\"";
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
    if (firstError != std::string::npos && firstError > from) from = firstError;
    std::string text;
    for (std::size_t i = from; i < lines.size(); ++i)
        text += (text.empty() ? "" : "\n") + lines[i];
    return text;
}
