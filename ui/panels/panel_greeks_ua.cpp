#include "panel_greeks_ua.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "background_run.h"
#include "button_clicks.h"
#include "dialogs.h"
#include "form_text.h"
#include "panel_helpers.h"
#include "param_kind.h"
#include "plot_curve.h"
#include "sweep.h"

PanelGreeks_UA::PanelGreeks_UA(double target, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("场外衍生品 单变量-价格分析"));
    buildWidgets();
    lineEdit_target->setText(FormText::general6(target));
    setParamRange(kParamSigma, 0, 1, 0.05);
}

void PanelGreeks_UA::open(const Snowball_PDE& terms, double target, int kind, double start,
                          double end, double step, SetFormParam setFormParam, QWidget* parent) {
    PanelGreeks_UA panel(target, parent);
    panel.copyTerms(terms);
    panel.attachWindow(std::move(setFormParam));
    panel.setParamRange(kind, start, end, step);
    panel.exec();
}

void PanelGreeks_UA::buildWidgets() {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("目标变量:")));
    comboBox_param = new QComboBox;
    comboBox_param->setObjectName(QStringLiteral("comboBox_param"));
    // The item index is the engine's parameter kind.
    comboBox_param->addItems({QStringLiteral("敲出价格"), QStringLiteral("敲入价格"),
                              QStringLiteral("敲出票息"), QStringLiteral("波动率"),
                              QStringLiteral("红利票息"), QStringLiteral("红利&敲出票息")});
    row->addWidget(comboBox_param);
    addLabelledEdits(row, {{&lineEdit_start, "开始:", "", "lineEdit_start"},
                           {&lineEdit_end, "结束:", "", "lineEdit_end"},
                           {&lineEdit_step, "步长:", "", "lineEdit_step"}});
    lineEdit_step->setEnabled(false);
    addLabelledEdits(row, {{&lineEdit_target, "目标值:", "100", "lineEdit_target"},
                           {&lineEdit_nearest, "最近值:", "-", "lineEdit_nearest"},
                           {&lineEdit_param, "参数:", "-", "lineEdit_param"}});
    auto* use = addButton(row, QStringLiteral("使用"), QStringLiteral("pushButton_use"));
    lineEdit_deviation = addLabelledEdit(row, QStringLiteral("偏差:"), QStringLiteral("-"),
                                         QStringLiteral("lineEdit_deviation"));
    lineEdit_deviation->setStyleSheet(QStringLiteral("color:red"));
    row->addSpacerItem(new QSpacerItem(50, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    pushButton_more =
        addButton(row, QStringLiteral("更精确..."), QStringLiteral("pushButton_more"));
    pushButton_more->setEnabled(false);
    pushButton_more->setStyleSheet(QStringLiteral("font-size:18px;color:red"));
    auto* analyse = addButton(row, QStringLiteral("分析"), QStringLiteral("pushButton_analyse"));

    // The result fields hold 6 significant digits, a sign and a point in full.
    const int resultWidth = lineEdit_param->fontMetrics().horizontalAdvance("-0.0000000") + 12;
    for (QLineEdit* edit : {lineEdit_nearest, lineEdit_param, lineEdit_deviation}) {
        edit->setMinimumWidth(resultWidth);
        edit->setReadOnly(true);
    }

    plot = new PlotCurve;
    plot->setObjectName(QStringLiteral("plot"));
    plot->setCurves({QByteArray("Value"), QByteArray("Target")}, {Qt::black, Qt::red},
                    {Qt::SolidLine, Qt::DotLine});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(plot, 1);
    run = new BackgroundRun(this, {analyse, pushButton_more, use});
    layout->addWidget(run->progressRow());

    connect(comboBox_param, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &PanelGreeks_UA::on_comboBox_param_IndexChanged);
    connectClicks(this, {{analyse, &PanelGreeks_UA::on_pushButton_analyse_clicked},
                         {pushButton_more, &PanelGreeks_UA::on_pushButton_more_clicked},
                         {use, &PanelGreeks_UA::on_pushButton_use_clicked}});
}

void PanelGreeks_UA::copyTerms(const Snowball_PDE& terms) {
    engine.copy_terms(terms);
}

void PanelGreeks_UA::attachWindow(SetFormParam setFormParam) {
    set_form_param_ = std::move(setFormParam);
}

void PanelGreeks_UA::setParamRange(int kind, double start, double end, double step) {
    comboBox_param->setCurrentIndex(kind);
    lineEdit_start->setText(FormText::general6(std::max(0.0, start)));
    lineEdit_end->setText(FormText::general6(std::max(0.0, end)));
    lineEdit_step->setText(FormText::general6(step));
}

void PanelGreeks_UA::on_comboBox_param_IndexChanged(int index) {
    const SweepRange d = sweep_defaults(index);
    setParamRange(index, d.start, d.end, d.step);
}

void PanelGreeks_UA::on_pushButton_analyse_clicked() {
    analyse();
}

void PanelGreeks_UA::analyse() {
    if (!engine.product_set) {
        Dialogs::critical(this, Dialogs::errorTitle(), QStringLiteral("未设置定价参数"));
        return;
    }
    const double target = FormText::readNumber(lineEdit_target->text());
    const SweepPlan plan = plan_sweep(FormText::readNumber(lineEdit_start->text()),
                                      FormText::readNumber(lineEdit_end->text()),
                                      FormText::readNumber(lineEdit_step->text()));
    if (plan.count == 0) return;
    if (plan.step_changed) lineEdit_step->setText(FormText::general6(plan.step));

    const int kind = comboBox_param->currentIndex();
    runOnCopy(
        *run, engine,
        [kind, plan, target](Snowball_PDE& e) { return run_sweep(e, kind, plan, target); },
        [this, target](Snowball_PDE&, const SweepOutcome& out) {
            if (!run->cancelRequested()) showSweep(out, target);
        });
}

void PanelGreeks_UA::showSweep(const SweepOutcome& out, double target) {
    if (out.status == SweepOutcome::Unpriced) {
        Dialogs::critical(this, Dialogs::errorTitleWide(), QStringLiteral("无法对结构进行定价"));
        return;
    }
    if (out.status == SweepOutcome::NoBoundary) {
        Dialogs::critical(this, Dialogs::errorTitleWide(), QStringLiteral("无法确定边界"));
        return;
    }

    const int n = static_cast<int>(out.x.size());
    plot->setCurveSamples(0, out.x.data(), out.prices.data(), n);
    const double line_x[2] = {out.x.front(), out.x.back()};
    const double line_y[2] = {target, target};
    plot->setCurveSamples(1, line_x, line_y, 2);
    plot->replot();

    const double nearest = out.prices[out.best];
    lineEdit_nearest->setText(FormText::general6(nearest));
    lineEdit_param->setText(FormText::general6(out.x[out.best]));
    lineEdit_deviation->setText(FormText::general6(std::fabs(target - nearest)));
    pushButton_more->setEnabled(true);
}

void PanelGreeks_UA::on_pushButton_more_clicked() {
    const std::optional<double> p = FormText::number(lineEdit_param->text());
    if (!p || std::isnan(*p) || *p < 0) return;
    const SweepRange r = refine_range(*p, FormText::readNumber(lineEdit_step->text()));
    lineEdit_start->setText(FormText::general6(r.start));
    lineEdit_end->setText(FormText::general6(r.end));
    lineEdit_step->setText(FormText::general6(r.step));
    analyse();
}

void PanelGreeks_UA::on_pushButton_use_clicked() {
    if (!set_form_param_) return;
    const double x = FormText::readNumber(lineEdit_param->text());
    const int kind = comboBox_param->currentIndex();
    const bool price_kind = kind == kParamKoBarrier || kind == kParamKiBarrier;
    // The form shows coupons and volatility in percent.
    set_form_param_(kind, price_kind ? x : x * 100);
}
