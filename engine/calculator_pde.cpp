#include "calculator_pde.h"

#include <limits>

Calculator_PDE::Calculator_PDE(bool has_ki_)
    : has_ki(has_ki_),
      dS(std::numeric_limits<double>::quiet_NaN()),
      dt(std::numeric_limits<double>::quiet_NaN()) {}

Calculator_PDE::~Calculator_PDE() = default;

std::string Calculator_PDE::param_key() const {
    return "-";
}

void Calculator_PDE::set_grid_size(int M, int N) {
    params.M = M;
    params.N = N;
}
