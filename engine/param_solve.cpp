// The parameter search of Snowball_PDE: bisection for the value that prices at a target.
#include <cmath>
#include <cstdio>
#include <limits>

#include "param_kind.h"
#include "snowball_pde.h"
#include "sp_logger.h"

namespace {

// Puts the searched parameter back to its saved value however the search ends.
class RestoreOnExit {
  public:
    RestoreOnExit(Snowball_PDE& engine, int kind) : engine_(engine), kind_(kind) {
        engine_.save_param(kind_);
    }
    ~RestoreOnExit() { engine_.restore_param(kind_); }
    RestoreOnExit(const RestoreOnExit&) = delete;
    RestoreOnExit& operator=(const RestoreOnExit&) = delete;

  private:
    Snowball_PDE& engine_;
    int kind_;
};

// The code of a price the search cannot go on from: the terms cannot be priced, or the run was
// stopped; 0 when the price is there.
int32_t stop_code(PricingProblem problem) {
    if (problem == PricingProblem::None) return 0;
    return problem == PricingProblem::Cancelled ? kSolveCancelled : kSolveCannotPrice;
}

}  // namespace

int32_t Snowball_PDE::solve_param(double target, int kind, double& result, double lo, double hi) {
    if (!is_param_kind(kind)) return -3;
    RestoreOnExit restore(*this, kind);

    // Terms that cannot be priced at an end of the interval would make every step NaN and end
    // in "no value found", which sends the user the wrong way: the search does not start.
    set_param(kind, lo);
    const double f_lo = price();
    if (const int32_t code = stop_code(last_problem)) return code;
    set_param(kind, hi);
    const double f_hi = price();
    if (const int32_t code = stop_code(last_problem)) return code;
    // Equal end prices count as falling. Only the upper end is compared with the target.
    const bool rising = f_hi > f_lo;
    if ((rising && target > f_hi) || (!rising && target < f_hi)) return -4;

    result = std::numeric_limits<double>::quiet_NaN();
    double previous = -1;
    for (int32_t i = 0; i < solve_max_iter; ++i) {
        const double mid = (lo + hi) * 0.5;
        set_param(kind, mid);
        const double p = price();
        if (const int32_t code = stop_code(last_problem)) return code;
        std::printf("price:%.5f at %.3f\n", p, mid);
        // A NaN price passes neither test, so an unpriceable product runs to the limit.
        if (std::fabs(target - p) < solve_epsilon) {
            sp_printf(&SpLogger::instance(), kLogInfo, "price:%.5f when %s=%.3f after %d calc\n", p,
                      param_kind_name(kind), mid, i);
            result = mid;
            return 0;
        }
        if (std::fabs(previous - p) < solve_epsilon) {
            sp_printf(&SpLogger::instance(), kLogCritical, "Price NOT changed > EPSILON");
            return -2;
        }
        previous = p;
        const bool go_up = rising ? target > p : p > target;
        (go_up ? lo : hi) = mid;
    }
    return -1;
}
