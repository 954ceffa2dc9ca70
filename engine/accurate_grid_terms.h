// The terms of a snowball product on a feature-fitted grid, where every barrier stands on a node:
// terminal values, edge values at any time, and the knock-in and knock-out conditions, which
// give the node on a barrier the mean of its two sides (the average of the jump over the node's
// cell) rather than snapping the whole node to one side.
#pragma once

#include <cstddef>
#include <vector>

#include "grid_product_terms.h"
#include "sdirk_stepper.h"

// Where a barrier falls among the nodes.
struct BarrierNodes {
    std::size_t first = 0;  // first node at or above the barrier (nodes.size() when none)
    bool on_node = false;   // nodes[first] is the barrier itself

    // -1 below the barrier, 0 on it, +1 above.
    int side(std::size_t j) const { return j < first ? -1 : (j == first && on_node ? 0 : 1); }
};

// The grid's own nodes replace the uniform spacing: M is the number of intervals between them.
struct AccurateGridTerms : GridProductTerms {
    std::vector<double> S;  // nodes 0 .. M

    std::vector<int> col;   // observation column of each date (columns 1 .. N+1)
    std::vector<double> c;  // coupon of each date with the run's adjustment
    std::vector<BarrierNodes> ko, ki;

    double column_time(int n) const { return (n - 1) * dt; }

    void set_barriers(const std::vector<double>& ko_barrier, const std::vector<double>& ki_barrier);
    BarrierNodes locate(double barrier) const;

    double call_amount(double price) const;
    // Redemption on knock-out of date i at price S in column n.
    double knock_out_value(std::size_t i, int n, double price) const;
    // The first date at or after column n (the last date when none).
    std::size_t date_from(int n) const;
    // Nodes 0 and M at time t, with date i the next knock-out date.
    EdgeValues edges(double t, std::size_t i) const;

    // Maturity column, nodes 0 .. M−1 (node M is the edge).
    void terminal_values(double* v, double* w) const;
    // Knocked in strictly below the barrier of `period`, the mean of both on it.
    void apply_knock_in(std::size_t period, double* v, const double* w) const;
    // Knocked out strictly above the barrier of date i, the mean of both on it.
    void apply_knock_out(std::size_t i, int n, double* v, double* w) const;

  private:
    // Maturity values of one side of a node: the left limit (right = false) or the right one.
    void terminal_side(std::size_t j, bool right, double& v, double& w) const;
};
