// The tavokpose commands, run in process; rendering runs the real POV-Ray.
#include "animation/AnimationFile.h"
#include "face/PoseFile.h"
#include "tools/tavokpose/PovRender.h"
#include "tools/tavokpose/Process.h"
#include "tools/tavokpose/TavokPose.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char* const defaultPose =
    "<0,0,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n0,\r\n0,\r\n0,\r\n0,\r\n0\r\n";
// Both eyes shut by their upper lids.
const char* const blinkPose = "<0,0,0>,0.5,\r\n30,90,\r\n30,90,\r\n0,\r\n0,\r\n0,\r\n0,\r\n0\r\n";

struct Image {
    int width = 0;
    int height = 0;
    std::string rgb;
    int luminance(int x, int y) const {
        const char* p = &rgb[3 * std::size_t(y * width + x)];
        return (unsigned char)p[0] + (unsigned char)p[1] + (unsigned char)p[2];
    }
};

Image readPpm(const fs::path& file) {
    Image image;
    std::ifstream in(file, std::ios::binary);
    // The header's words, any of them after a comment line.
    auto word = [&in] {
        std::string text;
        while (in >> text && text[0] == '#')
            std::getline(in, text);
        return text;
    };
    std::string magic = word();
    image.width = std::atoi(word().c_str());
    image.height = std::atoi(word().c_str());
    int depth = std::atoi(word().c_str());
    in.get();
    image.rgb.resize(3 * std::size_t(image.width) * std::size_t(image.height));
    in.read(&image.rgb[0], std::streamsize(image.rgb.size()));
    if (magic != "P6" || depth != 255 || !in) image = {};
    return image;
}

class Tool : public TestFolder {
  protected:
    Tool() : TestFolder("tavok-tool-") {
        setup.sceneDir = TAVOK_SCENE_DIR;
        setup.cores = 2;
    }

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return TavokPose(setup, out, err).run(args);
    }

    // Renders `pose` at 64 x 48 through the render command.
    Image render(const std::string& pose, const char* name) {
        std::string image = path(std::string(name) + ".ppm");
        int result =
            run({"render", put(std::string(name) + ".txt", pose), image, "--size", "64x48"});
        EXPECT_EQ(result, ExitOk) << err.str();
        return readPpm(fs::u8path(image));
    }

    TavokPose::Setup setup;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(Tool, CheckAgreesWithTheReader) {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(TAVOK_FUZZ_CORPUS))
        files.push_back(entry.path().string());
    std::string line199 = "0" + std::string(198, ' ');
    for (const char* bytes :
         {"", "<1,2,3>,4\n5\n7,8\n0\n0\n0\n0\n0\n", "<1,2,3>,4\n5,6\n7,8\n0\n0\n0\n0\n",
          "<1,2,inf>,4\n", "<1,2,3>,4\r\n5,6\r\n7,8\r\n0x1\r\n0\r\n0\r\n0\r\n0"})
        files.push_back(put("case" + std::to_string(files.size()) + ".txt", bytes));
    files.push_back(
        put("long.txt", "<1,2,3>,4\r\n5,6\r\n7,8\r\n" + line199 + "\r\n0\r\n0\r\n0\r\n0"));
    files.push_back(put("longer.txt", "<1,2,3>,4\n5,6\n7,8\n" + line199 + " \n0\n0\n0\n0"));

    bool allGood = true;
    for (const std::string& file : files) {
        float pose[PoseCount];
        PoseReadError error;
        bool good = readPoseFile(pose, file.c_str(), &error) == PoseFileOk;
        allGood = allGood && good;
        EXPECT_EQ(run({"check", file}), good ? ExitOk : ExitBadInput) << file;
        std::string expected =
            good ? file + ": ok\n" : file + ":" + std::to_string(error.line) + ": ";
        EXPECT_EQ((good ? out : err).str().substr(0, expected.size()), expected);
    }
    EXPECT_FALSE(allGood) << "the cases include bad files";
    // The message counts the bad value from 1.
    run({"check", put("third.txt", "<1,2,inf>,4\n")});
    EXPECT_NE(err.str().find(":1: expected \"<n,n,n>,n\": number 3 "), std::string::npos)
        << err.str();
    // Several files: each is reported, and one bad file fails the whole check.
    std::string good = put("good.txt", defaultPose);
    EXPECT_EQ(run({"check", good, files.back(), (dir / "missing.txt").string()}), ExitBadInput);
    EXPECT_EQ(out.str(), good + ": ok\n");
    EXPECT_NE(err.str().find("longer.txt:4: line longer than 199"), std::string::npos);
    EXPECT_NE(err.str().find("missing.txt: no such file"), std::string::npos);
}

