// The product form: default terms, dependent fields, categories and the write-back.
#include <QTableWidget>

#include "calculator_fixture.h"
#include "observe_schedule.h"

namespace {

using FormTest = CalculatorTest;

TEST_F(FormTest, ConstructionLoadsTheDefaultTermsAndCountsTheYearOnTheCalendar) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Brimvale-Pro"));
    // The initial price's followers (spot, open price, target) show it too.
    const std::pair<const char*, const char*> fields[] = {
        {"edit_S", "100"},          {"edit_S_max", "200"},         {"edit_vol", "18"},
        {"edit_div_rate", "0"},     {"edit_rate", "1.5"},          {"edit_M", "200"},
        {"edit_decimals", "4"},     {"edit_ko_price", "103"},      {"edit_ki_price", "80"},
        {"edit_ko_coupon", "16"},   {"edit_div_coupon", "16"},     {"edit_floor", "0"},
        {"edit_call_strike", "0"},  {"edit_call_part", "0"},       {"edit_adj_share", "0"},
        {"edit_adj_rate", "0"},     {"edit_range_start", "0"},     {"edit_range_end", "1"},
        {"edit_spot", "100"},       {"edit_open_price", "100"},    {"edit_target", "100"},
        {"edit_today", "20250107"}, {"edit_days_per_year", "252"}, {"edit_product_no", ""},
        {"edit_price", ""}};
    for (const auto& [field, shown] : fields)
        EXPECT_EQ(text(field), shown) << field;
    EXPECT_EQ(text("edit_T"), QString::number(kTradingDaysInYear));
    EXPECT_EQ(text("edit_N"), QString::number(kTradingDaysInYear - 1));

    EXPECT_EQ(combo("combo_type")->currentText(), u8("票据"));
    EXPECT_EQ(combo("combo_days")->currentText(), u8("交易日"));
    EXPECT_FALSE(combo("combo_days")->isEnabled());
    EXPECT_FALSE(edit("edit_T")->isEnabled());
    EXPECT_FALSE(edit("edit_days_per_year")->isEnabled());
    EXPECT_EQ(combo("combo_target")->currentText(), u8("波动率"));
    // The category handler has not run: all extended fields stay open.
    EXPECT_EQ(combo("combo_snowball")->currentText(), u8("自定义"));
    for (const char* open : {"edit_floor", "edit_call_strike", "edit_call_part"})
        EXPECT_TRUE(edit(open)->isEnabled()) << open;

    for (const char* waiting :
         {"pushButton_univariate", "pushButton_export_matrix", "pushButton_lookup"})
        EXPECT_FALSE(button(waiting)->isEnabled()) << waiting;
    EXPECT_TRUE(button("pushButton_default_param")->isHidden());
    EXPECT_TRUE(button("pushButton_price_MC")->isHidden());
    EXPECT_FALSE(button("pushButton_save_CSV")->isHidden());
    EXPECT_FALSE(engine().product_set);

    EXPECT_EQ(editor()->startDate(), QDate(2025, 1, 7));
    EXPECT_EQ(editor()->endDate(), QDate(2026, 1, 7));
    EXPECT_TRUE(observeSchedule().dates.endsWith(QStringLiteral("_20260107")));
    EXPECT_TRUE(noBox());
}

