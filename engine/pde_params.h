// One block of pricing parameters of a finite-difference run, with the run's optional outputs.
#pragma once

#include <cstdint>

#include <newmat/newmat.h>

struct PdeParams {
    double S0 = 100;
    double S_max = 200;
    double sigma = 0.2;
    double r = 0.05;
    double q = 0;  // NaN is read as 0
    double T = 1.0;
    int32_t M = 10;
    int32_t N = 10;
    // Not owned: they point into the engine holding this block, or are null (output not stored).
    NEWMAT::Matrix* out_price = nullptr;
    NEWMAT::Matrix* out_price_ki = nullptr;
    double* out_dS = nullptr;
    double* out_dt = nullptr;

    void clear_outputs() {
        out_price = out_price_ki = nullptr;
        out_dS = out_dt = nullptr;
    }
};
