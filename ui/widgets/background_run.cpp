#include "background_run.h"

#include <exception>
#include <new>

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include "dialogs.h"

BackgroundRun::BackgroundRun(QWidget* host, QList<QWidget*> actions) : QObject(host), host_(host) {
    setObjectName(QStringLiteral("background_run"));
    for (QWidget* action : actions)
        actions_ << action;

    row_ = new QWidget(host);
    row_->setObjectName(QStringLiteral("widget_run_progress"));
    auto* bar = new QProgressBar(row_);
    bar->setObjectName(QStringLiteral("progress_run"));
    bar->setRange(0, 0);  // the engine gives no fraction done: a busy bar
    bar->setAccessibleName(QStringLiteral("计算进度"));
    cancelButton_ = new QPushButton(QStringLiteral("取消"), row_);
    cancelButton_->setObjectName(QStringLiteral("pushButton_cancel_run"));
    // Enter in a field of the window must never stop its run.
    cancelButton_->setAutoDefault(false);
    auto* layout = new QHBoxLayout(row_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar, 1);
    layout->addWidget(cancelButton_);
    row_->hide();
    connect(cancelButton_, &QPushButton::clicked, this, &BackgroundRun::cancel);

    showTimer_.setSingleShot(true);
    showTimer_.setInterval(kShowProgressAfterMs);
    connect(&showTimer_, &QTimer::timeout, row_, &QWidget::show);
}

BackgroundRun::~BackgroundRun() {
    if (!thread_) return;
    thread_->disconnect(this);
    token_.request();
    thread_->wait();
    delete thread_;
}

bool BackgroundRun::start(std::function<void()> work, std::function<void()> done) {
    if (thread_) return false;
    token_.reset();
    failure_ = Failure::None;
    // An exception must not leave the worker thread (that would end the program): a run that
    // runs out of memory ends in a refusal box instead of its result.
    thread_ = QThread::create([this, work = std::move(work)] {
        try {
            work();
        } catch (const std::bad_alloc&) {
            failure_ = Failure::OutOfMemory;
        } catch (const std::exception&) {
            failure_ = Failure::Other;
        }
    });
    connect(thread_, &QThread::finished, this, [this, done = std::move(done)] {
        thread_->deleteLater();
        thread_ = nullptr;
        setBusy(false);
        if (failure_ == Failure::None)
            done();
        else
            reportFailure();
        emit finished();
    });
    setBusy(true);
    thread_->start();
    return true;
}

void BackgroundRun::reportFailure() {
    Dialogs::critical(host_, Dialogs::errorTitleWide(),
                      failure_ == Failure::OutOfMemory
                          ? QStringLiteral("内存不足，计算未完成；请减小网格或情景个数")
                          : QStringLiteral("计算失败，未得到结果"));
}

void BackgroundRun::cancel() {
    if (!thread_) return;
    token_.request();
    cancelButton_->setEnabled(false);
}

void BackgroundRun::setBusy(bool busy) {
    if (busy) {
        wasEnabled_.clear();
        for (const QPointer<QWidget>& action : actions_) {
            wasEnabled_ << (action && action->isEnabled());
            if (action) action->setEnabled(false);
        }
        if (host_) host_->setCursor(Qt::BusyCursor);
        cancelButton_->setEnabled(true);
        showTimer_.start();
        return;
    }
    showTimer_.stop();
    row_->hide();
    if (host_) host_->unsetCursor();
    for (int i = 0; i < actions_.size() && i < wasEnabled_.size(); ++i)
        if (actions_[i]) actions_[i]->setEnabled(wasEnabled_[i]);
}
