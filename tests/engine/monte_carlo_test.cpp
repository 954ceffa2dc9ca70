// The Monte Carlo pricer: its conventions on paths without randomness, its generator, and its
// agreement with the finite-difference price.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "day_count.h"
#include "monte_carlo.h"
#include "test_snowball.h"

namespace {

// Volatility 0 makes every path the deterministic curve S0 e^((r - q) t), so the payoff of one
// path can be worked out by hand. The sample has 243 daily points k at k / 252 and observation
// days 61, 81, 101, 122, 142, ..., 243, tested at the points 60, 80, 100, 121, 141, ..., 242.
TestSnowball deterministic(double S0, double drift) {
    TestSnowball t = TestSnowball::classic();
    t.S0 = S0;
    t.sigma = 0;
    t.r = 0;
    t.q = -drift;
    return t;
}

double mc(const Snowball_PDE& e, int paths = 4, double* se = nullptr) {
    NormalDeviates deviates;
    return price_mc(e, kTradingDaysPerYear, paths, deviates, se);
}

double mc(const TestSnowball& t, int paths = 4, double* se = nullptr) {
    return mc(t.build(), paths, se);
}

constexpr double kT = 243 / 252.0;

// A uniform as the deviates make it: the top 53 bits of two outputs of the standard generator,
// the first the low word.
double uniform_of(std::mt19937& generator) {
    const uint64_t low = generator();
    const uint64_t high = generator();
    return static_cast<double>((low | (high << 32)) >> 11) * 0x1p-53;
}

}  // namespace

TEST(MonteCarloConventions, KnockOutOnTheFirstObservationAtOrAboveTheBarrierPaysCouponToThatPoint) {
    // 100 e^(0.1 t) is 102.4 at point 60 and 103.2 at point 80. With 242 steps instead of 243
    // (252 * 243 / 252 truncated) the point would be 79, and noise in 243 * t / T - 1 would move
    // every date one point earlier.
    double se = -1;
    EXPECT_NEAR(mc(deterministic(100, 0.1), 4, &se), 100 * (1 + 0.16 * 80 / 252.0), 1e-9);
    EXPECT_NEAR(se, 0, 1e-12);
    // Discounted at r from the redemption point; with r = q the path stays at 100 and the
    // knock-out barrier 100 holds on the first observation.
    TestSnowball t = deterministic(100, 0);
    t.r = t.q = 0.04;
    t.ko = 100;
    EXPECT_NEAR(mc(t), 100 * (1 + 0.16 * 60 / 252.0) * std::exp(-0.04 * 60 / 252.0), 1e-9);
}

TEST(MonteCarloConventions, ObservationPointsAreWholeDaysWithinRoundingAndStayOnThePath) {
    // Knock-out barrier 100.82 lies between 100 e^(0.1 t) at points 20 (100.80) and 21 (100.84).
    TestSnowball t = deterministic(100, 0.1);
    t.ko = 100.82;
    // 243 * t / T - 1 = 20.999999999: point 21, not 20 (that would knock out only at maturity).
    t.obs_time = {(22 - 1e-9) / 252, kT};
    t.T = kT;
    Snowball_PDE e = t.build();
    EXPECT_NEAR(mc(e), 100 * (1 + 0.16 * 21 / 252.0), 1e-9);
    // A date today is tested at point 0: redeemed at par.
    e.obs_time.front() = 0;
    e.ko_barrier.front() = 100;
    EXPECT_NEAR(mc(e), 100, 1e-9);
}

TEST(MonteCarloConventions, KnockedInPathCanStillKnockOutLater) {
    // 79 starts below the knock-in barrier 80 and reaches 103 by point 141 (e^(0.5 t)).
    EXPECT_NEAR(mc(deterministic(79, 0.5)), 100 * (1 + 0.16 * 141 / 252.0), 1e-9);
}

