// The manager of a win-rate run: deals the volatilities to one worker per processor, collects
// their results and reports the end of the run.
#pragma once

#include <QList>
#include <QMap>
#include <QMutex>

#include "thread_calcu.h"

class ThreadCalcuWinRate;

// The manager object lives on the thread that created it (the user-interface thread); the
// workers' signals reach it there, queued. Its own thread deals, starts the workers and then
// waits in its event loop until the run's owner makes it exit.
class ThreadCalcuWinRateManager : public ThreadCalcu {
    Q_OBJECT
  public:
    explicit ThreadCalcuWinRateManager(QObject* parent = nullptr);
    ~ThreadCalcuWinRateManager() override;

    // Clears the results, takes the run's volatilities and terms and starts the thread.
    void beginRun(const std::vector<double>& volatilities,
                  std::shared_ptr<const WinRateTerms> terms);
    // Ends a run going on after the volatilities being simulated and waits for every thread;
    // the run reports no end and its results are partial. Nothing happens without a run.
    void stopRun();

    QMutex result_mutex;
    QMutex registry_mutex;
    QMap<double, QList<double>> win_rate_results;    // guarded by result_mutex
    QMap<int, ThreadCalcuWinRate*> thread_registry;  // guarded by registry_mutex
    int processor_count;  // the operating system's count unless set otherwise

    // Asks the run's workers to stop before their next volatility; the run then ends as usual
    // (SignalFinishedCalcuWinRate) with the volatilities done so far. beginRun clears it.
    void requestStop() { stop_token_.request(); }
    bool stopRequested() const { return stop_token_.requested(); }

  signals:
    void SignalFinishedCalcuWinRate();
    // finished of total volatilities are done.
    void SignalProgressWinRate(int finished, int total);

  public slots:
    void handle_thread_calcu_result(int index);

  private slots:
    void handle_volatility_finished();

  protected:
    void run() override;

  private:
    // Waits for the manager thread and every worker, and deletes the workers.
    void joinAll();

    int finished_volatilities_ = 0;
    CancelToken stop_token_;
};

// Runs the volatilities to the end and returns their results; needs a QCoreApplication and
// returns only when every worker is done (for the command-line tool and the benchmarks).
QMap<double, QList<double>> runWinRateToEnd(const std::vector<double>& volatilities,
                                            std::shared_ptr<const WinRateTerms> terms,
                                            int processors, std::optional<uint32_t> seed);
