#include "sdirk_stepper.h"

#include <cmath>

namespace {

const double kAlpha = 1 - 1 / std::sqrt(2.0);
const double kStageWeight = (1 - kAlpha) / kAlpha;

}  // namespace

SdirkStepper::SdirkStepper(const NonUniformOperator& op, double dt, int M)
    : first_lower_(op.first_lower()),
      last_upper_(op.last_upper()),
      M_(M),
      stage_u_(static_cast<std::size_t>(M) + 1),
      stage_w_(static_cast<std::size_t>(M) + 1) {
    for (int level = 0; level < 4; ++level) {
        shift_[level] = kAlpha * dt / (1 << level);
        op.factorise_shifted(shift_[level], systems_[level]);
    }
}

double SdirkStepper::stage_time(double t, double tau) {
    return t + (1 - kAlpha) * tau;
}

int SdirkStepper::level_of(int parts) {
    return parts >= 8 ? 3 : parts >= 4 ? 2 : parts >= 2 ? 1 : 0;
}

// Solves (I − k·L)x = rhs in place on the interior nodes of x (and y), the edge values moved to
// the right-hand side.
void SdirkStepper::solve(int level, EdgeValues edge, double* x, double* y) const {
    const double k = shift_[level];
    const double low = k * first_lower_ * edge.lower;
    const double high = k * last_upper_ * edge.upper;
    x[1] += low;
    x[M_ - 1] += high;
    if (y == nullptr) {
        systems_[level].solve(x + 1);
    } else {
        y[1] += low;
        y[M_ - 1] += high;
        systems_[level].solve_pair(x + 1, y + 1);
    }
}

void SdirkStepper::substep(int parts, EdgeValues stage, EdgeValues end, double* u, double* w) {
    const int level = level_of(parts);
    double* yu = stage_u_.data();
    double* yw = w ? stage_w_.data() : nullptr;
    for (int j = 1; j < M_; ++j)
        yu[j] = u[j];
    if (w)
        for (int j = 1; j < M_; ++j)
            yw[j] = w[j];
    solve(level, stage, yu, yw);
    for (int j = 1; j < M_; ++j)
        u[j] += kStageWeight * (yu[j] - u[j]);
    if (w)
        for (int j = 1; j < M_; ++j)
            w[j] += kStageWeight * (yw[j] - w[j]);
    solve(level, end, u, w);
    u[0] = end.lower;
    u[M_] = end.upper;
    if (w) {
        w[0] = end.lower;
        w[M_] = end.upper;
    }
}
