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

// The frame both spacings share on a grid of at least two rows and columns: D, G and Th sized
// like V, delta on the edge rows by one-sided differences over the first and last spacings, the
// inner rows by inner_row(i, below, here, above, delta_row, gamma_row), then the gamma edges and
// theta. Row-major storage: cell (i, n), 0-based, is at i * C + n.
template <class InnerRow>
void differences(const NEWMAT::Matrix& V, double first, double last, double dt, NEWMAT::Matrix& D,
                 NEWMAT::Matrix& G, NEWMAT::Matrix& Th, InnerRow inner_row) {
    const int R = V.Nrows();
    const int C = V.Ncols();
    size_grid(D, R, C);
    size_grid(G, R, C);
    size_grid(Th, R, C);
    const double* v = V.Store();
    double* d = D.Store();
    double* g = G.Store();
    for (int n = 0; n < C; ++n) {
        d[n] = (v[C + n] - v[n]) / first;
        d[(R - 1) * C + n] = (v[(R - 1) * C + n] - v[(R - 2) * C + n]) / last;
    }
    for (int i = 1; i < R - 1; ++i)
        inner_row(i, v + (i - 1) * C, v + i * C, v + (i + 1) * C, d + i * C, g + i * C);
    gamma_edges_and_theta(V, dt, G, Th);
}

}  // namespace

void finite_differences(const NEWMAT::Matrix& V, double dS, double dt, NEWMAT::Matrix& D,
                        NEWMAT::Matrix& G, NEWMAT::Matrix& Th) {
    const int C = V.Ncols();
    if (V.Nrows() < 2 || C < 2) return;
    const double half_over_dS = 0.5 / dS;
    const double over_dS2 = 1.0 / (dS * dS);
    differences(V, dS, dS, dt, D, G, Th,
                [=](int, const double* below, const double* here, const double* above, double* di,
                    double* gi) {
                    for (int n = 0; n < C; ++n) {
                        di[n] = (above[n] - below[n]) * half_over_dS;
                        gi[n] = (below[n] + above[n] - 2 * here[n]) * over_dS2;
                    }
                });
}

void finite_differences_on_nodes(const NEWMAT::Matrix& V, const std::vector<double>& nodes,
                                 double dt, NEWMAT::Matrix& D, NEWMAT::Matrix& G,
                                 NEWMAT::Matrix& Th) {
    const int R = V.Nrows();
    const int C = V.Ncols();
    if (R < 2 || C < 2 || static_cast<std::size_t>(R) != nodes.size()) return;
    const double first = nodes[1] - nodes[0];
    const double last = nodes[R - 1] - nodes[R - 2];
    differences(
        V, first, last, dt, D, G, Th,
        [&nodes, C](int i, const double* below, const double* here, const double* above, double* di,
                    double* gi) {
            const double hm = nodes[i] - nodes[i - 1];
            const double hp = nodes[i + 1] - nodes[i];
            const double den = hm * hp * (hm + hp);
            for (int n = 0; n < C; ++n) {
                di[n] =
                    (hm * hm * above[n] + (hp * hp - hm * hm) * here[n] - hp * hp * below[n]) / den;
                gi[n] = 2 * (hp * below[n] - (hm + hp) * here[n] + hm * above[n]) / den;
            }
        });
}
