// Assistive technology finds every field of the form by its label, or by its name where it has
// none, and every button by its text.
#include <QAccessible>

#include "calculator_fixture.h"

namespace {

QString accessibleText(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(kind) : QString();
}

QString accessibleName(QWidget* widget) {
    return accessibleText(widget, QAccessible::Name);
}

// The texts of what labels the widget: its buddy label first, then its group box.
QStringList labelledBy(QWidget* widget) {
    QStringList texts;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    for (const auto& [label, relation] : iface->relations(QAccessible::Label))
        texts << label->text(QAccessible::Name);
    return texts;
}

using AccessibilityTest = CalculatorTest;

TEST_F(AccessibilityTest, LabelledFieldsAreAnnouncedByTheirLabels) {
    const std::pair<const char*, const char*> labelled[] = {
        {"combo_type", "类型"},
        {"edit_S", "期初价格"},
        {"edit_vol", "波动率(%)"},
        {"edit_div_rate", "分红率(%)"},
        {"edit_rate", "无风险利率(%)"},
        {"edit_T", "到期天数(交易日)"},
        {"edit_price", "理论价格"},
        {"edit_ko_coupon", "敲出票息(%)"},
        {"edit_div_coupon", "红利票息(%)"},
        {"edit_ko_price", "敲出价格"},
        {"edit_ki_price", "敲入价格"},
        {"edit_floor", "保底价格"},
        {"edit_call_strike", "看涨行权价"},
        {"edit_call_part", "看涨参与率"},
        {"edit_S_max", "价格上限"},
        {"edit_M", "M"},
        {"edit_N", "N"},
        {"edit_decimals", "小数位数:"},
        {"combo_days", "日数"},
        {"edit_days_per_year", "PDE年天数"},
        {"edit_open_price", "开价:"},
        {"edit_spot", "今价："},
        {"edit_today", "今日："},
        {"edit_range_start", "区间开始:"},
        {"edit_range_end", "区间结束:"},
        {"edit_target", "目标值:"},
        {"edit_g_price", "价格:"},
        {"edit_g_delta", "Delta"},
        {"edit_g_gamma", "Gamma"},
        {"edit_g_theta", "Theta(1D)"},
        {"edit_g_vega", "Vega"},
        {"edit_g_rho", "Rho(1%)"},
        {"edit_product_no", "结构编号"},
        {"combo_snowball", "雪球类别："},
        {"combo_scheme", "算法"},
    };
    for (const auto& [name, label] : labelled) {
        auto* widget = child<QWidget>(name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(labelledBy(widget).value(0), u8(label)) << name;
        // Qt on X11 names a combo box by its current item; line edits take the label's text.
        if (!qobject_cast<QComboBox*>(widget)) {
            EXPECT_EQ(accessibleName(widget), u8(label)) << name;
        }
    }
}

TEST_F(AccessibilityTest, FieldsWithoutALabelCarryTheirOwnNames) {
    for (const char* name : {"edit_adj_share", "edit_adj_rate", "label_status"}) {
        auto* widget = child<QWidget>(name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(accessibleName(widget), QLatin1String(name));
    }
    EXPECT_EQ(accessibleText(combo("combo_target"), QAccessible::Description),
              QStringLiteral("combo_target"));
    EXPECT_EQ(accessibleName(checkBox("check_knocked_in")), u8("是否敲入"));
    EXPECT_EQ(accessibleName(checkBox("check_extrapolate")), u8("外推"));
}

TEST_F(AccessibilityTest, ButtonsAreAnnouncedByTheirTexts) {
    for (QPushButton* b : window->findChildren<QPushButton*>())
        EXPECT_EQ(accessibleName(b), b->text()) << b->objectName().toStdString();
}

}  // namespace
