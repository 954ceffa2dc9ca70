// The read-outs show their whole texts at every number of decimals, can be selected but not
// typed into, and never write a negative zero.
#include <QLayout>

#include "calculator_fixture.h"

namespace {

const char* const kReadouts[] = {"edit_price",   "edit_g_price", "edit_g_delta", "edit_g_gamma",
                                 "edit_g_theta", "edit_g_vega",  "edit_g_rho"};

using ReadoutTest = CalculatorTest;

TEST_F(ReadoutTest, EveryDecimalsCountShowsTheWholeSignedTextInAReadOnlyField) {
    window->show();
    click("pushButton_price");
    for (int decimals : {0, 4, 8, 17}) {
        setText("edit_decimals", QString::number(decimals));
        click("pushButton_calc_greeks");
        window->layout()->activate();
        for (const char* name : kReadouts) {
            QLineEdit* field = edit(name);
            const int needed = field->fontMetrics().horizontalAdvance(field->text());
            EXPECT_GT(field->width(), needed) << name << " at " << decimals;
            EXPECT_EQ(field->toolTip().left(field->text().size()), field->text()) << name;
            EXPECT_TRUE(field->isReadOnly() && field->isEnabled()) << name;
            EXPECT_NE(field->text(), QStringLiteral("-0")) << name;
        }
    }
    EXPECT_TRUE(text("edit_g_gamma").startsWith('-')) << "the sign is part of the text";
    EXPECT_TRUE(noBox());
    window->hide();
}

TEST_F(ReadoutTest, APerDateListShowsItsStartAndItsWholeTextInTheTooltip) {
    const QString list = QStringLiteral("103_102.5_102_101.5_101_100.5_100_99.5_99_98.5_98");
    setText("edit_ko_price", list);
    EXPECT_EQ(edit("edit_ko_price")->cursorPosition(), 0);
    EXPECT_EQ(edit("edit_ko_price")->toolTip(), list);
}

}  // namespace
