#include "panel_stress.h"

#include <algorithm>

#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "background_run.h"
#include "button_clicks.h"
#include "colour_scale.h"
#include "dialogs.h"
#include "export_table_widget.h"
#include "file_report.h"
#include "form_text.h"
#include "heat_scale.h"
#include "panel_helpers.h"
#include "point_count.h"
#include "table_export.h"
#include "table_helpers.h"

namespace {

const QString kHeaderStyle = QStringLiteral("QHeaderView::section {background-color: lightblue;}");

ExportTableWidget* makeTable(const QString& objectName) {
    auto* table = new ExportTableWidget;
    table->setObjectName(objectName);
    return table;
}

}  // namespace

PanelStress::PanelStress(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("S-σ压力测试"));
    buildWidgets();
    resize(880, 430);
}

PanelStress* PanelStress::instance() {
    return SolePanel<PanelStress>::instance();
}

void PanelStress::closeOpen() {
    if (PanelStress* panel = SolePanel<PanelStress>::ifOpened()) panel->close();
}

void PanelStress::open(const Snowball_PDE& terms) {
    PanelStress* panel = instance();
    panel->copyTerms(terms);
    showRaised(panel);
}

void PanelStress::copyTerms(const Snowball_PDE& terms) {
    engine.copy_terms(terms);
}

