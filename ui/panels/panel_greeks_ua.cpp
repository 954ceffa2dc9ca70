#include "panel_greeks_ua.h"

#include <algorithm>
#include <cmath>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "sweep.h"
#include "dialogs.h"
#include "panel_helpers.h"
#include "param_kind.h"
#include "plot_curve.h"

PanelGreeks_UA::PanelGreeks_UA(double target, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("场外衍生品 单变量-价格分析"));
    buildWidgets();
    edit_target_->setText(gText(target));
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
    combo_param_ = new QComboBox;
    combo_param_->setObjectName(QStringLiteral("comboBox_param"));
    // The item index is the engine's parameter kind.
    combo_param_->addItems({QStringLiteral("敲出价格"), QStringLiteral("敲入价格"),
                            QStringLiteral("敲出票息"), QStringLiteral("波动率"),
                            QStringLiteral("红利票息"), QStringLiteral("红利&敲出票息")});
    row->addWidget(combo_param_);
    addLabelledEdits(row, {{&edit_start_, "开始:", "", "lineEdit_start"},
                           {&edit_end_, "结束:", "", "lineEdit_end"},
                           {&edit_step_, "步长:", "", "lineEdit_step"}});
    edit_step_->setEnabled(false);
    addLabelledEdits(row, {{&edit_target_, "目标值:", "100", "lineEdit_target"},
                           {&edit_nearest_, "最近值:", "-", "lineEdit_nearest"},
                           {&edit_param_, "参数:", "-", "lineEdit_param"}});
    button_use_ = addButton(row, QStringLiteral("使用"), QStringLiteral("pushButton_use"));
    edit_deviation_ = addLabelledEdit(row, QStringLiteral("偏差:"), QStringLiteral("-"),
                                      QStringLiteral("lineEdit_deviation"));
    edit_deviation_->setEnabled(false);
    edit_deviation_->setStyleSheet(QStringLiteral("color:red"));
    row->addSpacerItem(new QSpacerItem(50, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    button_more_ = addButton(row, QStringLiteral("更精确..."), QStringLiteral("pushButton_more"));
    button_more_->setEnabled(false);
    button_more_->setStyleSheet(QStringLiteral("font-size:18px;color:red"));
    button_analyse_ = addButton(row, QStringLiteral("分析"), QStringLiteral("pushButton_analyse"));

    // The result fields hold 6 significant digits, a sign and a point in full.
    const int resultWidth = edit_param_->fontMetrics().horizontalAdvance("-0.0000000") + 12;
    for (QLineEdit* edit : {edit_nearest_, edit_param_, edit_deviation_})
        edit->setMinimumWidth(resultWidth);

    plot_ = new PlotCurve;
    plot_->setObjectName(QStringLiteral("plot"));
    plot_->setCurves({QByteArray("Value"), QByteArray("Target")}, {Qt::black, Qt::red},
                     {Qt::SolidLine, Qt::DotLine});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(plot_, 1);

    connect(combo_param_, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &PanelGreeks_UA::on_comboBox_param_IndexChanged);
    connect(button_analyse_, &QPushButton::clicked, this,
            &PanelGreeks_UA::on_pushButton_analyse_clicked);
    connect(button_more_, &QPushButton::clicked, this, &PanelGreeks_UA::on_pushButton_more_clicked);
    connect(button_use_, &QPushButton::clicked, this, &PanelGreeks_UA::on_pushButton_use_clicked);
}

void PanelGreeks_UA::copyTerms(const Snowball_PDE& terms) {
    engine.copy_terms(terms);
}

void PanelGreeks_UA::attachWindow(SetFormParam setFormParam) {
    set_form_param_ = std::move(setFormParam);
}

void PanelGreeks_UA::setParamRange(int kind, double start, double end, double step) {
    combo_param_->setCurrentIndex(kind);
    edit_start_->setText(gText(std::max(0.0, start)));
    edit_end_->setText(gText(std::max(0.0, end)));
    edit_step_->setText(gText(step));
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
        Dialogs::critical(this, QStringLiteral("错误:"), QStringLiteral("未设置定价参数"));
        return;
    }
    const double target = fieldNumber(edit_target_);
    const SweepPlan plan =
        plan_sweep(fieldNumber(edit_start_), fieldNumber(edit_end_), fieldNumber(edit_step_));
    if (plan.count == 0) return;
    if (plan.step_changed) edit_step_->setText(gText(plan.step));

    const SweepOutcome out = run_sweep(engine, combo_param_->currentIndex(), plan, target);
    if (out.status == SweepOutcome::Unpriced) {
        Dialogs::critical(this, QStringLiteral("错误："), QStringLiteral("无法对结构进行定价"));
        return;
    }
    if (out.status == SweepOutcome::NoBoundary) {
        Dialogs::critical(this, QStringLiteral("错误："), QStringLiteral("无法确定边界"));
        return;
    }

    const int n = static_cast<int>(out.x.size());
    plot_->setCurveSamples(0, out.x.data(), out.prices.data(), n);
    const double line_x[2] = {out.x.front(), out.x.back()};
    const double line_y[2] = {target, target};
    plot_->setCurveSamples(1, line_x, line_y, 2);
    plot_->replot();

    const double nearest = out.prices[out.best];
    edit_nearest_->setText(gText(nearest));
    edit_param_->setText(gText(out.x[out.best]));
    edit_deviation_->setText(gText(std::fabs(target - nearest)));
    button_more_->setEnabled(true);
}

void PanelGreeks_UA::on_pushButton_more_clicked() {
    bool ok = false;
    const double p = edit_param_->text().toDouble(&ok);
    if (!ok || std::isnan(p) || p < 0) return;
    const SweepRange r = refine_range(p, fieldNumber(edit_step_));
    edit_start_->setText(gText(r.start));
    edit_end_->setText(gText(r.end));
    edit_step_->setText(gText(r.step));
    analyse();
}

void PanelGreeks_UA::on_pushButton_use_clicked() {
    if (!set_form_param_) return;
    const double x = edit_param_->text().trimmed().toDouble();
    const int kind = combo_param_->currentIndex();
    const bool price_kind = kind == kParamKoBarrier || kind == kParamKiBarrier;
    // The form shows coupons and volatility in percent.
    set_form_param_(kind, price_kind ? x : x * 100);
}
