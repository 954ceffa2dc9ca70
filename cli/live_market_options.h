// The market of one day of a live product as the value and book commands take it.
#pragma once

#include <string>

#include "live_valuation.h"

// A date yyyyMMdd, a finite spot and the optional volatility and rate in percent, from texts
// (empty vol and rate: the file's). False with a one-line message naming the field otherwise.
bool parse_live_market(const std::string& date, const std::string& spot, const std::string& vol,
                       const std::string& rate, LiveMarket& market, std::string& error);
