// Why the engine cannot price a product: the checks every run makes before it allocates, and a
// short message for each reason that the window and the command-line tool show.
#pragma once

#include <vector>

#include "pde_params.h"

enum class PricingProblem {
    None,
    InitialPriceNotPositive,  // S0 <= 0 or not a number
    CeilingNotAboveInitial,   // S_max <= S0, or not a finite number
    VolatilityInvalid,        // sigma < 0, or not a finite number
    MaturityInvalid,          // T <= 0, or not a finite number
    RateInvalid,              // r not a finite number
    CouponInvalid,            // a coupon or the dividend coupon not a finite number
    NoObservationDates,
    ScheduleLengthMismatch,  // ko_barrier, coupon, ki_barrier not one entry per date
    BarrierInvalid,          // a barrier that is not a number
    BarrierAboveCeiling,     // a barrier above S_max
    TooFewPriceSteps,        // M < 2
    TooFewTimeSteps,         // N < 1
    GridTooLarge,            // beyond kMaxGridBytes or kMaxNodeSteps (grid_memory.h)
    ObservationOutsideLife,  // an observation time below 0, above T or not a number
    Cancelled,               // stopped through the engine's CancelToken
    OutOfMemory,             // an allocation failed although the bounds let it through
};

// The first problem of the terms in the order above (None when they can be priced). `grids` is
// the number of (M+1) by (N+1) grids the run will hold (grid_memory.h): 0 for a plain price,
// kPriceGridCount for a run storing its grids, kRiskGridCount for the Greeks.
PricingProblem check_pricing_terms(const std::vector<double>& obs_time,
                                   const std::vector<double>& ko_barrier,
                                   const std::vector<double>& coupon,
                                   const std::vector<double>& ki_barrier, double div_coupon,
                                   const PdeParams& p, int grids);

// The reason as one line of UTF-8 text for a message box or the tool's error line; "" for None.
const char* pricing_problem_text(PricingProblem problem);
