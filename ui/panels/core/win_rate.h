// The win-rate simulation: how 50,000 daily price paths of the underlying end, per volatility.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <QString>

class Snowball_PDE;
class TradeCalendar;

inline constexpr int kWinRatePaths = 50000;
// A run of more volatilities than this is refused; each one is 50,000 paths over the product's
// life, and a mistyped step would queue millions of them with no way to stop the run.
inline constexpr int kMaxWinRateVolatilities = 1000;

// The uniforms are thousandths 0, 0.001, ..., 0.999. A radius uniform of 0 would put -infinity
// into the logarithm and make the path infinite or 0 for the rest of its life; it stands for
// the first thousandth, so it takes that interval's middle instead.
inline constexpr double kZeroRadiusUniform = 0.0005;
// The angle constant of the deviates (a hair below 2 pi).
inline constexpr double kWinRateTwoPi = 6.2831852;

// Everything one simulation reads, copied when a run starts so that nothing a user does
// during the run reaches the workers.
struct WinRateTerms {
    double S0 = 100;
    double r = 0;
    double q = 0;
    std::vector<double> ko_barrier;  // one per observation date (at least)
    std::vector<double> ki_barrier;
    std::vector<int> obs_days;  // trading days from the start to each observation date
    int days = 0;               // trading days of the life, both ends counted
};

// The terms of the engine's product on the calendar, with the observation dates given as
// yyyyMMdd texts joined by "_" (a part that is not a number reads as date 0). Empty when the
// barrier lists hold fewer entries than there are dates.
std::optional<WinRateTerms> make_win_rate_terms(const Snowball_PDE& engine,
                                                const TradeCalendar& calendar, int32_t start,
                                                int32_t maturity, const QString& dates);

// Fractions of the paths, in this order: knocked out after a knock-in, knocked out without
// one, neither, knocked in and never knocked out, and the win rate (the first three).
using WinRateFractions = std::array<double, 5>;
enum WinRateColumn { kKoAndKi, kKoOnly, kNeither, kKiOnly, kWinRate };

// One volatility's simulation with the generator seeded by `seed`. Draws come day by day, all
// paths of a day in turn, two per path and day. A life of no trading day gives
// [0, 0, 1, 0, 1]; terms whose barrier lists are too short give NaN.
WinRateFractions calcu_win_rate(const WinRateTerms& terms, double sigma, uint32_t seed);

// The normal deviate of two draws of the generator.
double win_rate_deviate(int32_t r1, int32_t r2);

// Volatility i of a run goes to worker i mod processors, keeping the order; only workers that
// receive a volatility appear, so there are min(n, processors) lists.
std::vector<std::vector<double>> deal_volatilities(const std::vector<double>& volatilities,
                                                   int processors);

// start + i * step for i = 0 ... count - 1.
std::vector<double> volatility_list(double start, double step, int count);

// The range the panel proposes for a product of volatility sigma (a fraction) and a step in
// percent: three steps either side, in percent, not below 0.
struct WinRateRange {
    double start = 0;
    double end = 0;
};
WinRateRange default_win_rate_range(double sigma, double step_percent);
