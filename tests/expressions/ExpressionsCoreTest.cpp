#include "expressions/ExpressionList.h"
#include "expressions/ExpressionMix.h"
#include "expressions/LibraryPlace.h"
#include "expressions/ThumbnailCache.h"
#include "expressions/ThumbnailKey.h"
#include "face/PoseFile.h"
#include "tests/support/TestFolder.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace {

// The signed short way from `a` to `b` round the circle, in (-180, 180].
double turn(double a, double b) {
    double way = std::remainder(b - a, 360.0);
    return way == -180 ? 180 : way;
}

// Ends within the limits: exact ends, every value between them. Ends beyond
// them (a file may hold any finite value): every value within the limits.
TEST(ExpressionMix, EndsExactAndEveryValueBetweenWithinLimits) {
    std::mt19937 random(31);
    for (int run = 0; run < 4000; ++run) {
        bool outside = run % 2;
        float from[PoseCount], to[PoseCount], out[PoseCount];
        for (float* pose : {from, to})
            for (int i = 0; i < PoseCount; ++i) {
                float low = poseLimits[i].low, high = poseLimits[i].high;
                float beyond = outside ? 3 * (high - low) : 0;
                pose[i] =
                    std::uniform_real_distribution<float>(low - beyond, high + beyond)(random);
            }
        double fraction = std::uniform_real_distribution<double>(0, 1)(random);
        for (double f : {0.0, fraction, 1.0}) {
            mixPose(from, to, f, out);
            for (int i = 0; i < PoseCount; ++i) {
                EXPECT_GE(out[i], poseLimits[i].low) << run;
                EXPECT_LE(out[i], poseLimits[i].high) << run;
            }
        }
        if (outside) continue;
        mixPose(from, to, 0, out);
        EXPECT_EQ(0, std::memcmp(out, from, sizeof out));
        mixPose(from, to, 1, out);
        EXPECT_EQ(0, std::memcmp(out, to, sizeof out));
        mixPose(from, to, fraction, out);
        for (int i = 0; i < PoseCount; ++i) {
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
    EXPECT_NE(thumbnailKey(bytesHash(bytes), 96, 72), thumbnailKey(bytesHash(changed), 96, 72));
    EXPECT_NE(thumbnailKey(bytesHash(bytes), 96, 72), thumbnailKey(bytesHash(bytes), 160, 120));
}

// However many files are listed (up to the most shown), each is rendered
// once and stays; those no longer listed go, least recently shown first.
TEST(ThumbnailCache, EveryListedFileRenderedOnceAndKept) {
    const int capacity = MaxListedExpressions + 100;
    for (int files : {150, 151, 200, MaxListedExpressions}) {
        ThumbnailCache cache(capacity);
        std::vector<std::string> dropped, listed;
        for (int i = 0; i < 400; ++i)
            cache.add("old" + std::to_string(i));
        cache.shown("old0");
        for (int i = 0; i < files; ++i)
            listed.push_back("file" + std::to_string(i));
        cache.setListed(listed);
        int renders = 0;
        for (int pass = 0; pass < 3; ++pass)
            for (const std::string& key : listed)
                if (cache.wanted(key)) {
                    ++renders;
                    std::vector<std::string> gone = cache.add(key);
                    dropped.insert(dropped.end(), gone.begin(), gone.end());
                }
        EXPECT_EQ(renders, files);
        EXPECT_TRUE(std::all_of(listed.begin(), listed.end(),
                                [&](const std::string& key) { return cache.has(key); }));
        EXPECT_EQ(int(dropped.size()), std::max(0, 400 + files - capacity));
        EXPECT_EQ(dropped.empty() ? "old1" : dropped.front(), "old1");
        EXPECT_EQ(std::count(dropped.begin(), dropped.end(), "old0"), 0);
    }
}

// A render that ran out of time is tried once more; one that failed is not.
TEST(ThumbnailCache, TimedOutTriedOnceMoreFailedNever) {
    ThumbnailCache cache(10);
    cache.failed("slow", true, "late");
    EXPECT_TRUE(cache.wanted("slow") && cache.retrying("slow"));
    cache.failed("slow", true, "late again");
    cache.failed("broken", false, "no image");
    EXPECT_FALSE(cache.wanted("slow") || cache.wanted("broken"));
    EXPECT_EQ(cache.whyFailed("slow"), "late again");
}

// Wherever the frame and the preview are, the library lies within the work
// area and over neither the face nor the preview, when there is room.
TEST(LibraryPlace, WithinTheWorkAreaOverNeitherFaceNorPreview) {
    const int width = 350, height = 470; // the library's outer size
    // 1024 by 768 with a taskbar, the preview right of the frame: no room
    // below it, so beside it.
    ScreenBox work = {0, 0, 1024, 738}, face = {10, 60, 330, 380}, preview = {340, 0, 670, 290};
    int left = -1, top = -1;
    ASSERT_TRUE(placeLibrary({0, 0, 340, 450}, {face, preview}, work, width, height, left, top));
    EXPECT_TRUE(left == 670 && top == 0) << left << "," << top;
    std::mt19937 random(3);
    auto box = [&](int w, int h) {
        int x = int(random() % 1600) - 200, y = int(random() % 1200) - 200;
        return ScreenBox{x, y, x + 50 + int(random() % w), y + 50 + int(random() % h)};
    };
    int placed = 0;
    for (int run = 0; run < 2000; ++run) {
        face = box(500, 400), preview = box(400, 300), work = {0, 0, 1024 + 256 * (run % 4), 738};
        if (!placeLibrary(box(900, 700), {face, preview}, work, width, height, left, top)) continue;
        ++placed;
        EXPECT_TRUE(left >= 0 && top >= 0 && left + width <= work.right && top + height <= 738);
        for (const ScreenBox& b : {face, preview})
            EXPECT_FALSE(left < b.right && b.left < left + width && top < b.bottom &&
                         b.top < top + height);
    }
    EXPECT_GT(placed, 1000);
}

class ExpressionList : public TestFolder {
  protected:
    ExpressionList() : TestFolder("expressions-") {}
    // Names are UTF-8, as the library takes them.
    std::string folder(const std::string& name) const {
        return (dir / std::filesystem::u8path(name)).u8string();
    }
    void putNamed(const std::string& name, const std::string& bytes) const {
        std::ofstream(std::filesystem::u8path(folder(name)), std::ios::binary) << bytes;
    }
};

TEST_F(ExpressionList, ShippedFirstAnyNameInvalidKeptWithMessageAndOverflowCounted) {
    float pose[PoseCount] = {1, 2, 3, 0.25f, 4, 5, 6, 7, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    ASSERT_EQ(writePoseFile(pose, put("shipped/Zed.txt", "").c_str()), 0);
    ASSERT_EQ(writePoseFile(pose, put("shipped/alpha.BAS", "").c_str()), 0);
    put("shipped/notes.png", "x");
    std::string own = "José € 日本/";
    std::filesystem::create_directory(std::filesystem::u8path(folder(own)));
    std::string cafe = "<0,0,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n0,0,0,0,0\r\n";
    putNamed(own + "café.txt", cafe);
    putNamed(own + "big.txt",
             fileBytes(path("shipped/Zed.txt")) + std::string(MaxPoseFileBytes, ' '));
    putNamed(own + "broken.txt", "<0,0,0>,0.5,\r\n30,x,\r\n");
    for (int i = 0; i < MaxListedExpressions + 1; ++i)
        putNamed(own + "p" + std::to_string(1000 + i) + ".txt", "");
    ExpressionListing listing = listExpressions(folder("shipped"), folder(own));
    ASSERT_EQ(int(listing.listed.size()), MaxListedExpressions);
    EXPECT_EQ(listing.notListed, 6);
    std::string names;
    for (int i = 0; i < 6; ++i)
        names += listing.listed[std::size_t(i)].name +
                 (listing.listed[std::size_t(i)].valid ? "+," : "-,");
    EXPECT_EQ(names, "alpha+,Zed+,big-,broken-,café-,p1000-,");
    EXPECT_EQ(0, std::memcmp(listing.listed[1].pose, pose, sizeof pose));
    EXPECT_EQ(listing.listed[2].message, "larger than 64 KB");
    EXPECT_EQ(listing.listed[3].message,
              "line 2: expected \"n,n\": number 2 is missing or not a finite decimal number");
    EXPECT_EQ(listing.listed[4].message, "line 5: line missing: a pose file has 8 lines");
    EXPECT_EQ(listing.listed[5].message, "line 1: line missing: a pose file has 8 lines");
    // The render's name comes from the bytes the pose was read from.
    EXPECT_EQ(listing.listed[0].bytesHash, bytesHash(fileBytes(path("shipped/alpha.BAS"))));
    EXPECT_EQ(listExpressions(folder(own), folder(own)).notListed, 4);
    std::string stamp = foldersStamp(folder("shipped"), folder(own));
    EXPECT_EQ(stamp, listing.stamp);
    put("shipped/new.txt", "");
    EXPECT_NE(foldersStamp(folder("shipped"), folder(own)), stamp);
}

// A file rewritten while the folder is listed: either the listing holds its
// new pose, or its stamp differs from the folder's, so the next look reloads.
TEST_F(ExpressionList, AFileRewrittenDuringTheListingIsNeverLeftStale) {
    for (int i = 0; i < 500; ++i)
        put("p" + std::to_string(1000 + i) + ".txt", "");
    float before[PoseCount] = {}, after[PoseCount] = {};
    after[PoseEyeX] = 10;
    std::string first = path("a.txt");
    auto start = std::chrono::steady_clock::now();
    listExpressions(dir.string(), "");
    // The write lands at a random moment of a listing's time.
    std::uniform_int_distribution<long long> moment(
        0, (std::chrono::steady_clock::now() - start).count());
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(writePoseFile(before, first.c_str()), 0);
        // Windows refuses to replace a file being read: then nothing changed.
        bool written = false;
        std::thread writer([&] {
            std::this_thread::sleep_for(std::chrono::steady_clock::duration(moment(random)));
            written = writePoseFile(after, first.c_str()) == PoseFileOk;
        });
        ExpressionListing listing = listExpressions(dir.string(), "");
        writer.join();
        bool stale = written && listing.listed[0].pose[PoseEyeX] != 10;
        EXPECT_FALSE(stale && listing.stamp == foldersStamp(dir.string(), "")) << "round " << round;
    }
}

} // namespace
