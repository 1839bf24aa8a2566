#include "tools/tavokpose/PovRender.h"

#include "render/Povray.h"
#include "tools/tavokpose/Process.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Moves a finished image to where the user asked for it.
} // namespace

bool PovRender::deliver(const std::string& from, const std::string& to, std::string& error) {
    std::error_code code;
    fs::path source = fs::u8path(from), target = fs::u8path(to), beside = fs::u8path(to + ".new");
    fs::rename(source, target, code);
    if (!code) return true;
    // Another disk: a complete copy beside it first, then in its place.
    fs::copy_file(source, beside, fs::copy_options::overwrite_existing, code);
    if (!code) fs::rename(beside, target, code);
    if (!code) return true;
    error = "cannot write " + to + ": " + code.message();
    fs::remove(beside, code);
    return false;
}

PovRender::PovRender(std::string povray, std::string sceneDir)
    : povray_(std::move(povray)), sceneDir_(std::move(sceneDir)) {}

std::string PovRender::makeWorkDir(std::string& error) {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::error_code code;
    fs::path temp = fs::temp_directory_path(code);
    for (bool made = false; !code;) {
        fs::path dir =
            temp / ("tavokpose-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        made = fs::create_directory(dir, code);
        if (made) return dir.u8string();
    }
    error = "cannot make a work folder in the temporary folder" +
            (temp.empty() ? "" : " " + temp.u8string()) + " (TMPDIR, TMP): " + code.message();
    return {};
}

PovRender::Result PovRender::run(const std::string& workDir, std::vector<std::string> options,
                                 std::string& error) const {
    // No display window, no pause, and the log keeps what went wrong.
    options.insert(options.end(), {"-D", "-P", "-V"});
    // POV-Ray for Windows renders what /RENDER names and then ends; its
    // messages go only to the file +GA names.
    if (isPovrayForWindows(povray_)) {
        options[0] = options[0].substr(2);
        options.insert(options.begin(), {"/EXIT", "/RENDER"});
        options.push_back("+GApovray.log");
    }
    options.insert(options.begin(), povray_);
    ProcessResult result = runProcess(options, workDir, "povray.log", renderSeconds);
    if (!result.started) {
        error = "cannot run \"" + povray_ +
                "\": POV-Ray 3.7 is needed. Install it (Debian and Ubuntu: apt-get install "
                "povray) or set POVRAY to the program's path.";
        return NotInstalled;
    }
    if (result.exitCode == -1) {
        error = "povray did not finish within " + std::to_string(renderSeconds) + " s";
        return Failed;
    }
    if (result.exitCode != 0) {
        std::ifstream in(fs::u8path(workDir) / "povray.log", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        error = "povray failed (exit code " + std::to_string(result.exitCode) + "):\n" +
                errorLines(text.str(), 6);
        return Failed;
    }
    return Rendered;
}

PovRender::Result PovRender::renderScene(const std::string& workDir, const std::string& scene,
                                         const std::string& image, int width, int height,
                                         int threads, std::string& error) const {
    std::ofstream(fs::u8path(workDir) / "scene.pov", std::ios::binary) << scene;
    std::vector<std::string> options = {"+Iscene.pov",
                                        "+O" + image,
                                        endsWith(image, ".ppm") ? "+FP" : "+FN",
                                        "+W" + std::to_string(width),
                                        "+H" + std::to_string(height),
                                        "+A0.1"};
    if (threads > 0) options.push_back("+WT" + std::to_string(threads));
    Result result = run(workDir, options, error);
    if (result == Rendered && !fs::exists(fs::u8path(workDir) / fs::u8path(image))) {
        error = "povray wrote no image";
        return Failed;
    }
    return result;
}

PovRender::Result PovRender::renderPose(const std::string& pose, const std::string& image,
                                        int width, int height, int threads,
                                        std::string& error) const {
    fs::path scene = fs::u8path(sceneDir_) / "TavokHead.pov";
    if (!fs::exists(scene)) {
        error = "the sample scene is missing: " + scene.u8string() +
                " (set TAVOK_SCENE_DIR to the folder of TavokHead.pov)";
        return Failed;
    }
    std::string workDir = makeWorkDir(error);
    if (workDir.empty()) return Failed;
    // POV-Ray reads the pose as "pose.txt" and the scene's include from its
    // current folder: all names it is given stay relative, which a Unix
    // POV-Ray started from Windows needs.
    std::error_code code;
    fs::path work = fs::u8path(workDir);
    fs::copy_file(fs::u8path(pose), work / "pose.txt", code);
    if (!code) fs::copy_file(fs::u8path(sceneDir_) / "TavokHead.inc", work / "TavokHead.inc", code);
    std::ifstream sceneText(scene, std::ios::binary);
    std::stringstream text;
    text << sceneText.rdbuf();
    std::string name = endsWith(image, ".ppm") ? "image.ppm" : "image.png";
    Result result = Failed;
    if (code)
        error = "cannot copy " + pose + ": " + code.message();
    else
        result = renderScene(workDir, text.str(), name, width, height, threads, error);
    if (result == Rendered && !deliver((work / name).u8string(), image, error)) result = Failed;
    fs::remove_all(work, code);
    return result;
}
