// The calculator window's pricing actions: price, solve in an interval, the Monte Carlo check
// and the launches of the analysis panels.
#include <cmath>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "background_run.h"
#include "day_count.h"
#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "form_text.h"
#include "monte_carlo.h"
#include "observe_schedule.h"
#include "panel_greeks_ua.h"
#include "panel_stress.h"
#include "panel_win_rate.h"
#include "param_kind.h"
#include "range_solve_outcome.h"
#include "widget_observe_global.h"

namespace {

constexpr int kMonteCarloPaths = 50000;
constexpr double kUnivariateStep = 0.05;

QString busyText() {
    return QStringLiteral("正在计算...");
}

QString finishedText() {
    return QStringLiteral("计算已完成");
}

// What an extrapolated price says of its remaining error; nothing for other runs.
QString errorEstimateText(double estimate) {
    if (std::isnan(estimate)) return QString();
    return QStringLiteral("（误差估计 %1）").arg(QString::number(estimate, 'g', 2));
}

}  // namespace

void DialogCalculatorPDE::on_pushButton_price_clicked() {
    if (!prepareEngine(FormCheck::Full, 0)) return;
    commit_product(engine.coupon_adj_rate, engine.coupon_adj_share);
    label_status->setText(busyText());
    runOnCopy(
        *run, engine, [](Snowball_PDE& e) { return e.price_result(); },
        [this](Snowball_PDE& e, PdeResult result) {
            if (e.last_problem == PricingProblem::Cancelled) return showCancelled();
            engine = e;
            // Prices always show two decimals; the decimals field is for the Greeks read-out.
            edit_price->setText(FormText::fixed(result.price, 2));
            label_status->setText(finishedText() + errorEstimateText(result.error_estimate));
            edit_price->setToolTip(FormText::general6(result.price) +
                                   errorEstimateText(result.error_estimate));
        });
}

void DialogCalculatorPDE::showCancelled() {
    label_status->setText(QStringLiteral("计算已取消"));
}

void DialogCalculatorPDE::on_pushButton_range_clicked() {
    // Only the initial price is checked: a solve may run on a schedule still being edited.
    double target = 0, lo = 0, hi = 0;
    // The form's checks first, so that their messages stay as they were.
    if (!prepareEngine(FormCheck::InitialPriceOnly, 0) ||
        !readNumberField(edit_range_start, "区间开始", lo) ||
        !readNumberField(edit_range_end, "区间结束", hi) ||
        !readNumberField(edit_target, "目标值", target))
        return;
    label_status->setText(busyText());
    commit_product(engine.coupon_adj_rate, engine.coupon_adj_share);
    int kind = -1;
    if (combo_target->currentIndex() == 0) kind = kParamSigma;
    if (combo_target->currentIndex() == 1) kind = kParamCouponDiv;
    if (kind < 0) {
        Dialogs::information(this, QStringLiteral("提示:"),
                             QStringLiteral("请点击要计算的参数前的单选按钮！"));
        label_status->clear();
        return;
    }
    struct Solved {
        int rc = 0;
        double value = 0;
    };
    runOnCopy(
        *run, engine,
        [=](Snowball_PDE& e) {
            Solved s;
            s.rc = e.solve_param(target, kind, s.value, lo, hi);
            return s;
        },
        [this, kind](Snowball_PDE& e, Solved s) {
            if (s.rc == kSolveCancelled) return showCancelled();
            engine = e;
            showRangeSolveOutcome(s.rc, kind, s.value);
        });
}

void DialogCalculatorPDE::showRangeSolveOutcome(int rc, int kind, double result) {
    if (rc == 0) {
        const QString percent = FormText::fixed(result * 100, 1);
        if (kind == kParamCouponDiv) {
            edit_ko_coupon->setText(percent);
            edit_div_coupon->setText(percent);
        } else {
            edit_vol->setText(percent);
        }
    }
    const RangeSolveOutcome outcome = rangeSolveOutcome(rc, engine.last_problem);
    if (outcome.box == RangeSolveOutcome::Box::Critical)
        Dialogs::critical(this, outcome.title, outcome.text);
    if (outcome.box == RangeSolveOutcome::Box::Information)
        Dialogs::information(this, outcome.title, outcome.text);
    if (outcome.finished)
        label_status->setText(finishedText());
    else
        label_status->clear();
}

void DialogCalculatorPDE::on_pushButton_price_MC_clicked() {
    if (!prepareEngine(FormCheck::Full, 0)) return;
    edit_spot->setText(FormText::general6(price_mc(engine, kTradingDaysPerYear, kMonteCarloPaths)));
}

void DialogCalculatorPDE::on_pushButton_search_100_clicked() {
    // No commit: the univariate panel works on the product as last priced, with the form's
    // current values.
    if (!prepareEngine(FormCheck::TermsOnly, 0)) return;
    open_univariate();
}

void DialogCalculatorPDE::on_pushButton_univariate_clicked() {
    open_univariate();
}

void DialogCalculatorPDE::open_univariate() {
    if (!require_product()) return;
    double spot = 0, start = 0, end = 0;
    if (!readNumberField(edit_S, FormFields::kSpot.label, spot) ||
        !readNumberField(edit_range_start, "区间开始", start) ||
        !readNumberField(edit_range_end, "区间结束", end))
        return;
    openUnivariatePanel(kParamSigma, spot, start, end, kUnivariateStep);
}

void DialogCalculatorPDE::on_pushButton_stress_test_clicked() {
    // Neither checked nor read: the panel takes the engine as the last action left it.
    openStressPanel();
}

void DialogCalculatorPDE::on_pushButton_win_rate_clicked() {
    if (!prepareEngine(FormCheck::Full, 0)) return;
    // The simulation pays the coupons as stored, without the hidden adjustment.
    commit_product(0, 1);
    openWinRatePanel();
}

// The univariate dialog works on a copy of the terms and writes its chosen value back here.
void DialogCalculatorPDE::openUnivariatePanel(int kind, double target, double start, double end,
                                              double step) {
    PanelGreeks_UA::open(engine, target, kind, start, end, step,
                         [this](int k, double v) { setFormParam(k, v); });
}

void DialogCalculatorPDE::openStressPanel() {
    PanelStress::open(engine);
}

void DialogCalculatorPDE::openWinRatePanel() {
    PanelWinRate::open(engine, FormText::dateNumber(observe_editor->startDate()),
                       FormText::dateNumber(observe_editor->endDate()), observeSchedule().dates);
}
