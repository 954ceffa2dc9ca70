// The calculator window's checks of the form and the copying of the form into its engine.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "day_count.h"
#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "form_checks.h"
#include "form_text.h"
#include "observe_dates.h"
#include "observe_schedule.h"
#include "widget_observe_global.h"

using FormText::readNumber;
using FormText::readPercent;
bool DialogCalculatorPDE::require_product() {
    if (engine.product_set) return true;
    Dialogs::critical(this, Dialogs::errorTitle(),
                      QStringLiteral("结构信息未初始化，请先点击【定价】"));
    return false;
}

bool DialogCalculatorPDE::validate_schedule(QString& error) {
    return FormChecks::checkSchedule(FormText::dateNumber(observe_editor->startDate()),
                                     FormText::dateNumber(observe_editor->endDate()),
                                     observeSchedule().dates, error);
}

bool DialogCalculatorPDE::validate_terms(QString& error, bool price_only) {
    return FormChecks::checkTerms(edit_S->text(), edit_ki_price->text(), edit_ko_price->text(),
                                  price_only, error);
}

bool DialogCalculatorPDE::validate_schedule_and_terms() {
    QString error;
    if (!validate_schedule(error)) {
        Dialogs::critical(this, QString::fromUtf8(FormChecks::kScheduleErrorTitle), error);
        return false;
    }
    if (!validate_terms(error, false)) {
        Dialogs::critical(this, QStringLiteral("结构参数错误"), error);
        return false;
    }
    return true;
}

void DialogCalculatorPDE::read_form() {
    // 1. day count
    const int days_per_year = FormText::readInt(edit_days_per_year->text());
    const bool trading_days = combo_days->currentIndex() == 1;
    // 2. a fresh parameter block; the grid size is set below
    PdeParams block;
    block.S0 = readNumber(edit_S->text());
    block.S_max = readNumber(edit_S_max->text());
    block.sigma = readPercent(edit_vol->text());
    block.r = readPercent(edit_rate->text());
    block.q = readPercent(edit_div_rate->text());
    block.M = 10;
    block.N = 10;
    block.scheme = combo_scheme->currentIndex() == 1 ? PdeScheme::accurate : PdeScheme::implicit;
    block.extrapolate = block.scheme == PdeScheme::accurate && check_extrapolate->isChecked();
    // 3. scalar terms; the participation is a plain factor
    engine.div_coupon = readPercent(edit_div_coupon->text());
    engine.floor_price = readNumber(edit_floor->text());
    engine.call_strike = readNumber(edit_call_strike->text());
    engine.call_participation = readNumber(edit_call_part->text());
    // 4. maturity in years: start and maturity are both counted in edit_T
    const double days = readNumber(edit_T->text());
    block.T = trading_days ? (days - 1) / days_per_year : days / kDaysPerYear;
    // 5. parameters and grid size
    engine.params = block;
    engine.set_grid_size(FormText::readInt(edit_M->text()), FormText::readInt(edit_N->text()));
    // 6. hidden coupon adjustment, entered in percent
    engine.coupon_adj_share = readNumber(edit_adj_share->text()) * 0.01;
    engine.coupon_adj_rate = readNumber(edit_adj_rate->text()) * 0.01;
    // 7. observation times
    const QString start = FormText::dateText(observe_editor->startDate());
    engine.obs_time.clear();
    if (trading_days)
        observeYearFractionsTrading(observeSchedule().dates, start, days_per_year, engine.obs_time);
    else
        observeYearFractionsNatural(observeSchedule().dates, start, kDaysPerYear, engine.obs_time);
    // 8.-10. per-date barriers and coupons; a single value holds for every date
    const std::size_t dates = engine.obs_time.size();
    engine.ko_barrier = FormText::readValueList(edit_ko_price->text(), dates);
    engine.coupon = FormText::readValueList(edit_ko_coupon->text(), dates);
    engine.ki_barrier = FormText::readValueList(edit_ki_price->text(), dates);
    for (double& coupon : engine.coupon)
        coupon *= 0.01;
}

void DialogCalculatorPDE::commit_product(double adj_rate, double adj_share) {
    const double payoff_mode = combo_type->currentIndex();
    engine.set_product(engine.obs_time, engine.ko_barrier, engine.coupon, engine.ki_barrier,
                       engine.div_coupon, engine.floor_price, engine.call_strike,
                       engine.call_participation, adj_rate, adj_share, payoff_mode, engine.params);
}
