// The choice of the finite-difference method reaches every run that prices.
#include <cmath>

#include "calculator_fixture.h"
#include "panel_stress.h"

namespace {

class SchemeTest : public CalculatorTest {
  protected:
    QComboBox* scheme() const { return combo("combo_scheme"); }
    QCheckBox* extrapolate() const { return checkBox("check_extrapolate"); }
};

TEST_F(SchemeTest, TheAccurateMethodIsOneChoiceAwayAndReachesThePanels) {
    EXPECT_EQ(scheme()->currentText(), u8("标准"));
    EXPECT_EQ(scheme()->itemText(1), u8("高精度"));
    EXPECT_FALSE(extrapolate()->isEnabled());
    scheme()->setCurrentIndex(1);
    EXPECT_TRUE(extrapolate()->isEnabled());
    extrapolate()->setChecked(true);
    click("pushButton_price");
    EXPECT_EQ(engine().params.scheme, PdeScheme::accurate);
    EXPECT_TRUE(engine().params.extrapolate);
    EXPECT_TRUE(status().contains(u8("误差估计"))) << status().toStdString();
    click("pushButton_stress_test");
    EXPECT_EQ(PanelStress::instance()->engine.params.scheme, PdeScheme::accurate);
    PanelStress::instance()->hide();

    scheme()->setCurrentIndex(0);
    EXPECT_FALSE(extrapolate()->isEnabled());
    click("pushButton_price");
    EXPECT_FALSE(engine().params.extrapolate) << "only with the accurate method";
    EXPECT_EQ(status(), u8("计算已完成"));
}

TEST_F(SchemeTest, OnTheShippedCalendarTheAccurateMethodPricesTheDefaultNoteAtItsReference) {
    ASSERT_TRUE(
        trade_calendar().load(std::string(BRIMVALE_SOURCE_DIR) + "/data/trade_calendar.csv"));
    DialogCalculatorPDE::today = [] { return QDate(2026, 12, 8); };
    newWindow();
    click("pushButton_price");
    EXPECT_EQ(text("edit_price"), QStringLiteral("101.81"));
    scheme()->setCurrentIndex(1);
    click("pushButton_price");
    EXPECT_NEAR(edit("edit_price")->toolTip().toDouble(), 101.98482, 0.003)
        << edit("edit_price")->toolTip().toStdString();
    EXPECT_EQ(text("edit_price"), QStringLiteral("101.98"));
    EXPECT_TRUE(noBox());
}

}  // namespace
