#include "face/PoseText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::string format(const char* fmt, std::initializer_list<float> values) {
    char out[256];
    EXPECT_GE(formatPoseLine(out, sizeof out, fmt, values.begin()), 0);
    return out;
}

std::string g(float v) {
    return format("%g", {v});
}

// Scans one "%f"; `ok` tells whether it converted.
float scan1(const char* text, bool& ok) {
    float v = -12345;
    ok = scanPoseLine(text, "%f", &v) == 1;
    return v;
}

float scanned(const char* text) {
    bool ok = false;
    float v = scan1(text, ok);
    EXPECT_TRUE(ok) << text;
    return v;
}

bool rejects(const char* text) {
    bool ok = true;
    scan1(text, ok);
    return !ok;
}

// A finite float of any size: random bits.
float randomFloat(std::mt19937& random) {
    float v = NAN;
    while (!std::isfinite(v)) {
        std::uint32_t bits = std::uint32_t(random());
        std::memcpy(&v, &bits, sizeof v);
    }
    return v;
}

// Floats of every size, as random bits pick them, and the edges of "%g"'s
// two forms: written as the C library's "%g" writes them.
TEST(PoseText, FormatsLikePercentG) {
    std::mt19937 random(5);
    std::vector<float> values = {0, 0.0001f, 0.00001f, 123456, 1234567, INFINITY, -INFINITY};
    while (values.size() < 20000)
        values.push_back(randomFloat(random));
    for (float v : values) {
        char want[32];
        std::snprintf(want, sizeof want, "%g", double(v));
        ASSERT_EQ(g(v), want);
    }
    EXPECT_EQ(g(NAN), "nan");
    EXPECT_EQ(format("<%g,%g,%g>,%g,", {0, 0, 0, 0.5f}), "<0,0,0>,0.5,");
}

TEST(PoseText, FormatReportsShortBuffer) {
    char out[6];
    const float values[] = {-123.456f};
    EXPECT_EQ(formatPoseLine(out, sizeof out, "%g,", values), -1);
    EXPECT_LT(std::strlen(out), sizeof out);
    EXPECT_EQ(formatPoseLine(out, 0, "%g", values), -1);
    char fits[10];
    EXPECT_EQ(formatPoseLine(fits, sizeof fits, "%g,", values), 9);
    EXPECT_STREQ(fits, "-123.456,");
}

TEST(PoseText, ScansDecimalFormsRoundedToTheNearestFloat) {
    EXPECT_EQ(scanned("  -30,"), -30);
    EXPECT_EQ(scanned("+1e3"), 1000);
    EXPECT_EQ(scanned("1E+3x"), 1000);
    EXPECT_EQ(scanned(".25"), 0.25f);
    EXPECT_EQ(scanned("7."), 7);
    EXPECT_EQ(scanned("\t\r\v\f 2"), 2);
    EXPECT_EQ(scanned("007"), 7);
    // No hexadecimal: the number ends before the x.
    EXPECT_EQ(scanned("0x1.8p1"), 0);
    EXPECT_EQ(scanned("0X10"), 0);
    // Ties go to the even float; just above halfway goes up.
    EXPECT_EQ(scanned("16777217"), 16777216.0f);
    EXPECT_EQ(scanned("1.00000005960464477539062500001"), 1.00000012f);
    EXPECT_EQ(scanned("1e-50"), 0);
    // Nine digits name every float exactly.
    std::mt19937 random(9);
    for (int i = 0; i < 20000; ++i) {
        float v = randomFloat(random);
        char text[32];
        std::snprintf(text, sizeof text, "%.9g", double(v));
        ASSERT_EQ(scanned(text), v) << text;
    }
}

TEST(PoseText, RejectsWhatPovRayCannotRead) {
    for (const char* text :
         {"inf", "-INFINITY", "Infx", "nan", "NaN(abc_1)", "-nan", "1e39", "-3.5e38", "1e99999"})
        EXPECT_TRUE(rejects(text)) << text;
    float v[2] = {9, 9};
    EXPECT_EQ(scanPoseLine("1,1e39", "%f,%f", v), 1);
    EXPECT_EQ(v[1], 9) << "an overflowing value is not stored";
}

TEST(PoseText, RejectsIncompleteNumbers) {
    for (const char* text : {"", " ", "-", "+", ".", "-.", "e5", "1e", "1e+", "x1", ",1"})
        EXPECT_TRUE(rejects(text)) << '"' << text << '"';
}

TEST(PoseText, LiteralsMatchExactly) {
    float v[4] = {9, 9, 9, 9};
    EXPECT_EQ(scanPoseLine("<1,2,3>,0.5,", "<%f,%f,%f>,%f", v), 4);
    EXPECT_EQ(v[3], 0.5f);
    EXPECT_EQ(scanPoseLine("<1, 2, 3>, 4", "<%f,%f,%f>,%f", v), 4);
    EXPECT_EQ(scanPoseLine(" <1,2,3>,4", "<%f,%f,%f>,%f", v), 0);
    EXPECT_EQ(scanPoseLine("<1 ,2,3>,4", "<%f,%f,%f>,%f", v), 1);
}

TEST(PoseText, StoresEachValueAsItIsScanned) {
    float v[4] = {9, 9, 9, 9};
    EXPECT_EQ(scanPoseLine("<1,2,x>,4", "<%f,%f,%f>,%f", v), 2);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 9);
    EXPECT_EQ(v[3], 9);
}

TEST(PoseText, IndependentOfTheCLocale) {
    const char* names[] = {"de_DE.UTF-8",         "de_DE",  "fr_FR.UTF-8",
                           "German_Germany.1252", "German", "de-DE"};
    const char* chosen = nullptr;
    for (const char* name : names)
        if (std::setlocale(LC_NUMERIC, name)) {
            chosen = name;
            break;
        }
    if (!chosen) GTEST_SKIP() << "no locale with a decimal comma here";
    bool comma = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    std::string text = g(0.55f);
    float value = scanned("2.75");
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_TRUE(comma) << chosen;
    EXPECT_EQ(text, "0.55");
    EXPECT_EQ(value, 2.75f);
}

} // namespace
