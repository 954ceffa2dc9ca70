#include "feature_grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Features closer than this (relative to S_max) are one feature.
constexpr double kMergeTolerance = 1e-12;

// Segment shares rounded to whole intervals, each at least one, summing to M: floors first, then
// the largest remainders; a segment raised to one is paid for by the segment with most to spare.
std::vector<int> share_out(const std::vector<double>& weights, int M) {
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    const std::size_t n = weights.size();
    std::vector<double> share(n);
    std::vector<int> count(n);
    for (std::size_t k = 0; k < n; ++k) {
        share[k] = M * weights[k] / total;
        count[k] = std::max(1, static_cast<int>(std::floor(share[k])));
    }
    int sum = std::accumulate(count.begin(), count.end(), 0);
    while (sum < M) {
        std::size_t best = 0;
        for (std::size_t k = 1; k < n; ++k)
            if (share[k] - count[k] > share[best] - count[best]) best = k;
        ++count[best];
        ++sum;
    }
    while (sum > M) {
        std::size_t best = n;
        for (std::size_t k = 0; k < n; ++k)
            if (count[k] > 1 && (best == n || share[k] - count[k] < share[best] - count[best]))
                best = k;
        --count[best];
        --sum;
    }
    return count;
}

}  // namespace

FeatureGrid::FeatureGrid(std::vector<double> features, double S_max, int M, double width)
    : width_(width) {
    if (!(S_max > 0) || !std::isfinite(S_max) || !(width > 0) || !std::isfinite(width)) return;
    features.erase(std::remove_if(features.begin(), features.end(),
                                  [](double c) { return !std::isfinite(c); }),
                   features.end());
    std::sort(features.begin(), features.end());
    knots_.push_back(0);
    for (double c : features) {
        if (!(c > 0 && c < S_max)) continue;
        if (c - knots_.back() > kMergeTolerance * S_max) knots_.push_back(c);
    }
    if (S_max - knots_.back() <= kMergeTolerance * S_max) knots_.pop_back();
    knots_.push_back(S_max);
    const std::size_t segments = knots_.size() - 1;
    if (M < static_cast<int>(segments)) return;
    std::vector<double> weights(segments);
    for (std::size_t k = 0; k < segments; ++k)
        weights[k] = integral(k, knots_[k + 1]);
    counts_ = share_out(weights, M);
}

int FeatureGrid::intervals() const {
    return std::accumulate(counts_.begin(), counts_.end(), 0);
}

FeatureGrid FeatureGrid::refined() const {
    FeatureGrid fine = *this;
    for (int& n : fine.counts_)
        n *= 2;
    return fine;
}

std::vector<double> FeatureGrid::nodes() const {
    std::vector<double> out;
    if (!valid()) return out;
    out.reserve(static_cast<std::size_t>(intervals()) + 1);
    for (std::size_t k = 0; k < counts_.size(); ++k) {
        out.push_back(knots_[k]);
        const double total = integral(k, knots_[k + 1]);
        for (int m = 1; m < counts_[k]; ++m)
            out.push_back(invert(k, double(m) / counts_[k] * total, total));
    }
    out.push_back(knots_.back());
    return out;
}

// Between two features the peak of the nearer one (relative to its own width) is the higher, and
// no third feature rises above both; the two peaks are equal at the harmonic mean of the knots.
// The first segment has only its upper knot as a feature, the last only its lower knot.
double FeatureGrid::switch_point(std::size_t k) const {
    const double a = knots_[k];
    const double b = knots_[k + 1];
    const bool a_feature = k > 0;
    const bool b_feature = k + 2 < knots_.size();
    if (a_feature && b_feature) return 2 * a * b / (a + b);
    return a_feature ? b : a;  // the whole segment under the one peak
}

double FeatureGrid::peak_integral(double c, double from, double to) const {
    const double wc = width_ * c;
    return (to - from) +
           kPeakHeight * wc * (std::asinh((to - c) / wc) - std::asinh((from - c) / wc));
}

double FeatureGrid::integral(std::size_t k, double x) const {
    const double a = knots_[k];
    const bool a_feature = k > 0;
    const bool b_feature = k + 2 < knots_.size();
    if (!a_feature && !b_feature) return x - a;
    const double s = switch_point(k);
    if (x <= s) return a_feature ? peak_integral(a, a, x) : x - a;
    const double first = a_feature ? peak_integral(a, a, s) : s - a;
    return first + peak_integral(knots_[k + 1], s, x);
}

// Safeguarded Newton on the increasing integral (its slope is rho >= 1), kept inside a bracket.
double FeatureGrid::invert(std::size_t k, double target, double total) const {
    double lo = knots_[k];
    double hi = knots_[k + 1];
    double x = lo + (hi - lo) * target / total;
    for (int iter = 0; iter < 100; ++iter) {
        const double f = integral(k, x) - target;
        if (f > 0)
            hi = x;
        else
            lo = x;
        double slope = 1;
        const double s = switch_point(k);
        const bool a_feature = k > 0;
        const bool b_feature = k + 2 < knots_.size();
        const bool on_a = x <= s;
        if ((on_a && a_feature) || (!on_a && b_feature)) {
            const double c = on_a ? knots_[k] : knots_[k + 1];
            const double z = (x - c) / (width_ * c);
            slope += kPeakHeight / std::sqrt(1 + z * z);
        }
        double next = x - f / slope;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - x) <= 1e-15 * knots_.back()) return next;
        x = next;
    }
    return x;
}
