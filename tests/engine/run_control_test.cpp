// Why a run gives no result: the reasons of unpriceable terms, cancellation, the memory bound.
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "grid_memory.h"
#include "test_snowball.h"

namespace {

using P = PricingProblem;

// The small product, priced by either scheme: both make the same checks and stop the same way.
Snowball_PDE small(PdeScheme scheme) {
    TestSnowball t = TestSnowball::small();
    t.scheme = scheme;
    return t.build();
}

const PdeScheme kSchemes[] = {PdeScheme::implicit, PdeScheme::accurate};

}  // namespace

TEST(PricingProblems, EachTermThePriceCannotBeComputedFromHasItsOwnReasonAndText) {
    const struct {
        const char* name;
        std::function<void(Snowball_PDE&)> change;
        PricingProblem reason;
    } cases[] = {
        {"S0 0", [](Snowball_PDE& e) { e.params.S0 = 0; }, P::InitialPriceNotPositive},
        {"ceiling at S0", [](Snowball_PDE& e) { e.params.S_max = 100; }, P::CeilingNotAboveInitial},
        {"negative sigma", [](Snowball_PDE& e) { e.params.sigma = -0.1; }, P::VolatilityInvalid},
        {"NaN sigma", [](Snowball_PDE& e) { e.params.sigma = NAN; }, P::VolatilityInvalid},
        {"T 0", [](Snowball_PDE& e) { e.params.T = 0; }, P::MaturityInvalid},
        {"NaN rate", [](Snowball_PDE& e) { e.params.r = NAN; }, P::RateInvalid},
        {"NaN coupon", [](Snowball_PDE& e) { e.coupon[1] = NAN; }, P::CouponInvalid},
        {"no dates",
         [](Snowball_PDE& e) {
             e.obs_time.clear(), e.ko_barrier.clear(), e.coupon.clear(), e.ki_barrier.clear();
         },
         P::NoObservationDates},
        {"short ki list", [](Snowball_PDE& e) { e.ki_barrier.pop_back(); },
         P::ScheduleLengthMismatch},
        {"NaN barrier", [](Snowball_PDE& e) { e.ko_barrier[0] = NAN; }, P::BarrierInvalid},
        {"ko above ceiling", [](Snowball_PDE& e) { e.ko_barrier[2] = 201; },
         P::BarrierAboveCeiling},
        {"M 1", [](Snowball_PDE& e) { e.params.M = 1; }, P::TooFewPriceSteps},
        {"N 0", [](Snowball_PDE& e) { e.params.N = 0; }, P::TooFewTimeSteps},
        {"huge grid", [](Snowball_PDE& e) { e.params.M = e.params.N = 200000; }, P::GridTooLarge},
        {"date after T", [](Snowball_PDE& e) { e.obs_time[2] = 1.5; }, P::ObservationOutsideLife},
        {"date before today", [](Snowball_PDE& e) { e.obs_time[0] = -0.1; },
         P::ObservationOutsideLife},
    };
    for (const auto& c : cases)
        for (PdeScheme scheme : kSchemes) {
            Snowball_PDE e = small(scheme);
            c.change(e);
            EXPECT_EQ(e.check_terms(), c.reason) << c.name;
            EXPECT_TRUE(std::isnan(e.price())) << c.name;
            EXPECT_EQ(e.last_problem, c.reason) << c.name;
            EXPECT_FALSE(e.compute_risk_grids()) << c.name;
            EXPECT_EQ(e.last_problem, c.reason) << c.name;
            EXPECT_STRNE(pricing_problem_text(c.reason), "") << c.name;
        }
    Snowball_PDE ok = TestSnowball::small().build();
    EXPECT_FALSE(std::isnan(ok.price()));
    EXPECT_EQ(ok.last_problem, P::None);
    EXPECT_STREQ(pricing_problem_text(P::CeilingNotAboveInitial), "价格上限必须高于期初价格");
}

TEST(MemoryBound, TheGreeksRunCountsAllSixteenGridsBeforeItAllocates) {
    Snowball_PDE e =
        TestSnowball::small().grid(3000, 3000).build();  // 72 MB a grid: two fit, sixteen do not
    EXPECT_EQ(e.check_terms(kPriceGridCount), P::None);
    EXPECT_EQ(e.check_terms(kRiskGridCount), P::GridTooLarge);
    EXPECT_FALSE(e.compute_risk_grids());
    EXPECT_EQ(e.last_problem, P::GridTooLarge);
    EXPECT_EQ(e.price_grid.Nrows(), 0) << "refused before the first run";
    EXPECT_TRUE(grids_fit(3000, 3000, kPriceGridCount));
    EXPECT_FALSE(grids_fit(3000, 3000, kStressGridCount + 8));
}

TEST(Cancellation, ARequestedTokenStopsEveryRunWithItsReasonAndLeavesNoHalfGrid) {
    for (PdeScheme scheme : kSchemes) {
        Snowball_PDE e = small(scheme);
        ASSERT_TRUE(e.compute_risk_grids());
        CancelToken token;
        e.cancel_token = &token;
        token.request();
        EXPECT_TRUE(std::isnan(e.price_with_grids()));
        EXPECT_EQ(e.last_problem, P::Cancelled);
        EXPECT_EQ(e.price_grid.Nrows(), 0) << "a stopped run leaves no half-written grid";
        EXPECT_TRUE(std::isnan(e.dt));
        EXPECT_FALSE(e.compute_risk_grids());
        EXPECT_EQ(e.last_problem, P::Cancelled);

        token.reset();
        EXPECT_FALSE(std::isnan(e.price_with_grids()));
        EXPECT_EQ(e.last_problem, P::None);
    }
}

TEST(Cancellation, ATokenSetFromAnotherThreadStopsALongRunWithinItsTimeSteps) {
    Snowball_PDE e = TestSnowball::small().grid(1000, 2000000).build();  // some seconds of work
    CancelToken token;
    e.cancel_token = &token;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        token.request();
    });
    const double price = e.price();
    stopper.join();
    EXPECT_TRUE(std::isnan(price));
    EXPECT_EQ(e.last_problem, P::Cancelled);
}
