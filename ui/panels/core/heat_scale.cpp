#include "heat_scale.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

HeatScale::HeatScale(const std::vector<std::vector<double>>& matrix, double centre)
    : centre_(centre), hi_min_(DBL_MAX), hi_max_(centre), lo_min_(centre), lo_max_(-DBL_MAX) {
    for (const auto& row : matrix) {
        for (double v : row) {
            if (!std::isfinite(v)) continue;
            if (v > centre) {
                hi_max_ = std::max(hi_max_, v);
                hi_min_ = std::min(hi_min_, v);
            } else if (v < centre) {
                lo_max_ = std::max(lo_max_, v);
                lo_min_ = std::min(lo_min_, v);
            }
        }
    }
    hi_step_ = (hi_max_ - hi_min_) / 7;
    lo_step_ = (lo_max_ - lo_min_) / 7;
}

int HeatScale::level(double v) const {
    if (!std::isfinite(v) || v == centre_) return 0;
    double l;
    if (v > centre_)
        l = hi_step_ > 0 ? (v - hi_min_) / hi_step_ + 1 : 1;
    else
        l = lo_step_ > 0 ? (v - lo_max_) / lo_step_ - 1 : -1;
    // Rounding can carry the extreme values a hair past the ends.
    return static_cast<int>(std::trunc(std::clamp(l, -8.0, 8.0)));
}
