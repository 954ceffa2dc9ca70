// The value and Greeks of a product on a day of its life, read off the grids of the whole
// product: the window's "查表" and the command-line tool's value and book commands.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "product_file.h"
#include "snowball_pde.h"

// Price and Greeks in the window's units: theta per day of the day count, vega and rho per
// percentage point.
struct LookupReadout {
    double price, delta, gamma, theta, vega, rho;
};

// The six look-ups at S with tau years left, on the grids of the last Greeks run.
LookupReadout lookupReadout(const Snowball_PDE& engine, double S, double tau, bool knocked_in,
                            double days_per_year);

// A day of a live product: its date (a trading day inside the product's life), the spot, and
// the market fields that override the file's when given (percent, NaN when not given).
struct LiveMarket {
    int32_t date = 0;
    double spot = 0;
    bool knocked_in = false;
    double volatilityPct = std::numeric_limits<double>::quiet_NaN();
    double riskFreeRatePct = std::numeric_limits<double>::quiet_NaN();
};

// Why a live product cannot be valued: the date is no day of its life, the terms fail the
// window's checks, or the grids cannot be solved.
struct LiveFailure {
    enum Kind { None, BadDate, BadTerms, NoGrid };
    Kind kind = None;
    std::string reason;
};

// Prices the whole product as the window does (its "定价", then "风险指标计算") and looks the
// value up at the day's spot with the remaining life counted in trading days to maturity. The
// product is taken to be alive on that day; knocked_in chooses the knocked-in grids. Uses the
// given engine (one per thread).
bool valueLiveProduct(ProductFile file, const LiveMarket& market, Snowball_PDE& engine,
                      LookupReadout& out, LiveFailure& failure);
