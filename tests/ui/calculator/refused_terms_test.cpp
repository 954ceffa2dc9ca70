// What the actions refuse before they price: a schedule not saved into the form, texts that are
// not numbers, look-up dates outside the product's life and terms the engine cannot price.
#include <cmath>

#include <QDateEdit>

#include "calculator_fixture.h"
#include "pricing_problem.h"

namespace {

using RefusedTermsTest = CalculatorTest;

TEST_F(RefusedTermsTest, AScheduleEstimatedButNotSavedIsRefusedUntilSaved) {
    child<QDateEdit>("dateEdit_end")->setDate(QDate(2025, 9, 8));
    click("pushButton_observe");
    const int before = boxes();
    for (const char* action :
         {"pushButton_price", "pushButton_calc_greeks", "pushButton_price_MC",
          "pushButton_search_100", "pushButton_win_rate", "pushButton_range"}) {
        click(action);
        ASSERT_EQ(boxes(), before + 1) << action;
        recorder.clear();
    }
    EXPECT_TRUE(text("edit_price").isEmpty());
    EXPECT_FALSE(engine().product_set) << "nothing was priced";

    click("pushButton_price");
    EXPECT_EQ(lastBox().title, u8("观察日参数错误"));
    EXPECT_TRUE(lastBox().text.contains(u8("【保存】"))) << lastBox().text.toStdString();

    click("pushButton_save");
    recorder.clear();
    click("pushButton_price");
    EXPECT_TRUE(noBox());
    EXPECT_TRUE(std::isfinite(text("edit_price").toDouble())) << text("edit_price").toStdString();
    EXPECT_NEAR(engine().params.T, (text("edit_T").toDouble() - 1) / 252, 1e-12);
    EXPECT_NEAR(engine().obs_time.back(), engine().params.T, 1e-12);
}

TEST_F(RefusedTermsTest, ANumberTextPricesAsItsNumberAndAnythingElseIsRefusedByLabel) {
    struct Case {
        const char* field;
        const char* label;
        const char* plain;
        std::vector<const char*> accepted;
        std::vector<const char*> refused;
    };
    const Case cases[] = {
        {"edit_vol", "波动率(%)", "18", {"18%", "１８", " 18 "}, {"十八", "abc", ""}},
        {"edit_ki_price", "敲入价格", "80", {"８０", "80.0"}, {"80%", "abc", ""}},
        {"edit_ko_coupon", "敲出票息(%)", "16", {"16%", "１６％"}, {"abc"}},
    };
    for (const Case& c : cases) {
        setText(c.field, u8(c.plain));
        click("pushButton_price");
        const QString price = text("edit_price");
        for (const char* accepted : c.accepted) {
            setText(c.field, u8(accepted));
            edit("edit_price")->clear();
            click("pushButton_price");
            EXPECT_EQ(text("edit_price"), price) << c.field << " " << accepted;
        }
        for (const char* refused : c.refused) {
            recorder.clear();
            setText(c.field, u8(refused));
            click("pushButton_price");
            ASSERT_EQ(boxes(), 1) << c.field << " " << refused;
            EXPECT_EQ(lastBox(),
                      criticalBox("结构参数错误", u8("“%1”不是数字，请检查").arg(u8(c.label))))
                << refused;
        }
        setText(c.field, u8(c.plain));
    }
    recorder.clear();
    setText("edit_spot", "abc");
    button("pushButton_lookup")->setEnabled(true);
    click("pushButton_calc_greeks");
    EXPECT_EQ(lastBox().text, u8("“今价”不是数字，请检查"));
}

TEST_F(RefusedTermsTest, TheGreeksRunPricesTheTypeOnScreenAndRefusesAsPricingDoes) {
    ASSERT_NO_FATAL_FAILURE(priceWithGreeks());
    const QString note = text("edit_g_price");
    combo("combo_type")->setCurrentIndex(1);
    click("pushButton_calc_greeks");
    EXPECT_EQ(engine().payoff_mode, 1);
    EXPECT_NE(text("edit_g_price"), note);

    setText("edit_ki_price", "120");
    click("pushButton_price");
    const Dialogs::Record priced = lastBox();
    recorder.clear();
    click("pushButton_calc_greeks");
    EXPECT_EQ(lastBox(), priced);
    EXPECT_EQ(lastBox().text, u8("敲入价格应小于标的价格"));
}

TEST_F(RefusedTermsTest, ALookUpDateOutsideTheProductsLifeIsRefused) {
    ASSERT_NO_FATAL_FAILURE(priceWithGreeks());
    const QString atStart = text("edit_g_price");
    for (const char* date : {"20250106", "20260108", "abc", "", "20250230"}) {
        recorder.clear();
        setText("edit_today", date);
        click("pushButton_lookup");
        ASSERT_EQ(boxes(), 1) << date;
        EXPECT_EQ(lastBox().kind, Dialogs::Kind::Information) << date;
        EXPECT_EQ(text("edit_g_price"), atStart) << date;
    }
    recorder.clear();
    setText("edit_today", "20260107");
    click("pushButton_lookup");
    EXPECT_EQ(boxes(), 0);
    EXPECT_NE(text("edit_g_price"), atStart) << "the maturity value";
}

TEST_F(RefusedTermsTest, TermsTheEngineCannotPriceAreRefusedWithTheirReason) {
    struct Case {
        const char* field;
        const char* text;
        PricingProblem problem;
    };
    for (const Case& c : {Case{"edit_S_max", "90", PricingProblem::CeilingNotAboveInitial},
                          Case{"edit_M", "1", PricingProblem::TooFewPriceSteps},
                          Case{"edit_vol", "-5", PricingProblem::VolatilityInvalid},
                          Case{"edit_M", "100000000", PricingProblem::GridTooLarge}}) {
        const QString kept = text(c.field);
        setText(c.field, c.text);
        for (const char* action : {"pushButton_price", "pushButton_range"}) {
            recorder.clear();
            click(action);
            ASSERT_EQ(boxes(), 1) << c.field << " " << action;
            EXPECT_EQ(lastBox().kind, Dialogs::Kind::Critical);
            EXPECT_EQ(lastBox().text, u8(pricing_problem_text(c.problem))) << c.field << action;
        }
        EXPECT_NE(text("edit_price"), "nan");
        setText(c.field, kept);
    }
}

}  // namespace
