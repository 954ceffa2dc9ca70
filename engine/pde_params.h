// One block of pricing parameters of a finite-difference run, with the run's optional outputs.
#pragma once

#include <cstdint>

#include <newmat/newmat.h>

struct PriceGridAxes;

// The finite-difference method of a run: the implicit scheme on a uniform grid with one step per
// time node, or the accurate one (feature-fitted grid, L-stable sub-steps, barrier averages).
enum class PdeScheme { implicit, accurate };

struct PdeParams {
    double S0 = 100;
    double S_max = 200;
    double sigma = 0.2;
    double r = 0.05;
    double q = 0;  // NaN is read as 0
    double T = 1.0;
    int32_t M = 10;
    int32_t N = 10;
    PdeScheme scheme = PdeScheme::implicit;
    bool extrapolate = false;  // accurate scheme only: also run a grid twice as fine and combine
    // Not owned: they point into the engine holding this block, or are null (output not stored).
    NEWMAT::Matrix* out_price = nullptr;
    NEWMAT::Matrix* out_price_ki = nullptr;
    double* out_dS = nullptr;
    double* out_dt = nullptr;
    PriceGridAxes* out_axes = nullptr;  // the nodes and time steps of the stored grids

    void clear_outputs() {
        out_price = out_price_ki = nullptr;
        out_dS = out_dt = nullptr;
        out_axes = nullptr;
    }
};
