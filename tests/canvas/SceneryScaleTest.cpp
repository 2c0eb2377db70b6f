// Scales typed into the Resize Scenery dialog and the depth the aspect lock gives them.
#include <gtest/gtest.h>

#include "canvas/SceneryEdit.h"

namespace {

TEST(ParseSceneryScale, AcceptsFinishedNumbersWithinTheDialogsRangeOnly) {
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"3", true, 3},   {" 2.5 ", true, 2.5}, {"2,5", true, 2.5}, {"0.1", true, 0.1},
        {"10", true, 10}, {"10.01", false, 0},  {"0.05", false, 0}, {"0", false, 0},
        {"0.", false, 0}, {"", false, 0},       {"  ", false, 0},   {"abc", false, 0},
        {"3x", false, 0}, {"-1", false, 0},     {"nan", false, 0},  {"1e0", true, 1},
    };
    for (const auto& c : cases) {
        double value = -7;
        EXPECT_EQ(ParseSceneryScale(c.text, &value), c.ok) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(value, c.ok ? c.value : -7) << '"' << c.text << "\" untouched on failure";
    }
}

TEST(LockedDepthScale, KeepsTheRatioWithinTheRange) {
    EXPECT_DOUBLE_EQ(LockedDepthScale(3, 1), 3);
    EXPECT_DOUBLE_EQ(LockedDepthScale(3, 2), 1.5);
    EXPECT_DOUBLE_EQ(LockedDepthScale(3, 0.25), 10) << "clamped to the greatest scale";
    EXPECT_DOUBLE_EQ(LockedDepthScale(0.1, 4), 0.1) << "clamped to the smallest scale";
    EXPECT_DOUBLE_EQ(LockedDepthScale(2, 0), 2) << "no ratio: the width itself";
}

}  // namespace