TEST_F(FormTest, CategoryNamesComeOutOfTheirEightBitEncoding) {
    const char* names[] = {"自定义",     "经典雪球",   "保底雪球",
                           "参与型雪球", "阶梯型雪球", "双降型雪球"};
    ASSERT_EQ(combo("combo_snowball")->count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(combo("combo_snowball")->itemText(i), u8(names[i]));
}

TEST_F(FormTest, TheInitialPriceMovesItsFollowersAndTheTargetOnlyWhileTheTypeIsNote) {
    type("edit_S", "105.5");
    EXPECT_EQ(texts({"edit_S_max", "edit_spot", "edit_open_price", "edit_target"}),
              QStringList({"211.000", "105.5", "105.5", "105.5"}));

    combo("combo_type")->setCurrentIndex(1);
    ASSERT_EQ(text("edit_target"), "0");
    type("edit_S", "99");
    EXPECT_EQ(texts({"edit_S_max", "edit_spot", "edit_target"}),
              QStringList({"198.000", "99", "0"}));

    // Switching back to the note copies the initial price, set without typing, into the target.
    setText("edit_S", "101");
    combo("combo_type")->setCurrentIndex(0);
    EXPECT_EQ(text("edit_target"), "101");
}

TEST_F(FormTest, EachCategoryOpensItsOwnFieldsAndSplitsOrMergesTheSchedule) {
    struct Expected {
        bool floor, call, perDate;
    };
    const Expected expected[] = {{true, true, false},  {false, false, false}, {true, false, false},
                                 {false, true, false}, {false, false, true},  {false, false, true}};
    // From the last category backwards, so that every index is a change.
    for (int index = 5; index >= 0; --index) {
        setText("edit_floor", "70");
        setText("edit_call_strike", "100");
        setText("edit_call_part", "0.5");
        combo("combo_snowball")->setCurrentIndex(index);
        const Expected& e = expected[index];
        for (const char* name : {"edit_floor", "edit_call_strike", "edit_call_part"})
            EXPECT_EQ(text(name), "0") << index << name;
        EXPECT_EQ(edit("edit_floor")->isEnabled(), e.floor) << index;
        EXPECT_EQ(edit("edit_call_strike")->isEnabled(), e.call) << index;
        EXPECT_EQ(edit("edit_call_part")->isEnabled(), e.call) << index;
        EXPECT_EQ(editor()->sameValues(), !e.perDate) << index;
    }
}

TEST_F(FormTest, AnEmptyMaturityGivesMinusOneTimeSteps) {
    setText("edit_T", "");
    EXPECT_EQ(text("edit_N"), "-1");
    setText("edit_T", "-2147483648");
    EXPECT_EQ(text("edit_N"), "-2147483649");
}

TEST_F(FormTest, SetFormParamWritesSixSignificantDigitsIntoTheKindsFields) {
    const auto kindsFields = {"edit_ko_coupon", "edit_div_coupon", "edit_vol", "edit_ko_price",
                              "edit_ki_price"};
    window->setFormParam(5, 8.5);
    window->setFormParam(3, 23.456789);
    window->setFormParam(0, 101);
    window->setFormParam(1, 75.25);
    const QStringList written = texts(kindsFields);
    EXPECT_EQ(written, QStringList({"8.5", "8.5", "23.4568", "101", "75.25"}));
    // Kinds out of range write nothing.
    window->setFormParam(7, 1.0);
    window->setFormParam(-1, 1.0);
    EXPECT_EQ(texts(kindsFields), written);
}

TEST_F(FormTest, SavingTheScheduleCopiesItsValuesIntoTheForm) {
    editor()->on_pushButton_divide_clicked();
    editor()->saveButton()->click();
    const ObserveSchedule& saved = observeSchedule();
    EXPECT_TRUE(saved.knockOutPrices.startsWith(QStringLiteral("103_103")));
    EXPECT_EQ(text("edit_ko_price"), saved.knockOutPrices);
    EXPECT_EQ(text("edit_ko_coupon"), saved.knockOutCoupons);
    EXPECT_EQ(text("edit_ki_price"), saved.knockInPrices);
    EXPECT_EQ(text("edit_T"), QString::number(kTradingDaysInYear));
}

TEST_F(FormTest, ARefusedScheduleSaveLeavesTheFormAsItWas) {
    setText("edit_ko_price", "105");  // typed into the form after the last save
    QTableWidget* table = editor()->table();
    while (table->rowCount() > 0) {
        table->setCurrentCell(0, 0);
        editor()->on_pushButton_remove_clicked();
    }
    editor()->saveButton()->click();
    EXPECT_EQ(recorder.lines(), QStringList({QStringLiteral("错误|无敲出观察日")}));
    EXPECT_EQ(text("edit_ko_price"), "105");
    EXPECT_EQ(text("edit_ko_coupon"), observeSchedule().knockOutCoupons);
    EXPECT_FALSE(text("edit_ki_price").isEmpty());
}

TEST_F(FormTest, TheCategoryButtonExplainsEveryCategory) {
    click("pushButton_snowball");
    ASSERT_EQ(boxes(), 1);
    const Dialogs::Record box = lastBox();
    EXPECT_EQ(box.kind, Dialogs::Kind::Information);
    EXPECT_EQ(box.title, u8("雪球类别"));
    EXPECT_TRUE(box.text.startsWith(u8("1.经典雪球\n市场上常见的雪球结构")));
    EXPECT_TRUE(box.text.endsWith(u8("6.红利型雪球\n“红利票息”可以和“敲出票息”不等。\n")));
    EXPECT_EQ(box.text.count(QLatin1Char('\n')), 12);
}

TEST_F(FormTest, SwitchingTheDayCountAsksForNewDates) {
    auto* days = combo("combo_days");
    days->setEnabled(true);
    days->setCurrentIndex(0);
    ASSERT_EQ(boxes(), 1);
    EXPECT_EQ(lastBox(), infoBox("提示：", "切换了日期模式，请重新预估观察日."));
}

}  // namespace
