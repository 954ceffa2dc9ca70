// The Greeks action: three grid runs and the Greek grids, at the window's default grid.
#include <benchmark/benchmark.h>

#include "test_snowball.h"

static void BM_RiskGridsAndGreeks(benchmark::State& state) {
    Snowball_PDE e = TestSnowball::classic().grid(200, 243).build();
    for (auto _ : state) {
        benchmark::DoNotOptimize(e.compute_risk_grids());
        benchmark::DoNotOptimize(e.compute_greeks(false));
    }
}
BENCHMARK(BM_RiskGridsAndGreeks)->Unit(benchmark::kMillisecond);

static void BM_GreeksOnly(benchmark::State& state) {
    Snowball_PDE e = TestSnowball::classic().grid(200, 243).build();
    e.compute_risk_grids();
    for (auto _ : state)
        benchmark::DoNotOptimize(e.compute_greeks(false));
}
BENCHMARK(BM_GreeksOnly)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
