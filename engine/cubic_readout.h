// Value, slope and curvature at a price between the nodes of a grid column, from the cubic
// through the four nodes around it.
#pragma once

#include <cstddef>
#include <vector>

struct CubicReadout {
    double value;
    double slope;      // first derivative in the price
    double curvature;  // second derivative in the price
};

// Reads `column` (one value per node) at S with the stencil of four nodes around S, slid to stay
// within nodes lo .. hi (so that it never crosses a jump just outside them); fewer nodes when the
// range holds fewer. NaN everywhere when the range holds fewer than two nodes.
CubicReadout read_cubic(const std::vector<double>& nodes, const double* column, double S,
                        std::size_t lo, std::size_t hi);
