// The calculator window's checks of the form and the copying of the form into its engine.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "form_checks.h"
#include "form_text.h"
#include "observe_schedule.h"
#include "product_form.h"
#include "widget_observe_global.h"

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

void DialogCalculatorPDE::commit_product(double adj_rate, double adj_share) {
    commitProduct(engine, combo_type->currentIndex(), adj_rate, adj_share);
}
