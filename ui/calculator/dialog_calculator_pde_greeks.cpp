// The calculator window's actions on the solved grids: the Greeks run, the look-up at a price
// and date, and the export of the price grids.
#include <cmath>
#include <ctime>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "background_run.h"
#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "download_paths.h"
#include "file_report.h"
#include "form_text.h"
#include "grid_memory.h"
#include "live_valuation.h"
#include "sp_logger.h"

namespace {

const char* const kDefaultMatrixFile = "AutoCall01.csv";

}  // namespace

struct DialogCalculatorPDE::GreeksRunResult {
    bool cancelled = false;
    bool grids = false;
    bool greeks = false;
    FileWriteStatus greeksFile = FileWriteStatus::Ok;
    FileWriteStatus gridFile = FileWriteStatus::Ok;
};

void DialogCalculatorPDE::on_pushButton_calc_greeks_clicked() {
    // The form is checked, read and committed as "定价" does, so the read-out belongs to it; on
    // refused terms the read-out of earlier ones is cleared.
    if (!prepareEngine(FormCheck::Full, kRiskGridCount)) return clearGreeksReadout();
    if (!require_product()) return;
    commit_product(engine.coupon_adj_rate, engine.coupon_adj_share);
    sp_printf(&SpLogger::instance(), kLogInfo, "%s calc %s",
              edit_product_no->text().toUtf8().constData(), engine.param_key().c_str());
    const QString gridFile =
        downloadFilePath(edit_product_no->text() + QStringLiteral("_calc.csv"));
    const std::string gridPath = gridFile.toLocal8Bit().toStdString();
    // Both grid files are written by the run, each whole or not at all.
    runOnCopy(
        *run, engine,
        [gridPath](Snowball_PDE& e) {
            GreeksRunResult r;
            r.grids = e.compute_risk_grids();
            r.cancelled = e.last_problem == PricingProblem::Cancelled;
            if (!r.grids) return r;
            const std::time_t started = std::time(nullptr);
            r.greeks = e.compute_greeks(false);
            if (r.greeks) r.greeksFile = e.append_price_grids(Calculator_PDE::kGreeksFile);
            sp_printf(&SpLogger::instance(), kLogInfo, "create_Greeks uses %d seconds.",
                      static_cast<int>(std::time(nullptr) - started));
            if (r.greeks) r.gridFile = e.append_price_grids(gridPath);
            return r;
        },
        [this, gridFile](Snowball_PDE& e, const GreeksRunResult& r) {
            if (r.cancelled) return showCancelled();
            engine = e;
            finishGreeksRun(r, gridFile);
        });
}

void DialogCalculatorPDE::finishGreeksRun(const GreeksRunResult& r, const QString& gridFile) {
    if (!r.grids || !r.greeks) {
        // Greeks of grids from an earlier run would not belong to these terms.
        clearGreeksReadout();
        Dialogs::critical(this, Dialogs::errorTitle(),
                          QStringLiteral("无法计算风险矩阵，请检查结构参数与PDE参数"));
        return;
    }
    (void)reportFileWrite(this, r.greeksFile, QLatin1String(Calculator_PDE::kGreeksFile));
    pushButton_export_matrix->setEnabled(true);
    pushButton_univariate->setEnabled(true);
    pushButton_lookup->setEnabled(true);
    on_pushButton_lookup_clicked();
    (void)reportFileWrite(this, r.gridFile, gridFile);
}

void DialogCalculatorPDE::on_pushButton_lookup_clicked() {
    if (!engine.product_set || std::isnan(engine.dt)) {
        Dialogs::critical(this, Dialogs::errorTitle(), QStringLiteral("无法查找PDE"));
        return;
    }
    const bool knocked_in = check_knocked_in->isChecked();
    double S = 0, days_per_year = 0, tau = 0;
    if (!readNumberField(edit_spot, "今价", S) || !readLookupTime(days_per_year, tau)) return;
    const int d = FormText::readInt(edit_decimals->text());

    const LookupReadout r = lookupReadout(engine, S, tau, knocked_in, days_per_year);
    const double greeks[] = {r.price, r.delta, r.gamma, r.theta, r.vega, r.rho};
    for (std::size_t i = 0; i < greeks_readout.size(); ++i)
        greeks_readout[i]->setText(FormText::fixed(greeks[i], d));
}

void DialogCalculatorPDE::on_pushButton_export_matrix_clicked() {
    if (!engine.product_set) return;
    const QString fallback = downloadFilePath(QLatin1String(kDefaultMatrixFile));
    QString path =
        Dialogs::saveFileName(this, QStringLiteral("保存PDE矩阵"), fallback, Dialogs::csvFilter());
    // A cancelled dialog still exports, to the default name.
    if (path.isEmpty()) path = fallback;
    if (writePriceGrids(path)) label_status->setText(QStringLiteral("矩阵已导出到 %1").arg(path));
}

void DialogCalculatorPDE::clearGreeksReadout() {
    for (QLineEdit* edit : greeks_readout)
        edit->clear();
}

bool DialogCalculatorPDE::writePriceGrids(const QString& path) {
    return reportFileWrite(this, engine.append_price_grids(path.toLocal8Bit().toStdString()), path);
}
