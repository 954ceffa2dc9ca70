// The observation schedule editor: estimate, stepped values, split and merge, rows, save checks.
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "dialogs.h"
#include "observe_schedule.h"
#include "temp_dir.h"
#include "test_calendar.h"
#include "trade_calendar.h"
#include "widget_observe_global.h"
#include "window_driver.h"

namespace {

const QStringList kDefaultDates = {"20240402", "20240502", "20240603", "20240702", "20240802",
                                   "20240902", "20241002", "20241104", "20241202", "20250102"};

class ObserveEditor : public ::testing::Test, protected WindowDriver {
  protected:
    ObserveEditor() { drive(editor); }
    static void SetUpTestSuite() {
        TempDir dir;
        // Every weekday from December 2023 to the end of 2025, so rolling a weekend gives the
        // Monday.
        ASSERT_TRUE(trade_calendar().load(TestCalendar::weekdays(20231201, 20251231).write(dir)));
    }

    void SetUp() override {
        observeSchedule().clear();
        // The window's default terms: monthly, lock-up 3, maturity one year after the start.
        editor.resetSchedule(QDate(2024, 1, 2), QDate(2025, 1, 2), "103", "16", "80");
        boxes.clear();
    }

    QTableWidget* table() { return editor.table(); }
    QStringList column(int c) { return columnTexts(table(), c); }
    QString cell(int row, int c) { return column(c).value(row); }
    void setSteps(const QString& steps) {
        type("lineEdit_steps", steps);
        click("pushButton_set_ob_item");
    }

    Dialogs::Recorder boxes;
    WidgetObserveGlobal editor;
};

// A merged value column holds one cell in row 0 spanning every row.
void expectMerged(QTableWidget* table, int column, const QString& value) {
    ASSERT_NE(table->item(0, column), nullptr);
    EXPECT_EQ(table->item(0, column)->text(), value);
    EXPECT_EQ(table->rowSpan(0, column), table->rowCount()) << "column " << column;
    for (int r = 1; r < table->rowCount(); ++r)
        EXPECT_EQ(table->item(r, column), nullptr);
}

// The window's default values (103, 16, 80), each merged over every row.
void expectDefaultValuesMerged(QTableWidget* table) {
    expectMerged(table, 1, "103");
    expectMerged(table, 2, "16");
    expectMerged(table, 3, "80");
}

}  // namespace

TEST_F(ObserveEditor, DefaultTermsGiveTenRolledDatesWithMergedValues) {
    EXPECT_EQ(column(0), kDefaultDates);
    EXPECT_EQ(text("lineEdit_steps"), "10");
    EXPECT_EQ(observeSchedule().dates, kDefaultDates.join("_"));
    EXPECT_EQ(observeSchedule().knockOutPrices, "103");
    expectDefaultValuesMerged(table());
    EXPECT_TRUE(boxes.records().isEmpty());
}

TEST_F(ObserveEditor, StepsThatMissTheRowCountWarnFirstThenWriteWhatFits) {
    editor.on_pushButton_divide_clicked();
    setSteps("8");
    EXPECT_EQ(column(1).mid(6), QStringList({"97.6", "97.2", "103", "103"}));
    setSteps("12");
    EXPECT_EQ(column(1), QStringList({"100", "99.6", "99.2", "98.8", "98.4", "98", "97.6", "97.2",
                                      "96.8", "96.4"}));
    setSteps("2000000000");  // cut to what the rows can take, still reported as too many
    EXPECT_EQ(boxes.lines(), QStringList({"请注意：|敲出价格数量小于观察日数量!",
                                          "请注意：|敲出价格数量大于观察日数量!",
                                          "请注意：|敲出价格数量大于观察日数量!"}));
}

TEST_F(ObserveEditor, SaveStoresOneValuePerRowAfterSplitAndOneAfterMerge) {
    editor.on_pushButton_divide_clicked();
    EXPECT_FALSE(editor.sameValues());
    EXPECT_EQ(column(2).join(","), "16" + QString(",16").repeated(9));
    editor.saveButton()->click();
    EXPECT_EQ(observeSchedule().knockOutCoupons.split("_").size(), 10);
    EXPECT_EQ(observeSchedule().knockInPrices.split("_").size(), 10);

    editor.on_pushButton_merge_clicked();
    EXPECT_TRUE(editor.sameValues());
    expectMerged(table(), 1, "103");
    editor.saveButton()->click();
    EXPECT_EQ(observeSchedule().knockOutPrices, "103");
    EXPECT_EQ(observeSchedule().knockOutCoupons, "16");
    EXPECT_EQ(observeSchedule().dates, kDefaultDates.join("_"));
    EXPECT_TRUE(boxes.records().isEmpty());
}

