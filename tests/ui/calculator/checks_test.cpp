// The window's checks before pricing, and the copying of the form into the engine.
#include <cmath>

#include "calculator_fixture.h"
#include "observe_schedule.h"

namespace {

using EngineSetUpTest = CalculatorTest;

TEST_F(EngineSetUpTest, DefaultTermsReachTheEngineInFractionsAndTradingYears) {
    click("pushButton_price");
    ASSERT_TRUE(noBox());
    const Snowball_PDE& e = engine();
    EXPECT_TRUE(e.product_set);
    EXPECT_DOUBLE_EQ(e.params.T, 243.0 / 252);
    EXPECT_DOUBLE_EQ(e.params.S0, 100);
    EXPECT_DOUBLE_EQ(e.params.S_max, 200);
    EXPECT_DOUBLE_EQ(e.params.sigma, 0.18);
    EXPECT_DOUBLE_EQ(e.params.r, 0.015);
    EXPECT_EQ(e.params.M, 200);
    EXPECT_EQ(e.params.N, 243);
    EXPECT_DOUBLE_EQ(e.div_coupon, 0.16);
    EXPECT_DOUBLE_EQ(e.payoff_mode, 0);
    // A single value holds for every observation date.
    ASSERT_GE(e.obs_time.size(), 2u);
    EXPECT_DOUBLE_EQ(e.obs_time.back(), 243.0 / 252);
    EXPECT_EQ(e.ko_barrier, std::vector<double>(e.obs_time.size(), 103));
    EXPECT_EQ(e.ki_barrier, std::vector<double>(e.obs_time.size(), 80));
    EXPECT_EQ(e.coupon, std::vector<double>(e.obs_time.size(), 0.16));
}

TEST_F(EngineSetUpTest, AListWithAnEmptyPartOrOfAnotherLengthIsRefused) {
    observeSchedule().dates = QStringLiteral("20250307_20250707_20260107");
    setText("edit_ko_price", "103__101");
    click("pushButton_price");
    EXPECT_EQ(lastBox().text, u8("“敲出价格”不是数字，请检查"));
    setText("edit_ko_price", "103_102_101");
    setText("edit_ko_coupon", "16_15");
    click("pushButton_price");
    EXPECT_EQ(lastBox().text, u8(pricing_problem_text(PricingProblem::ScheduleLengthMismatch)));
    EXPECT_TRUE(text("edit_price").isEmpty());
}

TEST_F(EngineSetUpTest, AFailedCheckLeavesPriceAndEngineAlone) {
    observeSchedule().dates = QStringLiteral("20250307_20260106");
    click("pushButton_price");
    EXPECT_EQ(lastBox(), criticalBox("观察日参数错误", "最后敲出观察日与到期日不符"));
    EXPECT_TRUE(text("edit_price").isEmpty());
    EXPECT_FALSE(engine().product_set);

    observeSchedule().dates = QStringLiteral("20250307_20260107");
    setText("edit_ki_price", "100");
    click("pushButton_price");
    EXPECT_EQ(lastBox(), criticalBox("结构参数错误", "敲入价格应小于标的价格"));
    EXPECT_FALSE(engine().product_set);
}

TEST_F(EngineSetUpTest, TheOptionTypePricesProfitAndLoss) {
    combo("combo_type")->setCurrentIndex(1);
    click("pushButton_price");
    EXPECT_DOUBLE_EQ(engine().payoff_mode, 1);
    EXPECT_LT(std::abs(text("edit_price").toDouble()), 30);
}

}  // namespace