TEST(MonteCarloConventions, OnAnObservationPointKnockInIsTestedAgainstTheNextPeriodsBarrier) {
    // 100 e^(-0.1 t) is 97.686 at point 59 and 97.647 at point 60, the first observation point.
    // The first period's knock-in barrier 97.66 is passed with that date; from then on 80 holds.
    Snowball_PDE e = deterministic(100, -0.1).build();
    e.ki_barrier.front() = 97.66;
    EXPECT_NEAR(mc(e), 100 * (1 + 0.16 * kT), 1e-9);  // neither event: the dividend coupon
}

TEST(MonteCarloConventions, KnockInNeedsAPriceStrictlyBelowTheBarrier) {
    TestSnowball t = deterministic(80, 0);
    t.div_coupon = 0.08;
    EXPECT_NEAR(mc(t), 100 * (1 + 0.08 * kT), 1e-9);  // neither event: the dividend coupon
    t.S0 = 79.99;
    EXPECT_NEAR(mc(t), 100, 1e-9);  // knocked in today, paid the price at maturity
}

TEST(MonteCarloConventions, KnockedInPayoffIsFlooredAndParticipationIsPaidOnlyOnKnockOut) {
    TestSnowball t = deterministic(79, -0.2);
    t.floor_price = 75;  // 79 e^(-0.2 * 242 / 252) ends near 65
    EXPECT_NEAR(mc(t), 100 * 75 / 79.0, 1e-9);

    // Above the strike 100 from point 1 on, but paid only with the knock-out at point 80.
    t = deterministic(100, 0.1);
    t.call_strike = 100;
    t.call_participation = 0.5;
    const double S = 100 * std::exp(0.1 * 80 / 252.0);
    EXPECT_NEAR(mc(t), 100 * (1 + 0.16 * 80 / 252.0) + 0.5 * (S - 100), 1e-9);
}

TEST(MonteCarloConventions, ProfitAndLossModeSubtractsThePrincipal) {
    TestSnowball t = deterministic(100, 0);
    t.payoff_mode = 1;
    t.div_coupon = 0.08;
    EXPECT_NEAR(mc(t), 100 * 0.08 * kT, 1e-9);
    t.S0 = 79;  // knocked in, paid S - S0 = 0
    EXPECT_NEAR(mc(t), 0, 1e-9);
}

TEST(MonteCarloConventions, TermsTheSolverRefusesGiveNaN) {
    Snowball_PDE e = TestSnowball::classic().build();
    NormalDeviates d;
    double se = 0;
    EXPECT_FALSE(std::isnan(price_mc(e, 252, 1, d, &se)));
    EXPECT_TRUE(std::isnan(se));  // one path has no spread
    EXPECT_TRUE(std::isnan(price_mc(e, 252, 0, d)));
    EXPECT_TRUE(std::isnan(price_mc(e, 0, 10, d)));

    Snowball_PDE short_life = e;
    short_life.params.T = 0.003;  // under one step
    short_life.obs_time.assign(short_life.obs_time.size(), 0.003);
    EXPECT_TRUE(std::isnan(price_mc(short_life, 252, 10, d)));

    Snowball_PDE broken = e;
    broken.coupon.pop_back();
    EXPECT_TRUE(std::isnan(price_mc(broken, 252, 10, d)));
    broken = e;
    broken.obs_time.back() = e.params.T + 0.01;
    EXPECT_TRUE(std::isnan(price_mc(broken, 252, 10, d)));
    broken = e;
    broken.obs_time.clear();
    broken.ko_barrier.clear();
    broken.coupon.clear();
    broken.ki_barrier.clear();
    EXPECT_TRUE(std::isnan(price_mc(broken, 252, 10, d)));
    broken = e;
    broken.params.T = 1e9;  // far too many steps to walk
    broken.obs_time.back() = 1e9;
    EXPECT_TRUE(std::isnan(price_mc(broken, 252, 10, d)));
}

