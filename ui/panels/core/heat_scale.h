// Colour levels of the stress tables: values above a centre spread over 1..8, below it over
// -1..-8.
#pragma once

#include <vector>

class HeatScale {
  public:
    // Scans every value: those above the centre set the upper side's range, those below it the
    // lower side's. Values equal to the centre and values that are not finite belong to neither.
    HeatScale(const std::vector<std::vector<double>>& matrix, double centre);

    // The smallest value above the centre is level 1 and the largest 8; the largest value below
    // it -1 and the smallest -8, each side cut into seven equal steps and truncated toward zero.
    // A side whose values are all equal is level 1 (above) or -1 (below) throughout. A value on
    // the centre, NaN or infinite is 0, the neutral colour.
    int level(double v) const;

  private:
    double centre_;
    double hi_min_, hi_max_, hi_step_;
    double lo_min_, lo_max_, lo_step_;
};
