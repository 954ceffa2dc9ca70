// The schedule editor's rules on the model alone: load, stepped values, rows, split and merge,
// the save checks and the strict reading of the values.
#include "observe_schedule_model.h"

#include <gtest/gtest.h>

#include "form_number.h"
#include "qt_text.h"
#include "temp_dir.h"
#include "test_calendar.h"
#include "trade_calendar.h"

namespace {

using Model = ObserveScheduleModel;

QStringList times(int n, const QString& text) {
    return QVector<QString>(n, text).toList();
}

const QString kDates = "20240402_20240502_20240603_20240702_20240802";

struct ScheduleModel : ::testing::Test {
    ScheduleModel() { model.load(kDates, "103", "16", "80"); }

    QStringList column(int c) const {
        QStringList texts;
        for (int r = 0; r < model.rowCount(); ++r)
            texts << model.cell(r, c).value_or("<none>");
        return texts;
    }
    void expectMerged(int c, const QString& value) const {
        EXPECT_TRUE(model.isMerged(c)) << c;
        QStringList expected = times(model.rowCount(), "<none>");
        expected[0] = value;
        EXPECT_EQ(column(c), expected) << c;
    }

    ObserveSchedule store;
    Model model{store};
};

}  // namespace

TEST_F(ScheduleModel, LoadGivesOneRowPerDateWithSingleValuesMergedAndKeepsTheTexts) {
    EXPECT_EQ(column(Model::ColumnDate).join("_"), kDates);
    expectMerged(Model::ColumnKnockOutPrice, "103");
    expectMerged(Model::ColumnKnockOutCoupon, "16");
    expectMerged(Model::ColumnKnockInPrice, "80");
    EXPECT_EQ(store.knockInPrices, "80");

    EXPECT_FALSE(model.load("__", "1", "2", "3").ok);  // no date: nothing changes
    EXPECT_EQ(model.rowCount(), 5);

    const ScheduleResult r = model.load(kDates, "101_102_103", "", "1_2_3_4_5_6");
    EXPECT_EQ(r.lines(), QStringList({"请注意：|敲出价格数量小于观察日数量!",
                                      "请注意：|敲入价格数量大于观察日数量!"}));
    EXPECT_EQ(column(1), QStringList({"101", "102", "103", "-", "-"}));
    EXPECT_EQ(column(2), times(5, "-"));  // no coupons given: placeholders stay
    EXPECT_EQ(column(3), QStringList({"1", "2", "3", "4", "5"}));
}

TEST_F(ScheduleModel, StepsFillTheChosenColumnAndWarnWhenTheyMissTheRowCount) {
    model.split();
    EXPECT_EQ(model.fillSteps("3", "100", "-0.4", 0).lines(),
              QStringList({"请注意：|敲出价格数量小于观察日数量!"}));
    EXPECT_EQ(column(1), QStringList({"100", "99.6", "99.2", "103", "103"}));
    EXPECT_EQ(model.fillSteps("2000000000", "10", "0.1", 1).lines(),
              QStringList({"请注意：|敲出票息数量大于观察日数量!"}));
    EXPECT_EQ(column(2), QStringList({"10", "10.1", "10.2", "10.3", "10.4"}));
    EXPECT_TRUE(model.fillSteps("5", "1", "0.1234567", 2).messages.isEmpty());
    EXPECT_EQ(column(3)[4], "1.49383");  // six significant digits

    // One value merges the column though the others stay per date; the save then wants cells.
    model.fillSteps("1", "95", "0", 0);
    expectMerged(Model::ColumnKnockOutPrice, "95");
    EXPECT_FALSE(model.sameValues());
    EXPECT_EQ(model.save().lines(), QStringList({"错误|数据格式错误，请检查"}));
    model.insertRow(0);  // the one value still stands for every row
    expectMerged(Model::ColumnKnockOutPrice, "95");
    EXPECT_EQ(model.cell(0, Model::ColumnKnockOutCoupon), std::nullopt);
}

