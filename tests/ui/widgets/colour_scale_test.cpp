#include <gtest/gtest.h>

#include <climits>

#include "colour_scale.h"

TEST(ColourScale, GreensBelowWhiteRedsAboveAndEndsHold) {
    const std::pair<int, const char*> colours[] = {
        {-20, "darkgreen"}, {-8, "darkgreen"},      {-1, "palegreen"},
        {0, "white"},       {1, "tomato"},          {8, "maroon"},
        {20, "maroon"},     {INT_MIN, "darkgreen"}, {INT_MAX, "maroon"}};
    for (const auto& [level, colour] : colours)
        EXPECT_EQ(colourForLevel(level), colour) << level;
}
