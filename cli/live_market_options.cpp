#include "live_market_options.h"

#include "cli_args.h"
#include "cli_calendar_options.h"

namespace {

bool refuse(std::string& error, const std::string& field, const std::string& what,
            const std::string& text) {
    error = field + " needs " + what + ", got '" + text + "'";
    return false;
}

}  // namespace

bool parse_live_market(const std::string& date, const std::string& spot, const std::string& vol,
                       const std::string& rate, LiveMarket& market, std::string& error) {
    if (!cli_calendar::parse_date(date.c_str(), market.date) || date.size() != 8)
        return refuse(error, "date", "a date yyyyMMdd", date);
    if (!parse_finite(spot, market.spot)) return refuse(error, "spot", "a finite number", spot);
    if (!vol.empty() && !parse_finite(vol, market.volatilityPct))
        return refuse(error, "vol", "a finite number (percent)", vol);
    if (!rate.empty() && !parse_finite(rate, market.riskFreeRatePct))
        return refuse(error, "rate", "a finite number (percent)", rate);
    return true;
}
