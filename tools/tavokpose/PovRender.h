// Renders scenes with the POV-Ray program, each in a fresh work folder, so
// that renders can run side by side and POV-Ray's file-access rules (read
// and write in the current folder) hold wherever the user's files are.
#pragma once

#include <string>
#include <vector>

class PovRender {
  public:
    enum Result { Rendered, NotInstalled, Failed };

    // `povray` is the program to run; `sceneDir` holds TavokHead.pov and
    // TavokHead.inc.
    PovRender(std::string povray, std::string sceneDir);

    // Renders the sample scene for the pose file `pose` into `image` (PNG, or
    // PPM when its name ends in ".ppm"). `threads` 0 leaves POV-Ray's own
    // choice. On failure `error` says why.
    Result renderPose(const std::string& pose, const std::string& image, int width, int height,
                      int threads, std::string& error) const;

    // Renders `scene` (text of a scene file) in the folder `workDir`, which
    // holds the files it reads, into `image` there.
    Result renderScene(const std::string& workDir, const std::string& scene,
                       const std::string& image, int width, int height, int threads,
                       std::string& error) const;

    // Puts the finished file `from` in the place of the user's file `to`,
    // moved or else copied beside it first, so `to` is never half written;
    // on failure `error` says why.
    static bool deliver(const std::string& from, const std::string& to, std::string& error);

    // A new empty folder for one render's files; "" and `error` says why
    // when the temporary folder has no room for it.
    static std::string makeWorkDir(std::string& error);

    // How long one render may take.
    static constexpr int renderSeconds = 600;

  private:
    Result run(const std::string& workDir, std::vector<std::string> options,
               std::string& error) const;

    std::string povray_;
    std::string sceneDir_;
};