TEST_F(ObserveEditor, RowAddedAboveTheFirstStaysUnderTheMergedCells) {
    table()->setCurrentCell(0, 0);
    editor.on_pushButton_add_clicked();
    ASSERT_EQ(table()->rowCount(), 11);
    EXPECT_EQ(cell(0, 0), "");
    EXPECT_EQ(cell(1, 0), "20240402");
    expectDefaultValuesMerged(table());

    table()->setCurrentCell(5, 0);  // inside the merged cells: they grow by the new row
    editor.on_pushButton_add_clicked();
    ASSERT_EQ(table()->rowCount(), 12);
    expectMerged(table(), 1, "103");
}

TEST_F(ObserveEditor, RemovingTheFirstRowKeepsTheMergedValues) {
    table()->setCurrentCell(0, 0);
    editor.on_pushButton_remove_clicked();
    ASSERT_EQ(table()->rowCount(), 9);
    EXPECT_EQ(cell(0, 0), "20240502");
    expectDefaultValuesMerged(table());
    editor.saveButton()->click();
    EXPECT_EQ(observeSchedule().knockInPrices, "80");
}

TEST_F(ObserveEditor, AddAndRemoveNeedRowsAndASelection) {
    editor.on_pushButton_add_clicked();
    WidgetObserveGlobal empty;
    empty.on_pushButton_remove_clicked();
    EXPECT_EQ(boxes.lines(),
              QStringList({"提示|请先点击选中一行数据", "提示|请先点击【预估观察日】按钮"}));
    EXPECT_EQ(table()->rowCount(), 10);
}

TEST_F(ObserveEditor, SaveNeedsEightCharacterDatesAfterTrimmingAndStoresThemAsTyped) {
    editor.on_pushButton_divide_clicked();
    table()->item(3, 0)->setText(" 20240702 ");
    editor.saveButton()->click();
    EXPECT_TRUE(boxes.records().isEmpty());
    EXPECT_EQ(observeSchedule().dates.split("_")[3], " 20240702 ");

    const ObserveSchedule before = observeSchedule();
    table()->item(3, 0)->setText("2024010");
    table()->item(5, 1)->setText("99");
    editor.saveButton()->click();
    EXPECT_EQ(boxes.lines(), QStringList({"错误|数据格式错误，请检查"}));
    EXPECT_EQ(observeSchedule().dates, before.dates);
    EXPECT_EQ(observeSchedule().knockOutPrices, before.knockOutPrices);
}

TEST_F(ObserveEditor, OneValueTypedIntoASplitTableFailsTheSaveUntilMerged) {
    editor.on_pushButton_divide_clicked();
    setSteps("1");
    expectMerged(table(), 1, "100");
    editor.saveButton()->click();
    EXPECT_EQ(boxes.lines(), QStringList({"错误|数据格式错误，请检查"}));
}

TEST_F(ObserveEditor, FailedEstimateShowsTheMessageEmptiesTheDatesAndKeepsTheTable) {
    type("lineEdit_lockup", "12");
    click("pushButton_observe");
    ASSERT_EQ(boxes.records().size(), 1);
    EXPECT_EQ(boxes.records()[0].kind, Dialogs::Kind::Critical);
    EXPECT_EQ(boxes.lines()[0], "观察日参数错误|锁定观察数量大于以观察频率取样的日期数量!");
    EXPECT_EQ(observeSchedule().dates, "");
    EXPECT_EQ(table()->rowCount(), 10);
}

TEST_F(ObserveEditor, EstimateRollsBothDatesOntoTradingDays) {
    child<QDateEdit>("dateEdit_start")->setDate(QDate(2024, 3, 2));  // a Saturday
    child<QDateEdit>("dateEdit_end")->setDate(QDate(2024, 9, 1));    // a Sunday
    click("pushButton_observe");
    EXPECT_EQ(editor.startDate(), QDate(2024, 3, 4));
    EXPECT_EQ(editor.endDate(), QDate(2024, 9, 2));
    EXPECT_EQ(observeSchedule().dates.right(8), "20240902");
}

