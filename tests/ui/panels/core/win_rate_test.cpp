// The win-rate computation without widgets: the generator, the simulation against its matrix
// formulation, the classification, the dealing of volatilities and the default range.
#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "additive_feedback_rand.h"
#include "panel_test_support.h"
#include "point_count.h"
#include "win_rate.h"
#include "win_rate_matrix_reference.h"

namespace {

// Terms with observations on the given days of a life of `days` trading days.
WinRateTerms terms_on_days(std::vector<int> obs_days, int days, double ko = 103, double ki = 80) {
    WinRateTerms t;
    t.S0 = 100;
    t.r = 0.015;
    t.ko_barrier.assign(obs_days.size(), ko);
    t.ki_barrier.assign(obs_days.size(), ki);
    t.obs_days = std::move(obs_days);
    t.days = days;
    return t;
}

TEST(AdditiveFeedbackRand, DrawsWhatTheCLibraryRandDrawsForTheSameSeed) {
    for (uint32_t seed :
         {0u, 1u, 2u, 42u, 12345u, 1765000000u, 0x7fffffffu, 0x80000000u, 0xffffffffu}) {
        AdditiveFeedbackRand mine(seed);
        std::srand(seed);
        for (int i = 0; i < 2000; ++i) {
            const int expected = std::rand();
            ASSERT_EQ(mine.next(), expected) << "seed " << seed << " draw " << i;
        }
    }
}

TEST(CalcuWinRate, GivesTheFractionsOfTheMatrixFormulationForAFixedSeed) {
    // Knock-outs on days 5, 10 and 15, a barrier close enough to knock many paths out and a
    // knock-in barrier close enough to knock many in, so that every class is populated.
    const WinRateTerms t = terms_on_days({5, 10, 15}, 16, 101, 97);
    for (double sigma : {0.07, 0.25}) {
        const WinRateFractions streamed = calcu_win_rate(t, sigma, 20240105);
        EXPECT_EQ(streamed, matrix_win_rate(t, sigma, 20240105)) << "sigma " << sigma;
        EXPECT_GT(streamed[kKoAndKi], 0);
        EXPECT_GT(streamed[kKoOnly], 0);
        EXPECT_GT(streamed[kNeither], 0);
        EXPECT_GT(streamed[kKiOnly], 0);
    }
}

TEST(CalcuWinRate, MatchesTheMatrixFormulationWhenDatesLieBeforeTheStartOrAfterMaturity) {
    // A date before the start (negative day) and one past the life: the current observation
    // moves over the first and stays on the last.
    const WinRateTerms t = terms_on_days({-3, 4, 30}, 9, 100.5, 98);
    EXPECT_EQ(calcu_win_rate(t, 0.2, 99), matrix_win_rate(t, 0.2, 99));
}

TEST(CalcuWinRate, ALifeWithoutTradingDaysCountsEveryPathAsNeither) {
    const WinRateFractions expected{0, 0, 1, 0, 1};
    EXPECT_EQ(calcu_win_rate(terms_on_days({0}, 0), 0.2, 1), expected);
    EXPECT_EQ(calcu_win_rate(terms_on_days({0}, -1), 0.2, 1), expected);
}

TEST(CalcuWinRate, AnEmptyCalendarGivesNoTradingDayAndSoNeither) {
    TradeCalendar empty(9);
    Snowball_PDE e = TestSnowball::quarterly().build();
    const auto t =
        make_win_rate_terms(e, empty, 20240102, 20241231, "20240401_20240701_20241001_20241231");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->days, -1);
    EXPECT_EQ(calcu_win_rate(*t, 0.2, 1), (WinRateFractions{0, 0, 1, 0, 1}));
}

TEST(CalcuWinRate, NoPathBecomesInfiniteOrZeroWhenARadiusUniformIsZero) {
    // Every thousandth draw pair has u1 = 0; over 50,000 paths that happens on the first day.
    // With a barrier far below 0 the knock-in counts stay 0 only if no path fell to 0.
    const WinRateTerms t = terms_on_days({2}, 3, 1e300, 1e-300);
    const WinRateFractions f = calcu_win_rate(t, 0.5, 11);
    EXPECT_EQ(f[kKiOnly], 0);
    EXPECT_EQ(f[kNeither], 1);
    EXPECT_TRUE(std::isfinite(win_rate_deviate(0, 250)));
    EXPECT_NEAR(win_rate_deviate(0, 0), std::sqrt(-2 * std::log(kZeroRadiusUniform)), 1e-15);
}

