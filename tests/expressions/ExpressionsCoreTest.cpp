#include "expressions/ExpressionList.h"
#include "expressions/ExpressionMix.h"
#include "expressions/ThumbnailKey.h"
#include "face/PoseFile.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace {

// The signed short way from `a` to `b` round the circle, in (-180, 180].
double turn(double a, double b) {
    double way = std::remainder(b - a, 360.0);
    return way == -180 ? 180 : way;
}

TEST(ExpressionMix, EndsExactAndEveryValueBetweenWithinLimits) {
    std::mt19937 random(31);
    for (int run = 0; run < 2000; ++run) {
        float from[PoseCount], to[PoseCount], out[PoseCount];
        for (float* pose : {from, to})
            for (int i = 0; i < PoseCount; ++i)
                pose[i] = std::uniform_real_distribution<float>(poseLimits[i].low,
                                                                poseLimits[i].high)(random);
        double fraction = std::uniform_real_distribution<double>(0, 1)(random);
        mixPose(from, to, 0, out);
        EXPECT_EQ(0, std::memcmp(out, from, sizeof out));
        mixPose(from, to, 1, out);
        EXPECT_EQ(0, std::memcmp(out, to, sizeof out));
        mixPose(from, to, fraction, out);
        for (int i = 0; i < PoseCount; ++i) {
            EXPECT_GE(out[i], poseLimits[i].low);
            EXPECT_LE(out[i], poseLimits[i].high);
            if (i == PoseEyeZ)
                EXPECT_NEAR(turn(from[i], out[i]), turn(from[i], to[i]) * fraction, 1e-3) << run;
            else
                EXPECT_NEAR(out[i], from[i] + (to[i] - from[i]) * fraction,
                            1e-5 * (std::fabs(from[i]) + std::fabs(to[i])));
        }
    }
}

TEST(ThumbnailKey, FollowsTheBytesAndSizeNotTheName) {
    std::string bytes = "<0,0,0>,0.5,\r\n30,-30,\r\n";
    std::string changed = bytes;
    changed[1] = '1';
    EXPECT_NE(thumbnailKey(bytes, 96, 72), thumbnailKey(changed, 96, 72));
    EXPECT_NE(thumbnailKey(bytes, 96, 72), thumbnailKey(bytes, 160, 120));
}

TEST(ExpressionList, ShippedFirstInvalidKeptWithMessageAndOverflowCounted) {
    namespace fs = std::filesystem;
    fs::path root =
        fs::temp_directory_path() / ("expressions-" + std::to_string(std::random_device()()));
    fs::create_directories(root / "shipped");
    fs::create_directories(root / "own");
    float pose[PoseCount] = {1, 2, 3, 0.25f, 4, 5, 6, 7, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    ASSERT_EQ(writePoseFile(pose, (root / "shipped" / "Zed.txt").string().c_str()), 0);
    ASSERT_EQ(writePoseFile(pose, (root / "shipped" / "alpha.BAS").string().c_str()), 0);
    std::ofstream(root / "shipped" / "notes.png") << "x";
    std::ofstream(root / "own" / "broken.txt") << "<0,0,0>,0.5,\r\n30,x,\r\n";
    for (int i = 0; i < MaxListedExpressions + 1; ++i)
        std::ofstream(root / "own" / ("p" + std::to_string(1000 + i) + ".txt")) << "";
    ExpressionListing listing =
        listExpressions((root / "shipped").string(), (root / "own").string());
    ASSERT_EQ(int(listing.listed.size()), MaxListedExpressions);
    EXPECT_EQ(listing.notListed, 4);
    EXPECT_EQ(listing.listed[0].name, "alpha");
    EXPECT_EQ(listing.listed[1].name, "Zed");
    EXPECT_TRUE(listing.listed[1].valid);
    EXPECT_EQ(0, std::memcmp(listing.listed[1].pose, pose, sizeof pose));
    EXPECT_EQ(listing.listed[2].name, "broken");
    EXPECT_FALSE(listing.listed[2].valid);
    EXPECT_EQ(listing.listed[3].message, "line 1: line missing: a pose file has 8 lines");
    EXPECT_EQ(listExpressions((root / "own").string(), (root / "own").string()).notListed, 2);
    std::string stamp = folderStamp((root / "shipped").string());
    std::ofstream(root / "shipped" / "new.txt") << "";
    EXPECT_NE(folderStamp((root / "shipped").string()), stamp);
    fs::remove_all(root);
}

} // namespace
