// Base of the win-rate threads: the volatilities a thread handles and the terms it reads.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QThread>

#include "cancel_token.h"
#include "win_rate.h"

class ThreadCalcu : public QThread {
    Q_OBJECT
  public:
    using QThread::QThread;

    std::vector<double> volatilities;
    // A copy of the product's terms taken when the run started; shared read-only by every
    // thread of the run.
    std::shared_ptr<const WinRateTerms> terms;
    // Each simulation seeds its generator with the current time in seconds unless a seed is
    // fixed (the command-line tool and the tests fix one to repeat a run).
    std::optional<uint32_t> seed;
    // When requested, the threads of the run stop before their next volatility.
    const CancelToken* stop = nullptr;
};