TEST_F(Tool, UsageErrorsExitTwo) {
    EXPECT_EQ(run({"--help"}), ExitOk);
    EXPECT_NE(out.str().find("Exit codes"), std::string::npos);
    std::string pose = put("pose.txt", defaultPose);
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"paint"},
        {"check"},
        {"render", pose},
        {"render", pose, "a.png", "--size", "64"},
        {"render", pose, "a.png", "--size", "0x48"},
        {"render", pose, "a.png", "--colour"},
        {"sheet", dir.string(), "a.png", "--jobs"},
        {"blend", pose, pose},
    };
    for (const auto& args : misuses) {
        EXPECT_EQ(run(args), ExitUsage) << (args.empty() ? "" : args[0]);
        EXPECT_NE(err.str().find("--help"), std::string::npos);
    }
}

TEST_F(Tool, BadInputExitsOneAndMissingPovRayThree) {
    std::string pose = put("pose.txt", defaultPose);
    EXPECT_EQ(run({"render", put("bad.txt", "<1,2>\n"), (dir / "a.png").string()}), ExitBadInput);
    EXPECT_EQ(run({"render", pose, (dir / "no/such/a.png").string()}), ExitBadInput);
    EXPECT_EQ(run({"sheet", (dir / "empty").string(), "a.png"}), ExitBadInput);
    fs::create_directory(dir / "empty");
    EXPECT_EQ(run({"sheet", (dir / "empty").string(), "a.png"}), ExitBadInput);
    EXPECT_NE(err.str().find("no pose files"), std::string::npos);
    EXPECT_EQ(run({"blend", pose, (dir / "none.txt").string(), "b.inc"}), ExitBadInput);
    EXPECT_EQ(run({"blend", (dir / "none.txt").string(), pose, "b.inc"}), ExitBadInput);

    setup.povray = (dir / "no-povray-here").string();
    EXPECT_EQ(run({"render", pose, (dir / "a.png").string()}), ExitRenderFailed);
    EXPECT_NE(err.str().find("install"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "a.png"));
}

// Under Wine these run Debian's POV-Ray through the Unix shell.
TEST_F(Tool, SceneTakesDefaultAndExtremePoses) {
    Image normal = render(defaultPose, "\xe6\x97\xa5\xe6\x9c\xac \xc3\xa9");
    EXPECT_EQ(normal.width, 64);
    EXPECT_EQ(normal.height, 48);
    for (const char* extreme :
         {"<90,90,360>,1,\n90,90,\n90,90,\n1,\n1,\n1,\n1,\n1\n",
          "<-90,-90,-360>,0,\n-90,-90,\n-90,-90,\n-1,\n-1,\n-1,\n-1,\n-1\n"}) {
        Image image = render(extreme, "extreme");
        EXPECT_EQ(image.rgb.size(), normal.rgb.size());
        EXPECT_NE(image.rgb, normal.rgb);
    }
}

TEST_F(Tool, BlinkDarkensOnlyTheEyes) {
    Image open = render(defaultPose, "open");
    Image shut = render(blinkPose, "shut");
    ASSERT_EQ(open.rgb.size(), shut.rgb.size());
    ASSERT_FALSE(open.rgb.empty());
    long upperOpen = 0, upperShut = 0;
    int changed = 0;
    for (int y = 0; y < open.height; ++y)
        for (int x = 0; x < open.width; ++x) {
            if (open.luminance(x, y) == shut.luminance(x, y)) continue;
            ++changed;
            EXPECT_LT(y, open.height / 2) << "a change below the eyes at " << x << "," << y;
            upperOpen += open.luminance(x, y);
            upperShut += shut.luminance(x, y);
        }
    EXPECT_GT(changed, 10);
    EXPECT_LT(upperShut, upperOpen * 3 / 4);
}

