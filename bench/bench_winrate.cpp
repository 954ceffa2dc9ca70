// Running time of the win-rate simulation: one volatility on one thread, and the panel's
// default run (7 volatilities from 7 % to 25 %) on one worker per processor.
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QThread>

#include <benchmark/benchmark.h>

#include "thread_calcu_win_rate_manager.h"
#include "win_rate.h"

namespace {

// The classic one-year snowball in trading days: monthly knock-out at 103 from month 3, knock-in
// 80, rate 1.5 %. A knock-out barrier out of reach keeps every path alive to maturity, the
// slowest case.
std::shared_ptr<const WinRateTerms> classic_terms(int days, bool reachable) {
    auto t = std::make_shared<WinRateTerms>();
    t->S0 = 100;
    t->r = 0.015;
    for (int m = 3; m <= 12; ++m) {
        t->obs_days.push_back(days * m / 12 - 1);
        t->ko_barrier.push_back(reachable ? 103 : 1e300);
        t->ki_barrier.push_back(80);
    }
    t->days = days;
    return t;
}

void BM_calcu_win_rate(benchmark::State& state) {
    const auto t = classic_terms(static_cast<int>(state.range(0)), state.range(1) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(calcu_win_rate(*t, 0.18, 42));
}
BENCHMARK(BM_calcu_win_rate)->Args({252, 1})->Args({252, 0})->Unit(benchmark::kMillisecond);

void BM_default_win_rate_run(benchmark::State& state) {
    const auto t = classic_terms(static_cast<int>(state.range(0)), state.range(1) != 0);
    const std::vector<double> vols = volatility_list(0.07, 0.03, 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(runWinRateToEnd(vols, t, QThread::idealThreadCount(), 42));
    state.counters["workers"] = QThread::idealThreadCount();
}
BENCHMARK(BM_default_win_rate_run)
    ->Args({252, 1})
    ->Args({252, 0})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The run reports through queued signals, which need an application object.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
