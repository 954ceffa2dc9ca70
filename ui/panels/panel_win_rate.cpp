#include "panel_win_rate.h"

#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMutexLocker>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "point_count.h"
#include "win_rate.h"
#include "dialogs.h"
#include "export_table_widget.h"
#include "panel_helpers.h"
#include "table_export.h"
#include "table_helpers.h"
#include "thread_calcu_win_rate_manager.h"
#include "trade_calendar.h"

namespace {

const QString kTitle = QStringLiteral("雪球胜率分析");
const QString kTitleRunning = QStringLiteral("雪球胜率分析(计算中...)");
const QString kError = QStringLiteral("错误：");

QString percentText(double fraction, int decimals) {
    return QStringLiteral("%1%2").arg(QString::number(fraction * 100, 'f', decimals),
                                      QStringLiteral("%"));
}

}  // namespace

PanelWinRate::PanelWinRate(QWidget* parent)
    : QWidget(parent), manager_(std::make_unique<ThreadCalcuWinRateManager>()) {
    setWindowTitle(kTitle);
    buildWidgets();
    resize(725, 290);
    connect(manager_.get(), &ThreadCalcuWinRateManager::SignalFinishedCalcuWinRate, this,
            &PanelWinRate::handle_calc_data);
    connect(manager_.get(), &ThreadCalcuWinRateManager::SignalProgressWinRate, this,
            &PanelWinRate::showProgress);
}

// The manager's destructor waits for a run still going.
PanelWinRate::~PanelWinRate() = default;

PanelWinRate* PanelWinRate::instance() {
    static PanelWinRate* panel = new PanelWinRate;
    return panel;
}

void PanelWinRate::open(const Snowball_PDE& terms, int32_t startDate, int32_t maturityDate,
                        const QString& observationDates) {
    PanelWinRate* panel = instance();
    panel->takeTerms(terms, startDate, maturityDate, observationDates);
    panel->setDefaultRange();
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void PanelWinRate::buildWidgets() {
    auto* row = new QHBoxLayout;
    addLabelledEdits(row, {{&edit_start_, "波动率开始(%):", "7", "lineEdit_vol_start"},
                           {&edit_end_, "结束(%):", "25", "lineEdit_vol_end"},
                           {&edit_step_, "步长(%):", "3", "lineEdit_vol_step"}});
    for (QLineEdit* edit : {edit_start_, edit_end_, edit_step_})
        edit->setMaximumWidth(80);
    // How many volatilities of the run are done; shown only while a run goes on.
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("progressBar"));
    progress_->setFormat(QStringLiteral("%v/%m"));
    progress_->setMaximumWidth(120);
    progress_->hide();
    row->addWidget(progress_);
    row->addSpacerItem(new QSpacerItem(150, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    auto* calc = addButton(row, QStringLiteral("计算"), QStringLiteral("pushButton_calc"));
    auto* data = addButton(row, QStringLiteral("导出数据"), QStringLiteral("pushButton_data"));

    table_ = new ExportTableWidget;
    table_->setObjectName(QStringLiteral("table_win_rate"));
    setTableColumns(table_, {{QStringLiteral("波动率"), -1, 65},
                             {QStringLiteral("敲出且敲入"), -1, 120},
                             {QStringLiteral("敲出且未敲入"), -1, 120},
                             {QStringLiteral("未敲出且未敲入"), -1, 120},
                             {QStringLiteral("未敲出且敲入"), -1, 120},
                             {QStringLiteral("胜率"), -1, 120}});
    table_->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section {background-color: lightblue;}"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(table_, 1);

    connect(calc, &QPushButton::clicked, this, &PanelWinRate::on_pushButton_calc_clicked);
    connect(data, &QPushButton::clicked, this, &PanelWinRate::on_pushButton_data_clicked);
}

void PanelWinRate::takeTerms(const Snowball_PDE& terms, int32_t startDate, int32_t maturityDate,
                             const QString& observationDates) {
    engine.copy_terms(terms);
    start_date_ = startDate;
    maturity_date_ = maturityDate;
    observation_dates_ = observationDates;
}

void PanelWinRate::setDefaultRange() {
    if (!engine.product_set) return;
    const WinRateRange r = default_win_rate_range(engine.params.sigma, fieldNumber(edit_step_));
    edit_start_->setText(QString::number(r.start, 'f', 0));
    edit_end_->setText(QString::number(r.end, 'f', 0));
}

void PanelWinRate::on_pushButton_calc_clicked() {
    const double start = fieldNumber(edit_start_) / 100;
    const double end = fieldNumber(edit_end_) / 100;
    const double step = fieldNumber(edit_step_) / 100;
    if (start < 0 || end < 0) {
        Dialogs::critical(this, kError, QStringLiteral("波动率不能为负数"));
        return;
    }
    const BoundedCount n = bounded_point_count(start, end, step, kMaxWinRateVolatilities);
    if (n.status == BoundedCount::Empty) return;
    if (calculating_) {
        Dialogs::critical(this, kError, QStringLiteral("雪球模拟胜率正在计算中..."));
        return;
    }
    if (n.status == BoundedCount::TooMany) {
        Dialogs::critical(
            this, kError,
            QStringLiteral("波动率个数过多，不能超过%1个").arg(kMaxWinRateVolatilities));
        return;
    }
    // The run reads a copy of the terms and the schedule taken now, so the window handing the
    // panel new terms during the run changes nothing under the workers.
    std::optional<WinRateTerms> terms = make_win_rate_terms(engine, trade_calendar(), start_date_,
                                                            maturity_date_, observation_dates_);
    if (!terms) {
        Dialogs::critical(this, kError, QStringLiteral("敲出价格或敲入价格的个数少于观察日的个数"));
        return;
    }
    calculating_ = true;
    setWindowTitle(kTitleRunning);
    results_.clear();
    showProgress(0, n.count);
    progress_->show();
    manager_->beginRun(volatility_list(start, step, n.count),
                       std::make_shared<const WinRateTerms>(std::move(*terms)));
}

void PanelWinRate::showProgress(int finished, int total) {
    progress_->setMaximum(total);
    progress_->setValue(finished);
}

void PanelWinRate::handle_calc_data() {
    manager_->quit();
    manager_->wait();
    {
        QMutexLocker lock(&manager_->result_mutex);
        results_ = manager_->win_rate_results;
    }
    fillTable();
    calculating_ = false;
    progress_->hide();
    setWindowTitle(kTitle);
}

void PanelWinRate::fillTable() {
    if (results_.isEmpty()) return;
    table_->clearContents();
    table_->setRowCount(0);
    for (auto it = results_.constBegin(); it != results_.constEnd(); ++it) {
        const int row = table_->rowCount();
        insertPlaceholderRow(table_, row, Qt::AlignRight);
        QTableWidgetItem* vol = table_->item(row, 0);
        vol->setText(percentText(it.key(), 0));
        vol->setTextAlignment(Qt::AlignCenter);
        vol->setBackground(QColor(QStringLiteral("yellow")));
        for (int c = 0; c < it.value().size() && c + 1 < table_->columnCount(); ++c)
            table_->item(row, c + 1)->setText(percentText(it.value()[c], 2));
    }
}

void PanelWinRate::on_pushButton_data_clicked() {
    const QString name = askExportFileName(this, QStringLiteral("雪球模拟胜率数据存为:"),
                                           QStringLiteral("probability_data"));
    exportTableToCsv(table_, name);
}
