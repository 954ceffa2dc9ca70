// The bisection search for the parameter value that prices at a target.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "log_capture.h"
#include "param_kind.h"
#include "test_snowball.h"

namespace {

// A coarse grid keeps every search step cheap; the search does not depend on accuracy.
Snowball_PDE coarse_product() {
    return TestSnowball::classic().grid(100, 81).build();
}

struct Outcome {
    int code;
    std::string progress;  // what the search printed on standard output
};

// The search on the coarse product, into `result`.
struct SolveParam : testing::Test {
    Snowball_PDE e = coarse_product();
    double result = 42;

    Outcome search(double target, int kind, double lo, double hi) {
        testing::internal::CaptureStdout();
        const int code = e.solve_param(target, kind, result, lo, hi);
        return {code, testing::internal::GetCapturedStdout()};
    }
};

int lines(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

}  // namespace

TEST_F(SolveParam, FindsTheVolatilityOfATargetPriceAndRestoresTheOldOne) {
    e.params.sigma = 0.22;
    const double target = e.price();
    e.params.sigma = 0.18;
    const Outcome out = search(target, kParamSigma, 0.1, 0.4);
    ASSERT_EQ(out.code, 0) << out.progress;
    EXPECT_NEAR(result, 0.22, 0.01);
    EXPECT_EQ(e.params.sigma, 0.18);
    // One progress line per priced midpoint, the first at the middle of the interval.
    EXPECT_EQ(out.progress.rfind("price:", 0), 0u);
    EXPECT_NE(out.progress.find(" at 0.250\n"), std::string::npos) << out.progress;
    EXPECT_GT(lines(out.progress), 1);

    Snowball_PDE check = e;
    check.params.sigma = result;
    EXPECT_LT(std::fabs(check.price() - target), e.solve_epsilon);
}

TEST_F(SolveParam, ListKindsLeaveEveryEntryAtTheFormerFirstEntry) {
    for (size_t i = 0; i < e.coupon.size(); ++i)
        e.coupon[i] = 0.10 + 0.01 * i;
    e.div_coupon = 0.07;
    ASSERT_EQ(search(100, kParamCoupon, 0.0, 0.5).code, 0);
    for (double c : e.coupon)
        EXPECT_EQ(c, 0.10);
    // Kind 5 moves both and puts both back to the former dividend coupon.
    ASSERT_EQ(search(100, kParamCouponDiv, 0.0, 0.5).code, 0);
    EXPECT_EQ(e.div_coupon, 0.07);
    for (double c : e.coupon)
        EXPECT_EQ(c, 0.07);
}

TEST_F(SolveParam, TargetBeyondThePriceAtTheUpperEndIsRefusedWithVolatilityRestored) {
    // The price falls as volatility rises, so a target below the price at hi is out of reach.
    const Outcome out = search(1.0, kParamSigma, 0.1, 0.4);
    EXPECT_EQ(out.code, -4);
    EXPECT_EQ(result, 42);  // untouched: the interval check comes first
    EXPECT_EQ(e.params.sigma, 0.18);
    EXPECT_EQ(out.progress, "");
}

TEST_F(SolveParam, IterationLimitEndsTheSearchWithoutAValue) {
    e.solve_max_iter = 0;
    Outcome out = search(100, kParamSigma, 0.1, 0.4);
    EXPECT_EQ(out.code, -1);
    EXPECT_TRUE(std::isnan(result));
    EXPECT_EQ(e.params.sigma, 0.18);
    EXPECT_EQ(out.progress, "");

    e.solve_max_iter = 3;
    e.solve_epsilon = 1e-12;
    out = search(100, kParamSigma, 0.1, 0.4);
    EXPECT_EQ(out.code, -1);
    EXPECT_EQ(lines(out.progress), 3);
}

TEST_F(SolveParam, TermsThatCannotBePricedAtAnEndDoNotStartTheSearch) {
    e.ki_barrier.pop_back();  // the solver refuses schedules of unequal lengths
    Outcome out = search(100, kParamSigma, 0.1, 0.4);
    EXPECT_EQ(out.code, kSolveCannotPrice);
    EXPECT_EQ(e.last_problem, PricingProblem::ScheduleLengthMismatch);
    EXPECT_EQ(out.progress, "");
    EXPECT_EQ(result, 42);

    // Only the upper end is beyond the price ceiling: the reason names it.
    e = coarse_product();
    out = search(100, kParamKoBarrier, 100, 250);
    EXPECT_EQ(out.code, kSolveCannotPrice);
    EXPECT_EQ(e.last_problem, PricingProblem::BarrierAboveCeiling);
    EXPECT_EQ(e.ko_barrier.front(), 103);
}

TEST_F(SolveParam, ACancelledSearchEndsWithItsOwnCodeAndRestoresTheParameter) {
    CancelToken token;
    token.request();
    e.cancel_token = &token;
    const Outcome out = search(100, kParamSigma, 0.1, 0.4);
    EXPECT_EQ(out.code, kSolveCancelled);
    EXPECT_EQ(e.last_problem, PricingProblem::Cancelled);
    EXPECT_EQ(e.params.sigma, 0.18);
}

TEST_F(SolveParam, PricesThatStopMovingEndTheSearch) {
    // Knock-in barriers below the first price node knock nothing in: equal end prices count as
    // falling, the target above them is accepted, and the second midpoint prices the same.
    const Outcome out = search(500, kParamKiBarrier, 0.0, 1.0);
    EXPECT_EQ(out.code, -2);
    EXPECT_EQ(lines(out.progress), 2);
    EXPECT_TRUE(std::isnan(result));
    EXPECT_EQ(e.ki_barrier.front(), 80);
}

TEST_F(SolveParam, FirstMidpointPricedNearTheStartingMinusOneStopsTheSearch) {
    // In profit-and-loss mode prices go below zero. The price is affine in the dividend coupon,
    // so the coupon that prices at -1 can be placed at the first midpoint.
    e.payoff_mode = 1;
    e.set_param(kParamDivCoupon, 0);
    const double p0 = e.price();
    e.set_param(kParamDivCoupon, 1);
    const double slope = e.price() - p0;
    ASSERT_GT(slope, 0.1);
    const double at_minus_one = (-1 - p0) / slope;
    const double width = 1.0;  // the price at hi lies slope * width above -1
    e.set_param(kParamDivCoupon, 0.16);
    const Outcome out = search(-1 + 0.5 * slope * width, kParamDivCoupon, at_minus_one - width,
                               at_minus_one + width);
    EXPECT_EQ(out.code, -2) << out.progress;
    EXPECT_EQ(lines(out.progress), 1);
    EXPECT_EQ(e.div_coupon, 0.16);
}

TEST_F(SolveParam, NoParameterKindChangesNothing) {
    const std::string key = e.param_key();
    e.solve_saved = 3.5;
    for (int kind : {6, -1}) {
        EXPECT_EQ(search(100, kind, 0, 1).code, -3);
        EXPECT_EQ(result, 42);
        EXPECT_EQ(e.param_key(), key);
        EXPECT_EQ(e.solve_saved, 3.5);
    }
}

TEST_F(SolveParam, LogsAFoundValueAtInfoCountingFromZeroAndAStalledPriceAtCritical) {
    // Each pricing logs a line of its own; the search's line is the last.
    e.set_param(kParamSigma, 0.25);  // the first midpoint of [0.1, 0.4]
    const double at_first_midpoint = e.price();
    LogCapture log;
    ASSERT_EQ(search(at_first_midpoint, kParamSigma, 0.1, 0.4).code, 0);
    ASSERT_FALSE(log.lines().empty());
    EXPECT_EQ(log.lines().back().level, kLogInfo);
    EXPECT_NE(log.lines().back().text.find("=0.250 after 0 calc"), std::string::npos)
        << log.lines().back();

    ASSERT_EQ(search(500, kParamKiBarrier, 0.0, 1.0).code, -2);
    EXPECT_EQ(log.lines().back(), (LogCapture::Line{kLogCritical, "Price NOT changed > EPSILON"}));
}
