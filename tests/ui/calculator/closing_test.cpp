// Keys never close the window or press a button behind the user's back; closing the window ends
// the program with its panels and a win-rate run.
#include <QApplication>

#include "calculator_fixture.h"
#include "panel_stress.h"
#include "panel_win_rate.h"

namespace {

using ClosingTest = CalculatorTest;

TEST_F(ClosingTest, EscapeKeepsTheWindowAndEnterPressesNoButton) {
    window->show();
    for (const char* name : {"edit_vol", "edit_price", "edit_g_price"}) {
        QTest::keyClick(edit(name), Qt::Key_Escape);
        EXPECT_TRUE(window->isVisible()) << name;
        QTest::keyClick(edit(name), Qt::Key_Return);
        QTest::keyClick(edit(name), Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_EQ(boxes(), 0) << "the category help opened";
    for (QPushButton* b : window->findChildren<QPushButton*>())
        EXPECT_FALSE(b->isDefault() || b->autoDefault()) << b->objectName().toStdString();
    window->hide();
}

TEST_F(ClosingTest, ClosingTheWindowClosesThePanelsAndStopsARun) {
    window->show();
    click("pushButton_price");
    click("pushButton_stress_test");
    click("pushButton_win_rate");
    PanelWinRate* winRate = PanelWinRate::instance();
    winRate->findChild<QLineEdit*>(QStringLiteral("lineEdit_vol_start"))->setText("1");
    winRate->findChild<QLineEdit*>(QStringLiteral("lineEdit_vol_end"))->setText("60");
    winRate->findChild<QLineEdit*>(QStringLiteral("lineEdit_vol_step"))->setText("1");
    winRate->findChild<QPushButton*>(QStringLiteral("pushButton_calc"))->click();
    ASSERT_TRUE(winRate->calculating());

    EXPECT_TRUE(window->close());
    EXPECT_FALSE(PanelStress::instance()->isVisible());
    EXPECT_FALSE(winRate->isVisible());
    EXPECT_FALSE(winRate->calculating());
    // The application quits on its last window's close: no window may stay open.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    EXPECT_TRUE(noBox());
}

}  // namespace
