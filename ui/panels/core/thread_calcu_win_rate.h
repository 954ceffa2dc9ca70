// A win-rate worker: simulates its volatilities one after the other and stores each result.
#pragma once

#include <QList>
#include <QMap>
#include <QMutex>

#include "thread_calcu.h"

class ThreadCalcuWinRate : public ThreadCalcu {
    Q_OBJECT
  public:
    using ThreadCalcu::ThreadCalcu;

    int thread_index = 0;
    QMutex* result_mutex = nullptr;                           // the manager's
    QMap<double, QList<double>>* win_rate_results = nullptr;  // guarded by result_mutex

  signals:
    // After the last volatility.
    void SignalFinishedCalcuOneWinRate(int thread);
    // After each volatility, so that the panel can show how far the run is.
    void SignalFinishedOneVolatility();

  protected:
    void run() override;
};
