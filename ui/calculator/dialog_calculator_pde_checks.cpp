// The calculator window's checks of the form and the copying of the form into its engine.
#include <algorithm>

#include <QComboBox>
#include <QLineEdit>

#include "day_count.h"
#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "form_checks.h"
#include "form_number.h"
#include "form_text.h"
#include "lookup_date.h"
#include "observe_dates.h"
#include "observe_schedule.h"
#include "product_form.h"
#include "trade_calendar.h"
#include "widget_observe_global.h"

namespace {

QString termsErrorTitle() {
    return QStringLiteral("结构参数错误");
}

}  // namespace

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
        Dialogs::critical(this, termsErrorTitle(), error);
        return false;
    }
    return true;
}

ProductFormTexts DialogCalculatorPDE::formTexts() const {
    ProductFormTexts t;
    t.spot = edit_S->text();
    t.ceiling = edit_S_max->text();
    t.volatility = edit_vol->text();
    t.dividendRate = edit_div_rate->text();
    t.rate = edit_rate->text();
    t.maturityDays = edit_T->text();
    t.knockOutCoupons = edit_ko_coupon->text();
    t.dividendCoupon = edit_div_coupon->text();
    t.knockOutPrices = edit_ko_price->text();
    t.knockInPrices = edit_ki_price->text();
    t.floor = edit_floor->text();
    t.callStrike = edit_call_strike->text();
    t.callParticipation = edit_call_part->text();
    t.priceSteps = edit_M->text();
    t.timeSteps = edit_N->text();
    t.daysPerYear = edit_days_per_year->text();
    t.adjustShare = edit_adj_share->text();
    t.adjustRate = edit_adj_rate->text();
    return t;
}

bool DialogCalculatorPDE::readNumberField(QLineEdit* edit, const char* label, double& value) {
    const std::optional<double> number = readFormNumber(edit->text());
    if (number) {
        value = *number;
        return true;
    }
    Dialogs::critical(this, termsErrorTitle(), notANumberText(QString::fromUtf8(label)));
    return false;
}

bool DialogCalculatorPDE::readLookupTime(double& days_per_year, double& tau) {
    if (!readNumberField(edit_days_per_year, "PDE年天数", days_per_year)) return false;
    const QDate start = observe_editor->startDate();
    const QDate end = observe_editor->endDate();
    const QString problem = lookupDateProblem(edit_today->text(), start, end);
    if (!problem.isEmpty()) {
        Dialogs::information(this, Dialogs::hintTitleWide(), problem);
        return false;
    }
    const QDate today = FormText::dateFromText(edit_today->text().trimmed());
    tau = trading_year_fraction(FormText::dateNumber(today), FormText::dateNumber(end),
                                days_per_year);
    return true;
}

// The priced maturity always follows the priced schedule. When they disagree the schedule was
// changed in the editor ("预估观察日", dates edited) without "保存", which also copies the
// editor's barriers and coupons into the form; recounting the days here alone would price the
// new dates with the form's old per-date lists and a "到期天数" the screen does not show. So the
// action is refused and the user sent to "保存", after which form and editor agree.
bool DialogCalculatorPDE::maturityMatchesSchedule(double maturityDays) {
    const QStringList dates = observeSchedule().dates.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    // No dates, or none after the start: no life to count; the engine's own check names it.
    const int start = FormText::dateNumber(observe_editor->startDate());
    if (dates.isEmpty() || dates.last().toInt() <= start) return true;
    if (maturityDays == maturityDaysOf(start, dates.last().toInt())) return true;
    Dialogs::critical(this, QString::fromUtf8(FormChecks::kScheduleErrorTitle),
                      maturityMismatchText());
    return false;
}

bool DialogCalculatorPDE::prepareEngine(FormCheck check, int grids) {
    // 1. the form's own checks, with their messages
    if (check == FormCheck::Full && !validate_schedule_and_terms()) return false;
    QString error;
    if (check != FormCheck::Full && !validate_terms(error, check == FormCheck::InitialPriceOnly)) {
        Dialogs::critical(this, QStringLiteral("结构参数错误："), error);
        return false;
    }
    // 2. every number the run reads
    const std::size_t dates =
        observeSchedule().dates.split(QLatin1Char('_'), Qt::SkipEmptyParts).size();
    ProductFormValues values;
    if (!readProductForm(formTexts(), dates, values, error)) {
        Dialogs::critical(this, termsErrorTitle(), error);
        return false;
    }
    // 3. the maturity of the schedule that is priced
    if (!maturityMatchesSchedule(values.maturityDays)) return false;
    // 4. what the engine cannot price, asked before the engine is touched
    Snowball_PDE terms;
    read_form(values, terms);
    PricingProblem problem = terms.check_terms(grids);
    // The runs price an observation before the start (they log it); only one after maturity stops
    // them.
    if (problem == PricingProblem::ObservationOutsideLife &&
        std::none_of(terms.obs_time.begin(), terms.obs_time.end(),
                     [&](double t) { return t > terms.params.T; }))
        problem = PricingProblem::None;
    if (problem != PricingProblem::None) {
        Dialogs::critical(this, termsErrorTitle(),
                          QString::fromUtf8(pricing_problem_text(problem)));
        return false;
    }
    read_form(values, engine);
    return true;
}

void DialogCalculatorPDE::read_form(const ProductFormValues& v, Snowball_PDE& target) const {
    // 1. day count
    const bool trading_days = combo_days->currentIndex() == 1;
    // 2. a fresh parameter block
    PdeParams block;
    block.S0 = v.spot;
    block.S_max = v.ceiling;
    block.sigma = v.volatility;
    block.r = v.rate;
    block.q = v.dividendRate;
    // 3. scalar terms; the participation is a plain factor
    target.div_coupon = v.dividendCoupon;
    target.floor_price = v.floor;
    target.call_strike = v.callStrike;
    target.call_participation = v.callParticipation;
    // 4. maturity in years: start and maturity are both counted in edit_T
    block.T = trading_days ? (v.maturityDays - 1) / v.daysPerYear : v.maturityDays / kDaysPerYear;
    // 5. parameters and grid size
    target.params = block;
    target.set_grid_size(v.priceSteps, v.timeSteps);
    // 6. hidden coupon adjustment
    target.coupon_adj_share = v.adjustShare;
    target.coupon_adj_rate = v.adjustRate;
    // 7. observation times
    const QString start = FormText::dateText(observe_editor->startDate());
    target.obs_time.clear();
    if (trading_days)
        observeYearFractionsTrading(observeSchedule().dates, start, v.daysPerYear, target.obs_time);
    else
        observeYearFractionsNatural(observeSchedule().dates, start, kDaysPerYear, target.obs_time);
    // 8.-10. per-date barriers and coupons
    target.ko_barrier = v.knockOutPrices;
    target.coupon = v.knockOutCoupons;
    target.ki_barrier = v.knockInPrices;
}

void DialogCalculatorPDE::commit_product(double adj_rate, double adj_share) {
    const double payoff_mode = combo_type->currentIndex();
    engine.set_product(engine.obs_time, engine.ko_barrier, engine.coupon, engine.ki_barrier,
                       engine.div_coupon, engine.floor_price, engine.call_strike,
                       engine.call_participation, adj_rate, adj_share, payoff_mode, engine.params);
}
