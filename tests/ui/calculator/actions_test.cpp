// The buttons: pricing, the solve in an interval, the launches, the Greeks run, the look-up and
// the matrix export.
#include <QRegularExpression>

#include "calculator_fixture.h"
#include "file_size_limit.h"
#include "observe_schedule.h"
#include "test_snowball.h"

namespace {

// The default product built by hand: observation times from the trading calendar, fractions
// for percentages, maturity of 243 trading years' days.
Snowball_PDE defaultProductByHand() {
    TestSnowball t = TestSnowball::classic();
    for (const QString& d : observeSchedule().dates.split(QLatin1Char('_'), Qt::SkipEmptyParts))
        t.obs_time.push_back(trading_year_fraction(20250107, d.toInt(), 252));
    t.coupon_adj_share = 0;
    return t.build();
}

bool hasDecimals(const QString& number, int decimals) {
    return QRegularExpression(QStringLiteral("^-?\\d+\\.\\d{%1}$").arg(decimals))
        .match(number)
        .hasMatch();
}

// A grid file as the Greeks run writes it: the price grid first, the knock-in grid after it.
::testing::AssertionResult holdsBothGrids(const std::string& path) {
    const std::string grids = TempDir::read(path);
    if (grids.rfind("MATRIX:Price\n", 0) == 0 &&
        grids.find("MATRIX:Price_KI\n") != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path << " holds " << grids.substr(0, 40);
}

class ActionsTest : public CalculatorTest {
  protected:
    void solveFor(int target, const char* goal, const char* lo, const char* hi) {
        combo("combo_target")->setCurrentIndex(target);
        setText("edit_target", QLatin1String(goal));
        setText("edit_range_start", QLatin1String(lo));
        setText("edit_range_end", QLatin1String(hi));
        click("pushButton_range");
    }
};

TEST_F(ActionsTest, PricingShowsTheEnginePriceOfTheSameTermsWithTwoDecimals) {
    click("pushButton_price");
    ASSERT_TRUE(noBox());
    const double expected = defaultProductByHand().price();
    ASSERT_TRUE(std::isfinite(expected));
    EXPECT_EQ(text("edit_price"), QString::number(expected, 'f', 2));
    EXPECT_TRUE(hasDecimals(text("edit_price"), 2)) << "whatever the decimals field says";
    EXPECT_EQ(status(), u8("计算已完成"));
}

TEST_F(ActionsTest, ALargeButFeasibleGridPrices) {
    setText("edit_M", "2000");
    click("pushButton_price");
    EXPECT_TRUE(std::isfinite(text("edit_price").toDouble())) << text("edit_price").toStdString();
}

TEST_F(ActionsTest, SolvingForTheVolatilityWritesOneDecimalPercent) {
    click("pushButton_price");
    const QString price = text("edit_price");
    setText("edit_vol", "30");
    solveFor(0, price.toLatin1().constData(), "0.05", "0.5");
    ASSERT_TRUE(noBox());
    EXPECT_TRUE(hasDecimals(text("edit_vol"), 1)) << text("edit_vol").toStdString();
    EXPECT_NEAR(text("edit_vol").toDouble(), 18, 1.5);
    EXPECT_EQ(status(), u8("计算已完成"));
}

TEST_F(ActionsTest, SolvingForTheCouponsReplacesAPerDateListInBothFields) {
    const int dates = observeSchedule().dates.split(QLatin1Char('_'), Qt::SkipEmptyParts).size();
    setText("edit_ko_coupon", QStringLiteral("_16").repeated(dates).mid(1));
    solveFor(1, "100", "0", "0.5");
    ASSERT_TRUE(noBox());
    EXPECT_TRUE(hasDecimals(text("edit_ko_coupon"), 1)) << text("edit_ko_coupon").toStdString();
    EXPECT_EQ(text("edit_div_coupon"), text("edit_ko_coupon"));
}

TEST_F(ActionsTest, ASolveOnABrokenScheduleDoesNotStartAndSaysWhy) {
    observeSchedule().dates = QStringLiteral("20240101");
    solveFor(0, "100", "0.05", "0.5");
    ASSERT_EQ(boxes(), 1);
    EXPECT_EQ(lastBox(), criticalBox("结构参数错误", "无敲出观察日"));
}

TEST_F(ActionsTest, ASolveThatFindsNothingSaysWhyAndKeepsTheForm) {
    // The price falls with the volatility, so a target below the price at the upper end is out.
    solveFor(0, "10", "0.05", "0.5");
    EXPECT_EQ(lastBox(),
              infoBox("提示：在指定区间未能找到合适参数",
                      "求解区间非单调，或目标不在区间内\n建议通过'知x求1'进行单变量图分析"));
    EXPECT_EQ(text("edit_vol"), "18");
    EXPECT_EQ(status(), u8("计算已完成"));

    // Equal prices at both ends: the price stops moving.
    solveFor(0, "1000", "0.2", "0.2");
    EXPECT_EQ(lastBox(), criticalBox("未获得有效解", "请提高精度(增大PDE中M)再试"));
    EXPECT_TRUE(status().isEmpty());

    // A product that cannot be priced (S_max below S0) does not start the search.
    setText("edit_S_max", "50");
    solveFor(0, "100", "0.05", "0.5");
    EXPECT_EQ(lastBox(), criticalBox("结构参数错误", "价格上限必须高于期初价格"));
    EXPECT_TRUE(status().isEmpty());
    EXPECT_EQ(text("edit_vol"), "18");
    setText("edit_S_max", "200");

    combo("combo_target")->setCurrentIndex(-1);
    click("pushButton_range");
    EXPECT_EQ(lastBox(), infoBox("提示:", "请点击要计算的参数前的单选按钮！"));
    EXPECT_TRUE(status().isEmpty());

    setText("edit_S", "nan");
    click("pushButton_range");
    EXPECT_EQ(lastBox(), criticalBox("结构参数错误：", "无效的标的价格"));
}

TEST_F(ActionsTest, LaunchesCheckTheirTermsAndTheUnivariateOneNeedsAPrice) {
    click("pushButton_search_100");
    EXPECT_EQ(lastBox(), criticalBox("错误:", "结构信息未初始化，请先点击【定价】"));

    setText("edit_ki_price", "120");
    click("pushButton_search_100");
    EXPECT_EQ(lastBox().title, u8("结构参数错误："));
    click("pushButton_win_rate");
    EXPECT_EQ(lastBox().title, u8("结构参数错误"));
    EXPECT_FALSE(engine().product_set);

    setText("edit_ki_price", "80");
    setText("edit_adj_share", "50");
    setText("edit_adj_rate", "5");
    click("pushButton_win_rate");
    EXPECT_TRUE(engine().product_set);
    EXPECT_DOUBLE_EQ(engine().coupon_adj_rate, 0);
    EXPECT_DOUBLE_EQ(engine().coupon_adj_share, 1);
}

TEST_F(ActionsTest, LookUpNeedsASolvedGrid) {
    button("pushButton_lookup")->setEnabled(true);
    click("pushButton_lookup");
    EXPECT_EQ(lastBox(), criticalBox("错误:", "无法查找PDE"));
    click("pushButton_price");
    recorder.clear();
    click("pushButton_lookup");
    EXPECT_EQ(lastBox().text, u8("无法查找PDE")) << "pricing alone computes no grid";
}

TEST_F(ActionsTest, TheGreeksRunFillsTheReadOutAndWritesBothGridFiles) {
    click("pushButton_calc_greeks");
    EXPECT_EQ(lastBox().text, u8("结构信息未初始化，请先点击【定价】"));
    click("pushButton_price");
    recorder.clear();
    click("pushButton_calc_greeks");
    ASSERT_TRUE(noBox());

    for (const char* enabled :
         {"pushButton_export_matrix", "pushButton_univariate", "pushButton_lookup"})
        EXPECT_TRUE(button(enabled)->isEnabled()) << enabled;
    // At 100 on the first day: theta per day, vega and rho per percentage point.
    const double tau = 243.0 / 252;
    const std::pair<const char*, double> shown[] = {
        {"edit_g_price", engine().lookup_price(100, tau, false)},
        {"edit_g_theta", engine().lookup_theta(100, tau, false) / 252},
        {"edit_g_vega", engine().lookup_vega(100, tau, false) * 0.01},
        {"edit_g_rho", engine().lookup_rho(100, tau, false) * 0.01}};
    for (const auto& [field, value] : shown)
        EXPECT_EQ(text(field), QString::number(value, 'f', 4)) << field;
    EXPECT_NEAR(text("edit_g_price").toDouble(), text("edit_price").toDouble(), 0.02);
    for (const char* g : {"edit_g_delta", "edit_g_gamma"})
        EXPECT_TRUE(hasDecimals(text(g), 4)) << g;

    EXPECT_TRUE(holdsBothGrids(dir.file("PDE_Greeks.csv")));
    // An empty product number names the grid file "_calc.csv".
    EXPECT_TRUE(holdsBothGrids(downloadFile("_calc.csv")));
}

TEST_F(ActionsTest, LookUpOnTheMaturityDateReadsTheMaturityColumnWithTheFormsDecimals) {
    priceWithGreeks();
    setText("edit_today", "20260107");
    setText("edit_decimals", "2");
    setText("edit_spot", "90");
    checkBox("check_knocked_in")->setChecked(true);
    click("pushButton_lookup");
    const Snowball_PDE& e = engine();
    // Node 90 / dS, last column: knocked in at 90 the holder gets the underlying's value.
    const int row = int(std::lround(90 / e.dS)) + 1;
    EXPECT_EQ(text("edit_g_price"), QString::number(e.price_ki(row, e.params.N + 1), 'f', 2));
    EXPECT_EQ(text("edit_g_price"), "90.00");
    EXPECT_TRUE(hasDecimals(text("edit_g_delta"), 2));
}

TEST_F(ActionsTest, AGridRunThatFailsSaysSoAndShowsNoOldGreeks) {
    priceWithGreeks();
    ASSERT_FALSE(text("edit_g_price").isEmpty());
    setText("edit_M", "1");
    click("pushButton_calc_greeks");
    EXPECT_EQ(lastBox(),
              criticalBox("结构参数错误", pricing_problem_text(PricingProblem::TooFewPriceSteps)));
    EXPECT_TRUE(text("edit_g_price").isEmpty());
    EXPECT_TRUE(text("edit_g_delta").isEmpty());
}

TEST_F(ActionsTest, AGridFileThatCannotBeWrittenIsNamed) {
    click("pushButton_price");
    setText("edit_product_no", "no_such_folder/P1");
    click("pushButton_calc_greeks");
    const std::string gridFile = downloadFile("no_such_folder/P1_calc.csv");
    EXPECT_EQ(lastBox(), criticalBox("无法打开文件:", QString::fromStdString(gridFile)));
}

TEST_F(ActionsTest, GridFilesThatCannotBeWrittenWholeAreNamedAndKeepTheirContent) {
    click("pushButton_price");
    setText("edit_product_no", "P1");
    const std::string greeksFile = dir.write("PDE_Greeks.csv", "earlier\n");
    const std::string gridFile = downloadFile("P1_calc.csv");
    std::ofstream(gridFile) << "earlier\n";
    recorder.clear();
    {
        const FileSizeLimit limit(4096);
        click("pushButton_calc_greeks");
    }
    EXPECT_EQ(recorder.lines(),
              QStringList({u8("写入文件失败:|PDE_Greeks.csv"),
                           u8("写入文件失败:|") + QString::fromStdString(gridFile)}));
    EXPECT_EQ(TempDir::read(greeksFile), "earlier\n");
    EXPECT_EQ(TempDir::read(gridFile), "earlier\n");
    EXPECT_FALSE(text("edit_g_price").isEmpty()) << "the Greeks themselves were computed";
}

TEST_F(ActionsTest, ACancelledLongPricingLeavesThePriceAndAUsableWindow) {
    click("pushButton_price");
    const QString price = text("edit_price");
    setText("edit_M", "1000");
    setText("edit_N", "3995000");
    button("pushButton_price")->click();
    ASSERT_TRUE(backgroundRun()->isRunning());
    EXPECT_FALSE(button("pushButton_price")->isEnabled()) << "a second click queues nothing";
    EXPECT_FALSE(button("pushButton_calc_greeks")->isEnabled());
    QPushButton* cancel = button("pushButton_cancel_run");
    ASSERT_NE(cancel, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cancel->isVisibleTo(window.get()); }, 10000))
        << "a run that lasts shows its progress and the cancel button";
    cancel->click();
    ASSERT_TRUE(waitForRun());
    EXPECT_EQ(text("edit_price"), price);
    EXPECT_EQ(status(), u8("计算已取消"));
    EXPECT_FALSE(cancel->isVisibleTo(window.get()));
    EXPECT_TRUE(noBox());

