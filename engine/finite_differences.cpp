#include "finite_differences.h"

#include <limits>

#include "grid_memory.h"

namespace {

// The edge rows of G have no second difference of their own and copy their neighbours (a grid
// of two rows has no second difference at all); theta is the forward difference in time.
void gamma_edges_and_theta(const NEWMAT::Matrix& V, double dt, NEWMAT::Matrix& G,
                           NEWMAT::Matrix& Th) {
    const int R = V.Nrows();
    const int C = V.Ncols();
    const double* v = V.Store();
    double* g = G.Store();
    double* th = Th.Store();
    if (R > 2) {
        for (int n = 0; n < C; ++n) {
            g[n] = g[C + n];
            g[(R - 1) * C + n] = g[(R - 2) * C + n];
        }
    } else {
        for (int k = 0; k < R * C; ++k)
            g[k] = std::numeric_limits<double>::quiet_NaN();
    }
    for (int i = 0; i < R; ++i) {
        const double* vi = v + i * C;
        double* ti = th + i * C;
        for (int n = 0; n < C - 1; ++n)
            ti[n] = (vi[n + 1] - vi[n]) / dt;
        ti[C - 1] = ti[C - 2];
    }
}

}  // namespace

void finite_differences(const NEWMAT::Matrix& V, double dS, double dt, NEWMAT::Matrix& D,
                        NEWMAT::Matrix& G, NEWMAT::Matrix& Th) {
    const int R = V.Nrows();
    const int C = V.Ncols();
    if (R < 2 || C < 2) return;
    size_grid(D, R, C);
    size_grid(G, R, C);
    size_grid(Th, R, C);

    // Row-major storage: cell (i, n), 0-based, is at i * C + n.
    const double* v = V.Store();
    double* d = D.Store();
    double* g = G.Store();
    const double half_over_dS = 0.5 / dS;
    const double over_dS2 = 1.0 / (dS * dS);

    for (int n = 0; n < C; ++n) {
        d[n] = (v[C + n] - v[n]) / dS;
        d[(R - 1) * C + n] = (v[(R - 1) * C + n] - v[(R - 2) * C + n]) / dS;
    }
    for (int i = 1; i < R - 1; ++i) {
        const double* below = v + (i - 1) * C;
        const double* here = v + i * C;
        const double* above = v + (i + 1) * C;
        double* di = d + i * C;
        double* gi = g + i * C;
        for (int n = 0; n < C; ++n) {
            di[n] = (above[n] - below[n]) * half_over_dS;
            gi[n] = (below[n] + above[n] - 2 * here[n]) * over_dS2;
        }
    }
    gamma_edges_and_theta(V, dt, G, Th);
}

void finite_differences_on_nodes(const NEWMAT::Matrix& V, const std::vector<double>& nodes,
                                 double dt, NEWMAT::Matrix& D, NEWMAT::Matrix& G,
                                 NEWMAT::Matrix& Th) {
    const int R = V.Nrows();
    const int C = V.Ncols();
    if (R < 2 || C < 2 || static_cast<std::size_t>(R) != nodes.size()) return;
    size_grid(D, R, C);
    size_grid(G, R, C);
    size_grid(Th, R, C);
    const double* v = V.Store();
    double* d = D.Store();
    double* g = G.Store();
    const double first = nodes[1] - nodes[0];
    const double last = nodes[R - 1] - nodes[R - 2];
    for (int n = 0; n < C; ++n) {
        d[n] = (v[C + n] - v[n]) / first;
        d[(R - 1) * C + n] = (v[(R - 1) * C + n] - v[(R - 2) * C + n]) / last;
    }
    for (int i = 1; i < R - 1; ++i) {
        const double hm = nodes[i] - nodes[i - 1];
        const double hp = nodes[i + 1] - nodes[i];
        const double den = hm * hp * (hm + hp);
        const double* below = v + (i - 1) * C;
        const double* here = v + i * C;
        const double* above = v + (i + 1) * C;
        double* di = d + i * C;
        double* gi = g + i * C;
        for (int n = 0; n < C; ++n) {
            di[n] = (hm * hm * above[n] + (hp * hp - hm * hm) * here[n] - hp * hp * below[n]) / den;
            gi[n] = 2 * (hp * below[n] - (hm + hp) * here[n] + hm * above[n]) / den;
        }
    }
    gamma_edges_and_theta(V, dt, G, Th);
}
