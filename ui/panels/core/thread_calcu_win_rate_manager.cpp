#include "thread_calcu_win_rate_manager.h"

#include <QEventLoop>
#include <QMutexLocker>

#include "thread_calcu_win_rate.h"

ThreadCalcuWinRateManager::ThreadCalcuWinRateManager(QObject* parent)
    : ThreadCalcu(parent), processor_count(QThread::idealThreadCount()) {}

ThreadCalcuWinRateManager::~ThreadCalcuWinRateManager() {
    // Only reached at the end of the process or of a test; a run still going is waited for.
    joinAll();
}

void ThreadCalcuWinRateManager::stopRun() {
    stop_token_.request();
    joinAll();
}

void ThreadCalcuWinRateManager::joinAll() {
    quit();
    wait();
    QMutexLocker lock(&registry_mutex);
    for (ThreadCalcuWinRate* worker : thread_registry) {
        worker->wait();
        delete worker;
    }
    thread_registry.clear();
}

void ThreadCalcuWinRateManager::beginRun(const std::vector<double>& vols,
                                         std::shared_ptr<const WinRateTerms> run_terms) {
    {
        QMutexLocker lock(&result_mutex);
        win_rate_results.clear();
    }
    volatilities = vols;
    terms = std::move(run_terms);
    finished_volatilities_ = 0;
    stop_token_.reset();
    start();
}

void ThreadCalcuWinRateManager::run() {
    const std::vector<std::vector<double>> dealt = deal_volatilities(volatilities, processor_count);
    QList<ThreadCalcuWinRate*> workers;
    for (int index = 0; index < static_cast<int>(dealt.size()); ++index) {
        auto* worker = new ThreadCalcuWinRate();
        worker->volatilities = dealt[index];
        worker->terms = terms;
        worker->seed = seed;
        worker->stop = &stop_token_;
        worker->thread_index = index;
        worker->result_mutex = &result_mutex;
        worker->win_rate_results = &win_rate_results;
        // The worker objects join the manager object on the user-interface thread, which
        // deletes them.
        worker->moveToThread(QObject::thread());
        connect(worker, &ThreadCalcuWinRate::SignalFinishedCalcuOneWinRate, this,
                &ThreadCalcuWinRateManager::handle_thread_calcu_result, Qt::QueuedConnection);
        connect(worker, &ThreadCalcuWinRate::SignalFinishedOneVolatility, this,
                &ThreadCalcuWinRateManager::handle_volatility_finished, Qt::QueuedConnection);
        QMutexLocker lock(&registry_mutex);
        thread_registry.insert(index, worker);
        workers.append(worker);
    }
    // Every worker is registered before the first one starts, so the registry cannot run empty
    // while workers are still to come.
    for (ThreadCalcuWinRate* worker : workers)
        worker->start();
    if (workers.isEmpty()) {
        // Nothing to simulate: the run ends at once, reported like any other end.
        QMetaObject::invokeMethod(
            this, [this] { emit SignalFinishedCalcuWinRate(); }, Qt::QueuedConnection);
    }
    exec();
}

void ThreadCalcuWinRateManager::handle_thread_calcu_result(int index) {
    ThreadCalcuWinRate* worker = nullptr;
    {
        QMutexLocker lock(&registry_mutex);
        worker = thread_registry.value(index, nullptr);
    }
    if (!worker) return;
    worker->quit();
    worker->wait();  // it has reported, so it is at the end of its run
    bool last = false;
    {
        QMutexLocker lock(&registry_mutex);
        thread_registry.remove(index);
        last = thread_registry.isEmpty();
    }
    delete worker;
    if (last) emit SignalFinishedCalcuWinRate();
}

void ThreadCalcuWinRateManager::handle_volatility_finished() {
    emit SignalProgressWinRate(++finished_volatilities_, static_cast<int>(volatilities.size()));
}

QMap<double, QList<double>> runWinRateToEnd(const std::vector<double>& volatilities,
                                            std::shared_ptr<const WinRateTerms> terms,
                                            int processors, std::optional<uint32_t> seed) {
    ThreadCalcuWinRateManager manager;
    manager.processor_count = processors;
    manager.seed = seed;
    QEventLoop loop;
    QObject::connect(&manager, &ThreadCalcuWinRateManager::SignalFinishedCalcuWinRate, &loop,
                     &QEventLoop::quit);
    manager.beginRun(volatilities, std::move(terms));
    loop.exec();
    manager.quit();
    manager.wait();
    QMutexLocker lock(&manager.result_mutex);
    return manager.win_rate_results;
}
