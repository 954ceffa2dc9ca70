#include "grid_lookup.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calculator_pde.h"
#include "price_grid_axes.h"

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

// Look-ups of Calculator_PDE: every cell read stays inside the grid it reads, and positions come
// from the axes the grids were stored with, whatever the parameter blocks say now.

namespace {

// Grids filled by hand rather than by a run carry no axes: they are read on the uniform grid of
// the engine's steps and parameter block.
PriceGridAxes axes_of_block(const PdeParams& p, double dS, double dt) {
    PriceGridAxes a;
    a.dS = dS;
    a.dt = dt;
    a.T = p.T;
    a.M = p.M;
    a.N = p.N;
    return a;
}

}  // namespace

double Calculator_PDE::lookup(const NEWMAT::Matrix& grid, double S, double tau) const {
    const bool stored = !grid_axes.nodes.empty();
    const PriceGridAxes fallback = stored ? PriceGridAxes() : axes_of_block(params, dS, dt);
    const PriceGridAxes& axes = stored ? grid_axes : fallback;
    const int n = axes.column(tau);
    if (n < 1 || n > grid.Ncols()) return std::numeric_limits<double>::quiet_NaN();
    return axes.value_at(grid.Store() + (n - 1), grid.Ncols(), grid.Nrows(), S);
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
