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
    if (!FormChecks::checkTerms(form.terms.spot, form.terms.knockInPrices,
                                form.terms.knockOutPrices, false, error)) {
        title = QStringLiteral("结构参数错误");
        return false;
    }
    return true;
}

void readProductForm(const ProductForm& form, Snowball_PDE& engine) {
    const ProductFormTexts& t = form.terms;
    // 1. day count
    const int days_per_year = FormText::readInt(t.daysPerYear);
    // 2. a fresh parameter block; the grid size is set below
    PdeParams block;
    block.S0 = readNumber(t.spot);
    block.S_max = readNumber(t.ceiling);
    block.sigma = readPercent(t.volatility);
    block.r = readPercent(t.rate);
    block.q = readPercent(t.dividendRate);
    block.M = 10;
    block.N = 10;
    block.scheme = form.accurate ? PdeScheme::accurate : PdeScheme::implicit;
    block.extrapolate = form.accurate && form.extrapolate;
    // 3. scalar terms; the participation is a plain factor
    engine.div_coupon = readPercent(t.dividendCoupon);
    engine.floor_price = readNumber(t.floor);
    engine.call_strike = readNumber(t.callStrike);
    engine.call_participation = readNumber(t.callParticipation);
    // 4. maturity in years: start and maturity are both counted in T
    const double days = readNumber(t.maturityDays);
    block.T = form.trading_days ? (days - 1) / days_per_year : days / kDaysPerYear;
    // 5. parameters and grid size
    engine.params = block;
    engine.set_grid_size(FormText::readInt(t.priceSteps), FormText::readInt(t.timeSteps));
    // 6. hidden coupon adjustment, entered in percent
    engine.coupon_adj_share = readNumber(t.adjustShare, NumberUnit::Percent) * 0.01;
    engine.coupon_adj_rate = readNumber(t.adjustRate, NumberUnit::Percent) * 0.01;
    // 7. observation times
    const QString start = FormText::dateText(form.start);
    engine.obs_time.clear();
    if (form.trading_days)
        observeYearFractionsTrading(form.dates, start, days_per_year, engine.obs_time);
    else
        observeYearFractionsNatural(form.dates, start, kDaysPerYear, engine.obs_time);
    // 8.-10. per-date barriers and coupons; a single value holds for every date
    const std::size_t dates = engine.obs_time.size();
    engine.ko_barrier = FormText::readValueList(t.knockOutPrices, dates);
    engine.coupon = FormText::readValueList(t.knockOutCoupons, dates, NumberUnit::Percent);
    engine.ki_barrier = FormText::readValueList(t.knockInPrices, dates);
    for (double& coupon : engine.coupon)
        coupon *= 0.01;
}

void commitProduct(Snowball_PDE& engine, int type, double adj_rate, double adj_share) {
    engine.set_product(engine.obs_time, engine.ko_barrier, engine.coupon, engine.ki_barrier,
                       engine.div_coupon, engine.floor_price, engine.call_strike,
                       engine.call_participation, adj_rate, adj_share, double(type), engine.params);
}
