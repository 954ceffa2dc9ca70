// Delta, gamma and theta of a value grid by finite differences on its own nodes.
#pragma once

#include <vector>

#include <newmat/newmat.h>

// Fills D, G and Th (resized to the size of V) from V, whose rows are price nodes dS apart and
// whose columns are time nodes dt apart, today first:
//   delta: central differences inside, one-sided ones on the first and last rows;
//   gamma: second differences inside, the edge rows copy their neighbours (NaN for two rows);
//   theta: forward differences in time, the last column copies the one before.
// A grid with fewer than two rows or two columns leaves D, G and Th untouched.
void finite_differences(const NEWMAT::Matrix& V, double dS, double dt, NEWMAT::Matrix& D,
                        NEWMAT::Matrix& G, NEWMAT::Matrix& Th);

// The same on a grid whose rows are at the prices `nodes` (one per row, ascending): the
// three-point formulas for unequal spacings inside, one-sided differences on the edge rows. A grid
// whose rows do not match the nodes leaves D, G and Th untouched.
void finite_differences_on_nodes(const NEWMAT::Matrix& V, const std::vector<double>& nodes,
                                 double dt, NEWMAT::Matrix& D, NEWMAT::Matrix& G,
                                 NEWMAT::Matrix& Th);
