// The finite-difference price of the classic snowball against grid refinement and against an
// independent Monte Carlo with the same discrete monitoring.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "test_snowball.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kPathPairs = 20000;  // the sanitizer build is an order of magnitude slower
#else
constexpr int kPathPairs = 150000;
#endif

struct McEstimate {
    double mean;
    double std_error;
};

// Exact log-normal steps between time nodes; knock-in tested on every node, knock-out on the
// observation nodes, knock-out first on a date; one antithetic pair per sample.
McEstimate monte_carlo(const Snowball_PDE& e, int pairs, unsigned seed) {
    const PdeParams& p = e.params;
    const double dt = p.T / p.N;
    const double drift = (p.r - p.q - 0.5 * p.sigma * p.sigma) * dt;
    const double vol = p.sigma * std::sqrt(dt);
    std::vector<int> obs_step;
    for (double t : e.obs_time)
        obs_step.push_back(int(std::lround(t / dt)));

    std::mt19937_64 rng(seed);
    std::normal_distribution<double> normal;
    std::vector<double> z(p.N);
    const auto payoff = [&](double sign) {
        double s = p.S0;
        bool knocked_in = false;
        std::size_t next = 0;
        for (int k = 1; k <= p.N; ++k) {
            s *= std::exp(drift + sign * vol * z[k - 1]);
            while (next < obs_step.size() && obs_step[next] < k)
                ++next;
            if (next < obs_step.size() && obs_step[next] == k && s >= e.ko_barrier[next]) {
                const double t = e.obs_time[next];
                return std::exp(-p.r * t) * p.S0 * (1 + e.coupon[next] * t);
            }
            if (s <= e.ki_barrier[std::min(next, obs_step.size() - 1)]) knocked_in = true;
        }
        const double at_maturity = knocked_in ? s : p.S0 * (1 + e.div_coupon * p.T);
        return std::exp(-p.r * p.T) * at_maturity;
    };
    double sum = 0, sum_sq = 0;
    for (int i = 0; i < pairs; ++i) {
        for (double& x : z)
            x = normal(rng);
        const double pair_mean = 0.5 * (payoff(1) + payoff(-1));
        sum += pair_mean;
        sum_sq += pair_mean * pair_mean;
    }
    const double mean = sum / pairs;
    const double var = (sum_sq / pairs - mean * mean) * pairs / (pairs - 1);
    return {mean, std::sqrt(var / pairs)};
}

}  // namespace

TEST(Accuracy, ClassicSnowballConvergesAsThePriceGridIsRefined) {
    const double p200 = TestSnowball::classic().grid(200).build().price();
    const double p400 = TestSnowball::classic().grid(400).build().price();
    const double p800 = TestSnowball::classic().grid(800).build().price();
    std::printf("classic snowball: M=200 %.6f  M=400 %.6f  M=800 %.6f\n", p200, p400, p800);
    EXPECT_LT(std::fabs(p800 - p400), std::fabs(p400 - p200));
}

TEST(Accuracy, ClassicSnowballAgreesWithAMonteCarloOfTheSameMonitoring) {
    Snowball_PDE e = TestSnowball::classic().grid(800).build();
    const double fd = e.price();
    const McEstimate mc = monte_carlo(e, kPathPairs, 20261208);
    std::printf(
        "classic snowball: finite difference %.6f, Monte Carlo %.6f (standard error %.6f, "
        "%d antithetic pairs)\n",
        fd, mc.mean, mc.std_error, kPathPairs);
    // 0.1 of the 100 notional; the sanitizer build runs fewer paths and allows their wider error.
    const double tolerance = std::max(0.1, 4 * mc.std_error);
    EXPECT_NEAR(fd, mc.mean, tolerance);
    EXPECT_LT(3 * mc.std_error, tolerance);
}

TEST(Accuracy, ProductWhoseBarriersCannotBeReachedPricesAsADiscountedBond) {
    // Knock-in at 0 is never crossed, and knock-out at an S_max thirty volatilities away is never
    // reached in one year: neither event, so the principal and the dividend coupon at maturity.
    TestSnowball t = TestSnowball::classic();
    t.S_max = t.ko = 2000;
    t.ki = 0;
    const double T = t.days / 252.0;
    const double bond = 100 * (1 + t.div_coupon * T) * std::exp(-t.r * T);
    EXPECT_NEAR(t.grid(2000).build().price(), bond, 1e-3);
}
