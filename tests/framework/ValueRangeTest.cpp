// Range arithmetic of sliders and progress bars at the ends of int.
#include "framework/controls/ValueRange.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ValueRange, StepsAndBarsStayInsideEvenAtTheEndsOfInt) {
    ValueRange all{INT_MIN, INT_MAX};
    EXPECT_EQ(all.moved(INT_MAX - 3, 10), INT_MAX);
    EXPECT_EQ(all.moved(INT_MIN + 3, -10), INT_MIN);
    EXPECT_EQ(all.clamp(std::int64_t(INT_MAX) + 1), INT_MAX);
    EXPECT_EQ(all.emptyPart(0, 1000), 500);
    EXPECT_EQ(all.emptyPart(INT_MAX - 1, 1000), 1) << "nearly full is never drawn full";

    // Over any range, the empty part falls as the value rises, from the
    // whole span at the lowest value to nothing at the highest.
    ValueRange odd{-7, 13};
    int previous = odd.emptyPart(-7, 38);
    EXPECT_EQ(previous, 38);
    for (int value = -6; value <= 13; ++value) {
        int empty = odd.emptyPart(value, 38);
        EXPECT_LE(empty, previous) << value;
        previous = empty;
    }
    EXPECT_EQ(previous, 0);
    EXPECT_EQ(ValueRange({5, 5}).emptyPart(5, 38), 38) << "an empty range draws no bar";

    int reversed[] = {50, 10}, normal[] = {-3, 4};
    EXPECT_EQ(loadRange(reversed).highest, 100);
    EXPECT_EQ(loadRange(nullptr).lowest, 0);
    EXPECT_EQ(loadRange(normal).lowest, -3);
}

} // namespace
