// The calculator window's actions on the solved grids: the Greeks run, the look-up at a price
// and date, and the export of the price grids.
#include <cmath>
#include <ctime>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "download_paths.h"
#include "form_text.h"
#include "grid_memory.h"
#include "sp_logger.h"
#include "trade_calendar.h"
#include "widget_observe_global.h"

namespace {

const char* const kDefaultMatrixFile = "AutoCall01.csv";

}  // namespace

void DialogCalculatorPDE::on_pushButton_calc_greeks_clicked() {
    // The form is checked, read and committed as "定价" does, so the read-out belongs to it; on
    // refused terms the read-out of earlier ones is cleared.
    if (!prepareEngine(FormCheck::Full, kRiskGridCount)) return clearGreeksReadout();
    if (!require_product()) return;
    commit_product(engine.coupon_adj_rate, engine.coupon_adj_share);
    if (!engine.compute_risk_grids()) {
        // Greeks of grids from an earlier run would not belong to these terms.
        clearGreeksReadout();
        Dialogs::critical(this, Dialogs::errorTitle(),
                          QStringLiteral("无法计算风险矩阵，请检查结构参数与PDE参数"));
        return;
    }
    const std::time_t started = std::time(nullptr);
    const bool greeks_written = engine.compute_greeks(true);
    const std::time_t finished = std::time(nullptr);
    sp_printf(&SpLogger::instance(), kLogInfo, "create_Greeks uses %d seconds.",
              static_cast<int>(finished - started));
    if (!greeks_written) reportUnwritableFile(QLatin1String(Calculator_PDE::kGreeksFile));

    pushButton_export_matrix->setEnabled(true);
    pushButton_univariate->setEnabled(true);
    pushButton_lookup->setEnabled(true);
    on_pushButton_lookup_clicked();

    sp_printf(&SpLogger::instance(), kLogInfo, "%s calc %s",
              edit_product_no->text().toUtf8().constData(), engine.param_key().c_str());
    writePriceGrids(downloadFilePath(edit_product_no->text() + QStringLiteral("_calc.csv")));
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

    // Theta per trading day, vega and rho per percentage point.
    edit_g_price->setText(FormText::fixed(engine.lookup_price(S, tau, knocked_in), d));
    edit_g_delta->setText(FormText::fixed(engine.lookup_delta(S, tau, knocked_in), d));
    edit_g_gamma->setText(FormText::fixed(engine.lookup_gamma(S, tau, knocked_in), d));
    edit_g_theta->setText(
        FormText::fixed(engine.lookup_theta(S, tau, knocked_in) / days_per_year, d));
    edit_g_vega->setText(FormText::fixed(engine.lookup_vega(S, tau, knocked_in) * 0.01, d));
    edit_g_rho->setText(FormText::fixed(engine.lookup_rho(S, tau, knocked_in) * 0.01, d));
}

void DialogCalculatorPDE::on_pushButton_export_matrix_clicked() {
    if (!engine.product_set) return;
    const QString fallback = downloadFilePath(QLatin1String(kDefaultMatrixFile));
    QString path =
        Dialogs::saveFileName(this, QStringLiteral("保存PDE矩阵"), fallback, Dialogs::csvFilter());
    // A cancelled dialog still exports, to the default name.
    if (path.isEmpty()) path = fallback;
    writePriceGrids(path);
}

void DialogCalculatorPDE::clearGreeksReadout() {
    for (QLineEdit* edit :
         {edit_g_price, edit_g_delta, edit_g_gamma, edit_g_theta, edit_g_vega, edit_g_rho})
        edit->clear();
}

bool DialogCalculatorPDE::writePriceGrids(const QString& path) {
    if (engine.write_price_grids(path.toLocal8Bit().toStdString())) return true;
    reportUnwritableFile(path);
    return false;
}

void DialogCalculatorPDE::reportUnwritableFile(const QString& path) {
    Dialogs::critical(this, Dialogs::cannotOpenFileTitle(), path);
}
