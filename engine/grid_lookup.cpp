#include "grid_lookup.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calculator_pde.h"

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

// Look-ups of Calculator_PDE: every cell read stays inside the grid it reads.

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// 1-based column of remaining life tau: today for a negative tau, else the time node nearest
// to T - tau (half away from zero), clamped to [today, maturity]. 0 when there is none.
int lookup_column(double tau, double T, double dt, int N) {
    if (tau < 0) return 1;
    const double node = std::round((T - tau) / dt);
    if (std::isnan(node)) return 0;
    return static_cast<int>(std::min(std::max(node, 0.0), static_cast<double>(N))) + 1;
}

}  // namespace

double Calculator_PDE::lookup(const NEWMAT::Matrix& grid, double S, double tau) const {
    const double x = S / dS;
    if (!(x >= 0 && x <= params.M)) return kNaN;  // also NaN S or no grid run yet
    const int n = lookup_column(tau, params.T, dt, params.N);
    const int row_ceil = static_cast<int>(std::ceil(x)) + 1;
    const int row_floor = static_cast<int>(std::floor(x)) + 1;
    // A grid from an older run may be smaller than M and N say.
    if (n < 1 || n > grid.Ncols() || row_ceil > grid.Nrows()) return kNaN;
    const double* column = grid.Store() + (n - 1);
    const int stride = grid.Ncols();
    return interpolate_between_nodes(x, column[(row_ceil - 1) * stride],
                                     column[(row_floor - 1) * stride]);
}

double Calculator_PDE::lookup_price(double S, double tau, bool knocked_in) const {
    return lookup(knocked_in ? price_ki : price_grid, S, tau);
}

double Calculator_PDE::lookup_delta(double S, double tau, bool knocked_in) const {
    return lookup(knocked_in ? delta_ki : delta, S, tau);
}

double Calculator_PDE::lookup_gamma(double S, double tau, bool knocked_in) const {
    return lookup(knocked_in ? gamma_ki : gamma, S, tau);
}

double Calculator_PDE::lookup_theta(double S, double tau, bool knocked_in) const {
    return lookup(knocked_in ? theta_ki : theta, S, tau);
}

double Calculator_PDE::lookup_vega(double S, double tau, bool knocked_in) const {
    return lookup(knocked_in ? vega_ki : vega, S, tau);
}

double Calculator_PDE::lookup_rho(double S, double tau, bool knocked_in) const {
    return lookup(knocked_in ? rho_ki : rho, S, tau);
}
