// The interval solve for the volatility at the window's default grid (M 200, N 243).
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include <benchmark/benchmark.h>

#include "param_kind.h"
#include "test_snowball.h"

static void BM_SolveVolatility(benchmark::State& state) {
    Snowball_PDE e = TestSnowball::classic().grid(200, 243).build();
    e.params.sigma = 0.23;
    const double target = e.price();
    e.params.sigma = 0.18;
    // The search prints a progress line per step; they stay out of the report.
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    const int null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, STDOUT_FILENO);
    int code = 0;
    for (auto _ : state) {
        double result = 0;
        code = e.solve_param(target, kParamSigma, result, 0.01, 1.0);
        benchmark::DoNotOptimize(result);
    }
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(null_fd);
    if (code != 0) state.SkipWithError("the search found no volatility");
}
BENCHMARK(BM_SolveVolatility)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