TEST_F(ObserveEditor, SplitDrawsACellPerRowAndTypedTextsReachTheSave) {
    editor.on_pushButton_divide_clicked();
    for (int c = 1; c < 4; ++c) {
        EXPECT_EQ(table()->rowSpan(0, c), 1) << c;
        EXPECT_EQ(column(c).size(), 10) << c;
    }
    table()->setCurrentCell(2, 0);
    editor.on_pushButton_add_clicked();  // a new row has a date cell and no values yet
    EXPECT_EQ(cell(2, 1), "<none>");
    EXPECT_EQ(table()->currentRow(), 3);  // the selection stays on the row it was on

    // Typed as the table's editor commits a cell, into existing and missing cells alike.
    QAbstractItemModel* cells = table()->model();
    const QStringList typed = {"20240415", "abc1", "１６％", "８０"};
    for (int c = 0; c < 4; ++c)
        cells->setData(cells->index(2, c), typed[c]);
    QSignalSpy saved(&editor, &WidgetObserveGlobal::scheduleSaved);
    const ObserveSchedule before = observeSchedule();
    editor.saveButton()->click();
    EXPECT_EQ(boxes.lines(), QStringList({"错误|第3行“敲出价格”不是数字，请检查"}));
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(observeSchedule().knockOutPrices, before.knockOutPrices);

    cells->setData(cells->index(2, 1), " １０２．５ ");
    editor.saveButton()->click();
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(cell(2, 1), "102.5");  // the table shows the number that was stored
    EXPECT_EQ(observeSchedule().knockOutPrices.split("_").mid(1, 3),
              QStringList({"103", "102.5", "103"}));
    EXPECT_EQ(observeSchedule().knockOutCoupons.split("_")[2], "16");
    EXPECT_EQ(observeSchedule().dates.split("_")[2], "20240415");
}

TEST(ObserveEditorShape, LabelsNameTheirFieldsAndFlagsChangeTheEditor) {
    WidgetObserveGlobal editor(true, false);
    const QList<QPair<const char*, const char*>> buddies = {
        {"label_start", "dateEdit_start"},
        {"label_end", "dateEdit_end"},
        {"label_frequency", "comboBox_frequency"},
        {"label_lockup", "lineEdit_lockup"},
        {"label_start_value", "lineEdit_start_value"},
        {"label_change", "lineEdit_change"},
        {"label_steps", "lineEdit_steps"}};
    for (const auto& [label, field] : buddies) {
        const QLabel* l = editor.findChild<QLabel*>(label);
        ASSERT_NE(l, nullptr) << label;
        EXPECT_EQ(l->buddy(), editor.findChild<QWidget*>(field)) << label;
    }
    EXPECT_EQ(editor.table()->horizontalHeaderItem(1)->text(), "敲出\n价格");

    Dialogs::Recorder boxes;
    editor.show();
    editor.saveButton()->click();  // an empty table is refused, and the editor stays open
    EXPECT_EQ(boxes.lines(), QStringList({"错误|无敲出观察日"}));
    EXPECT_TRUE(editor.isVisible());
    editor.resetSchedule(QDate(2024, 1, 2), QDate(2025, 1, 2), "103", "16", "80");
    for (int r = 0; r < editor.table()->rowCount(); ++r)  // valid with or without a calendar
        editor.table()->item(r, 0)->setText("20240102");
    editor.saveButton()->click();
    EXPECT_FALSE(editor.isVisible());

    QWidget window;
    auto* embedded = new WidgetObserveGlobal(false, false);
    (new QHBoxLayout(&window))->addWidget(embedded);
    window.show();
    QTest::keyClick(embedded, Qt::Key_Escape);
    EXPECT_TRUE(embedded->isVisible());

    WidgetObserveGlobal tableOnly(false, true);
    tableOnly.show();
    EXPECT_TRUE(tableOnly.table()->isVisible());
    EXPECT_FALSE(tableOnly.findChild<QDateEdit*>("dateEdit_start")->isVisible());
    EXPECT_FALSE(tableOnly.saveButton()->isVisible());
}
