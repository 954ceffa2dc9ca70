// Running time of the finite-difference engine on the classic one-year snowball.
#include <benchmark/benchmark.h>

#include "test_snowball.h"

namespace {

void BM_price(benchmark::State& state) {
    Snowball_PDE e = TestSnowball::classic().grid(int(state.range(0)), int(state.range(1))).build();
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
    Snowball_PDE e = TestSnowball::classic().grid(int(state.range(0)), int(state.range(1))).build();
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
    Snowball_PDE e = TestSnowball::classic().grid(int(state.range(0)), int(state.range(1))).build();
    for (auto _ : state)
        benchmark::DoNotOptimize(e.compute_risk_grids());
}
BENCHMARK(BM_compute_risk_grids)->Args({200, 243})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