void PanelStress::buildWidgets() {
    auto* row = new QHBoxLayout;
    addLabelledEdits(row, {{&lineEdit_price_start, "价格开始:", "70", "lineEdit_price_start"},
                           {&lineEdit_price_end, "结束:", "130", "lineEdit_price_end"},
                           {&lineEdit_price_step, "步长:", "10", "lineEdit_price_step"},
                           {&lineEdit_vol_start, "波动率开始:", "0.05", "lineEdit_vol_start"},
                           {&lineEdit_vol_end, "结束:", "0.5", "lineEdit_vol_end"},
                           {&lineEdit_vol_step, "步长:", "0.05", "lineEdit_vol_step"},
                           {&lineEdit_days, "交易日:", "100", "lineEdit_days"}});
    auto* calc = addButton(row, QStringLiteral("计算"), QStringLiteral("pushButton_calc"));
    auto* data = addButton(row, QStringLiteral("导出数据"), QStringLiteral("pushButton_data"));

    table_tv = makeTable(QStringLiteral("table_tv"));
    table_delta = makeTable(QStringLiteral("table_delta"));
    table_gamma = makeTable(QStringLiteral("table_gamma"));
    auto* tabs = new QTabWidget;
    tabs->addTab(table_tv, QStringLiteral("TV"));
    tabs->addTab(table_delta, QStringLiteral("Delta"));
    tabs->addTab(table_gamma, QStringLiteral("Gamma"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(tabs, 1);
    run = new BackgroundRun(this, {calc, data});
    layout->addWidget(run->progressRow());

    connectClicks(this, {{calc, &PanelStress::on_pushButton_calc_clicked},
                         {data, &PanelStress::on_pushButton_data_clicked}});
}

bool PanelStress::readGrid(StressGrid& grid) {
    const double price_step = FormText::readNumber(lineEdit_price_step->text());
    const double price_start = FormText::readNumber(lineEdit_price_start->text());
    const BoundedCount nP =
        bounded_point_count(price_start, FormText::readNumber(lineEdit_price_end->text()),
                            price_step, kMaxStressPoints);
    const double vol_start = FormText::readNumber(lineEdit_vol_start->text());
    const double vol_step = FormText::readNumber(lineEdit_vol_step->text());
    const BoundedCount nV = bounded_point_count(
        vol_start, FormText::readNumber(lineEdit_vol_end->text()), vol_step, kMaxStressPoints);
    if (nP.status == BoundedCount::Empty || nV.status == BoundedCount::Empty) return false;
    if (nP.status == BoundedCount::TooMany || nV.status == BoundedCount::TooMany) {
        Dialogs::critical(
            this, Dialogs::errorTitleWide(),
            QStringLiteral("情景点数过多：价格和波动率各不能超过%1个").arg(kMaxStressPoints));
        return false;
    }
    grid = {nP.count,
            nV.count,
            price_start,
            price_step,
            vol_start,
            vol_step,
            stress_tau(FormText::readInt(lineEdit_days->text()))};
    return true;
}

void PanelStress::on_pushButton_calc_clicked() {
    if (!engine.product_set) {
        Dialogs::critical(this, Dialogs::errorTitle(),
                          QStringLiteral("结构信息未初始化，请先点击【定价】"));
        return;
    }
    StressGrid grid;
    if (!readGrid(grid)) return;
    // The tables change only when the whole grid is done: a cancelled run leaves them as they were.
    runOnCopy(
        *run, engine, [grid](Snowball_PDE& e) { return compute_stress(e, grid); },
        [this, grid](Snowball_PDE&, const StressResult& result) {
            if (result.problem != PricingProblem::Cancelled) showResult(grid, result);
        });
}

void PanelStress::showResult(const StressGrid& grid, const StressResult& result) {
    if (result.problem != PricingProblem::None) {
        Dialogs::critical(this, Dialogs::errorTitleWide(),
                          QString::fromUtf8(pricing_problem_text(result.problem)));
        return;
    }
    const QList<QTableWidget*> tables{table_tv, table_delta, table_gamma};
    for (QTableWidget* table : tables)
        resetScenarioTable(table, grid.prices, grid.volatilities, grid.price_start, grid.price_step,
                           grid.vol_start, grid.vol_step);
    fillHeatTable(table_tv, result.value, 100);
    fillHeatTable(table_delta, result.delta, 0);
    fillHeatTable(table_gamma, result.gamma, 0);
}

void PanelStress::resetScenarioTable(QTableWidget* table, int nP, int nV, double price_start,
                                     double price_step, double vol_start, double vol_step) {
    resetTableRows(table, nV, nP + 1);
    setColumnsAlignment(table, 1, nP, Qt::AlignRight);
    table->setHorizontalHeaderItem(0, new QTableWidgetItem(QStringLiteral("情景")));
    table->horizontalHeader()->setStyleSheet(kHeaderStyle);
    for (int j = 0; j < nP; ++j)
        table->setHorizontalHeaderItem(
            j + 1, new QTableWidgetItem(FormText::general6(price_start + j * price_step)));
    for (int i = 0; i < nV; ++i) {
        QTableWidgetItem* cell = table->item(i, 0);
        cell->setText(FormText::general6((vol_start + i * vol_step) * 100) + QStringLiteral("%"));
        cell->setTextAlignment(Qt::AlignCenter);
        cell->setBackground(QColor(QStringLiteral("yellow")));
    }
}

void PanelStress::fillHeatTable(QTableWidget* table, const StressMatrix& matrix, double centre) {
    if (matrix.empty() || matrix.front().empty()) return;
    const int width = static_cast<int>(matrix.front().size());
    if (table->rowCount() < static_cast<int>(matrix.size()) || table->columnCount() < width + 1)
        return;
    const HeatScale scale(matrix, centre);
    for (int r = 0; r < static_cast<int>(matrix.size()); ++r) {
        // Rows longer than the first one would run past the table.
        const int columns = std::min(width, static_cast<int>(matrix[r].size()));
        for (int c = 0; c < columns; ++c) {
            const double v = matrix[r][c];
            QTableWidgetItem* cell = table->item(r, c + 1);
            if (!cell) {
                cell = new QTableWidgetItem;
                table->setItem(r, c + 1, cell);
            }
            cell->setText(QString::number(v, 'f', 3));
            const QColor background(colourForLevel(scale.level(v)));
            cell->setBackground(background);
            // Black figures vanish on the darkest greens and reds.
            cell->setForeground(background.lightness() < 110 ? Qt::white : Qt::black);
        }
    }
}

void PanelStress::on_pushButton_data_clicked() {
    const QString name =
        askExportFileName(this, QStringLiteral("压力测试数据存为:"), QStringLiteral("stress_data"));
    if (name.isEmpty()) return;
    if (exportTablesToCsv({{QByteArray("TV"), table_tv},
                           {QByteArray("Delta"), table_delta},
                           {QByteArray("Gamma"), table_gamma}},
                          name))
        reportExported(this, name);
}
