// Greek grids of Calculator_PDE and the writers of its price grids.
#include <limits>
#include <new>

#include "calculator_pde.h"
#include "finite_differences.h"
#include "grid_memory.h"
#include "matrix_dump.h"

namespace {

// out = (bumped - base) * scale cell by cell. A bumped grid of another size comes from a failed
// or older run: out is then NaN at the size of base, and the result is false.
bool scaled_difference(const NEWMAT::Matrix& bumped, const NEWMAT::Matrix& base, double scale,
                       NEWMAT::Matrix& out) {
    const int rows = base.Nrows();
    const int cols = base.Ncols();
    size_grid(out, rows, cols);
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

bool Calculator_PDE::compute_base_greeks() {
    try {
        differences(grid_axes, price_grid, dS, dt, delta, gamma, theta);
        differences(grid_axes, price_ki, dS, dt, delta_ki, gamma_ki, theta_ki);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool Calculator_PDE::compute_greeks(bool write_file) {
    bool ok = true;
    try {
        differences(grid_axes, price_grid, dS, dt, delta, gamma, theta);
        ok &= scaled_difference(price_vol_up, price_grid, vega_scale, vega);
        ok &= scaled_difference(price_rate_up, price_grid, rho_scale, rho);
        differences(grid_axes, price_ki, dS, dt, delta_ki, gamma_ki, theta_ki);
        if (has_ki) {
            ok &= scaled_difference(price_ki_vol_up, price_ki, vega_scale, vega_ki);
            ok &= scaled_difference(price_ki_rate_up, price_ki, rho_scale, rho_ki);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (write_file) ok &= write_price_grids(kGreeksFile);
    return ok;
}

FileWriteStatus Calculator_PDE::append_price_grids(const std::string& path) const {
    try {
        if (!has_ki) return append_grids(path, {{&price_grid, "Price"}});
        return append_grids(path, {{&price_grid, "Price"}, {&price_ki, "Price_KI"}});
    } catch (const std::bad_alloc&) {
        return FileWriteStatus::WriteFailed;  // nothing was appended
    }
}

bool Calculator_PDE::write_price_grids(const std::string& path) const {
    return append_price_grids(path) == FileWriteStatus::Ok;
}
