#include "win_rate_matrix_reference.h"

#include <cmath>
#include <cstdlib>
#include <vector>

WinRateFractions matrix_win_rate(const WinRateTerms& t, double sigma, uint32_t seed) {
    if (t.days <= 0) return {0, 0, 1, 0, 1};
    const int days = t.days;
    const double dt = (static_cast<double>(days) / 252) / days;
    const double a = sigma * std::sqrt(dt);
    const double drift = (t.r - t.q - sigma * sigma / 2) * dt;

    // Day by day, all paths of a day together.
    std::vector<double> S(static_cast<size_t>(days) * kWinRatePaths);
    std::srand(seed);
    for (int d = 0; d < days; ++d) {
        for (int p = 0; p < kWinRatePaths; ++p) {
            const int r1 = std::rand();
            const int r2 = std::rand();
            double u1 = (r1 % 1000) / 1000.0;
            const double u2 = (r2 % 1000) / 1000.0;
            if (u1 == 0) u1 = kZeroRadiusUniform;
            const double z = std::sqrt(-2 * std::log(u1)) * std::cos(u2 * kWinRateTwoPi);
            const double before = d == 0 ? t.S0 : S[(d - 1) * size_t(kWinRatePaths) + p];
            S[d * size_t(kWinRatePaths) + p] = before * std::exp(a * z + drift);
        }
    }

    int counts[4] = {0, 0, 0, 0};
    const size_t last = t.obs_days.size() - 1;
    for (int p = 0; p < kWinRatePaths; ++p) {
        bool knocked_in = false;
        bool knocked_out = false;
        size_t k = 0;
        for (int d = 0; d < days && !knocked_out; ++d) {
            while (d > t.obs_days[k] && k != last)
                ++k;
            const double s = S[d * size_t(kWinRatePaths) + p];
            if (s < t.ki_barrier[k]) knocked_in = true;
            if (d == t.obs_days[k] && s > t.ko_barrier[k]) {
                knocked_out = true;
                ++counts[knocked_in ? kKoAndKi : kKoOnly];
            }
        }
        if (!knocked_out) ++counts[knocked_in ? kKiOnly : kNeither];
    }
    WinRateFractions f;
    for (int c = 0; c < 4; ++c)
        f[c] = counts[c] / double(kWinRatePaths);
    f[kWinRate] = (counts[0] + counts[1] + counts[2]) / double(kWinRatePaths);
    return f;
}
