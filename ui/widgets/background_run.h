// A long engine run off the user-interface thread: the window shows it is busy, offers "取消"
// once the run lasts, and gets the result back on its own thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <type_traits>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "cancel_token.h"

class QPushButton;
class QThread;
class QWidget;

class BackgroundRun : public QObject {
    Q_OBJECT
  public:
    // A run that lasts longer than this shows the progress row.
    static constexpr int kShowProgressAfterMs = 500;

    // While a run goes, `host` shows the busy cursor and `actions` are disabled (each gets its
    // own enabled state back afterwards).
    BackgroundRun(QWidget* host, QList<QWidget*> actions);
    // A run still going is asked to stop and waited for (one time step).
    ~BackgroundRun() override;

    // The progress bar and the "取消" button, hidden while no run lasts; the host lays it out.
    QWidget* progressRow() const { return row_; }
    bool isRunning() const { return thread_ != nullptr; }
    // The token the engine copies of a run read; "取消" requests it.
    const CancelToken& token() const { return token_; }
    bool cancelRequested() const { return token_.requested(); }

    // Runs `work` on a worker thread, then `done` on this object's thread, cancelled or not. A
    // work that throws (memory ran out) gets a refusal box instead of `done`. While another run
    // goes nothing starts and false is returned: a second click queues nothing.
    bool start(std::function<void()> work, std::function<void()> done);

  public slots:
    void cancel();

  signals:
    // After `done` of a run returned.
    void finished();

  private:
    enum class Failure { None, OutOfMemory, Other };

    void setBusy(bool busy);
    void reportFailure();

    QPointer<QWidget> host_;
    QList<QPointer<QWidget>> actions_;
    QList<bool> wasEnabled_;
    QWidget* row_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTimer showTimer_;
    CancelToken token_;
    QThread* thread_ = nullptr;
    std::atomic<Failure> failure_{Failure::None};  // set by the worker, read after it ended
};

// Runs `work(copy)` on a copy of `engine` that reads the run's token, then `done(copy, result)`
// with what work returned, on the user-interface thread, cancelled or not; the caller takes the
// copy's state from there. The engine itself is not touched while the run goes.
template <typename Engine, typename Work, typename Done>
bool runOnCopy(BackgroundRun& run, const Engine& engine, Work work, Done done) {
    using Result = std::invoke_result_t<Work&, Engine&>;
    if (run.isRunning()) return false;
    auto copy = std::make_shared<Engine>(engine);
    auto result = std::make_shared<Result>();
    copy->cancel_token = &run.token();
    return run.start([copy, result, work]() mutable { *result = work(*copy); },
                     [copy, result, done]() mutable {
                         copy->cancel_token = nullptr;
                         done(*copy, std::move(*result));
                     });
}
