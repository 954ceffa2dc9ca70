// A non-uniform price grid with given feature prices (barriers, strike, floor) on nodes and its
// nodes crowded around them.
//
// The node density is rho(S) = 1 + A · max over features c of [1 + ((S − c)/(w·c))²]^(−1/2):
// the highest peak, not the sum, so that clustered features do not starve the rest of the grid.
// Knots are 0, the features and S_max; each segment between knots gets a share of the M
// intervals in proportion to the integral of rho over it (at least one), and its nodes are placed
// where the integral of rho reaches equal steps.
#pragma once

#include <vector>

class FeatureGrid {
  public:
    static constexpr double kPeakHeight = 100;  // A

    FeatureGrid() = default;
    // features outside (0, S_max) are left out, duplicates merged; width is w, the relative
    // half-width of a peak.
    FeatureGrid(std::vector<double> features, double S_max, int M, double width);

    // False when M cannot give every segment an interval (or the inputs are not finite).
    bool valid() const { return !counts_.empty(); }
    int intervals() const;
    // The nested grid with every segment's count doubled: its even nodes are this grid's nodes.
    FeatureGrid refined() const;
    // Nodes 0 .. intervals(), the first 0, the last S_max, every feature among them.
    std::vector<double> nodes() const;

  private:
    // Integral of rho from the start of segment k to x (inside the segment).
    double integral(std::size_t k, double x) const;
    // x in segment k where the integral from its start reaches `target` (of `total` over it).
    double invert(std::size_t k, double target, double total) const;
    // The peak that rises highest over x in segment k, and where the segment changes peak.
    double switch_point(std::size_t k) const;
    double peak_integral(double c, double from, double to) const;

    std::vector<double> knots_;  // 0, sorted features, S_max
    std::vector<int> counts_;    // intervals of each segment
    double width_ = 0;
};
