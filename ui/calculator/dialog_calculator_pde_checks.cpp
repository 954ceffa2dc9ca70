// The calculator window's checks of the form and the copying of the form into its engine.
#include <QComboBox>
#include <QLineEdit>

#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "form_checks.h"
#include "form_number.h"
#include "form_text.h"
#include "lookup_date.h"
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
    QString title, error;
    if (checkProductForm(currentForm(), title, error)) return true;
    Dialogs::critical(this, title, error);
    return false;
}

// The form is read by the same code that reads a product file, so both price the same terms.
void DialogCalculatorPDE::read_form() {
    readProductForm(currentForm(), engine);
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
    if (!readNumberField(edit_days_per_year, FormFields::kDaysPerYear.label, days_per_year))
        return false;
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
    const QDate last = FormText::dateFromNumber(dates.last().toInt());
    if (maturityDays == maturityTradingDays(observe_editor->startDate(), last)) return true;
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
    if (!readFormValues(formTexts(), dates, values, error)) {
        Dialogs::critical(this, termsErrorTitle(), error);
        return false;
    }
    // 3. the maturity of the schedule that is priced
    if (!maturityMatchesSchedule(values.maturityDays)) return false;
    // 4. what the engine cannot price, asked before the engine is touched
    Snowball_PDE terms;
    readProductForm(currentForm(), terms);
    const PricingProblem problem = terms.check_terms(grids);
    if (problem != PricingProblem::None) {
        Dialogs::critical(this, termsErrorTitle(),
                          QString::fromUtf8(pricing_problem_text(problem)));
        return false;
    }
    read_form();
    return true;
}

void DialogCalculatorPDE::commit_product(double adj_rate, double adj_share) {
    commitProduct(engine, combo_type->currentIndex(), adj_rate, adj_share);
}
