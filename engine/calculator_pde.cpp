#include "calculator_pde.h"

#include <limits>

Calculator_PDE::Calculator_PDE(bool has_ki_)
    : has_ki(has_ki_),
      dS(std::numeric_limits<double>::quiet_NaN()),
      dt(std::numeric_limits<double>::quiet_NaN()) {}

Calculator_PDE::Calculator_PDE(const Calculator_PDE& other) {
    *this = other;
}

Calculator_PDE& Calculator_PDE::operator=(const Calculator_PDE& other) {
    if (this == &other) return *this;
    price_grid = other.price_grid;
    delta = other.delta;
    gamma = other.gamma;
    theta = other.theta;
    vega = other.vega;
    rho = other.rho;
    price_ki = other.price_ki;
    delta_ki = other.delta_ki;
    gamma_ki = other.gamma_ki;
    theta_ki = other.theta_ki;
    vega_ki = other.vega_ki;
    rho_ki = other.rho_ki;
    price_vol_up = other.price_vol_up;
    price_ki_vol_up = other.price_ki_vol_up;
    price_rate_up = other.price_rate_up;
    price_ki_rate_up = other.price_ki_rate_up;

    // The pointers of the source point into the source's grids; the copy must never write there.
    params = other.params;
    params_rate_up = other.params_rate_up;
    params_vol_up = other.params_vol_up;
    params.clear_outputs();
    params_rate_up.clear_outputs();
    params_vol_up.clear_outputs();

    has_ki = other.has_ki;
    dS = other.dS;
    dt = other.dt;
    grid_axes = other.grid_axes;
    rate_bump = other.rate_bump;
    vol_bump = other.vol_bump;
    rho_scale = other.rho_scale;
    vega_scale = other.vega_scale;
    return *this;
}

Calculator_PDE::~Calculator_PDE() = default;

std::string Calculator_PDE::param_key() const {
    return "-";
}

void Calculator_PDE::set_grid_size(int M, int N) {
    params.M = M;
    params.N = N;
}
