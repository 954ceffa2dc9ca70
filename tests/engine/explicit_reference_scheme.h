// The snowball scheme written the slow, literal way, as a reference for the engine's solver: full
// value grids, a band matrix with identity boundary rows, the explicit inverse of its interior
// block and two dense products per time step. Node indices use plain ceil/floor, so callers pick
// grids on which barriers divide exactly; the price is read at node floor(S0/dS).
#pragma once

#include <newmat/newmat.h>

#include "snowball_pde.h"

struct ReferenceRun {
    double price = 0;
    NEWMAT::Matrix V;  // not knocked in, (M+1) by (N+1)
    NEWMAT::Matrix W;  // knocked in
};

// Prices `product` with its base block; the product must be valid.
ReferenceRun explicit_reference_scheme(const Snowball_PDE& product);
