#include "face/PoseText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

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

TEST(PoseText, FormatsLikePercentG) {
    EXPECT_EQ(g(0), "0");
    EXPECT_EQ(g(0.5f), "0.5");
    EXPECT_EQ(g(-30), "-30");
    EXPECT_EQ(g(0.55f), "0.55");
    EXPECT_EQ(g(1.5e6f), "1.5e+06");
    EXPECT_EQ(g(123456), "123456");
    EXPECT_EQ(g(0.0001f), "0.0001");
    EXPECT_EQ(g(0.00001f), "1e-05");
    EXPECT_EQ(g(float(double(0.05f) - 0.05)), "7.45058e-10");
    EXPECT_EQ(g(-3.4028235e38f), "-3.40282e+38");
    EXPECT_EQ(g(INFINITY), "inf");
    EXPECT_EQ(g(-INFINITY), "-inf");
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

TEST(PoseText, ScansDecimalForms) {
    EXPECT_EQ(scanned("0.5"), 0.5f);
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
}

TEST(PoseText, RoundsToNearestFloat) {
    EXPECT_EQ(scanned("0.1"), 0.1f);
    EXPECT_EQ(scanned("16777217"), 16777216.0f);
    // Just above the halfway point between 1 and the next float.
    EXPECT_EQ(scanned("1.00000005960464477539062500001"), 1.00000012f);
    EXPECT_EQ(scanned("1.4e-45"), 1.4e-45f);
    EXPECT_EQ(scanned("3.4028235e38"), 3.4028235e38f);
    EXPECT_EQ(scanned("1e-50"), 0);
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
