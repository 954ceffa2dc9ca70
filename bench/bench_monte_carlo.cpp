// The Monte Carlo button: 50,000 daily paths of a one-year product on one thread.
#include <benchmark/benchmark.h>

#include "day_count.h"
#include "monte_carlo.h"
#include "test_snowball.h"

static void BM_PriceMc50000Paths(benchmark::State& state) {
    TestSnowball terms = TestSnowball::classic().grid(200, 252);
    terms.days = 252;
    const Snowball_PDE e = terms.build();
    for (auto _ : state)
        benchmark::DoNotOptimize(price_mc(e, kTradingDaysPerYear, 50000));
}
BENCHMARK(BM_PriceMc50000Paths)->Unit(benchmark::kMillisecond);

static void BM_NormalDeviates(benchmark::State& state) {
    NormalDeviates d;
    for (auto _ : state)
        benchmark::DoNotOptimize(d.next());
}
BENCHMARK(BM_NormalDeviates);

BENCHMARK_MAIN();
