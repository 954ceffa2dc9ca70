// One analysis panel on its own, computed on the classic one-year snowball, for looking at its
// layout (scripts/screenshot_panels.sh); not shipped.
//   panels_demo univariate|stress|winrate
#include <cstring>
#include <vector>

#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include "panel_greeks_ua.h"
#include "panel_stress.h"
#include "panel_win_rate.h"
#include "trade_calendar.h"

namespace {

constexpr int kDays = 243;

// Monthly knock-out at 103 from month 3, knock-in 80, coupons 16 %, volatility 18 %, rate 1.5 %,
// one time step per trading day.
Snowball_PDE classic_snowball(std::vector<int>& obs_days) {
    std::vector<double> obs;
    for (int m = 3; m <= 12; ++m) {
        obs_days.push_back(m == 12 ? kDays - 1 : kDays * m / 12);
        obs.push_back((obs_days.back() + 1) / 252.0);
    }
    PdeParams base;
    base.sigma = 0.18;
    base.r = 0.015;
    base.T = kDays / 252.0;
    base.M = 200;
    base.N = kDays;
    const size_t n = obs.size();
    Snowball_PDE e;
    e.set_product(obs, std::vector<double>(n, 103), std::vector<double>(n, 0.16),
                  std::vector<double>(n, 80), 0.16, 0, 0, 0, 0, 1, 0, base);
    return e;
}

void clickLater(QWidget* panel) {
    QTimer::singleShot(300, panel, [panel] {
        for (QPushButton* b : panel->findChildren<QPushButton*>()) {
            if (b->objectName() == "pushButton_calc" || b->objectName() == "pushButton_analyse")
                b->click();
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<int> obs_days;
    const Snowball_PDE product = classic_snowball(obs_days);
    const char* which = argc > 1 ? argv[1] : "univariate";
    if (!std::strcmp(which, "stress")) {
        PanelStress::open(product);
        clickLater(PanelStress::instance());
    } else if (!std::strcmp(which, "winrate")) {
        // The schedule on the shipped calendar, from the first trading day of 2024.
        const TradeCalendar& cal = trade_calendar();
        const int32_t start = cal.roll_to_trading_day(20240102);
        QStringList dates;
        for (int d : obs_days)
            dates << QString::number(cal.shift_trading_days(start, d));
        PanelWinRate::open(product, start, cal.shift_trading_days(start, kDays - 1),
                           dates.join('_'));
        clickLater(PanelWinRate::instance());
    } else {
        auto* panel = new PanelGreeks_UA(100);
        panel->copyTerms(product);
        panel->setParamRange(3, 0, 1, 0.05);
        panel->resize(1180, 520);
        panel->show();
        clickLater(panel);
    }
    return app.exec();
}
