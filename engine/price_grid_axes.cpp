#include "price_grid_axes.h"

#include <algorithm>
#include <cmath>

#include "grid_lookup.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

PriceGridAxes PriceGridAxes::uniform(int M, double dS, int N, double dt, double T) {
    PriceGridAxes a;
    a.nodes.resize(static_cast<std::size_t>(M) + 1);
    for (int j = 0; j <= M; ++j)
        a.nodes[j] = j * dS;
    a.dS = dS;
    a.dt = dt;
    a.T = T;
    a.M = M;
    a.N = N;
    return a;
}

PriceGridAxes PriceGridAxes::on_nodes(std::vector<double> nodes, int N, double dt, double T) {
    PriceGridAxes a;
    a.M = static_cast<int>(nodes.size()) - 1;
    a.nodes = std::move(nodes);
    a.dt = dt;
    a.T = T;
    a.N = N;
    return a;
}

int PriceGridAxes::column(double tau) const {
    if (tau < 0) return 1;
    const double node = std::round((T - tau) / dt);
    if (std::isnan(node)) return 0;
    return static_cast<int>(std::min(std::max(node, 0.0), static_cast<double>(N))) + 1;
}

double PriceGridAxes::value_at(const double* column, std::ptrdiff_t stride, int rows,
                               double S) const {
    if (is_uniform()) {
        const double x = S / dS;
        if (!(x >= 0 && x <= M)) return kNaN;  // also NaN S
        const int above = static_cast<int>(std::ceil(x));
        const int below = static_cast<int>(std::floor(x));
        if (above >= rows) return kNaN;
        return interpolate_between_nodes(x, column[above * stride], column[below * stride]);
    }
    if (nodes.empty() || !(S >= nodes.front() && S <= nodes.back())) return kNaN;
    const std::size_t above =
        std::max<std::size_t>(std::lower_bound(nodes.begin(), nodes.end(), S) - nodes.begin(), 1);
    const std::size_t below = above - 1;
    if (static_cast<int>(above) >= rows) return kNaN;
    const double share = (S - nodes[below]) / (nodes[above] - nodes[below]);
    return column[below * stride] + share * (column[above * stride] - column[below * stride]);
}
