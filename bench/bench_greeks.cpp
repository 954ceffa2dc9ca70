// The Greeks action: three grid runs and the Greek grids, at the window's default grid.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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

// The window's Greeks action on its largest usual grid, both grid files included: the three grid
// runs, the Greek grids, "PDE_Greeks.csv" and the product's "_calc.csv" (about 97 MB each),
// written in a folder of its own and removed after every iteration.
static void BM_GreeksRunWithBothFiles(benchmark::State& state) {
    char folder[] = "/tmp/bench_greeks_XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    Snowball_PDE e = TestSnowball::classic().grid(2000, 2430).build();
    for (auto _ : state) {
        const bool ok = e.compute_risk_grids() && e.compute_greeks(true) &&
                        e.write_price_grids("AutoCall01_calc.csv");
        if (!ok) state.SkipWithError("the Greeks run failed");
        state.PauseTiming();
        std::remove("PDE_Greeks.csv");
        std::remove("AutoCall01_calc.csv");
        state.ResumeTiming();
    }
    std::filesystem::current_path(before);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GreeksRunWithBothFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
