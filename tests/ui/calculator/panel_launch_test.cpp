// The window's launch buttons open the analysis panels on a copy of the priced terms.
#include <functional>

#include <QApplication>
#include <QTimer>

#include "calculator_fixture.h"
#include "panel_greeks_ua.h"
#include "panel_stress.h"
#include "panel_win_rate.h"
#include "run_wait.h"
#include "snowball_pde.h"

namespace {

class PanelLaunchTest : public CalculatorTest {
  protected:
    // Presses "知x求1" on the priced terms; `work` drives the modal panel before it is closed.
    void inUnivariatePanel(const std::function<void(PanelGreeks_UA&)>& work) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* panel = qobject_cast<PanelGreeks_UA*>(QApplication::activeModalWidget());
            if (panel == nullptr) return;
            opened = true;
            work(*panel);
            panel->reject();
        });
        button("pushButton_univariate")->setEnabled(true);
        click("pushButton_univariate");
        ASSERT_TRUE(opened);
    }
    // Analyses the panel's range and takes the sampled value nearest the target: its text.
    static QString analyseAndUse(PanelGreeks_UA& panel) {
        panel.findChild<QPushButton*>(QStringLiteral("pushButton_analyse"))->click();
        waitForRuns(&panel);
        const QString value = panel.findChild<QLineEdit*>(QStringLiteral("lineEdit_param"))->text();
        panel.findChild<QPushButton*>(QStringLiteral("pushButton_use"))->click();
        return value;
    }
};

}  // namespace

TEST_F(PanelLaunchTest, StressAndWinRatePanelsAreSingleAndTakeTheWindowTerms) {
    setText("edit_S", "97");
    click("pushButton_price");
    click("pushButton_stress_test");
    PanelStress* stress = PanelStress::instance();
    ASSERT_NE(stress, nullptr);
    EXPECT_TRUE(stress->isVisible());
    EXPECT_DOUBLE_EQ(stress->engine.params.S0, 97);
    EXPECT_EQ(stress->engine.ko_barrier, engine().ko_barrier);

    click("pushButton_win_rate");
    PanelWinRate* winRate = PanelWinRate::instance();
    ASSERT_NE(winRate, nullptr);
    EXPECT_TRUE(winRate->isVisible());
    EXPECT_EQ(winRate->engine.obs_time, engine().obs_time);

    click("pushButton_stress_test");
    EXPECT_EQ(PanelStress::instance(), stress) << "a second press reuses the one panel";
    stress->hide();
    winRate->hide();
    EXPECT_TRUE(noBox());
}

TEST_F(PanelLaunchTest, UnivariatePanelIsModalOnACopyAndWritesItsValueBack) {
    click("pushButton_price");
    double panelS0 = 0;
    inUnivariatePanel([&](PanelGreeks_UA& panel) {
        panelS0 = panel.engine.params.S0;
        analyseAndUse(panel);
    });
    EXPECT_DOUBLE_EQ(panelS0, engine().params.S0);
    EXPECT_NE(text("edit_vol"), QStringLiteral("18"))
        << "the sampled volatility nearest the target";
}

TEST_F(PanelLaunchTest, AKnockInPriceTakenFromThePanelSurvivesTheNextScheduleSave) {
    click("pushButton_price");
    QString used;
    inUnivariatePanel([&](PanelGreeks_UA& panel) {
        panel.setParamRange(1, 70, 90, 5);  // the knock-in price
        used = analyseAndUse(panel);
    });
    ASSERT_NE(used, QString());
    ASSERT_NE(used, QStringLiteral("80"));
    EXPECT_EQ(text("edit_ki_price"), used);
    editor()->saveButton()->click();
    EXPECT_EQ(text("edit_ki_price"), used) << "the editor took the form's value";
    EXPECT_TRUE(noBox());
}
