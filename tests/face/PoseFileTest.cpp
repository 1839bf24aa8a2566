#include "face/FaceGeometry.h"
#include "face/PoseFile.h"
#include "face/PoseModel.h"
#include "render/Quoting.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const defaultFile =
    "<0,0,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n0,\r\n0,\r\n0,\r\n0,\r\n0\r\n";

class PoseFile : public TestFolder {
  protected:
    PoseFile() : TestFolder("tavok-pose-") {}
    int read(const std::string& bytes) {
        return model.readPoseFile(put("pose.txt", bytes).c_str());
    }
    PoseModel model;
};

TEST_F(PoseFile, DefaultPoseIsExactly51Bytes) {
    ASSERT_EQ(model.writePoseFile(path("pose.txt").c_str()), 0);
    std::string bytes = fileBytes(path("pose.txt"));
    EXPECT_EQ(bytes, defaultFile);
    EXPECT_EQ(bytes.size(), 51u);
    // Nothing is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(PoseFile, WritesEveryLineInItsForm) {
    const float values[PoseCount] = {-12.5f, 1e-5f, 360, 0.55f, 90,     -90,         1.5e6f,
                                     -0.25f, 1,     -1,  0.05f, 123456, 7.45058e-10f};
    std::copy(values, values + PoseCount, model.pose);
    ASSERT_EQ(model.writePoseFile(path("pose.txt").c_str()), 0);
    EXPECT_EQ(fileBytes(path("pose.txt")),
              "<-12.5,1e-05,360>,0.55,\r\n90,-90,\r\n1.5e+06,-0.25,\r\n1,\r\n-1,\r\n0.05,\r\n"
              "123456,\r\n7.45058e-10\r\n");
}

TEST_F(PoseFile, RoundTripKeepsSixSignificantDigits) {
    for (int i = 0; i < PoseCount; ++i)
        model.pose[i] = float(i) * 1.1f - 5.123456789f;
    PoseModel written = model;
    ASSERT_EQ(model.writePoseFile(path("pose.txt").c_str()), 0);
    PoseModel back;
    ASSERT_EQ(back.readPoseFile(path("pose.txt").c_str()), 0);
    for (int i = 0; i < PoseCount; ++i) {
        char six[32];
        std::snprintf(six, sizeof six, "%g", double(written.pose[i]));
        EXPECT_EQ(back.pose[i], std::stof(six)) << i;
    }
    EXPECT_EQ(back.selection, -1);
}

TEST_F(PoseFile, ReplacesAnExistingFile) {
    put("pose.txt", std::string(500, 'x'));
    model.pose[PoseMouthFirst] = 0.25f;
    ASSERT_EQ(model.writePoseFile(path("pose.txt").c_str()), 0);
    EXPECT_EQ(fileBytes(path("pose.txt")).substr(32, 7), "0.25,\r\n");
    EXPECT_EQ(fileBytes(path("pose.txt")).size(), 54u);
}

