#include "cubic_readout.h"

#include <algorithm>
#include <limits>

CubicReadout read_cubic(const std::vector<double>& nodes, const double* column, double S,
                        std::size_t lo, std::size_t hi) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    hi = std::min(hi, nodes.size() - 1);
    if (lo >= hi) return {kNaN, kNaN, kNaN};
    const std::size_t count = std::min<std::size_t>(4, hi - lo + 1);
    // The node at or below S, then the stencil with two nodes on each side where it fits.
    const std::size_t below =
        static_cast<std::size_t>(std::upper_bound(nodes.begin(), nodes.end(), S) - nodes.begin());
    const std::size_t centre = below > 0 ? below - 1 : 0;
    std::size_t first = centre > lo ? centre - 1 : lo;
    first = std::min(std::max(first, lo), hi + 1 - count);

    // Newton's divided differences, then the nested form and its two derivatives:
    // p = y0 + (S − x0)·q1, q1 = d1 + (S − x1)·q2, q2 = d2 + (S − x2)·d3.
    double x[4], d[4];
    for (std::size_t k = 0; k < count; ++k) {
        x[k] = nodes[first + k];
        d[k] = column[first + k];
    }
    for (std::size_t level = 1; level < count; ++level)
        for (std::size_t k = count - 1; k >= level; --k)
            d[k] = (d[k] - d[k - 1]) / (x[k] - x[k - level]);
    double q = 0, dq = 0, ddq = 0;  // the nested value from the top coefficient down
    for (std::size_t k = count; k-- > 0;) {
        if (k + 1 < count) {
            const double h = S - x[k];
            ddq = 2 * dq + h * ddq;
            dq = q + h * dq;
            q = d[k] + h * q;
        } else {
            q = d[k];
        }
    }
    return {q, dq, ddq};
}