TEST_F(Tool, BlendGivesBothPosesExactlyAtItsEnds) {
    std::string a = put("a.txt", "<-12.5,1e-05,360>,0.55,\n0.1,-30,\n1.5e+06,-0.25,\n1,\n-1,\n0.05,"
                                 "\n123456,\n7.45058e-10\n");
    std::string b =
        put("b.txt", "<3,1e-05,-0.3>,0.1,\n0.45,-90,\n0.2,0.7,\n-1,\n1,\n0.05,\n0,\n-1\n");
    ASSERT_EQ(run({"blend", a, b, put("blend.inc", "")}), ExitOk) << err.str();
    std::string c = put("caf\xc3\xa9.txt", fileBytes(a)), e = path("\xe2\x82\xac");
    ASSERT_EQ(run({"blend", c, put("\xe6\x97\xa5.txt", fileBytes(b)), e}), ExitOk) << err.str();
    EXPECT_EQ(fileBytes(e).find("caf\xc3\xa9.txt at clock 0 to \xe6\x97\xa5.txt "), 8u);
    put("check.pov", "#version 3.7;\n"
                     "#macro Pose(E, P, L0, L1, L2, L3, M0, M1, M2, M3, M4)\n"
                     "  array[13] { E.x, E.y, E.z, P, L0, L1, L2, L3, M0, M1, M2, M3, M4 }\n"
                     "#end\n"
                     "#declare Blend = Pose(\n#include \"blend.inc\"\n);\n"
                     "#declare A = Pose(\n#include \"a.txt\"\n);\n"
                     "#declare B = Pose(\n#include \"b.txt\"\n);\n"
                     "#for (I, 0, 12)\n"
                     "  #declare Want = A[I] * (1 - clock) + B[I] * clock;\n"
                     "  // POV-Ray compares with a tolerance: scale the difference past it.\n"
                     "  #if ((clock = 0 | clock = 1) & abs(Blend[I] - Want) * 1e30 > 1)\n"
                     "    #error concat(\"value \", str(I, 0, 0), \" differs\")\n"
                     "  #end\n"
                     "  #if (abs(Blend[I] - Want) > 1e-9 * max(1, abs(Want)))\n"
                     "    #error concat(\"value \", str(I, 0, 0), \" is off the line\")\n"
                     "  #end\n"
                     "#end\n"
                     "camera { location -z look_at 0 }\n");
    for (const char* clock : {"+K0", "+K1", "+K0.37"}) {
        ProcessResult result = runProcess(
            {setup.povray, "+Icheck.pov", "+Ocheck.png", "+W2", "+H2", "-D", "-V", clock},
            dir.string(), "povray.log", 60);
        ASSERT_TRUE(result.started);
        std::ifstream log(dir / "povray.log");
        std::stringstream text;
        text << log.rdbuf();
        EXPECT_EQ(result.exitCode, 0) << clock << "\n" << text.str();
    }
}

