// Greek grids of Calculator_PDE and the writers of its price grids.
#include <limits>

#include "calculator_pde.h"
#include "finite_differences.h"
#include "matrix_dump.h"

namespace {

constexpr const char* kGreeksFile = "PDE_Greeks.csv";

// out = (bumped - base) * scale cell by cell. A bumped grid of another size comes from a failed
// or older run: out is then NaN at the size of base, and the result is false.
bool scaled_difference(const NEWMAT::Matrix& bumped, const NEWMAT::Matrix& base, double scale,
                       NEWMAT::Matrix& out) {
    const int rows = base.Nrows();
    const int cols = base.Ncols();
    if (out.Nrows() != rows || out.Ncols() != cols) out.ReSize(rows, cols);
    const int cells = rows * cols;
    double* o = out.Store();
    if (bumped.Nrows() != rows || bumped.Ncols() != cols) {
        for (int k = 0; k < cells; ++k)
            o[k] = std::numeric_limits<double>::quiet_NaN();
        return false;
    }
    const double* b = base.Store();
    const double* u = bumped.Store();
    for (int k = 0; k < cells; ++k)
        o[k] = (u[k] - b[k]) * scale;
    return true;
}

// Delta, gamma and theta of V on the rows the run laid it out on.
void differences(const PriceGridAxes& axes, const NEWMAT::Matrix& V, double dS, double dt,
                 NEWMAT::Matrix& D, NEWMAT::Matrix& G, NEWMAT::Matrix& Th) {
    if (!axes.nodes.empty() && !axes.is_uniform())
        finite_differences_on_nodes(V, axes.nodes, axes.dt, D, G, Th);
    else
        finite_differences(V, dS, dt, D, G, Th);
}

}  // namespace

void Calculator_PDE::compute_base_greeks() {
    differences(grid_axes, price_grid, dS, dt, delta, gamma, theta);
    differences(grid_axes, price_ki, dS, dt, delta_ki, gamma_ki, theta_ki);
}

bool Calculator_PDE::compute_greeks(bool write_file) {
    bool ok = true;
    differences(grid_axes, price_grid, dS, dt, delta, gamma, theta);
    ok &= scaled_difference(price_vol_up, price_grid, vega_scale, vega);
    ok &= scaled_difference(price_rate_up, price_grid, rho_scale, rho);
    differences(grid_axes, price_ki, dS, dt, delta_ki, gamma_ki, theta_ki);
    if (has_ki) {
        ok &= scaled_difference(price_ki_vol_up, price_ki, vega_scale, vega_ki);
        ok &= scaled_difference(price_ki_rate_up, price_ki, rho_scale, rho_ki);
    }
    if (write_file) ok &= write_price_grids(kGreeksFile);
    return ok;
}

bool Calculator_PDE::write_price_grids(const std::string& path) const {
    if (!dump_matrix(price_grid, path, "Price")) return false;
    return !has_ki || dump_matrix(price_ki, path, "Price_KI");
}
