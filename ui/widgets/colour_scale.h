// The colour scale of the stress-test tables: greens below the neutral white, reds above it.
#pragma once

#include <QString>

// The colour name for a level from -8 (darkest green) over 0 (white) to 8 (darkest red); levels
// beyond either end take the end colour.
QString colourForLevel(int level);
