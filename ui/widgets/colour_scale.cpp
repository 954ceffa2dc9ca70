#include "colour_scale.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kNeutral = 8;
constexpr std::array<const char*, 2 * kNeutral + 1> kColours = {
    "darkgreen",   "green",     "forestgreen", "limegreen", "lime",      "lawngreen",
    "greenyellow", "palegreen", "white",       "tomato",    "orangered", "red",
    "crimson",     "firebrick", "brown",       "darkred",   "maroon"};

}  // namespace

QString colourForLevel(int level) {
    const int index = std::clamp(level, -kNeutral, kNeutral) + kNeutral;
    return QString::fromLatin1(kColours[std::size_t(index)]);
}