TEST(NormalDeviates, SameSeedSameStreamAndTheProcessStreamMovesOn) {
    NormalDeviates a, b(NormalDeviates::kDefaultSeed), c(7);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a.next(), b.next());
    EXPECT_NE(a.next(), c.next());

    Snowball_PDE e = TestSnowball::classic().build();
    const double first = price_mc(e, 252, 200);
    const double second = price_mc(e, 252, 200);
    EXPECT_NE(first, second);
}

TEST(NormalDeviates, FirstDeviatesAreXThenYOfThePolarMethodOnTheGeneratorsFirstOutputs) {
    std::mt19937 generator;  // the same default seed
    double x, y, s;
    do {
        x = 2 * uniform_of(generator) - 1;
        y = 2 * uniform_of(generator) - 1;
        s = x * x + y * y;
    } while (s >= 1 || s == 0);
    const double f = std::sqrt(-2 * std::log(s) / s);
    NormalDeviates deviates;
    EXPECT_DOUBLE_EQ(deviates.next(), x * f);
    EXPECT_DOUBLE_EQ(deviates.next(), y * f);
}

// The solver at M = 800 with one time step per trading day: the two prices differ by sampling
// error, the solver's small grid error, and the paths' testing of each date one trading day early.
TEST(MonteCarloAgainstSolver, ProductSetAgreesWithinThreeStandardErrorsAndATenth) {
    // About 0.08 of standard error: the faults this guards against (a drift without q, a call
    // paid off knock-out, the wrong coupon at maturity, the principal kept in profit-and-loss
    // mode) move prices by far more than the bound. The bound scales with the standard error, so
    // the fewer paths of the sanitizer build keep it honest.
#if defined(__SANITIZE_ADDRESS__)
    const int paths = 4000;
#else
    const int paths = 20000;
#endif
    std::vector<TestSnowball> set(8, TestSnowball::classic());
    set[1] = TestSnowball::step_down();
    set[2].name = "floored, S0 98";
    set[2].floor_price = 75;
    set[2].S0 = 98;
    set[3].name = "participating";
    set[3].call_strike = 100;
    set[3].call_participation = 0.5;
    set[4].name = "profit and loss";
    set[4].payoff_mode = 1;
    set[5].name = "dividend yield";
    set[5].q = 0.03;
    set[5].sigma = 0.25;
    set[6].name = "dividend coupon 8 %";
    set[6].div_coupon = 0.08;
    set[6].coupon_adj_rate = 0.05;
    set[6].coupon_adj_share = 0.8;
    set[7].name = "two years";
    set[7].days = 486;
    set[7].r = 0.03;
    NormalDeviates deviates(20240601);
    for (TestSnowball& t : set) {
        Snowball_PDE e = t.grid(800).build();
        const double fd = e.price();
        double se = 0;
        const double mc = price_mc(e, kTradingDaysPerYear, paths, deviates, &se) * t.S0 / 100;
        se *= t.S0 / 100;
        EXPECT_NEAR(mc, fd, 3 * se + 0.1) << t.name << ": solver " << fd << ", Monte Carlo " << mc
                                          << " (standard error " << se << ")";
    }
}

TEST(NormalDeviates, UniformsAreMadeOfTwoOutputsOfTheStandardGeneratorLowWordFirst) {
    NormalDeviates ours;
    std::mt19937 standard;
    for (int i = 0; i < 2000; ++i)  // 4000 outputs: several refills of the state
        ASSERT_EQ(ours.uniform(), uniform_of(standard)) << "uniform " << i;
}

TEST(NormalDeviates, FillingGivesTheSameStreamAsSingleDraws) {
    NormalDeviates one, many;
    std::vector<double> block(7);
    for (int n : {3, 4, 1, 7, 0, 2}) {
        many.fill(block.data(), n);
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(block[i], one.next()) << "block of " << n;
    }
}