    setText("edit_N", "200");
    setText("edit_M", "200");
    click("pushButton_price");
    EXPECT_TRUE(button("pushButton_price")->isEnabled());
    EXPECT_EQ(status(), u8("计算已完成"));
    EXPECT_EQ(engine().params.N, 200);
}

TEST_F(ActionsTest, ACancelledMatrixExportStillWritesTheDefaultFile) {
    click("pushButton_export_matrix");
    EXPECT_TRUE(noBox()) << "nothing priced: nothing happens";
    priceWithGreeks();
    click("pushButton_export_matrix");
    ASSERT_EQ(lastBox().kind, Dialogs::Kind::SaveFile);
    EXPECT_EQ(lastBox().title, u8("保存PDE矩阵"));
    EXPECT_TRUE(holdsBothGrids(downloadFile("AutoCall01.csv")));

    recorder.answerSaveFile(QString::fromStdString(dir.file("chosen.csv")));
    click("pushButton_export_matrix");
    EXPECT_TRUE(holdsBothGrids(dir.file("chosen.csv")));
}

TEST_F(ActionsTest, TheMonteCarloCheckWritesItsPriceIntoTheLookUpPrice) {
    click("pushButton_price_MC");
    EXPECT_TRUE(noBox());
    EXPECT_NEAR(text("edit_spot").toDouble(), defaultProductByHand().price(), 3.0);
    EXPECT_EQ(text("edit_spot"), QString::number(text("edit_spot").toDouble(), 'g', 6));
}

}  // namespace
