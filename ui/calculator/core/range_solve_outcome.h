// What the window tells the user after a solve in an interval, for each result code of the
// parameter search.
#pragma once

#include <QString>

#include "pricing_problem.h"

struct RangeSolveOutcome {
    enum class Box { None, Critical, Information };
    Box box = Box::None;
    QString title;
    QString text;
    // The status line reads "计算已完成" afterwards; otherwise it is cleared.
    bool finished = true;
};

// rc as solve_param returns it: 0 found, -1 iteration limit, -2 price stopped moving,
// -3 not a parameter kind, -4 target outside the interval, -5 terms that cannot be priced (the
// engine's `problem` says why), -6 cancelled (no box); any other code is reported too.
RangeSolveOutcome rangeSolveOutcome(int rc, PricingProblem problem = PricingProblem::None);
