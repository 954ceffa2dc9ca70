// Running time of the stress test's default grid: 7 prices x 10 volatilities, one solution per
// volatility, on the classic one-year snowball.
#include <benchmark/benchmark.h>

#include "stress.h"
#include "test_snowball.h"

namespace {

void BM_default_stress_grid(benchmark::State& state) {
    TestSnowball terms = TestSnowball::classic().grid(static_cast<int>(state.range(0)));
    terms.days = static_cast<int>(state.range(1));  // one time step per trading day
    const Snowball_PDE e = terms.build();
    const StressGrid grid{7, 10, 70, 10, 0.05, 0.05, stress_tau(100)};
    for (auto _ : state)
        benchmark::DoNotOptimize(compute_stress(e, grid));
}
// M = 200 price steps; one time step per trading day over 243 and 252 days.
BENCHMARK(BM_default_stress_grid)
    ->Args({200, 243})
    ->Args({200, 252})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
