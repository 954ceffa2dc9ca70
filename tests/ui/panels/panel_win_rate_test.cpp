// The win-rate panel and its threads driven through the widgets, on a short calendar so that
// every run takes a few milliseconds.
#include <QDir>
#include <QMutexLocker>
#include <QSignalSpy>
#include <QTest>

#include "dialogs.h"
#include "download_paths.h"
#include "panel_test_support.h"
#include "panel_win_rate.h"
#include "thread_calcu_win_rate_manager.h"
#include "window_driver.h"

namespace {

const std::vector<const char*> kRangeFields = {"lineEdit_vol_start", "lineEdit_vol_end",
                                               "lineEdit_vol_step"};

class PanelWinRateTest : public ::testing::Test, protected WindowDriver {
  protected:
    PanelWinRateTest()
        : calendar(TestCalendar::weekdays_from(20240102, 30)),
          days(calendar.days()),
          dates(join_dates(days, {3, 6, 9, 12})) {
        drive(panel);
        load_process_calendar(calendar);
        setBaseDir(QString::fromStdString(dir.path().string()));
        panel.takeTerms(TestSnowball::quarterly().build(), days[0], days[12], dates);
        panel.manager().seed = 17;
    }
    ~PanelWinRateTest() override { setBaseDir(QString()); }

    void calc() { child<QPushButton>("pushButton_calc")->click(); }
    bool waitForRun() {
        return QTest::qWaitFor([&] { return !panel.calculating(); }, 120000);
    }
    // Sets the range, presses "计算" and waits for the run to end.
    bool runRange(const QStringList& range) {
        type(kRangeFields, range);
        calc();
        return waitForRun();
    }
    QTableWidget* table() { return WindowDriver::table("table_win_rate"); }
    double cellPercent(int row, int column) {
        QString t = table()->item(row, column)->text();
        EXPECT_TRUE(t.endsWith('%')) << t.toStdString();
        t.chop(1);
        return t.toDouble();
    }

