#include "grid_lookup.h"

#include <cmath>
#include <limits>

double interpolate_between_nodes(double x, double y_ceil, double y_floor) {
    const double x1 = std::ceil(x);
    const double x2 = std::floor(x);
    const double gap = std::fabs(x1 - x2);
    if (gap <= 2 * std::numeric_limits<double>::epsilon() * std::fabs(x1 + x2) ||
        gap < std::numeric_limits<double>::min()) {
        return y_ceil;
    }
    return (x1 * y_floor - y_ceil * x2 + (y_ceil - y_floor) * x) / (x1 - x2);
}
