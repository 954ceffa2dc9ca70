// The Black–Scholes operator L = ½σ²S²∂² + (r − q)S∂ − r on the interior nodes of a non-uniform
// price grid, by three-point differences.
#pragma once

#include <vector>

#include "twisted_tridiagonal.h"

class NonUniformOperator {
  public:
    // nodes 0 .. M ascending; rows for the interior nodes j = 1 .. M−1.
    NonUniformOperator(const std::vector<double>& nodes, double sigma, double r, double q);

    // Factorises I − k·L for the interior nodes into `system`.
    void factorise_shifted(double k, TwistedTridiagonal& system) const;
    // The coefficients that tie the first and last interior rows to nodes 0 and M.
    double first_lower() const { return lower_.front(); }
    double last_upper() const { return upper_.back(); }

  private:
    // Row k of L (interior node k + 1): lower_[k]·V[k] + diag_[k]·V[k+1] + upper_[k]·V[k+2].
    std::vector<double> lower_, diag_, upper_;
};