TEST(CalcuWinRate, TooShortBarrierListsGiveNaN) {
    WinRateTerms t = terms_on_days({2, 4}, 5);
    t.ko_barrier.pop_back();
    EXPECT_TRUE(std::isnan(calcu_win_rate(t, 0.2, 1)[kWinRate]));
}

TEST(MakeWinRateTerms, CountsObservationDaysFromTheStartAndTheLifeWithBothEnds) {
    const std::vector<int32_t> days = TestCalendar::weekdays_from(20240102, 30).days();
    TradeCalendar cal(3);
    cal.dates = days;
    Snowball_PDE e = TestSnowball::quarterly().build();
    e.params.q = std::nan("");
    const auto t =
        make_win_rate_terms(e, cal, days[0], days[20], join_dates(days, {5, 10, 15, 20}));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->obs_days, (std::vector<int>{5, 10, 15, 20}));
    EXPECT_EQ(t->days, 21);
    EXPECT_EQ(t->S0, 100);
    EXPECT_EQ(t->r, 0.015);
    EXPECT_EQ(t->q, 0) << "a NaN dividend yield reads as 0, as in the engine";
    EXPECT_EQ(t->ko_barrier, e.ko_barrier);
    EXPECT_EQ(t->ki_barrier, e.ki_barrier);
}

TEST(MakeWinRateTerms, ANonNumericDateReadsAsDateZeroAndMoreDatesThanBarriersAreRefused) {
    TradeCalendar cal(3);
    cal.dates = TestCalendar::weekdays_from(20240102, 30).days();
    Snowball_PDE e = TestSnowball::quarterly().build();
    const auto t = make_win_rate_terms(
        e, cal, cal.dates[0], cal.dates[20],
        "x__" + QString::number(cal.dates[3]) + "_" + QString::number(cal.dates[20]));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->obs_days, (std::vector<int>{0, 0, 3, 20}));
    const QString five = join_dates(cal.dates, {1, 2, 3, 4, 5});
    EXPECT_FALSE(make_win_rate_terms(e, cal, cal.dates[0], cal.dates[5], five));
}

TEST(DealVolatilities, SevenVolatilitiesOnFourProcessorsGoToFourWorkersInTurn) {
    const std::vector<double> v = volatility_list(0.07, 0.03, 7);
    const auto dealt = deal_volatilities(v, 4);
    ASSERT_EQ(dealt.size(), 4u);
    EXPECT_EQ(dealt[0], (std::vector<double>{v[0], v[4]}));  // 7 %, 19 %
    EXPECT_EQ(dealt[1], (std::vector<double>{v[1], v[5]}));  // 10 %, 22 %
    EXPECT_EQ(dealt[2], (std::vector<double>{v[2], v[6]}));  // 13 %, 25 %
    EXPECT_EQ(dealt[3], (std::vector<double>{v[3]}));        // 16 %
}

TEST(DealVolatilities, OnEightProcessorsEveryVolatilityHasAWorkerAndNoWorkerIsIdle) {
    const std::vector<double> seven = volatility_list(0.07, 0.03, 7);
    const auto dealt = deal_volatilities(seven, 8);
    ASSERT_EQ(dealt.size(), 7u);
    for (size_t i = 0; i < dealt.size(); ++i)
        EXPECT_EQ(dealt[i], std::vector<double>{seven[i]});
    EXPECT_EQ(deal_volatilities(volatility_list(0.07, 0.03, 3), 8).size(), 3u);
}

TEST(VolatilityRange, ANegativeStepRunsDownFromAHigherStartAndNotUpFromALowerOne) {
    EXPECT_EQ(bounded_point_count(0.25, 0.07, -0.03, kMaxWinRateVolatilities).count, 7);
    EXPECT_EQ(bounded_point_count(0.07, 0.25, -0.03, kMaxWinRateVolatilities).status,
              BoundedCount::Empty);
    EXPECT_EQ(bounded_point_count(0.07, 0.25, 0, kMaxWinRateVolatilities).status,
              BoundedCount::Empty);
    EXPECT_EQ(bounded_point_count(0.07, 0.25, 1e-9, kMaxWinRateVolatilities).status,
              BoundedCount::TooMany);
}

}  // namespace
