#include "sdirk_stepper.h"

#include <cmath>

namespace {

const double kAlpha = 1 - 1 / std::sqrt(2.0);
const double kStageWeight = (1 - kAlpha) / kAlpha;

}  // namespace

SdirkStepper::SdirkStepper(const NonUniformOperator& op, double dt, int M)
    : first_lower_(op.first_lower()), last_upper_(op.last_upper()), M_(M) {
    for (int level = 0; level < 4; ++level) {
        shift_[level] = kAlpha * dt / (1 << level);
        op.factorise_shifted(shift_[level], systems_[level]);
    }
    for (std::vector<double>& y : stage_)
        y.resize(static_cast<std::size_t>(M) + 1);
}

double SdirkStepper::stage_time(double t, double tau) {
    return t + (1 - kAlpha) * tau;
}

int SdirkStepper::level_of(int parts) {
    return parts >= 8 ? 3 : parts >= 4 ? 2 : parts >= 2 ? 1 : 0;
}

void SdirkStepper::add_edges(int level, EdgeValues edge, double* x) const {
    x[1] += shift_[level] * first_lower_ * edge.lower;
    x[M_ - 1] += shift_[level] * last_upper_ * edge.upper;
}

template <int Lanes>
void SdirkStepper::advance_lanes(const SubStep* const* steps) {
    const TwistedTridiagonal* systems[Lanes];
    double* stage[Lanes];
    double* values[Lanes];
    for (int a = 0; a < Lanes; ++a) {
        const int level = level_of(steps[a]->parts);
        systems[a] = &systems_[level];
        values[a] = steps[a]->values;
        stage[a] = stage_[a].data();
        for (int j = 1; j < M_; ++j)
            stage[a][j] = values[a][j];
        add_edges(level, steps[a]->stage, stage[a]);
    }
    // Stage 1: Y.
    if (Lanes == 1)
        systems[0]->solve(stage[0] + 1);
    else
        TwistedTridiagonal::solve_two(*systems[0], stage[0] + 1, *systems[1], stage[1] + 1);
    // Stage 2: U' from U + ((1 − alpha)/alpha)(Y − U).
    for (int a = 0; a < Lanes; ++a) {
        double* u = values[a];
        for (int j = 1; j < M_; ++j)
            u[j] += kStageWeight * (stage[a][j] - u[j]);
        add_edges(level_of(steps[a]->parts), steps[a]->end, u);
    }
    if (Lanes == 1)
        systems[0]->solve(values[0] + 1);
    else
        TwistedTridiagonal::solve_two(*systems[0], values[0] + 1, *systems[1], values[1] + 1);
    for (int a = 0; a < Lanes; ++a) {
        values[a][0] = steps[a]->end.lower;
        values[a][M_] = steps[a]->end.upper;
    }
}

void SdirkStepper::advance(const SubStep& a) {
    const SubStep* steps[1] = {&a};
    advance_lanes<1>(steps);
}

void SdirkStepper::advance(const SubStep& a, const SubStep& b) {
    const SubStep* steps[2] = {&a, &b};
    advance_lanes<2>(steps);
}