TEST_F(PoseFile, FailedSaveReportsOneAndLeavesNothingBehind) {
    EXPECT_EQ(model.writePoseFile(path("missing/pose.txt").c_str()), 1);
    fs::create_directory(dir / "taken");
    EXPECT_EQ(model.writePoseFile(path("taken").c_str()), 1);
    EXPECT_TRUE(fs::is_directory(dir / "taken"));
    EXPECT_TRUE(fs::is_empty(dir / "taken"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(PoseFile, WriteErrorsAreReported) {
#ifdef _WIN32
    GTEST_SKIP() << "no always-full device on this platform";
#else
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    std::setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_FALSE(writePose(model.pose, full));
    std::fclose(full);
#endif
}

// Each file read into a pose of all 5s: the result, and one value after it
// (one the reader took, or one a data error left alone).
TEST_F(PoseFile, ReadsLooseFormsAndStopsAtTheFirstDataError) {
    const std::string head = "<1,2,3>,4\n5,6\n7,8\n", tail = "\n0\n0\n0\n0\n";
    const std::string crHead = "<1,2,3>,4\r\n5,6\r\n7,8\r\n";
    const std::string crTail = "\r\n0\r\n0\r\n0\r\n0\r\n";
    const std::string line199 = "0" + std::string(198, ' ');
    const int mouth = PoseMouthFirst;
    const struct {
        std::string bytes;
        int result, index;
        float value;
    } cases[] = {
        {defaultFile, 0, PoseEyeX, 0},
        {"<1,2,3>,0.25,\n4,5,\n6,7,\n8,\n9,\n10,\n11,\n12", 0, mouth + 4, 12},
        {"<1, 2, 3>, 4\n5,6\n7,8\n1e3\n0\n0\n0\n0\nanything after\n", 0, mouth, 1000},
        {"<1,2,3>,4,junk\n5,6,junk\n7,8\n9 junk\n0\n0\n0\n0\n", 0, mouth, 9},
        {head + "0x10" + tail, 0, mouth, 0}, // no hexadecimal: the x on is trailing text
        {head + "0\n0\n0\n0\n9\x1a\n", 0, mouth + 4, 9}, // Ctrl+Z ends the file
        {head + "0\n0\n0\n\x1a" + "0\n0\n", 2, mouth + 4, 5},
        {head + line199 + tail, 0, mouth, 0},
        // One character more: its tail must not be read as the next line.
        {head + "5" + std::string(198, ' ') + "6" + tail, 2, mouth + 1, 5},
        {head + "0\n0\n0\n0\n0" + std::string(199, ' '), 2, mouth + 3, 0},
        // The CR of a CR LF pair is part of the line end; a CR alone is not.
        {crHead + line199 + crTail, 0, mouth, 0},
        {crHead + line199 + " " + crTail, 2, mouth + 1, 5},
        {crHead + line199 + "\r" + crTail, 2, mouth + 1, 5},
        {"", 2, PoseEyeX, 5},
        {" <1,2,3>,4\n5,6\n7,8\n0\n0\n0\n0\n0\n", 2, PoseEyeX, 5},
        {"<1,2,3>,4\n5\n7,8\n0\n0\n0\n0\n0\n", 2, PoseLidFirst + 1, 5},
        {"<1,2,3>,4\n5,6\n7,8\n\n0\n0\n0\n0\n", 2, mouth, 5},
        {"<1,2,3>,4\n5,6\n7,8\n0\n0\n0\n0\n", 2, mouth + 4, 5},
        {"<1,2,3>4\n5,6\n7,8\n0\n0\n0\n0\n0\n", 2, PoseEyeZ, 3},
        {crHead + "0\r\n0\r\n0\r\n0\r\n", 2, mouth + 4, 5},
        // Values scanned before a failure stay; an unreadable one is not stored.
        {"<7,8,x>,4\n", 2, PoseEyeY, 8},
        {"<7,8,x>,4\n", 2, PoseEyeZ, 5},
        {head + "nan" + tail, 2, mouth, 5},
        {head + "-inf" + tail, 2, mouth, 5},
        {head + "infinity" + tail, 2, mouth, 5},
        {head + "1e39" + tail, 2, mouth, 5},
        {head + "-1e39" + tail, 2, mouth, 5},
    };
    for (const auto& c : cases) {
        std::fill(model.pose, model.pose + PoseCount, 5.0f);
        EXPECT_EQ(read(c.bytes), c.result) << c.bytes;
        EXPECT_EQ(model.pose[c.index], c.value) << c.bytes;
    }
    PoseReadError error;
    EXPECT_EQ(readPoseFile(model.pose, put("pose.txt", "<1,2,nan>,4\n").c_str(), &error), 2);
    EXPECT_EQ(error.line, 1);
    EXPECT_EQ(error.converted, 2);
    EXPECT_EQ(error.fault, FaultMismatch);
}

TEST_F(PoseFile, UnreadablePathsGiveOneAndKeepThePose) {
    model.pose[PoseEyeX] = 42;
    EXPECT_EQ(model.readPoseFile(path("nothing.txt").c_str()), 1);
    EXPECT_EQ(model.readPoseFile(dir.string().c_str()), 1);
    EXPECT_EQ(model.pose[PoseEyeX], 42);
}

TEST_F(PoseFile, ReadingLeavesSelectionAndResetCopy) {
    model.selection = HandleLidFirst + 2;
    EXPECT_EQ(read("<1,2,3>,4\n50,60\n70,80\n1\n1\n1\n1\n1\n"), 0);
    EXPECT_EQ(model.selection, HandleLidFirst + 2);
    EXPECT_EQ(model.resetCopy[PoseLidFirst + 2], 30);
    model.applyKeyAction(KeyRestore);
    EXPECT_EQ(model.pose[PoseLidFirst + 2], 30);
}

#ifdef TAVOK_POVRAY
TEST_F(PoseFile, PovRayReadsTheFile) {
    const float values[PoseCount] = {1, 2, 3, 0.25f, 4, 5, 6, 7, 0.1f, 0.2f, 0.3f, -0.4f, 1.5e6f};
    std::copy(values, values + PoseCount, model.pose);
    ASSERT_EQ(model.writePoseFile(path("pose.txt").c_str()), 0);
    put("scene.pov",
        "#version 3.7;\n"
        "#macro Face(Eyes, Pupil, L0, L1, L2, L3, M0, M1, M2, M3, M4)\n"
        "#if (vlength(Eyes - <1,2,3>) > 1e-6 | Pupil != 0.25 | L0 != 4 | L1 != 5 | L2 != 6 |\n"
        "     L3 != 7 | M0 != 0.1 | M1 != 0.2 | M2 != 0.3 | M3 != -0.4 | M4 != 1.5e6)\n"
        "#error \"pose values differ\"\n"
        "#end\n"
        "#end\n"
        "Face(\n#include \"pose.txt\"\n)\n"
        "camera { location -z look_at 0 }\n");
    std::string command = "cd " + shellQuoted(dir.string()) + " && " + shellQuoted(TAVOK_POVRAY) +
                          " +Iscene.pov +Oscene.png +W4 +H4 -D -V -GA >povray.log 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << fileBytes(path("povray.log"));
    EXPECT_TRUE(fs::exists(dir / "scene.png")) << fileBytes(path("povray.log"));
}
#endif

} // namespace
