// What a pricing run reads at the initial price.
#pragma once

#include <limits>

struct PdeResult {
    double price = std::numeric_limits<double>::quiet_NaN();
    // At S0 today, from the read-out of the accurate scheme; NaN from the implicit one.
    double delta = std::numeric_limits<double>::quiet_NaN();
    double gamma = std::numeric_limits<double>::quiet_NaN();
    // Estimate of the error left in an extrapolated price; NaN without extrapolation.
    double error_estimate = std::numeric_limits<double>::quiet_NaN();
};
