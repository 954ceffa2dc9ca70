// The stress-test panel driven through its widgets.
#include <fstream>

#include <QColor>
#include <QDir>

#include "box_records.h"
#include "colour_scale.h"
#include "download_paths.h"
#include "panel_stress.h"
#include "panel_test_support.h"
#include "window_driver.h"

namespace {

Snowball_PDE stressTerms() {
    return TestSnowball::quarterly().grid(40, 40).build();
}

class PanelStressTest : public ::testing::Test, protected WindowDriver {
  protected:
    PanelStressTest() {
        drive(panel);
        setBaseDir(QString::fromStdString(dir.path().string()));
        panel.copyTerms(stressTerms());
    }
    ~PanelStressTest() override { setBaseDir(QString()); }

    TempDir dir;
    Dialogs::Recorder recorder;
    PanelStress panel;
};

TEST_F(PanelStressTest, TheDefaultGridFillsTenVolatilityRowsOfSevenPrices) {
    click("pushButton_calc");
    EXPECT_TRUE(recorder.records().isEmpty());
    for (const char* name : {"table_tv", "table_delta", "table_gamma"}) {
        QTableWidget* t = table(name);
        ASSERT_EQ(t->rowCount(), 10) << name;
        ASSERT_EQ(t->columnCount(), 8) << name;
        EXPECT_EQ(t->horizontalHeaderItem(0)->text(), "情景");
        EXPECT_EQ(t->horizontalHeaderItem(1)->text(), "70");
        EXPECT_EQ(t->horizontalHeaderItem(7)->text(), "130");
        EXPECT_EQ(t->item(0, 0)->text(), "5%");
        EXPECT_EQ(t->item(9, 0)->text(), "50%");
        EXPECT_EQ(t->item(0, 0)->background().color(), QColor("yellow"));
    }
    // The cells are read at 100 / 252 years of remaining life, on the row's volatility.
    const Snowball_PDE ref = solvedAtVolatility(stressTerms(), 0.1);
    EXPECT_EQ(table("table_tv")->item(1, 3)->text(),
              QString::number(ref.lookup_price(90, 100.0 / 252, false), 'f', 3));
    EXPECT_EQ(table("table_delta")->item(1, 5)->text(),
              QString::number(ref.lookup_delta(110, 100.0 / 252, false), 'f', 3));
    EXPECT_EQ(panel.engine.params.sigma, 0.18) << "the panel's own engine keeps its volatility";
}

TEST_F(PanelStressTest, HeatTablesColourTheLevelsAroundTheirCentre) {
    QTableWidget* t = table("table_delta");
    PanelStress::resetScenarioTable(t, 3, 2, 1, 1, 0.1, 0.1);
    PanelStress::fillHeatTable(t, {{0.25, 0.5, 2.0}, {-0.5, -0.25, NAN}}, 0);
    EXPECT_EQ(t->item(0, 3)->background().color(), QColor(colourForLevel(8)));
    EXPECT_EQ(t->item(1, 1)->background().color(), QColor(colourForLevel(-8)));
    EXPECT_EQ(t->item(0, 2)->text(), "0.500");
    EXPECT_EQ(t->item(1, 3)->text(), QString::number(double(NAN), 'f', 3));
    EXPECT_EQ(t->item(1, 3)->background().color(), QColor("white"));
}

TEST_F(PanelStressTest, AMatrixThatDoesNotFitTheTableIsNotWritten) {
    QTableWidget* t = table("table_tv");
    PanelStress::resetScenarioTable(t, 2, 1, 1, 1, 0.1, 0.1);
    PanelStress::fillHeatTable(t, {{1, 2, 3}}, 0);
    PanelStress::fillHeatTable(t, {}, 0);
    EXPECT_EQ(t->item(0, 1)->text(), "-");
}

TEST_F(PanelStressTest, ExportWritesDeltaGammaThenTVEachFollowedByTwoEmptyLines) {
    type({"lineEdit_vol_end", "lineEdit_price_end"}, {"0.1", "90"});
    click("pushButton_calc");
    const QString path = QString::fromStdString(dir.file("out.csv"));
    recorder.answerSaveFile(path);
    click("pushButton_data");
    ASSERT_EQ(recorder.records().size(), 2);
    const Dialogs::Record& dialog = recorder.records()[0];
    EXPECT_EQ(dialog.kind, Dialogs::Kind::SaveFile);
    EXPECT_EQ(dialog.title, "压力测试数据存为:");
    EXPECT_TRUE(dialog.text.startsWith(downloadDir()));
    EXPECT_TRUE(dialog.text.contains("stress_data_"));
    EXPECT_TRUE(dialog.text.endsWith(".csv"));
    EXPECT_EQ(recorder.records()[1].kind, Dialogs::Kind::Information);
    EXPECT_TRUE(recorder.records()[1].text.contains(path)) << "the export says where it went";

    const QStringList lines = exportedLines(path);
    // Three sections of name, header, two rows and two empty lines.
    ASSERT_GE(lines.size(), 18);
    EXPECT_EQ(lines.mid(0, 2), QStringList({"Delta", "情景,70,80,90"}));
    EXPECT_TRUE(lines[2].startsWith("5%,"));
    EXPECT_TRUE(lines[3].startsWith("10%,"));
    EXPECT_EQ(lines.mid(4, 3), QStringList({"", "", "Gamma"}));
    EXPECT_EQ(lines.mid(12, 2), QStringList({"TV", "情景,70,80,90"}));
}

TEST_F(PanelStressTest, CancellingTheSaveDialogWritesNothing) {
    const QString earlier = downloadFilePath("stress_data.csv");
    std::ofstream(earlier.toStdString()) << "earlier\n";
    click("pushButton_calc");
    click("pushButton_data");  // the recorder answers cancel
    EXPECT_EQ(TempDir::read(earlier.toStdString()), "earlier\n");
    EXPECT_EQ(QDir(downloadDir()).entryList(QDir::Files), QStringList({"stress_data.csv"}));
    EXPECT_EQ(recorder.records().size(), 1) << "no box after the cancelled dialog";
}

TEST_F(PanelStressTest, ExportingBeforeAnyComputationReportsAnEmptyTable) {
    recorder.answerSaveFile(QString::fromStdString(dir.file("empty.csv")));
    click("pushButton_data");
    ASSERT_EQ(recorder.records().size(), 2);
    EXPECT_EQ(recorder.records()[1], criticalBox("错误:", "试图导出空表。"));
}

TEST_F(PanelStressTest, WithoutTermsItAsksForAPricingAndLeavesTheTables) {
    PanelStress bare;
    const WindowDriver ui(bare);
    ui.click("pushButton_calc");
    EXPECT_EQ(recorder.lines(), QStringList({"错误:|结构信息未初始化，请先点击【定价】"}));
    EXPECT_EQ(ui.table("table_tv")->rowCount(), 0);
}

TEST_F(PanelStressTest, EmptyRangesStopSilentlyAndOversizedOnesAreRefused) {
    click("pushButton_calc");
    type("lineEdit_price_end", "60");
    click("pushButton_calc");
    type({"lineEdit_price_end", "lineEdit_vol_step"}, {"130", "0"});
    click("pushButton_calc");
    EXPECT_TRUE(recorder.records().isEmpty());
    EXPECT_EQ(table("table_tv")->rowCount(), 10) << "the tables keep the last computation";
    type("lineEdit_vol_step", "0.0001");
    click("pushButton_calc");
    ASSERT_EQ(recorder.records().size(), 1);
    EXPECT_EQ(recorder.records()[0].title, "错误：");
    EXPECT_EQ(table("table_tv")->rowCount(), 10);
}

TEST_F(PanelStressTest, NonIntegerTradingDaysReadAsZero) {
    type({"lineEdit_days", "lineEdit_vol_end"}, {"10.5", "0.05"});
    click("pushButton_calc");
    const Snowball_PDE ref = solvedAtVolatility(stressTerms(), 0.05);
    EXPECT_EQ(table("table_tv")->item(0, 4)->text(),
              QString::number(ref.lookup_price(100, 0, false), 'f', 3));
}

TEST_F(PanelStressTest, AGridBeyondTheMemoryBoundIsRefusedWithItsReasonAndNoTableChanges) {
    click("pushButton_calc");
    const QString before = table("table_tv")->item(1, 3)->text();
    panel.copyTerms(TestSnowball::quarterly().grid(4000, 8000).build());  // eight grids of 256 MB
    click("pushButton_calc");
    EXPECT_EQ(recorder.lines(), QStringList{"错误：|网格过大，超出内存上限，请减小M或N"});
    EXPECT_EQ(table("table_tv")->item(1, 3)->text(), before);
}

}  // namespace
