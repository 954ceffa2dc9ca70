// The Monte Carlo pricer: its conventions on paths without randomness, its generator, and its
// agreement with the finite-difference price.
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "day_count.h"
#include "monte_carlo.h"
#include "sample_snowballs.h"

namespace {

// Volatility 0 makes every path the deterministic curve S0 e^((r - q) t), so the payoff of one
// path can be worked out by hand. Observation days of the sample (243 days, lock-up 3 months):
// 61, 81, 101, 122, 142, ..., 243.
SampleTerms deterministic(double S0, double drift) {
    SampleTerms t;
    t.S0 = S0;
    t.sigma = 0;
    t.r = 0;
    t.q = -drift;
    return t;
}

double mc(const SampleTerms& t, int paths = 4, double* se = nullptr) {
    NormalDeviates deviates;
    return price_mc(make_snowball(t), kTradingDaysPerYear, paths, deviates, se);
}

constexpr double kT = 243 / 252.0;

}  // namespace

TEST(MonteCarloConventions, KnockOutOnTheFirstObservationAtOrAboveTheBarrierPaysCouponToDate) {
    // 100 e^(0.1 t) stays below 103 on day 61 and is above it on day 81.
    // 243 days are 243 steps: with 242 the day would sit at 81/252 * 243/242 of a year.
    double se = -1;
    EXPECT_NEAR(mc(deterministic(100, 0.1), 4, &se), 100 * (1 + 0.16 * 81 / 252.0), 1e-9);
    EXPECT_NEAR(se, 0, 1e-12);
    // Discounted at r from the knock-out day; with r = q the path stays at 100 and the knock-out
    // barrier 100 holds on the first observation.
    SampleTerms t = deterministic(100, 0);
    t.r = t.q = 0.04;
    t.ko = 100;
    EXPECT_NEAR(mc(t), 100 * (1 + 0.16 * 61 / 252.0) * std::exp(-0.04 * 61 / 252.0), 1e-9);
}

TEST(MonteCarloConventions, KnockedInPathCanStillKnockOutLater) {
    // 79 starts below the knock-in barrier 80 and reaches 103 by day 142 (e^(0.5 t)).
    const double paid = mc(deterministic(79, 0.5));
    EXPECT_NEAR(paid, 100 * (1 + 0.16 * 142 / 252.0), 1e-9);
}

TEST(MonteCarloConventions, KnockInHoldsAtTheBarrierItself) {
    SampleTerms t = deterministic(80, 0);
    EXPECT_NEAR(mc(t), 100, 1e-9);  // knocked in today, paid the price at maturity
    t.S0 = 80.5;
    t.div_coupon = 0.08;
    EXPECT_NEAR(mc(t), 100 * (1 + 0.08 * kT), 1e-9);  // neither event: the dividend coupon
}

TEST(MonteCarloConventions, KnockedInPayoffIsFlooredAndParticipationIsPaidOnlyOnKnockOut) {
    SampleTerms t = deterministic(79, -0.2);
    t.floor_price = 75;  // 79 e^(-0.2 T) ends near 65
    EXPECT_NEAR(mc(t), 100 * 75 / 79.0, 1e-9);

    // Above the strike 100 from day 1 on, but paid only with the knock-out on day 81.
    t = deterministic(100, 0.1);
    t.call_strike = 100;
    t.call_participation = 0.5;
    const double S = 100 * std::exp(0.1 * 81 / 252.0);
    EXPECT_NEAR(mc(t), 100 * (1 + 0.16 * 81 / 252.0) + 0.5 * (S - 100), 1e-9);
}

TEST(MonteCarloConventions, ProfitAndLossModeSubtractsThePrincipal) {
    SampleTerms t = deterministic(100, 0);
    t.payoff_mode = 1;
    t.div_coupon = 0.08;
    EXPECT_NEAR(mc(t), 100 * 0.08 * kT, 1e-9);
    t.S0 = 80;  // knocked in, paid S_T - S0 = 0
    EXPECT_NEAR(mc(t), 0, 1e-9);
}

TEST(MonteCarloConventions, TermsTheSolverRefusesGiveNaN) {
    SampleTerms t;
    Snowball_PDE e = make_snowball(t);
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

    Snowball_PDE e = make_snowball(SampleTerms{});
    const double first = price_mc(e, 252, 200);
    const double second = price_mc(e, 252, 200);
    EXPECT_NE(first, second);
}

// The solver at M = 800 with one time step per trading day monitors on the same days as the
// paths, so the two prices differ by sampling error and the solver's small grid error only.
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
    std::vector<SampleTerms> set(8);
    set[0].name = "classic";
    set[1].name = "step-down";
    set[1].ko_step = 0.5;
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
    for (SampleTerms& t : set) {
        t.M = 800;
        Snowball_PDE e = make_snowball(t);
        const double fd = e.price();
        double se = 0;
        const double mc = price_mc(e, kTradingDaysPerYear, paths, deviates, &se) * t.S0 / 100;
        se *= t.S0 / 100;
        EXPECT_NEAR(mc, fd, 3 * se + 0.1) << t.name << ": solver " << fd << ", Monte Carlo " << mc
                                          << " (standard error " << se << ")";
    }
}

TEST(Mt19937, GivesTheStandardStream) {
    Mt19937 ours;
    std::mt19937 standard;
    uint32_t last = 0;
    for (int i = 0; i < 10000; ++i) {
        last = ours();
        ASSERT_EQ(last, standard()) << "output " << i;
    }
    EXPECT_EQ(last, 4123659995u);  // the 10000th output of the default seed, by the C++ standard
    Mt19937 seeded(42);
    std::mt19937 standard_seeded(42);
    for (int i = 0; i < 1300; ++i)
        ASSERT_EQ(seeded(), standard_seeded());
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