TEST_F(ScheduleModel, SplitCopiesEachMergedValueIntoEveryRowAndMergeTakesTheFirstText) {
    model.split();
    EXPECT_FALSE(model.sameValues());
    EXPECT_FALSE(model.isMerged(Model::ColumnKnockOutCoupon));
    EXPECT_EQ(column(2), times(5, "16"));
    model.setCellText(0, 2, "");
    model.setCellText(1, 2, "17");
    model.merge();
    EXPECT_TRUE(model.sameValues());
    expectMerged(Model::ColumnKnockOutCoupon, "17");
    expectMerged(Model::ColumnKnockOutPrice, "103");
    model.setCellText(3, 2, "99");  // hidden under the merged cell
    expectMerged(Model::ColumnKnockOutCoupon, "17");
}

TEST_F(ScheduleModel, RowsNeedATableAndASelection) {
    EXPECT_EQ(model.insertRow(-1).lines(), QStringList({"提示|请先点击选中一行数据"}));
    EXPECT_EQ(model.removeRow(5).lines(), QStringList({"提示|请先点击选中一行数据"}));
    ObserveSchedule otherStore;
    Model empty(otherStore);
    EXPECT_EQ(empty.removeRow(0).lines(), QStringList({"提示|请先点击【预估观察日】按钮"}));
    EXPECT_EQ(model.rowCount(), 5);
}

TEST_F(ScheduleModel, MergedValuesStayOnTopWhenTheFirstRowIsInsertedOrRemoved) {
    ASSERT_TRUE(model.insertRow(0).ok);
    EXPECT_EQ(column(0).first(), "");
    expectMerged(Model::ColumnKnockOutPrice, "103");
    ASSERT_TRUE(model.removeRow(0).ok);
    ASSERT_TRUE(model.removeRow(0).ok);
    EXPECT_EQ(column(0).first(), "20240502");
    expectMerged(Model::ColumnKnockInPrice, "80");

    // Per-date values: the removed row takes its values with it; a new row has none.
    model.split();
    model.setCellText(0, 1, "110");
    model.removeRow(0);
    EXPECT_EQ(column(1), times(3, "103"));
    model.insertRow(1);
    EXPECT_EQ(column(1), QStringList({"103", "<none>", "103", "103"}));
    EXPECT_EQ(model.save().lines(), QStringList({"错误|数据格式错误，请检查"}));
}

TEST_F(ScheduleModel, SaveStoresOneValueMergedAndOneValuePerRowSplit) {
    ASSERT_TRUE(model.save().ok);
    EXPECT_EQ(store.dates, kDates);
    EXPECT_EQ(store.knockOutPrices, "103");
    EXPECT_EQ(store.knockOutCoupons, "16");
    model.split();
    ASSERT_TRUE(model.save().ok);
    EXPECT_EQ(store.knockInPrices, "80_80_80_80_80");
}

TEST_F(ScheduleModel, SaveChecksDatesAndKeepsTheStoreWhenRefused) {
    model.setCellText(1, 0, " 20240502 ");  // eight characters after trimming, stored as typed
    ASSERT_TRUE(model.save().ok);
    EXPECT_EQ(store.dates.split("_")[1], " 20240502 ");

    const ObserveSchedule before = store;
    model.setCellText(2, 0, "2024060");
    model.setCellText(0, 1, "99");
    EXPECT_EQ(model.save().lines(), QStringList({"错误|数据格式错误，请检查"}));
    EXPECT_EQ(store.dates, before.dates);
    EXPECT_EQ(store.knockOutPrices, "103");

    // An empty table would wipe the window's form: refused, the store kept.
    while (model.rowCount() > 0)
        model.removeRow(0);
    EXPECT_EQ(model.check().lines(), QStringList({"错误|无敲出观察日"}));
    EXPECT_FALSE(model.save().ok);
    EXPECT_EQ(store.dates, before.dates);
}

