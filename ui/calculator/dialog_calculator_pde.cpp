// The calculator window's construction, the default terms and the handlers that keep dependent
// fields in step with the user's edits.
#include "dialog_calculator_pde.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

#include "background_run.h"
#include "dialogs.h"
#include "form_text.h"
#include "observe_schedule.h"
#include "panel_stress.h"
#include "panel_win_rate.h"
#include "param_kind.h"
#include "product_form.h"
#include "widget_observe_global.h"

namespace {

// Categories whose barriers and coupons step from date to date need one value per date.
bool categoryHasPerDateValues(int index) {
    return index == 4 || index == 5;
}

struct CategoryFields {
    bool floor;
    bool call;
};

CategoryFields categoryFields(int index) {
    switch (index) {
        case 0:
            return {true, true};  // custom
        case 2:
            return {true, false};  // floored
        case 3:
            return {false, true};  // participating
        default:
            return {false, false};
    }
}

QDate systemToday() {
    return QDate::currentDate();
}

}  // namespace

QDate (*DialogCalculatorPDE::today)() = &systemToday;

DialogCalculatorPDE::DialogCalculatorPDE(QWidget* parent) : QDialog(parent) {
    // 1. base dialog and engine; size
    resize(900, 450);
    // 2. widgets, layouts, connections; the grid buttons wait for the first Greeks run
    buildWindow();
    connectSignals();
    clearDefaultButtons();
    keepTextsWhole();
    createBackgroundRun();
    pushButton_univariate->setEnabled(false);
    pushButton_export_matrix->setEnabled(false);
    pushButton_lookup->setEnabled(false);
    pushButton_default_param->hide();
    setFocusPolicy(Qt::NoFocus);
    // 3. title and maximise button
    setWindowTitle(QStringLiteral("雪球专用计算器"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    // 4. the payoff type, connected only once both items are in
    combo_type->addItem(QStringLiteral("票据"));
    combo_type->addItem(QStringLiteral("期权"));
    connect(combo_type, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DialogCalculatorPDE::on_combo_type_changed);
    // 5. default terms; 6. final title, which names the product file once there is one
    on_pushButton_default_param_clicked();
    trackChanges();
    updateWindowTitle();
}

DialogCalculatorPDE::~DialogCalculatorPDE() = default;

void DialogCalculatorPDE::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogCalculatorPDE::done(int result) {
    PanelWinRate::closeOpen();
    PanelStress::closeOpen();
    QDialog::done(result);
}

void DialogCalculatorPDE::createBackgroundRun() {
    run = new BackgroundRun(
        this, {pushButton_price, pushButton_search_100, pushButton_price_MC, pushButton_range,
               pushButton_calc_greeks, pushButton_export_matrix, pushButton_univariate,
               pushButton_lookup, pushButton_stress_test, pushButton_win_rate,
               pushButton_default_param, pushButton_save_CSV});
    layout()->addWidget(run->progressRow());
}

void DialogCalculatorPDE::on_pushButton_default_param_clicked() {
    // Each write fires the field's own handler (S drives S_max, spot, target; T drives N).
    const std::pair<QLineEdit*, const char*> defaults[] = {
        {edit_S, "100"},   {edit_S_max, "200"},     {edit_vol, "18"},       {edit_rate, "1.5"},
        {edit_T, "244"},   {edit_decimals, "4"},    {edit_ko_price, "103"}, {edit_ki_price, "80"},
        {edit_floor, "0"}, {edit_call_strike, "0"}, {edit_call_part, "0"},  {edit_ko_coupon, "16"},
    };
    for (const auto& [edit, text] : defaults)
        edit->setText(QString::fromUtf8(text));
    edit_div_coupon->setText(edit_ko_coupon->text());
    edit_product_no->clear();

    const QDate start = today();
    observe_editor->resetSchedule(start, start.addYears(1), edit_ko_price->text(),
                                  edit_ko_coupon->text(), edit_ki_price->text());
    update_maturity_days(observe_editor->startDate(), observe_editor->endDate());
}

void DialogCalculatorPDE::update_maturity_days(const QDate& start, const QDate& end) {
    edit_T->setText(QString::number(maturityTradingDays(start, end)));
    edit_N->setText(QString::number(qint64(FormText::readInt(edit_T->text())) - 1));
}

void DialogCalculatorPDE::on_S_changed(const QString& text) {
    edit_S_max->setText(QString::number(FormText::readNumber(text) * 2, 'f', 3));
    edit_open_price->setText(text);
    edit_spot->setText(text);
    if (combo_type->currentIndex() == 0) edit_target->setText(text);
}

void DialogCalculatorPDE::on_T_changed(const QString& text) {
    // 64-bit so that the smallest int typed by hand does not overflow.
    edit_N->setText(QString::number(qint64(FormText::readInt(text)) - 1));
}

void DialogCalculatorPDE::on_combo_type_changed(int index) {
    if (index == 0) edit_target->setText(edit_S->text());
    if (index == 1) edit_target->setText(QStringLiteral("0"));
}

void DialogCalculatorPDE::on_combo_days_changed(int) {
    Dialogs::information(this, Dialogs::hintTitleWide(),
                         QStringLiteral("切换了日期模式，请重新预估观察日."));
}

void DialogCalculatorPDE::on_combo_snowball_changed(int index) {
    const CategoryFields enabled = categoryFields(index);
    for (QLineEdit* edit : {edit_floor, edit_call_strike, edit_call_part}) {
        edit->setText(QStringLiteral("0"));
        edit->setEnabled(false);
    }
    edit_floor->setEnabled(enabled.floor);
    edit_call_strike->setEnabled(enabled.call);
    edit_call_part->setEnabled(enabled.call);
    if (categoryHasPerDateValues(index))
        observe_editor->on_pushButton_divide_clicked();
    else
        observe_editor->on_pushButton_merge_clicked();
}

void DialogCalculatorPDE::on_pushButton_snowball_clicked() {
    static const char* const kLines[] = {
        "1.经典雪球",
        "市场上常见的雪球结构，“大雪球”类型选择票据，“小雪球”类型选择期权。",
        "2.保底雪球",
        "在经典雪球结构的基础上增加一档执行价格，限制已敲入未敲出情景下的潜在亏损，降低风险。",
        "3.参与型雪球",
        "参与型雪球敲出不仅兑付固定年化票息收益，还额外分享了部分标的上涨带来的浮动收益。增强型雪"
        "球的年化票息低于经典雪球，但由于享有标的涨幅收益，整体回报可能更高。",
        "4.阶梯型雪球",
        "阶梯型雪球的敲出价格在各个敲出观察日逐日降低(Step-Down)，提高了敲出概率而降低了敲入未敲"
        "出的亏损风险，因而相比经典雪球结构其年化票息更低。",
        "5.双降型雪球",
        "双降型雪球，即降敲入，降票息。",
        "6.红利型雪球",
        "“红利票息”可以和“敲出票息”不等。",
    };
    QString text;
    for (const char* line : kLines)
        text += QString::fromUtf8(line) + QLatin1Char('\n');
    Dialogs::information(this, QStringLiteral("雪球类别"), text);
}

void DialogCalculatorPDE::on_observe_save_clicked() {
    const ObserveSchedule& schedule = observeSchedule();
    edit_ko_price->setText(schedule.knockOutPrices);
    edit_ko_coupon->setText(schedule.knockOutCoupons);
    edit_ki_price->setText(schedule.knockInPrices);
    update_maturity_days(observe_editor->startDate(), observe_editor->endDate());
}

void DialogCalculatorPDE::setFormParam(int kind, double value) {
    const QString text = FormText::general6(value);
    switch (kind) {
        case kParamKoBarrier:
            edit_ko_price->setText(text);
            observe_editor->setValueForEveryDate(WidgetObserveGlobal::ColumnKnockOutPrice, text);
            break;
        case kParamKiBarrier:
            edit_ki_price->setText(text);
            observe_editor->setValueForEveryDate(WidgetObserveGlobal::ColumnKnockInPrice, text);
            break;
        case kParamCoupon:
            edit_ko_coupon->setText(text);
            observe_editor->setValueForEveryDate(WidgetObserveGlobal::ColumnKnockOutCoupon, text);
            break;
        case kParamSigma:
            edit_vol->setText(text);
            break;
        case kParamDivCoupon:
            edit_div_coupon->setText(text);
            break;
        case kParamCouponDiv:
            edit_ko_coupon->setText(text);
            edit_div_coupon->setText(text);
            observe_editor->setValueForEveryDate(WidgetObserveGlobal::ColumnKnockOutCoupon, text);
            break;
        default:
            break;
    }
}
