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
#include "tridiagonal_system.h"

// Values at nodes 0 and M.
struct EdgeValues {
    double lower = 0;
    double upper = 0;
};

class SdirkStepper {
  public:
    static constexpr int kMaxParts = 8;  // a day splits into 1, 2, 4 or 8 sub-steps

    SdirkStepper(const NonUniformOperator& op, double dt, int M);

    // The time of the first stage of a sub-step that ends at t.
    static double stage_time(double t, double tau);

    // One sub-step of length dt/parts (parts 1, 2, 4 or 8) on u and, when not null, w; both hold
    // nodes 0 .. M and receive the edge values at the end.
    void substep(int parts, EdgeValues stage, EdgeValues end, double* u, double* w);

  private:
    void solve(int level, EdgeValues edge, double* x, double* y) const;

    static int level_of(int parts);

    std::array<TridiagonalSystem, 4> systems_;  // for dt, dt/2, dt/4, dt/8
    std::array<double, 4> shift_{};             // alpha·tau of each
    double first_lower_, last_upper_;
    int M_;
    std::vector<double> stage_u_, stage_w_;
};
