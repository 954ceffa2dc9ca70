#include "product_form.h"

#include "day_count.h"
#include "form_checks.h"
#include "form_text.h"
#include "observe_dates.h"
#include "trade_calendar.h"

using FormText::readNumber;
using FormText::readPercent;

int maturityTradingDays(const QDate& start, const QDate& end) {
    return trade_calendar().count_trading_days(FormText::dateNumber(start),
                                               FormText::dateNumber(end), true);
}

bool checkProductForm(const ProductForm& form, QString& title, QString& error) {
    if (!FormChecks::checkSchedule(FormText::dateNumber(form.start), FormText::dateNumber(form.end),
                                   form.dates, error)) {
        title = QString::fromUtf8(FormChecks::kScheduleErrorTitle);
        return false;
    }
    if (!FormChecks::checkTerms(form.S, form.ki_price, form.ko_price, false, error)) {
        title = QStringLiteral("结构参数错误");
        return false;
    }
    return true;
}

void readProductForm(const ProductForm& form, Snowball_PDE& engine) {
    // 1. day count
    const int days_per_year = FormText::readInt(form.days_per_year);
    // 2. a fresh parameter block; the grid size is set below
    PdeParams block;
    block.S0 = readNumber(form.S);
    block.S_max = readNumber(form.S_max);
    block.sigma = readPercent(form.vol);
    block.r = readPercent(form.rate);
    block.q = readPercent(form.div_rate);
    block.M = 10;
    block.N = 10;
    block.scheme = form.accurate ? PdeScheme::accurate : PdeScheme::implicit;
    block.extrapolate = form.accurate && form.extrapolate;
    // 3. scalar terms; the participation is a plain factor
    engine.div_coupon = readPercent(form.div_coupon);
    engine.floor_price = readNumber(form.floor);
    engine.call_strike = readNumber(form.call_strike);
    engine.call_participation = readNumber(form.call_part);
    // 4. maturity in years: start and maturity are both counted in T
    const double days = readNumber(form.T);
    block.T = form.trading_days ? (days - 1) / days_per_year : days / kDaysPerYear;
    // 5. parameters and grid size
    engine.params = block;
    engine.set_grid_size(FormText::readInt(form.M), FormText::readInt(form.N));
    // 6. hidden coupon adjustment, entered in percent
    engine.coupon_adj_share = readNumber(form.adj_share) * 0.01;
    engine.coupon_adj_rate = readNumber(form.adj_rate) * 0.01;
    // 7. observation times
    const QString start = FormText::dateText(form.start);
    engine.obs_time.clear();
    if (form.trading_days)
        observeYearFractionsTrading(form.dates, start, days_per_year, engine.obs_time);
    else
        observeYearFractionsNatural(form.dates, start, kDaysPerYear, engine.obs_time);
    // 8.-10. per-date barriers and coupons; a single value holds for every date
    const std::size_t dates = engine.obs_time.size();
    engine.ko_barrier = FormText::readValueList(form.ko_price, dates);
    engine.coupon = FormText::readValueList(form.ko_coupon, dates);
    engine.ki_barrier = FormText::readValueList(form.ki_price, dates);
    for (double& coupon : engine.coupon)
        coupon *= 0.01;
}

void commitProduct(Snowball_PDE& engine, int type, double adj_rate, double adj_share) {
    engine.set_product(engine.obs_time, engine.ko_barrier, engine.coupon, engine.ki_barrier,
                       engine.div_coupon, engine.floor_price, engine.call_strike,
                       engine.call_participation, adj_rate, adj_share, double(type), engine.params);
}
