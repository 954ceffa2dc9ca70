// The terms of a snowball product laid on a finite-difference grid: observation columns, barrier
// nodes, boundary and terminal values, and the knock-in and knock-out conditions of the backward
// induction. Nodes j = 0 .. M are the prices j·dS; columns n = 1 .. N+1 the times (n − 1)·dt.
#pragma once

#include <cstddef>
#include <vector>

#include "grid_product_terms.h"

struct SnowballGridTerms : GridProductTerms {
    double dS = 0;
    int floor_node = 0;    // nodes at or below the floor are in the floor region at maturity
    double call_node = 0;  // kept as a double: a strike far below the grid needs no clamping

    std::vector<int> col;   // observation column of each date
    std::vector<int> ko;    // first knocked-out node of each date
    std::vector<int> ki;    // nodes below it are knocked in, for the period ending at each date
    std::vector<double> c;  // coupon of each date with the run's adjustment
    // The walk of the upper boundary over the dates starts at date 0 in column 1 and moves on
    // after the column of the date it stands on; walk_start[i] is the first column at date i.
    std::vector<int> walk_start;

    // Columns of the observation times; false (after logging the time) for one below zero.
    bool set_observation_columns(const std::vector<double>& obs_time);
    void set_nodes(const std::vector<double>& ko_barrier, const std::vector<double>& ki_barrier,
                   double floor, double strike, double participation);
    void set_coupons(const std::vector<double>& coupon, double adj_rate, double adj_share);

    double call_amount(int j) const;
    // Redemption on knock-out at node j in column n under the terms of observation i.
    double knock_out_value(std::size_t i, int n, int j) const;
    double lower_boundary(int n) const;
    // The value at node M in column n: the knock-out amount of the date the walk over the dates
    // stands on in that column, discounted from that date.
    double upper_boundary(int n) const;
    // Maturity column of the not-knocked-in (v) and knocked-in (w) products, nodes 0 .. M−1.
    void terminal_values(double* v, double* w) const;

    // A product not yet knocked in at or below the barrier of `period` becomes knocked in.
    void apply_knock_in(std::size_t period, double* v, const double* w) const;
    // Both products redeem at or above the barrier of observation i.
    void apply_knock_out(std::size_t i, int n, double* v, double* w) const;
};

// x, or the integer it equals up to floating-point noise, so that a barrier on a node counts as on
// it whatever rounding the division S_max / M and the ratio left behind.
double snap_to_node(double x);
