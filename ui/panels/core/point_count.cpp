#include "point_count.h"

#include <cmath>

double point_count(double start, double end, double step) {
    const double n = std::trunc((end - start) / step + 1);
    if (!std::isfinite(n) || n < 1) return 0;
    return n;
}

BoundedCount bounded_point_count(double start, double end, double step, int limit) {
    const double n = point_count(start, end, step);
    if (n == 0) return {BoundedCount::Empty, 0};
    if (n > limit) return {BoundedCount::TooMany, 0};
    return {BoundedCount::Ok, static_cast<int>(n)};
}
