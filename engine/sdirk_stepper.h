// Backward time steps of the two-stage L-stable SDIRK scheme (alpha = 1 − 1/√2) on a fixed
// operator: a sub-step of length tau from t + tau back to t solves
//   (I − alpha·tau·L) Y  = U                              (edges at t + (1 − alpha)·tau),
//   (I − alpha·tau·L) U' = U + ((1 − alpha)/alpha)(Y − U)  (edges at t),
// which is TR-BDF2 without an operator application. L-stability damps the jumps that barriers
// and payoffs put into the values, where Crank–Nicolson would let them ring.
#pragma once

#include <array>
#include <vector>

#include "nonuniform_operator.h"
#include "twisted_tridiagonal.h"

// Values at nodes 0 and M.
struct EdgeValues {
    double lower = 0;
    double upper = 0;
};

// One sub-step of one column: `parts` sub-steps make a time step (1, 2, 4 or 8).
struct SubStep {
    double* values;  // nodes 0 .. M; the edge nodes receive end's values
    int parts;
    EdgeValues stage;  // at the time of the first stage
    EdgeValues end;    // at the end of the sub-step
};

class SdirkStepper {
  public:
    SdirkStepper(const NonUniformOperator& op, double dt, int M);

    // The time of the first stage of a sub-step of length tau that ends at t.
    static double stage_time(double t, double tau);

    void advance(const SubStep& a);
    // Two columns at once, their solves interleaved.
    void advance(const SubStep& a, const SubStep& b);

  private:
    template <int Lanes>
    void advance_lanes(const SubStep* const* steps);
    // Moves the edge values of a stage to the right-hand side of the first and last rows.
    void add_edges(int level, EdgeValues edge, double* x) const;

    static int level_of(int parts);

    std::array<TwistedTridiagonal, 4> systems_;  // for dt, dt/2, dt/4, dt/8
    std::array<double, 4> shift_{};              // alpha·tau of each
    double first_lower_, last_upper_;
    int M_;
    std::array<std::vector<double>, 2> stage_;  // Y of each lane
};
