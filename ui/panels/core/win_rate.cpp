#include "win_rate.h"

#include <algorithm>
#include <cmath>

#include <QStringList>

#include "additive_feedback_rand.h"
#include "day_count.h"
#include "snowball_pde.h"
#include "trade_calendar.h"

namespace {

constexpr int kUniformSteps = 1000;

// The deviate sqrt(-2 ln u1) cos(2 pi u2) takes only 1000 x 1000 values, so its two factors
// come from tables; each entry is computed exactly as the formula would compute it.
struct DeviateTables {
    double radius[kUniformSteps];
    double cosine[kUniformSteps];

    DeviateTables() {
        for (int i = 0; i < kUniformSteps; ++i) {
            const double u = static_cast<double>(i) / kUniformSteps;
            radius[i] = std::sqrt(-2 * std::log(i == 0 ? kZeroRadiusUniform : u));
            cosine[i] = std::cos(u * kWinRateTwoPi);
        }
    }
};

const DeviateTables& deviate_tables() {
    static const DeviateTables tables;
    return tables;
}

// Where the paths stand after some days: the day-by-day order of the draws lets the whole
// simulation keep one price and one state per path instead of every path's whole history.
class PathBook {
  public:
    explicit PathBook(double S0)
        : price_(kWinRatePaths, S0),
          knocked_in_(kWinRatePaths, 0),
          knocked_out_(kWinRatePaths, 0) {}

    // One day of every path: the draws of every path are taken, also of paths already knocked
    // out, so that the draws of the others stay where they belong in the sequence.
    void advance(AdditiveFeedbackRand& rng, double a, double drift, double ki, bool observed,
                 double ko) {
        const DeviateTables& t = deviate_tables();
        for (int p = 0; p < kWinRatePaths; ++p) {
            const int32_t r1 = rng.next();
            const int32_t r2 = rng.next();
            if (knocked_out_[p]) continue;
            const double z = t.radius[r1 % kUniformSteps] * t.cosine[r2 % kUniformSteps];
            const double S = price_[p] * std::exp(a * z + drift);
            price_[p] = S;
            if (S < ki) knocked_in_[p] = 1;
            if (observed && S > ko) {
                knocked_out_[p] = 1;
                ++counts_[knocked_in_[p] ? kKoAndKi : kKoOnly];
                --alive_;
            }
        }
    }

    bool all_knocked_out() const { return alive_ == 0; }

    WinRateFractions fractions() {
        for (int p = 0; p < kWinRatePaths; ++p)
            if (!knocked_out_[p]) ++counts_[knocked_in_[p] ? kKiOnly : kNeither];
        WinRateFractions f;
        for (int c = 0; c < 4; ++c)
            f[c] = static_cast<double>(counts_[c]) / kWinRatePaths;
        f[kWinRate] =
            static_cast<double>(counts_[kKoAndKi] + counts_[kKoOnly] + counts_[kNeither]) /
            kWinRatePaths;
        return f;
    }

  private:
    std::vector<double> price_;
    std::vector<uint8_t> knocked_in_;
    std::vector<uint8_t> knocked_out_;
    int counts_[4] = {0, 0, 0, 0};
    int alive_ = kWinRatePaths;
};

}  // namespace

double win_rate_deviate(int32_t r1, int32_t r2) {
    const DeviateTables& t = deviate_tables();
    return t.radius[r1 % kUniformSteps] * t.cosine[r2 % kUniformSteps];
}

std::optional<WinRateTerms> make_win_rate_terms(const Snowball_PDE& engine,
                                                const TradeCalendar& calendar, int32_t start,
                                                int32_t maturity, const QString& dates) {
    WinRateTerms terms;
    terms.S0 = engine.params.S0;
    terms.r = engine.params.r;
    // The engine reads a NaN dividend yield as 0; the simulation follows it.
    terms.q = std::isnan(engine.params.q) ? 0 : engine.params.q;
    terms.ko_barrier = engine.ko_barrier;
    terms.ki_barrier = engine.ki_barrier;
    for (const QString& part : dates.split('_', Qt::KeepEmptyParts))
        terms.obs_days.push_back(calendar.count_trading_days(start, part.toInt(), false));
    terms.days = calendar.count_trading_days(start, maturity, true);
    if (terms.ko_barrier.size() < terms.obs_days.size() ||
        terms.ki_barrier.size() < terms.obs_days.size())
        return std::nullopt;
    return terms;
}

WinRateFractions calcu_win_rate(const WinRateTerms& terms, double sigma, uint32_t seed) {
    if (terms.days <= 0) return {0, 0, 1, 0, 1};
    const size_t observations = terms.obs_days.size();
    if (observations == 0 || terms.ko_barrier.size() < observations ||
        terms.ki_barrier.size() < observations) {
        const double nan = std::nan("");
        return {nan, nan, nan, nan, nan};
    }
    const double dt = (static_cast<double>(terms.days) / kTradingDaysPerYear) / terms.days;
    const double a = sigma * std::sqrt(dt);
    const double drift = (terms.r - terms.q - sigma * sigma / 2) * dt;

    AdditiveFeedbackRand rng(seed);
    PathBook book(terms.S0);
    size_t k = 0;  // the current observation: the first on or after the day, or the last one
    for (int d = 0; d < terms.days && !book.all_knocked_out(); ++d) {
        while (k + 1 < observations && d > terms.obs_days[k])
            ++k;
        book.advance(rng, a, drift, terms.ki_barrier[k], d == terms.obs_days[k],
                     terms.ko_barrier[k]);
    }
    return book.fractions();
}

std::vector<std::vector<double>> deal_volatilities(const std::vector<double>& volatilities,
                                                   int processors) {
    const size_t workers =
        std::min(volatilities.size(), static_cast<size_t>(std::max(1, processors)));
    std::vector<std::vector<double>> dealt(workers);
    for (size_t i = 0; i < volatilities.size(); ++i)
        dealt[i % workers].push_back(volatilities[i]);
    return dealt;
}

std::vector<double> volatility_list(double start, double step, int count) {
    std::vector<double> v;
    v.reserve(std::max(0, count));
    for (int i = 0; i < count; ++i)
        v.push_back(start + i * step);
    return v;
}

WinRateRange default_win_rate_range(double sigma, double step_percent) {
    const double centre = sigma * 100;
    return {std::max(0.0, centre - 3 * step_percent), std::max(0.0, centre + 3 * step_percent)};
}
