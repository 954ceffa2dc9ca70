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

Outcome search(Snowball_PDE& e, double target, int kind, double& result, double lo, double hi) {
    testing::internal::CaptureStdout();
    const int code = e.solve_param(target, kind, result, lo, hi);
    return {code, testing::internal::GetCapturedStdout()};
}

int lines(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

}  // namespace

TEST(SolveParam, FindsTheVolatilityOfATargetPriceAndRestoresTheOldOne) {
    Snowball_PDE e = coarse_product();
    e.params.sigma = 0.22;
    const double target = e.price();
    e.params.sigma = 0.18;
    double result = -7;
    const Outcome out = search(e, target, kParamSigma, result, 0.1, 0.4);
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

TEST(SolveParam, ListKindsLeaveEveryEntryAtTheFormerFirstEntry) {
    Snowball_PDE e = coarse_product();
    for (size_t i = 0; i < e.coupon.size(); ++i)
        e.coupon[i] = 0.10 + 0.01 * i;
    e.div_coupon = 0.07;
    double result = 0;
    ASSERT_EQ(search(e, 100, kParamCoupon, result, 0.0, 0.5).code, 0);
    for (double c : e.coupon)
        EXPECT_EQ(c, 0.10);
    // Kind 5 moves both and puts both back to the former dividend coupon.
    ASSERT_EQ(search(e, 100, kParamCouponDiv, result, 0.0, 0.5).code, 0);
    EXPECT_EQ(e.div_coupon, 0.07);
    for (double c : e.coupon)
        EXPECT_EQ(c, 0.07);
}

TEST(SolveParam, TargetBeyondThePriceAtTheUpperEndIsRefusedWithVolatilityRestored) {
    Snowball_PDE e = coarse_product();
    double result = 42;
    // The price falls as volatility rises, so a target below the price at hi is out of reach.
    const Outcome out = search(e, 1.0, kParamSigma, result, 0.1, 0.4);
    EXPECT_EQ(out.code, -4);
    EXPECT_EQ(result, 42);  // untouched: the interval check comes first
    EXPECT_EQ(e.params.sigma, 0.18);
    EXPECT_EQ(out.progress, "");
}

TEST(SolveParam, IterationLimitEndsTheSearchWithoutAValue) {
    Snowball_PDE e = coarse_product();
    e.solve_max_iter = 0;
    double result = 42;
    Outcome out = search(e, 100, kParamSigma, result, 0.1, 0.4);
    EXPECT_EQ(out.code, -1);
    EXPECT_TRUE(std::isnan(result));
    EXPECT_EQ(e.params.sigma, 0.18);
    EXPECT_EQ(out.progress, "");

    e.solve_max_iter = 3;
    e.solve_epsilon = 1e-12;
    out = search(e, 100, kParamSigma, result, 0.1, 0.4);
    EXPECT_EQ(out.code, -1);
    EXPECT_EQ(lines(out.progress), 3);
}

TEST(SolveParam, TermsThatCannotBePricedAtAnEndDoNotStartTheSearch) {
    Snowball_PDE e = coarse_product();
    e.ki_barrier.pop_back();  // the solver refuses schedules of unequal lengths
    double result = 7;
    Outcome out = search(e, 100, kParamSigma, result, 0.1, 0.4);
    EXPECT_EQ(out.code, kSolveCannotPrice);
    EXPECT_EQ(e.last_problem, PricingProblem::ScheduleLengthMismatch);
    EXPECT_EQ(out.progress, "");
    EXPECT_EQ(result, 7);

    // Only the upper end is beyond the price ceiling: the reason names it.
    Snowball_PDE barrier = coarse_product();
    out = search(barrier, 100, kParamKoBarrier, result, 100, 250);
    EXPECT_EQ(out.code, kSolveCannotPrice);
    EXPECT_EQ(barrier.last_problem, PricingProblem::BarrierAboveCeiling);
    EXPECT_EQ(barrier.ko_barrier.front(), 103);
}

TEST(SolveParam, ACancelledSearchEndsWithItsOwnCodeAndRestoresTheParameter) {
    Snowball_PDE e = coarse_product();
    CancelToken token;
    token.request();
    e.cancel_token = &token;
    double result = 7;
    const Outcome out = search(e, 100, kParamSigma, result, 0.1, 0.4);
    EXPECT_EQ(out.code, kSolveCancelled);
    EXPECT_EQ(e.last_problem, PricingProblem::Cancelled);
    EXPECT_EQ(e.params.sigma, 0.18);
}

TEST(SolveParam, PricesThatStopMovingEndTheSearch) {
    // Knock-in barriers below the first price node knock nothing in: equal end prices count as
    // falling, the target above them is accepted, and the second midpoint prices the same.
    Snowball_PDE e = coarse_product();
    double result = 0;
    const Outcome out = search(e, 500, kParamKiBarrier, result, 0.0, 1.0);
    EXPECT_EQ(out.code, -2);
    EXPECT_EQ(lines(out.progress), 2);
    EXPECT_TRUE(std::isnan(result));
    EXPECT_EQ(e.ki_barrier.front(), 80);
}

TEST(SolveParam, FirstMidpointPricedNearTheStartingMinusOneStopsTheSearch) {
    // In profit-and-loss mode prices go below zero. The price is affine in the dividend coupon,
    // so the coupon that prices at -1 can be placed at the first midpoint.
    Snowball_PDE e = coarse_product();
    e.payoff_mode = 1;
    e.set_param(kParamDivCoupon, 0);
    const double p0 = e.price();
    e.set_param(kParamDivCoupon, 1);
    const double slope = e.price() - p0;
    ASSERT_GT(slope, 0.1);
    const double at_minus_one = (-1 - p0) / slope;
    const double width = 1.0;  // the price at hi lies slope * width above -1
    e.set_param(kParamDivCoupon, 0.16);
    double result = 0;
    const Outcome out = search(e, -1 + 0.5 * slope * width, kParamDivCoupon, result,
                               at_minus_one - width, at_minus_one + width);
    EXPECT_EQ(out.code, -2) << out.progress;
    EXPECT_EQ(lines(out.progress), 1);
    EXPECT_EQ(e.div_coupon, 0.16);
}

TEST(SolveParam, NoParameterKindChangesNothing) {
    Snowball_PDE e = coarse_product();
    const std::string key = e.param_key();
    e.solve_saved = 3.5;
    double result = 42;
    for (int kind : {6, -1}) {
        EXPECT_EQ(search(e, 100, kind, result, 0, 1).code, -3);
        EXPECT_EQ(result, 42);
        EXPECT_EQ(e.param_key(), key);
        EXPECT_EQ(e.solve_saved, 3.5);
    }
}

TEST(SolveParam, LogsAFoundValueAtInfoCountingFromZeroAndAStalledPriceAtCritical) {
    // Each pricing logs a line of its own; the search's line is the last.
    Snowball_PDE e = coarse_product();
    e.set_param(kParamSigma, 0.25);  // the first midpoint of [0.1, 0.4]
    const double at_first_midpoint = e.price();
    LogCapture log;
    double result = 0;
    ASSERT_EQ(search(e, at_first_midpoint, kParamSigma, result, 0.1, 0.4).code, 0);
    ASSERT_FALSE(log.lines().empty());
    EXPECT_EQ(log.lines().back().level, kLogInfo);
    EXPECT_NE(log.lines().back().text.find("=0.250 after 0 calc"), std::string::npos)
        << log.lines().back();

    ASSERT_EQ(search(e, 500, kParamKiBarrier, result, 0.0, 1.0).code, -2);
    EXPECT_EQ(log.lines().back(), (LogCapture::Line{kLogCritical, "Price NOT changed > EPSILON"}));
}
