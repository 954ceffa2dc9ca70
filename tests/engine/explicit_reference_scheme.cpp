#include "explicit_reference_scheme.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double call_amount(int j, int k_c, double dS, double p) {
    return p > 0 ? std::max(j - k_c, 0) * dS * p : 0.0;
}

}  // namespace

ReferenceRun explicit_reference_scheme(const Snowball_PDE& e) {
    const PdeParams& b = e.params;
    const int M = b.M;
    const int N = b.N;
    const double dS = b.S_max / M;
    const double dt = b.T / N;
    const double S0 = b.S0;
    const double P = e.payoff_mode > 0.5 ? 0.0 : S0;
    const double p = e.call_participation;
    const std::size_t n_obs = e.obs_time.size();

    std::vector<int> col(n_obs), ko(n_obs), ki(n_obs);
    std::vector<double> c(n_obs);
    for (std::size_t i = 0; i < n_obs; ++i) {
        col[i] = int(std::round(e.obs_time[i] / dt)) + 1;
        ko[i] = std::max(int(std::ceil(e.ko_barrier[i] / dS)), 1);
        ki[i] = int(std::floor(e.ki_barrier[i] / dS)) + 1;
        c[i] = e.coupon[i] + (1 - e.coupon_adj_share) * e.coupon_adj_rate;
    }
    const int k_c = int(std::ceil(e.call_strike / dS));
    const bool has_floor = e.floor_price > 0;
    const int k_f = has_floor ? int(std::ceil(e.floor_price / dS)) : -1;

    ReferenceRun run;
    NEWMAT::Matrix& V = run.V;
    NEWMAT::Matrix& W = run.W;
    V.ReSize(M + 1, N + 1);
    W.ReSize(M + 1, N + 1);
    V = -1;
    W = -1;

    // Maturity column.
    const std::size_t last = n_obs - 1;
    for (int j = 0; j < M; ++j) {
        double v, w;
        if (j >= ko[last]) {
            v = w = P + c[last] * b.T * S0 + call_amount(j, k_c, dS, p);
        } else if (has_floor && j <= k_f) {
            v = w = e.floor_price - (S0 - P);
        } else {
            w = j * dS - (S0 - P);
            v = j >= ki[last] ? P + e.div_coupon * b.T * S0 : w;
        }
        V(j + 1, N + 1) = v;
        W(j + 1, N + 1) = w;
    }
    // Top boundary, walking the observation dates forward.
    const double A = p > 0 ? std::max((b.S_max - e.call_strike) * p, 0.0) : 0.0;
    std::size_t i = 0;
    for (int n = 1; n <= N + 1; ++n) {
        V(M + 1, n) = W(M + 1, n) =
            std::exp(-b.r * (col[i] - n) * dt) * (P + c[i] * (col[i] - 1) * dt * S0 + A);
        if (n == col[i] && i + 1 < n_obs) ++i;
    }
    // Bottom boundary.
    for (int n = 1; n <= N; ++n) {
        V(1, n) = W(1, n) =
            (has_floor ? std::exp(-b.r * (N + 1 - n) * dt) * e.floor_price : 0.0) - (S0 - P);
    }

    // Implicit operator with identity boundary rows; its interior block inverted once.
    const double a = b.r - b.q;
    const double s2 = b.sigma * b.sigma;
    std::vector<double> l(M), u(M);
    NEWMAT::BandMatrix op(M + 1, 1, 1);
    op = 0;
    op(1, 1) = 1;
    op(M + 1, M + 1) = 1;
    for (int j = 1; j < M; ++j) {
        l[j] = 0.5 * dt * j * (a - s2 * j);
        u[j] = 0.5 * dt * j * (-a - s2 * j);
        op(j + 1, j) = l[j];
        op(j + 1, j + 1) = 1 + dt * (s2 * j * j + b.r);
        op(j + 1, j + 2) = u[j];
    }
    NEWMAT::BandMatrix interior(M - 1, 1, 1);
    interior = 0;
    for (int r = 1; r <= M - 1; ++r)
        for (int s = std::max(1, r - 1); s <= std::min(M - 1, r + 1); ++s)
            interior(r, s) = op(r + 1, s + 1);
    const NEWMAT::Matrix inverse = interior.i();

    // Backward loop.
    std::size_t period = n_obs - 1;
    NEWMAT::ColumnVector h(M - 1);
    for (int n = N; n >= 1; --n) {
        h = 0;
        h(1) += l[1] * V(1, n);
        h(M - 1) += u[M - 1] * V(M + 1, n);
        W.SubMatrix(2, M, n, n) = inverse * (W.SubMatrix(2, M, n + 1, n + 1) - h);
        V.SubMatrix(2, M, n, n) = inverse * (V.SubMatrix(2, M, n + 1, n + 1) - h);
        for (int j = 1; j <= std::min(ki[period] - 1, M - 1); ++j)
            V(j + 1, n) = W(j + 1, n);
        if (period > 0 && n == col[period - 1]) {
            for (int j = M - 1; j >= ko[period - 1]; --j)
                V(j + 1, n) = W(j + 1, n) =
                    P + c[period - 1] * (n - 1) * dt * S0 + call_amount(j, k_c, dS, p);
            --period;
        }
    }
    run.price = V(std::max(1, int(std::floor(S0 / dS))) + 1, 1);
    return run;
}
