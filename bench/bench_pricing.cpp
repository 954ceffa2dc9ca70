// Running time of the finite-difference engine on the classic one-year snowball.
#include <vector>

#include <benchmark/benchmark.h>

#include "snowball_pde.h"

namespace {

// S0 100, knock-out 103 monthly from month 3, knock-in 80, coupon 16 %, volatility 18 %,
// rate 1.5 %, N time steps over one year.
Snowball_PDE classic_snowball(int M, int N) {
    Snowball_PDE e;
    PdeParams base;
    base.sigma = 0.18;
    base.r = 0.015;
    base.T = 1.0;
    base.M = M;
    base.N = N;
    std::vector<double> obs;
    for (int month = 3; month <= 12; ++month)
        obs.push_back(month / 12.0);
    const std::size_t n = obs.size();
    e.set_product(obs, std::vector<double>(n, 103), std::vector<double>(n, 0.16),
                  std::vector<double>(n, 80), 0.16, 0, 0, 0, 0, 1, 0, base);
    return e;
}

void BM_price(benchmark::State& state) {
    Snowball_PDE e = classic_snowball(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(e.price());
}
BENCHMARK(BM_price)
    ->Args({200, 243})
    ->Args({800, 972})
    ->Args({2000, 2430})
    ->Unit(benchmark::kMillisecond);

// The accurate scheme on the same product, with and without extrapolation; its targets are
// set against BM_price/200/243 of the same run.
void price_accurate(benchmark::State& state, bool extrapolate) {
    Snowball_PDE e = classic_snowball(int(state.range(0)), int(state.range(1)));
    e.params.scheme = PdeScheme::accurate;
    e.params.extrapolate = extrapolate;
    for (auto _ : state)
        benchmark::DoNotOptimize(e.price());
}

void BM_price_accurate(benchmark::State& state) {
    price_accurate(state, false);
}
BENCHMARK(BM_price_accurate)->Args({300, 243})->Unit(benchmark::kMillisecond);

void BM_price_accurate_extrapolated(benchmark::State& state) {
    price_accurate(state, true);
}
BENCHMARK(BM_price_accurate_extrapolated)->Args({200, 243})->Unit(benchmark::kMillisecond);

void BM_compute_risk_grids(benchmark::State& state) {
    Snowball_PDE e = classic_snowball(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(e.compute_risk_grids());
}
BENCHMARK(BM_compute_risk_grids)->Args({200, 243})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
