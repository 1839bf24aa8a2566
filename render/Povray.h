// Finding POV-Ray and talking to it: where the program and the scene are,
// the command that renders a pose, and what its log says went wrong.
// Needs no platform: file tests come in as a callback.
#pragma once

#include <functional>
#include <string>
#include <vector>

using FileTest = std::function<bool(const std::string& path)>;

// The variable that names the POV-Ray program, overriding the search.
inline constexpr const char* PovrayVariable = "POVRAY";

// The program names tried in each folder: the console POV-Ray, then the
// programs POV-Ray for Windows installs.
extern const std::vector<std::string> povrayNames;

// The program the variable names when it is a file; else the first file
// with one of `names` in the folders of `path` (split at `separator`),
// folder by folder; else "".
std::string findProgram(const std::string& variable, const std::string& path, char separator,
                        const std::vector<std::string>& names, const FileTest& isFile);

// Where POV-Ray for Windows 3.7 installs its programs, below the folder
// `programFiles` ("C:\Program Files").
std::string povrayInstallFolder(const std::string& programFiles);

// POV-Ray for Windows' own program (pvengine.exe, pvengine64.exe): a window
// that renders only what /RENDER names, stays open unless told /EXIT, and
// writes its messages to a file only when +GA names one.
bool isPovrayForWindows(const std::string& program);

// A Unix path as Wine shows it on drive Z:, and back ("" when the path is
// not on drive Z:).
std::string windowsPathOf(const std::string& unixPath);
std::string unixPathOf(const std::string& windowsPath);

// The folder holding TavokHead.pov and TavokHead.inc: "povray" beside the
// program, else the source tree's; "" when neither has them.
std::string findSceneFolder(const std::string& programFolder, const std::string& sourceFolder,
                            const FileTest& isFile);

// The Windows command line that renders the scene (reading pose.txt) from
// the current folder into the 24-bit BMP `image`, `width` by `height`, on
// one thread (the other cores stay with the editor), with no display
// window. POV-Ray for Windows also writes its messages to `logFile` and
// ends when done; the console POV-Ray's output is redirected by the caller.
// With several `frames` (at most MaxRunFrames), it renders the rows of
// animation.inc instead (a table of poses), each into its frame's image.
std::string renderCommand(const std::string& program, const std::string& image, int width,
                          int height, const std::string& logFile, int frames = 1);
// POV-Ray numbers a run's frames with as many digits as its last one has:
// one digit, so frameImageName can name them.
inline constexpr int MaxRunFrames = 10;
// The image of frame `frame` of such a run ("out-3-.bmp", 2: "out-3-2.bmp").
std::string frameImageName(const std::string& image, int frame);

// The Windows command line that runs `script` with the Unix shell `shell`.
std::string shellCommand(const std::string& shell, const std::string& script);

// A shell script that runs `args` (a Unix program and its arguments) to the
// end, in a process group of its own whose id it writes to `pidFile` at
// once, its output in `logFile`, then writes the exit status to
// `statusFile`. Under Wine, which gives no process handle for a Unix
// program, these files are all there is to know of it. Given `aliveFile`,
// which its starter touches while it runs, the group is killed once the
// file is `staleSeconds` old.
std::string unixRunScript(const std::vector<std::string>& args, const std::string& logFile,
                          const std::string& pidFile, const std::string& statusFile,
                          const std::string& aliveFile = "", int staleSeconds = 0);
// The render of renderCommand as such a script.
std::string unixRenderScript(const std::string& program, const std::string& image, int width,
                             int height, const std::string& logFile, const std::string& pidFile,
                             const std::string& statusFile, int frames = 1);
// A script that sends `signal` ("TERM", "KILL") to the process group `group`
// only while `statusFile` is empty, that is while that group still runs.
std::string unixSignalScript(int group, const char* signal, const std::string& statusFile);
// A script that writes the path of the Unix program `name` (or an empty
// line) to `answerFile`.
std::string unixFindScript(const std::string& name, const std::string& answerFile);

// How long a render may take, in ms: a generous multiple of the last one
// (0 when there was none), and at least some seconds.
long long renderDeadline(long long lastRender);

// The process id of a scratch folder named TavokF-<process>-<time>, or 0
// when `name` is no such name.
unsigned long scratchFolderOwner(const std::string& name);
inline constexpr const char* ScratchPrefix = "TavokF-";

// The end of POV-Ray's messages, from its first error line if it has one:
// at most `count` lines.
std::string errorLines(const std::string& log, int count);

// What a user can do when there is no POV-Ray.
extern const char* const povrayMissingText;
