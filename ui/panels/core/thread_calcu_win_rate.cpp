#include "thread_calcu_win_rate.h"

#include <ctime>

#include <QMutexLocker>

void ThreadCalcuWinRate::run() {
    for (double sigma : volatilities) {
        if (cancel_requested(stop)) break;
        // Every simulation reseeds: two of them started in the same second draw the same
        // sequence, on one worker or on several.
        const uint32_t s = seed ? *seed : static_cast<uint32_t>(std::time(nullptr));
        const WinRateFractions f = calcu_win_rate(*terms, sigma, s);
        {
            QMutexLocker lock(result_mutex);
            win_rate_results->insert(sigma, QList<double>(f.begin(), f.end()));
        }
        emit SignalFinishedOneVolatility();
    }
    emit SignalFinishedCalcuOneWinRate(thread_index);
}
