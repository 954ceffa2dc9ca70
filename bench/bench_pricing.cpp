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

void BM_compute_risk_grids(benchmark::State& state) {
    Snowball_PDE e = TestSnowball::classic().grid(int(state.range(0)), int(state.range(1))).build();
    for (auto _ : state)
        benchmark::DoNotOptimize(e.compute_risk_grids());
}
BENCHMARK(BM_compute_risk_grids)->Args({200, 243})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
