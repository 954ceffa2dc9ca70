// The univariate sweep: which parameter values are priced, and the nearest price to a target.
#pragma once

#include <vector>

class Snowball_PDE;

// A sweep prices at most this many points, so that it stays interactive.
inline constexpr int kMaxSweepPoints = 20;

// The points start, start + step, ... that one sweep prices.
struct SweepPlan {
    int count = 0;  // 0: nothing to price
    double start = 0;
    double step = 0;
    bool step_changed = false;  // the cap replaced the step; the panel shows the new one
};

// Counts the points of [start, end]; a range of more than kMaxSweepPoints points keeps the
// start and takes kMaxSweepPoints points a twentieth of the range apart, so the end itself is
// not priced.
SweepPlan plan_sweep(double start, double end, double step);

// The range of a refinement around the best parameter p of a sweep with step s: from p - s
// (not below 0) to p + s with a tenth of the step.
struct SweepRange {
    double start = 0;
    double end = 0;
    double step = 0;
};
SweepRange refine_range(double p, double s);

// The range a target variable starts from when it is chosen; a kind outside 0..5 gets 0..1 with
// step 0.05.
SweepRange sweep_defaults(int kind);

struct SweepOutcome {
    enum Status {
        Ok,
        NoProduct,   // the engine holds no product terms
        Unpriced,    // some point could not be priced
        NoBoundary,  // no price lies at a finite distance from the target
    };
    Status status = Ok;
    std::vector<double> x;
    std::vector<double> prices;
    int best = -1;  // index of the price nearest the target; the earlier one on a tie
};

// Prices the plan's points on a working copy of the engine, varying the parameter `kind`.
// The engine given is left as it was.
SweepOutcome run_sweep(const Snowball_PDE& engine, int kind, const SweepPlan& plan, double target);