TEST_F(Tool, ExportedFrameRendersAsThePoseFileOfThatFrame) {
    std::string animation =
        put("blink.tfa", "TavokFace animation\r\nframes per second: 25\r\nlength in frames: 25\r\n"
                         "interpolation: smooth\r\n"
                         "key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n"
                         "key 9: <10,-20,30>,0.8, 30,60, 45,90, 0.2, 0.4, 0.6, 0.4, 0.2\r\n"
                         "key 24: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n");
    ASSERT_EQ(run({"check", animation}), ExitOk) << err.str();
    std::string bad = put("bad.tfa", "TavokFace animation\r\nframes per second: 90\r\n");
    EXPECT_EQ(run({"check", bad}), ExitBadInput);
    EXPECT_EQ(err.str(), bad + ":2: expected \"frames per second: N\" with N from 1 to 60\n");
    ASSERT_EQ(run({"export", animation, put("animation.inc", "")}), ExitOk) << err.str();
    for (const char* file : {"TavokHead.pov", "TavokHead.inc"})
        fs::copy_file(fs::path(TAVOK_SCENE_DIR) / file, dir / file);
    Animation editor;
    ASSERT_EQ(readAnimationFile(editor, animation.c_str()), PoseFileOk);
    auto render = [&](std::vector<std::string> options, const std::string& written) {
        options.insert(options.begin(), {setup.povray, "+ITavokHead.pov", "+Oframe.ppm", "+FP",
                                         "+W48", "+H36", "-D", "-V"});
        ProcessResult result = runProcess(options, dir.string(), "povray.log", 60);
        EXPECT_TRUE(result.started && result.exitCode == 0) << written;
        return readPpm(dir / written);
    };
    for (int frame : {4, 9, 17}) {
        float pose[PoseCount];
        ASSERT_TRUE(editor.poseAt(frame, pose));
        ASSERT_EQ(writePoseFile(pose, (dir / "pose.txt").string().c_str()), PoseFileOk);
        Image still = render({}, "frame.ppm");
        std::string k = std::to_string(frame);
        // POV-Ray numbers an animation's frames in its image names.
        Image animated = render({"Declare=Animation=1", "+KFI0", "+KFF24", "+SF" + k, "+EF" + k},
                                "frame" + std::string(frame < 10 ? "0" : "") + k + ".ppm");
        ASSERT_GT(still.width, 0);
        EXPECT_TRUE(still.rgb == animated.rgb) << "frame " << frame;
    }
}

TEST_F(Tool, AnimateStartsPovRayAndFfmpegAsTheEditorDoes) {
    // Under Wine, Debian's POV-Ray and ffmpeg are Unix programs: they run
    // through the Unix shell, as the editor's renders do. Names keep every letter.
    fs::path animation = dir / fs::u8path("w 'k' \xc3\xa9.tfa"),
             frames = dir / fs::u8path("o \xc3\xa9");
    std::ofstream(animation, std::ios::binary)
        << "TavokFace animation\r\nframes per second: 25\r\nlength in frames: 3\r\n"
           "interpolation: linear\r\nkey 2: <0,0,0>,0.5, 30,90, 30,-30, 0, 0, 0, 0, 0\r\n";
    ASSERT_EQ(run({"animate", animation.u8string(), frames.u8string(), "--size", "32x24", "--jobs",
                   "2", "--gif", (dir / "w.gif").u8string()}),
              ExitOk)
        << err.str();
    for (const char* number : {"0", "1", "2"}) {
        std::ifstream png(frames / fs::u8path("w 'k' \xc3\xa9" + std::string(number) + ".png"),
                          std::ios::binary);
        char signature[4] = {};
        png.read(signature, sizeof signature);
        EXPECT_EQ(std::string(signature, 4), "\x89PNG") << number;
    }
    EXPECT_EQ(fileBytes((dir / "w.gif").string()).substr(0, 4), "GIF8");
}

TEST_F(Tool, SheetLaysOutEveryPoseFile) {
    put("poses/open.txt", defaultPose);
    put("poses/\xe6\x97\xa5\xe6\x9c\xac.bas", blinkPose);
    put("poses/notes.md", "not a pose");
    std::string sheet = path("\xe2\x82\xac.png");
    ASSERT_EQ(run({"sheet", (dir / "poses").string(), sheet, "--size", "32x24"}), ExitOk)
        << err.str();
    EXPECT_NE(out.str().find("[2/2]"), std::string::npos);
    // Two tiles side by side, each over a 12-pixel label strip.
    std::ifstream png(fs::u8path(sheet), std::ios::binary);
    unsigned char header[24] = {};
    png.read(reinterpret_cast<char*>(header), sizeof header);
    EXPECT_EQ(header[1], 'P');
    EXPECT_EQ(header[18] * 256 + header[19], 64);
    EXPECT_EQ(header[22] * 256 + header[23], 36);
}

TEST_F(Tool, AMissingTemporaryFolderIsARenderFailure) {
#ifdef _WIN32
    _putenv_s("TMP", (dir / "none").string().c_str());
#else
    setenv("TMPDIR", (dir / "none").c_str(), 1);
#endif
    EXPECT_EQ(run({"render", put("pose.txt", defaultPose), (dir / "a.png").string()}),
              ExitRenderFailed);
    EXPECT_NE(err.str().find("cannot make a work folder"), std::string::npos) << err.str();
}

} // namespace
