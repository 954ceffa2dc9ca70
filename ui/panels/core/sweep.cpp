#include "sweep.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "param_kind.h"
#include "point_count.h"
#include "snowball_pde.h"

SweepPlan plan_sweep(double start, double end, double step) {
    SweepPlan plan;
    const double n = point_count(start, end, step);
    if (n == 0) return plan;
    plan.start = start;
    plan.step = step;
    if (n > kMaxSweepPoints) {
        plan.count = kMaxSweepPoints;
        plan.step = (end - start) * 0.05;
        plan.step_changed = true;
    } else {
        plan.count = static_cast<int>(n);
    }
    return plan;
}

SweepRange refine_range(double p, double s) {
    return {std::max(0.0, p - s), p + s, s * 0.1};
}

SweepRange sweep_defaults(int kind) {
    switch (kind) {
        case kParamKoBarrier:
            return {100, 110, 5};
        case kParamKiBarrier:
            return {80, 90, 1};
        case kParamCoupon:
            return {0, 0.5, 0.05};
        case kParamDivCoupon:
        case kParamCouponDiv:
            return {0, 0.3, 0.05};
        default:
            return {0, 1, 0.05};
    }
}

SweepOutcome run_sweep(const Snowball_PDE& engine, int kind, const SweepPlan& plan, double target) {
    SweepOutcome out;
    if (!engine.product_set) {
        out.status = SweepOutcome::NoProduct;
        return out;
    }
    Snowball_PDE work(engine);
    work.save_param(kind);
    double best_distance = DBL_MAX;
    for (int i = 0; i < plan.count; ++i) {
        const double x = plan.start + i * plan.step;
        work.set_param(kind, x);
        const double p = work.price();
        if (std::isnan(p)) {
            out.status = SweepOutcome::Unpriced;
            return out;
        }
        out.x.push_back(x);
        out.prices.push_back(p);
        const double d = std::fabs(p - target);
        if (d < best_distance) {
            best_distance = d;
            out.best = i;
        }
    }
    if (out.best < 0) out.status = SweepOutcome::NoBoundary;
    return out;
}
