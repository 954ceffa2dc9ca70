#include "twisted_tridiagonal.h"

void TwistedTridiagonal::factorise(const double* lower, const double* diag, const double* upper,
                                   std::size_t n) {
    scale_.assign(n, 0.0);
    carry_.assign(n, 0.0);
    back_.assign(n, 0.0);
    if (n == 0) return;
    const std::size_t m = n / 2;
    middle_ = m;
    double prev = 0;  // back[k-1] going down, back[k+1] going up
    for (std::size_t k = 0; k < m; ++k) {
        const double l = k > 0 ? lower[k] : 0.0;
        scale_[k] = 1.0 / (diag[k] - l * prev);
        carry_[k] = l * scale_[k];
        back_[k] = upper[k] * scale_[k];
        prev = back_[k];
    }
    const double above = m > 0 ? back_[m - 1] : 0.0;
    prev = 0;
    for (std::size_t k = n - 1; k > m; --k) {
        const double u = k + 1 < n ? upper[k] : 0.0;
        scale_[k] = 1.0 / (diag[k] - u * prev);
        carry_[k] = u * scale_[k];
        back_[k] = lower[k] * scale_[k];
        prev = back_[k];
    }
    const double below = m + 1 < n ? back_[m + 1] : 0.0;
    middle_lower_ = m > 0 ? lower[m] : 0.0;
    middle_upper_ = m + 1 < n ? upper[m] : 0.0;
    middle_scale_ = 1.0 / (diag[m] - middle_lower_ * above - middle_upper_ * below);
}

// Every lane's recurrences run in the same loops; the values carried along stay in locals so
// that the stores to x are not taken for writes to them.
template <int Lanes>
void TwistedTridiagonal::solve_lanes(const TwistedTridiagonal* const* systems, double* const* x) {
    const std::size_t n = systems[0]->size();
    if (n == 0) return;
    const std::size_t m = systems[0]->middle_;
    double top[Lanes], bottom[Lanes];
    for (int a = 0; a < Lanes; ++a)
        top[a] = bottom[a] = 0;
    // 1. elimination from both ends: rows 0 .. m-1 downwards, rows n-1 .. m+1 upwards
    for (std::size_t i = 0; i < m; ++i) {
        const std::size_t k = i;
        const std::size_t j = n - 1 - i;
        const bool has_j = j > m;
        for (int a = 0; a < Lanes; ++a) {
            const TwistedTridiagonal& s = *systems[a];
            x[a][k] = top[a] = x[a][k] * s.scale_[k] - s.carry_[k] * top[a];
            if (has_j) x[a][j] = bottom[a] = x[a][j] * s.scale_[j] - s.carry_[j] * bottom[a];
        }
    }
    // 2. the middle row, from the rows next to it
    for (int a = 0; a < Lanes; ++a) {
        const TwistedTridiagonal& s = *systems[a];
        const double y_above = m > 0 ? x[a][m - 1] : 0.0;
        const double z_below = m + 1 < n ? x[a][m + 1] : 0.0;
        x[a][m] = top[a] = bottom[a] =
            (x[a][m] - s.middle_lower_ * y_above - s.middle_upper_ * z_below) * s.middle_scale_;
    }
    // 3. substitution outwards from the middle
    for (std::size_t i = 1; i <= m; ++i) {
        const std::size_t k = m - i;
        const std::size_t j = m + i;
        const bool has_j = j < n;
        for (int a = 0; a < Lanes; ++a) {
            const TwistedTridiagonal& s = *systems[a];
            x[a][k] = top[a] = x[a][k] - s.back_[k] * top[a];
            if (has_j) x[a][j] = bottom[a] = x[a][j] - s.back_[j] * bottom[a];
        }
    }
}

void TwistedTridiagonal::solve(double* x) const {
    const TwistedTridiagonal* systems[1] = {this};
    double* const columns[1] = {x};
    solve_lanes<1>(systems, columns);
}

void TwistedTridiagonal::solve_two(const TwistedTridiagonal& a, double* x,
                                   const TwistedTridiagonal& b, double* y) {
    const TwistedTridiagonal* systems[2] = {&a, &b};
    double* const columns[2] = {x, y};
    solve_lanes<2>(systems, columns);
}
