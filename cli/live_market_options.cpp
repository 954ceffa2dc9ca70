#include "live_market_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "cli_calendar_options.h"

namespace {

bool finite_number(const std::string& text, double& out) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

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
    if (!finite_number(spot, market.spot)) return refuse(error, "spot", "a finite number", spot);
    if (!vol.empty() && !finite_number(vol, market.volatilityPct))
        return refuse(error, "vol", "a finite number (percent)", vol);
    if (!rate.empty() && !finite_number(rate, market.riskFreeRatePct))
        return refuse(error, "rate", "a finite number (percent)", rate);
    return true;
}
