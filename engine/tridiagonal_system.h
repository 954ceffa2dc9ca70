// A tridiagonal system factorised once and solved for many right-hand sides (Thomas algorithm).
#pragma once

#include <cstddef>
#include <vector>

class TridiagonalSystem {
  public:
    // Row k of the system (k = 0 .. n-1) reads lower[k]·x[k-1] + diag[k]·x[k] + upper[k]·x[k+1];
    // lower[0] and upper[n-1] lie outside the matrix and are not read.
    void factorise(const double* lower, const double* diag, const double* upper, std::size_t n);

    std::size_t size() const { return scale_.size(); }

    // Overwrites x and y (size() values each) with the solutions for right-hand sides x and y,
    // in one sweep: their recurrences are independent, so they overlap.
    void solve_pair(double* x, double* y) const;

  private:
    // Forward sweep y[k] = rhs[k]·scale[k] − carry[k]·y[k-1]; back sweep x[k] = y[k] −
    // back[k]·x[k+1].
    std::vector<double> scale_, carry_, back_;
};
