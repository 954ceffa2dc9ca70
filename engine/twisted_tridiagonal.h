// A tridiagonal system factorised once and solved for many right-hand sides by eliminating from
// both ends towards the middle row at once (a twisted factorisation): the two halves are
// independent recurrences, so a solve waits on chains half as long as the Thomas algorithm's, and
// two systems solved together keep four chains in flight.
#pragma once

#include <cstddef>
#include <vector>

class TwistedTridiagonal {
  public:
    // Row k (k = 0 .. n-1) reads lower[k]·x[k-1] + diag[k]·x[k] + upper[k]·x[k+1]; lower[0] and
    // upper[n-1] are not read.
    void factorise(const double* lower, const double* diag, const double* upper, std::size_t n);

    std::size_t size() const { return scale_.size(); }

    // Overwrites x (size() values) with the solution for right-hand side x.
    void solve(double* x) const;
    // a.solve(x) and b.solve(y) interleaved; a and b have the same size.
    static void solve_two(const TwistedTridiagonal& a, double* x, const TwistedTridiagonal& b,
                          double* y);

  private:
    template <int Lanes>
    static void solve_lanes(const TwistedTridiagonal* const* systems, double* const* x);

    // Rows above the middle: y[k] = rhs[k]·scale[k] − carry[k]·y[k-1], x[k] = y[k] −
    // back[k]·x[k+1]. Rows below it, mirrored: z[k] = rhs[k]·scale[k] − carry[k]·z[k+1], x[k] =
    // z[k] − back[k]·x[k-1].
    std::vector<double> scale_, carry_, back_;
    std::size_t middle_ = 0;
    double middle_lower_ = 0, middle_upper_ = 0, middle_scale_ = 0;
};
