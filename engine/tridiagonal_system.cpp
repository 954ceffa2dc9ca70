#include "tridiagonal_system.h"

void TridiagonalSystem::factorise(const double* lower, const double* diag, const double* upper,
                                  std::size_t n) {
    scale_.assign(n, 0.0);
    carry_.assign(n, 0.0);
    back_.assign(n, 0.0);
    double prev_back = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const double l = k > 0 ? lower[k] : 0.0;
        const double pivot = diag[k] - l * prev_back;
        scale_[k] = 1.0 / pivot;
        carry_[k] = l * scale_[k];
        back_[k] = k + 1 < n ? upper[k] * scale_[k] : 0.0;
        prev_back = back_[k];
    }
}

// The recurrences carry the previous value in a local, so that the writes to x and y cannot be
// taken for writes to the value carried.
void TridiagonalSystem::solve_pair(double* x, double* y) const {
    const std::size_t n = scale_.size();
    if (n == 0) return;
    const double* s = scale_.data();
    const double* c = carry_.data();
    const double* b = back_.data();
    double px = x[0] * s[0];
    double py = y[0] * s[0];
    x[0] = px;
    y[0] = py;
    for (std::size_t k = 1; k < n; ++k) {
        x[k] = px = x[k] * s[k] - c[k] * px;
        y[k] = py = y[k] * s[k] - c[k] * py;
    }
    for (std::size_t k = n - 1; k-- > 0;) {
        x[k] = px = x[k] - b[k] * px;
        y[k] = py = y[k] - b[k] * py;
    }
}
