// The axes of stored value grids: the price of every row and the times of the columns, kept with
// the grids so that a look-up reads them on the grid they were computed on.
#pragma once

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

struct PriceGridAxes {
    // Price of each row, ascending; empty until a run stored its grids.
    std::vector<double> nodes;
    // The step of a uniform grid (row j at j·dS), NaN on a non-uniform one.
    double dS = std::numeric_limits<double>::quiet_NaN();
    double dt = std::numeric_limits<double>::quiet_NaN();
    double T = std::numeric_limits<double>::quiet_NaN();
    int M = 0;  // price steps: M + 1 rows
    int N = 0;  // time steps: N + 1 columns, today first

    static PriceGridAxes uniform(int M, double dS, int N, double dt, double T);
    static PriceGridAxes on_nodes(std::vector<double> nodes, int N, double dt, double T);

    bool is_uniform() const { return !std::isnan(dS); }
    // 1-based column of remaining life tau: today for a negative tau, else the time node nearest
    // to T - tau (half away from zero), clamped to [today, maturity]; 0 when there is none.
    int column(double tau) const;
    // The value at price S on the straight line between the two rows around it, read from a
    // column of `rows` cells `stride` apart; NaN outside the grid or beyond `rows`.
    double value_at(const double* column, std::ptrdiff_t stride, int rows, double S) const;
};