    TestCalendar calendar;
    std::vector<int32_t> days;
    QString dates;  // the observation dates: days 3, 6, 9 and 12
    TempDir dir;
    Dialogs::Recorder recorder;
    PanelWinRate panel;
};

const QStringList kDefaultVolatilities{"7%", "10%", "13%", "16%", "19%", "22%", "25%"};

TEST_F(PanelWinRateTest, StartsWithItsFieldsAndSixColumnsAndNoRows) {
    EXPECT_EQ(panel.windowTitle(), "雪球胜率分析");
    EXPECT_EQ(texts(kRangeFields), QStringList({"7", "25", "3"}));
    ASSERT_EQ(table()->columnCount(), 6);
    EXPECT_EQ(table()->horizontalHeaderItem(0)->text(), "波动率");
    EXPECT_EQ(table()->horizontalHeaderItem(5)->text(), "胜率");
    EXPECT_EQ(table()->rowCount(), 0);
}

TEST_F(PanelWinRateTest, TheDefaultsGiveSevenRowsOfFractionsThatAddUp) {
    calc();
    EXPECT_EQ(panel.windowTitle(), "雪球胜率分析(计算中...)");
    ASSERT_TRUE(waitForRun());
    EXPECT_EQ(panel.windowTitle(), "雪球胜率分析");
    EXPECT_TRUE(recorder.records().isEmpty());
    ASSERT_EQ(columnTexts(table(), 0), kDefaultVolatilities);
    for (int r = 0; r < 7; ++r) {
        EXPECT_NEAR(cellPercent(r, 1) + cellPercent(r, 2) + cellPercent(r, 3) + cellPercent(r, 4),
                    100, 0.02);
        EXPECT_NEAR(cellPercent(r, 5), cellPercent(r, 1) + cellPercent(r, 2) + cellPercent(r, 3),
                    0.015);
        // Two decimals then "%".
        EXPECT_EQ(table()->item(r, 5)->text().section('.', 1).size(), 3);
    }
}

TEST_F(PanelWinRateTest, ThePanelsRunGivesTheFractionsOfOneSimulationPerVolatility) {
    ASSERT_TRUE(runRange({"10", "20", "10"}));
    const auto terms =
        make_win_rate_terms(panel.engine, trade_calendar(), days[0], days[12], dates);
    ASSERT_TRUE(terms);
    const WinRateFractions f = calcu_win_rate(*terms, 0.2, 17);
    ASSERT_EQ(table()->rowCount(), 2);
    EXPECT_EQ(table()->item(1, 2)->text(), QString::number(f[kKoOnly] * 100, 'f', 2) + "%");
    EXPECT_EQ(table()->item(1, 5)->text(), QString::number(f[kWinRate] * 100, 'f', 2) + "%");
}

TEST_F(PanelWinRateTest, AStepDownFromAHigherStartStillListsTheRowsInIncreasingOrder) {
    panel.manager().processor_count = 4;
    ASSERT_TRUE(runRange({"25", "7", "-3"}));
    EXPECT_EQ(columnTexts(table(), 0), kDefaultVolatilities);
}

TEST_F(PanelWinRateTest, RowsFollowTheVolatilityWhateverOrderTheResultsArrivedIn) {
    {
        QMutexLocker lock(&panel.manager().result_mutex);
        for (double v : {0.25, 0.07, 0.16, 0.1})
            panel.manager().win_rate_results.insert(v, {0.1, 0.2, 0.3, 0.4, 0.6});
    }
    panel.handle_calc_data();
    ASSERT_EQ(columnTexts(table(), 0), QStringList({"7%", "10%", "16%", "25%"}));
    EXPECT_EQ(table()->item(3, 4)->text(), "40.00%");
}

TEST_F(PanelWinRateTest, EightWorkersForThreeVolatilitiesRunThreeAndReportOnce) {
    panel.manager().processor_count = 8;
    QSignalSpy finished(&panel.manager(), &ThreadCalcuWinRateManager::SignalFinishedCalcuWinRate);
    QSignalSpy progress(&panel.manager(), &ThreadCalcuWinRateManager::SignalProgressWinRate);
    ASSERT_TRUE(runRange({"10", "30", "10"}));
    EXPECT_EQ(finished.count(), 1);
    ASSERT_EQ(progress.count(), 3);
    EXPECT_EQ(progress.last(), QVariantList({3, 3}));
    EXPECT_TRUE(panel.manager().thread_registry.isEmpty());
    EXPECT_EQ(table()->rowCount(), 3);
}

TEST_F(PanelWinRateTest, ASecondPressDuringARunSaysItIsBusyAndChangesNothing) {
    calc();
    type(kRangeFields, {"30", "40", "5"});
    calc();
    EXPECT_EQ(recorder.lines(), QStringList({"错误：|雪球模拟胜率正在计算中..."}));
    // New terms handed over during the run do not reach it.
    Snowball_PDE other = TestSnowball::quarterly().build();
    other.set_param(1, 99);
    panel.takeTerms(other, days[0], days[1], QString::number(days[1]));
    ASSERT_TRUE(waitForRun());
    EXPECT_EQ(columnTexts(table(), 0), kDefaultVolatilities);
}

TEST_F(PanelWinRateTest, StopEndsTheRunAndLeavesTheTableOfTheLastWholeRun) {
    auto* stop = child<QPushButton>("pushButton_stop");
    ASSERT_NE(stop, nullptr);
    EXPECT_FALSE(stop->isEnabled());
    ASSERT_TRUE(runRange({"10", "20", "10"}));
    const QString before = table()->item(1, 5)->text();

    panel.manager().processor_count = 1;
    type(kRangeFields, {"1", "1000", "1"});
    calc();
    ASSERT_TRUE(stop->isEnabled());
    stop->click();
    ASSERT_TRUE(waitForRun());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_TRUE(panel.manager().thread_registry.isEmpty());
    ASSERT_EQ(table()->rowCount(), 2) << "no part of the stopped run is shown";
    EXPECT_EQ(table()->item(1, 5)->text(), before);
    EXPECT_TRUE(recorder.records().isEmpty());
}

TEST_F(PanelWinRateTest, StoppingARunEndsItsThreadsAndKeepsTheTable) {
    type(kRangeFields, {"1", "60", "1"});
    calc();
    ASSERT_TRUE(panel.calculating());
    panel.stopRun();
    EXPECT_FALSE(panel.calculating());
    EXPECT_FALSE(panel.manager().isRunning());
    EXPECT_EQ(panel.windowTitle(), "雪球胜率分析");
    EXPECT_FALSE(child<QPushButton>("pushButton_stop")->isEnabled()) << "nothing left to stop";
    EXPECT_EQ(table()->rowCount(), 0) << "a stopped run shows no partial rows";
    QTest::qWait(50);  // the workers' late reports find no run and change nothing
    EXPECT_EQ(table()->rowCount(), 0);
    ASSERT_TRUE(runRange({"7", "10", "3"}));
    EXPECT_EQ(table()->rowCount(), 2) << "the next run goes to its end";
}

TEST_F(PanelWinRateTest, ANegativeStartIsRefusedAndEmptyRangesDoNothing) {
    const QStringList refused{"错误：|波动率不能为负数"};
    type(kRangeFields, {"-5", "25", "3"});
    calc();
    EXPECT_EQ(recorder.lines(), refused);
    EXPECT_FALSE(panel.calculating());
    for (const char* step : {"-3", "0"}) {
        type(kRangeFields, {"7", "25", step});
        calc();
        EXPECT_EQ(recorder.lines(), refused) << step;
        EXPECT_FALSE(panel.calculating()) << step;
    }
}

TEST_F(PanelWinRateTest, TheDefaultRangeIsThreeStepsAroundTheEnginesVolatility) {
    Snowball_PDE e = TestSnowball::quarterly().build();
    e.params.sigma = 0.2;
    panel.takeTerms(e, days[0], days[12], dates);
    panel.setDefaultRange();
    EXPECT_EQ(texts(kRangeFields), QStringList({"11", "29", "3"}));

    PanelWinRate bare;  // no product: the range stays
    bare.setDefaultRange();
    EXPECT_EQ(WindowDriver(bare).text("lineEdit_vol_start"), "7");
}

TEST_F(PanelWinRateTest, AMaturityOnTheStartDateSimulatesOneDay) {
    panel.takeTerms(TestSnowball::quarterly().build(), days[0], days[0], QString::number(days[0]));
    ASSERT_TRUE(runRange({"20", "20", "1"}));
    ASSERT_EQ(table()->rowCount(), 1);
    // One day at 20 % cannot fall 20 % nor rise above 103 often, but it is simulated.
    EXPECT_NE(table()->item(0, 3)->text(), "-");
}

TEST_F(PanelWinRateTest, ExportWritesTheTableAndACancelledDialogWritesNothing) {
    ASSERT_TRUE(runRange({"10", "20", "10"}));
    click("pushButton_data");
    ASSERT_EQ(recorder.records().size(), 1);
    EXPECT_EQ(recorder.records()[0].title, "雪球模拟胜率数据存为:");
    EXPECT_TRUE(recorder.records()[0].text.contains("probability_data_"));
    EXPECT_TRUE(recorder.records()[0].text.endsWith(".csv"));
    EXPECT_TRUE(QDir(downloadDir()).entryList(QDir::Files).isEmpty());

    const QString chosen = downloadFilePath("chosen.csv");
    recorder.answerSaveFile(chosen);
    click("pushButton_data");
    EXPECT_EQ(recorder.records().last().kind, Dialogs::Kind::Information);
    const QStringList lines = exportedLines(chosen);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "波动率,敲出且敲入,敲出且未敲入,未敲出且未敲入,未敲出且敲入,胜率");
    EXPECT_TRUE(lines[1].startsWith("10%,"));
    EXPECT_TRUE(lines[2].startsWith("20%,"));
}

}  // namespace
