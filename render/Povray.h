// Finding POV-Ray and talking to it: where the program and the scene are,
// the command that renders a pose, and what its log says went wrong.
// Needs no platform: file tests come in as a callback.
#pragma once

#include <functional>
#include <string>

using FileTest = std::function<bool(const std::string& path)>;

// The variable that names the POV-Ray program, overriding the search.
inline constexpr const char* PovrayVariable = "POVRAY";

// The program the variable names when it is a file; else the first folder
// of `path` (split at `separator`) holding a file `name`; else "".
std::string findProgram(const std::string& variable, const std::string& path, char separator,
                        const std::string& name, const FileTest& isFile);

// A Unix path as Wine shows it on drive Z:, and back ("" when the path is
// not on drive Z:).
std::string windowsPathOf(const std::string& unixPath);
std::string unixPathOf(const std::string& windowsPath);

// The folder holding TavokHead.pov and TavokHead.inc: "povray" beside the
// program, else the source tree's; "" when neither has them.
std::string findSceneFolder(const std::string& programFolder, const std::string& sourceFolder,
                            const FileTest& isFile);

// The command line that renders pose.txt from the current folder into the
// 24-bit BMP `image`, `width` by `height`, on one thread (the other cores
// stay with the editor), with no display window.
std::string renderCommand(const std::string& program, const std::string& image, int width,
                          int height);

// The same started through the Unix shell, for a Unix POV-Ray under Wine,
// which gives no process handle: the shell writes the child's process id to
// `pidFile` at once and its exit status to `statusFile` when it ends, and
// sends its messages to `logFile`.
std::string unixRenderCommand(const std::string& shell, const std::string& program,
                              const std::string& image, int width, int height,
                              const std::string& logFile, const std::string& pidFile,
                              const std::string& statusFile);

// The end of POV-Ray's messages, from its first error line if it has one:
// at most `count` lines.
std::string errorLines(const std::string& log, int count);

// What a user can do when there is no POV-Ray.
extern const char* const povrayMissingText;
