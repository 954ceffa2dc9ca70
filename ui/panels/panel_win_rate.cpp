#include "panel_win_rate.h"

#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMutexLocker>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "button_clicks.h"
#include "dialogs.h"
#include "export_table_widget.h"
#include "file_report.h"
#include "form_text.h"
#include "panel_helpers.h"
#include "point_count.h"
#include "table_export.h"
#include "table_helpers.h"
#include "thread_calcu_win_rate_manager.h"
#include "trade_calendar.h"
#include "win_rate.h"

namespace {

const QString kTitle = QStringLiteral("雪球胜率分析");
const QString kTitleRunning = QStringLiteral("雪球胜率分析(计算中...)");

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
    return SolePanel<PanelWinRate>::instance();
}

void PanelWinRate::closeOpen() {
    PanelWinRate* panel = SolePanel<PanelWinRate>::ifOpened();
    if (!panel) return;
    panel->stopRun();
    panel->close();
}

void PanelWinRate::open(const Snowball_PDE& terms, int32_t startDate, int32_t maturityDate,
                        const QString& observationDates) {
    PanelWinRate* panel = instance();
    panel->takeTerms(terms, startDate, maturityDate, observationDates);
    panel->setDefaultRange();
    showRaised(panel);
}

void PanelWinRate::buildWidgets() {
    auto* row = new QHBoxLayout;
    addLabelledEdits(row, {{&lineEdit_vol_start, "波动率开始(%):", "7", "lineEdit_vol_start"},
                           {&lineEdit_vol_end, "结束(%):", "25", "lineEdit_vol_end"},
                           {&lineEdit_vol_step, "步长(%):", "3", "lineEdit_vol_step"}});
    for (QLineEdit* edit : {lineEdit_vol_start, lineEdit_vol_end, lineEdit_vol_step})
        edit->setMaximumWidth(80);
    // How many volatilities of the run are done; shown only while a run goes on.
    progressBar = new QProgressBar;
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setFormat(QStringLiteral("%v/%m"));
    progressBar->setMaximumWidth(120);
    progressBar->hide();
    row->addWidget(progressBar);
    row->addSpacerItem(new QSpacerItem(150, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    auto* calc = addButton(row, QStringLiteral("计算"), QStringLiteral("pushButton_calc"));
    auto* data = addButton(row, QStringLiteral("导出数据"), QStringLiteral("pushButton_data"));
    pushButton_stop = addButton(row, QStringLiteral("停止"), QStringLiteral("pushButton_stop"));
    pushButton_stop->setEnabled(false);

    table_win_rate = new ExportTableWidget;
    table_win_rate->setObjectName(QStringLiteral("table_win_rate"));
    setTableColumns(table_win_rate, {{QStringLiteral("波动率"), -1, 65},
                                     {QStringLiteral("敲出且敲入"), -1, 120},
                                     {QStringLiteral("敲出且未敲入"), -1, 120},
                                     {QStringLiteral("未敲出且未敲入"), -1, 120},
                                     {QStringLiteral("未敲出且敲入"), -1, 120},
                                     {QStringLiteral("胜率"), -1, 120}});
    table_win_rate->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section {background-color: lightblue;}"));
    table_win_rate->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_win_rate->setSelectionBehavior(QAbstractItemView::SelectRows);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(table_win_rate, 1);

    connectClicks(this, {{calc, &PanelWinRate::on_pushButton_calc_clicked},
                         {data, &PanelWinRate::on_pushButton_data_clicked},
                         {pushButton_stop, &PanelWinRate::on_pushButton_stop_clicked}});
}

void PanelWinRate::on_pushButton_stop_clicked() {
    if (!calculating_) return;
    manager_->requestStop();
    pushButton_stop->setEnabled(false);
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
    const WinRateRange r = default_win_rate_range(engine.params.sigma,
                                                  FormText::readNumber(lineEdit_vol_step->text()));
    lineEdit_vol_start->setText(QString::number(r.start, 'f', 0));
    lineEdit_vol_end->setText(QString::number(r.end, 'f', 0));
}

void PanelWinRate::on_pushButton_calc_clicked() {
    const double start = FormText::readNumber(lineEdit_vol_start->text()) / 100;
    const double end = FormText::readNumber(lineEdit_vol_end->text()) / 100;
    const double step = FormText::readNumber(lineEdit_vol_step->text()) / 100;
    if (start < 0 || end < 0) {
        Dialogs::critical(this, Dialogs::errorTitleWide(), QStringLiteral("波动率不能为负数"));
        return;
    }
    const BoundedCount n = bounded_point_count(start, end, step, kMaxWinRateVolatilities);
    if (n.status == BoundedCount::Empty) return;
    if (calculating_) {
        Dialogs::critical(this, Dialogs::errorTitleWide(),
                          QStringLiteral("雪球模拟胜率正在计算中..."));
        return;
    }
    if (n.status == BoundedCount::TooMany) {
        Dialogs::critical(
            this, Dialogs::errorTitleWide(),
            QStringLiteral("波动率个数过多，不能超过%1个").arg(kMaxWinRateVolatilities));
        return;
    }
    // The run reads a copy of the terms and the schedule taken now, so the window handing the
    // panel new terms during the run changes nothing under the workers.
    std::optional<WinRateTerms> terms = make_win_rate_terms(engine, trade_calendar(), start_date_,
                                                            maturity_date_, observation_dates_);
    if (!terms) {
        Dialogs::critical(this, Dialogs::errorTitleWide(),
                          QStringLiteral("敲出价格或敲入价格的个数少于观察日的个数"));
        return;
    }
    results_.clear();
    showProgress(0, n.count);
    setRunning(true);
    manager_->beginRun(volatility_list(start, step, n.count),
                       std::make_shared<const WinRateTerms>(std::move(*terms)));
}

void PanelWinRate::stopRun() {
    if (!calculating_) return;
    manager_->stopRun();
    setRunning(false);
}

void PanelWinRate::setRunning(bool running) {
    calculating_ = running;
    progressBar->setVisible(running);
    pushButton_stop->setEnabled(running);
    setWindowTitle(running ? kTitleRunning : kTitle);
}

void PanelWinRate::showProgress(int finished, int total) {
    progressBar->setMaximum(total);
    progressBar->setValue(finished);
}

void PanelWinRate::handle_calc_data() {
    manager_->quit();
    manager_->wait();
    // A stopped run shows nothing of its part: the table keeps what the last whole run gave.
    if (!manager_->stopRequested()) {
        QMutexLocker lock(&manager_->result_mutex);
        results_ = manager_->win_rate_results;
        lock.unlock();
        fillTable();
    }
    setRunning(false);
}

void PanelWinRate::fillTable() {
    if (results_.isEmpty()) return;
    table_win_rate->clearContents();
    table_win_rate->setRowCount(0);
    for (auto it = results_.constBegin(); it != results_.constEnd(); ++it) {
        const int row = table_win_rate->rowCount();
        insertPlaceholderRow(table_win_rate, row, Qt::AlignRight);
        QTableWidgetItem* vol = table_win_rate->item(row, 0);
        vol->setText(percentText(it.key(), 0));
        vol->setTextAlignment(Qt::AlignCenter);
        vol->setBackground(QColor(QStringLiteral("yellow")));
        for (int c = 0; c < it.value().size() && c + 1 < table_win_rate->columnCount(); ++c)
            table_win_rate->item(row, c + 1)->setText(percentText(it.value()[c], 2));
    }
}

void PanelWinRate::on_pushButton_data_clicked() {
    const QString name = askExportFileName(this, QStringLiteral("雪球模拟胜率数据存为:"),
                                           QStringLiteral("probability_data"));
    if (name.isEmpty()) return;
    if (exportTableToCsv(table_win_rate, name)) reportExported(this, name);
}
