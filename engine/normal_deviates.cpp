#include "normal_deviates.h"

#include <cmath>

void NormalDeviates::pair(double& first, double& second) {
    double x, y, s;
    do {
        x = 2 * uniform() - 1;
        y = 2 * uniform() - 1;
        s = x * x + y * y;
    } while (s >= 1 || s == 0);  // s = 0 would give 0 * inf
    const double f = std::sqrt(-2 * std::log(s) / s);
    first = x * f;
    second = y * f;
}

double NormalDeviates::next() {
    if (has_cached_) {
        has_cached_ = false;
        return cached_;
    }
    double first;
    pair(first, cached_);
    has_cached_ = true;
    return first;
}

void NormalDeviates::fill(double* out, int n) {
    int i = 0;
    if (n > 0 && has_cached_) {
        out[i++] = cached_;
        has_cached_ = false;
    }
    for (; i + 1 < n; i += 2)
        pair(out[i], out[i + 1]);
    if (i < n) out[i] = next();
}

NormalDeviates& process_normal_deviates() {
    static NormalDeviates deviates;
    return deviates;
}