TEST_F(ScheduleModel, SaveReadsValuesStrictlyAndStoresTheNumberTheyMean) {
    model.split();
    model.setCellText(0, 1, "１０２．５");
    model.setCellText(1, 1, " 101 ");
    model.setCellText(2, 2, "１６％");  // coupons are in percent
    model.setCellText(3, 3, "－８0");
    ASSERT_TRUE(model.save().ok);
    EXPECT_EQ(store.knockOutPrices, "102.5_101_103_103_103");
    EXPECT_EQ(store.knockOutCoupons, "16_16_16_16_16");
    EXPECT_EQ(store.knockInPrices, "80_80_80_-80_80");
    EXPECT_EQ(model.cell(0, 1), QString("102.5"));  // the table shows what was read

    const ObserveSchedule before = store;
    const struct {
        int row, column;
        const char* text;
        const char* message;
    } refused[] = {
        {2, 3, "abc1", "第3行“敲入价格”不是数字，请检查"},
        {4, 1, "18%", "第5行“敲出价格”不是数字，请检查"},  // no percent in a price
        {0, 2, "-", "第1行“敲出票息”不是数字，请检查"},    // a placeholder left in
    };
    for (const auto& c : refused) {
        const QString good = *model.cell(c.row, c.column);
        model.setCellText(c.row, c.column, QString::fromUtf8(c.text));
        EXPECT_EQ(model.save().lines(), QStringList({QString("错误|") + c.message})) << c.text;
        EXPECT_EQ(store.knockInPrices, before.knockInPrices);
        model.setCellText(c.row, c.column, good);
    }
}

TEST(FormNumber, ReadsWhatATextObviouslyMeansAndNothingElse) {
    const struct {
        const char* text;
        NumberUnit unit;
        double value;
    } accepted[] = {
        {"18", NumberUnit::Plain, 18},
        {" 1.5 ", NumberUnit::Plain, 1.5},
        {"１８", NumberUnit::Plain, 18},
        {"－０．５", NumberUnit::Plain, -0.5},
        {"\u3000７\u3000", NumberUnit::Plain, 7},
        {"18%", NumberUnit::Percent, 18},
        {"1.5 ％", NumberUnit::Percent, 1.5},
        {"1e2", NumberUnit::Plain, 100},
    };
    for (const auto& c : accepted)
        EXPECT_EQ(readFormNumber(QString::fromUtf8(c.text), c.unit), std::optional<double>(c.value))
            << c.text;
    for (const char* text : {"18%", "十八", "abc", "", "1 8", "1,5", "nan", "inf", "1e999", "٣"})
        EXPECT_FALSE(readFormNumber(QString::fromUtf8(text), NumberUnit::Plain)) << text;
    for (const char* text : {"%", "18%%"})
        EXPECT_FALSE(readFormNumber(QString::fromUtf8(text), NumberUnit::Percent)) << text;
    EXPECT_EQ(writeFormNumber(99.6), "99.6");
    EXPECT_EQ(readFormNumber(writeFormNumber(0.1 + 0.2)), 0.1 + 0.2);
}

TEST(ScheduleModelDates, EstimateRollsBothDatesAndAFailureEmptiesOnlyTheStoredDates) {
    TempDir dir;  // every weekday of 2024 and 2025
    ASSERT_TRUE(trade_calendar().load(TestCalendar::weekdays(20240101, 20251231).write(dir)));

    ObserveSchedule store;
    Model model(store);
    QDate start(2024, 3, 2), end(2024, 9, 1);  // a Saturday and a Sunday
    ASSERT_TRUE(model.estimateDates(start, end, "1", "月").ok);
    EXPECT_EQ(start, QDate(2024, 3, 4));
    EXPECT_EQ(end, QDate(2024, 9, 2));
    EXPECT_TRUE(store.dates.startsWith("20240404_") && store.dates.endsWith("_20240902"));
    ASSERT_TRUE(model.loadFromStore().ok);
    const int rows = model.rowCount();

    EXPECT_TRUE(model.estimateDates(start, end, "x12", "周").ok);  // lock-up 0
    const ScheduleResult lockup = model.estimateDates(start, end, "99", "月");
    EXPECT_FALSE(lockup.ok);
    ASSERT_EQ(lockup.messages.size(), 1);
    EXPECT_EQ(lockup.messages[0].kind, ScheduleMessage::Kind::Critical);
    EXPECT_EQ(lockup.lines(),
              QStringList({"观察日参数错误|锁定观察数量大于以观察频率取样的日期数量!"}));
    EXPECT_EQ(store.dates, "");
    EXPECT_FALSE(model.loadFromStore().ok);
    EXPECT_EQ(model.rowCount(), rows);
}
