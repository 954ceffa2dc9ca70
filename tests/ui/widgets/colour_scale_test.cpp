#include <gtest/gtest.h>

#include <climits>

#include "colour_scale.h"

TEST(ColourScale, GreensBelowWhiteRedsAboveAndEndsHold) {
    EXPECT_EQ(colourForLevel(-20), "darkgreen");
    EXPECT_EQ(colourForLevel(-8), "darkgreen");
    EXPECT_EQ(colourForLevel(-1), "palegreen");
    EXPECT_EQ(colourForLevel(0), "white");
    EXPECT_EQ(colourForLevel(1), "tomato");
    EXPECT_EQ(colourForLevel(8), "maroon");
    EXPECT_EQ(colourForLevel(20), "maroon");
    EXPECT_EQ(colourForLevel(INT_MIN), "darkgreen");
    EXPECT_EQ(colourForLevel(INT_MAX), "maroon");
}
