// The Greeks action: three grid runs and the Greek grids, at the window's default grid.
#include <benchmark/benchmark.h>

#include "bench_analytics_product.h"

static void BM_RiskGridsAndGreeks(benchmark::State& state) {
    Snowball_PDE e = bench_snowball(200, 243);
    for (auto _ : state) {
        benchmark::DoNotOptimize(e.compute_risk_grids());
        benchmark::DoNotOptimize(e.compute_greeks(false));
    }
}
BENCHMARK(BM_RiskGridsAndGreeks)->Unit(benchmark::kMillisecond);

static void BM_GreeksOnly(benchmark::State& state) {
    Snowball_PDE e = bench_snowball(200, 243);
    e.compute_risk_grids();
    for (auto _ : state)
        benchmark::DoNotOptimize(e.compute_greeks(false));
}
BENCHMARK(BM_GreeksOnly)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
