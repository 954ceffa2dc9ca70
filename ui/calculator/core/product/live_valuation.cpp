#include "live_valuation.h"

#include <cmath>

#include "day_count.h"
#include "product_terms.h"
#include "trade_calendar.h"

namespace {

bool fail(LiveFailure& failure, LiveFailure::Kind kind, std::string reason) {
    failure.kind = kind;
    failure.reason = std::move(reason);
    return false;
}

}  // namespace

LookupReadout lookupReadout(const Snowball_PDE& engine, double S, double tau, bool knocked_in,
                            double days_per_year) {
    return {engine.lookup_price(S, tau, knocked_in),
            engine.lookup_delta(S, tau, knocked_in),
            engine.lookup_gamma(S, tau, knocked_in),
            engine.lookup_theta(S, tau, knocked_in) / days_per_year,
            engine.lookup_vega(S, tau, knocked_in) * 0.01,
            engine.lookup_rho(S, tau, knocked_in) * 0.01};
}

bool valueLiveProduct(ProductFile file, const LiveMarket& market, Snowball_PDE& engine,
                      LookupReadout& out, LiveFailure& failure) {
    failure = LiveFailure();
    const TradeCalendar& calendar = trade_calendar();
    const int32_t start = file.schedule.start, maturity = file.schedule.maturity;
    const std::string date = std::to_string(market.date);
    if (market.date < start || market.date > maturity)
        return fail(failure, LiveFailure::BadDate,
                    "date " + date + " is outside the product's life (" + std::to_string(start) +
                        " to " + std::to_string(maturity) + ")");
    if (!calendar.is_trading_day(market.date))
        return fail(failure, LiveFailure::BadDate, "date " + date + " is not a trading day");
    if (!std::isnan(market.volatilityPct)) file.volatilityPct = market.volatilityPct;
    if (!std::isnan(market.riskFreeRatePct)) file.riskFreeRatePct = market.riskFreeRatePct;

    QString error;
    if (!productEngineOf(file, engine, error))
        return fail(failure, LiveFailure::BadTerms, error.toStdString());
    if (!engine.compute_risk_grids())
        return fail(failure, LiveFailure::NoGrid, "the product cannot be priced with these terms");
    engine.compute_greeks(false);
    const double tau = calendar.trading_year_fraction(market.date, maturity, kTradingDaysPerYear);
    out = lookupReadout(engine, market.spot, tau, market.knocked_in, kTradingDaysPerYear);
    return true;
}
