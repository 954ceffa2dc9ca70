// Background runs: one at a time, the busy state while they go, a refusal instead of an abort.
#include <atomic>
#include <new>

#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

#include "background_run.h"
#include "dialogs.h"
#include "run_wait.h"

namespace {

struct Engine {
    const CancelToken* cancel_token = nullptr;
    int value = 0;
};

TEST(BackgroundRun, RunsOneAtATimeOnACopyAndGivesTheButtonsBack) {
    QWidget window;
    QPushButton go(&window), off(&window);
    off.setEnabled(false);
    BackgroundRun run(&window, {&go, &off});
    Engine engine;
    std::atomic<bool> release{false};
    int seen = -1;
    ASSERT_TRUE(runOnCopy(
        run, engine,
        [&release](Engine& e) {
            while (!release && !cancel_requested(e.cancel_token)) {
            }
            e.value = 7;
            return e.cancel_token != nullptr;
        },
        [&seen](Engine& e, bool hadToken) { seen = hadToken ? e.value : -2; }));
    EXPECT_TRUE(run.isRunning());
    EXPECT_FALSE(go.isEnabled());
    EXPECT_FALSE(runOnCopy(
        run, engine, [](Engine&) { return 0; }, [&seen](Engine&, int) { seen = 99; }))
        << "a second start while one goes queues nothing";
    release = true;
    ASSERT_TRUE(waitForRuns(&window));
    EXPECT_EQ(seen, 7);
    EXPECT_EQ(engine.value, 0) << "the window's engine is not touched by the run";
    EXPECT_TRUE(go.isEnabled());
    EXPECT_FALSE(off.isEnabled()) << "a button disabled before stays disabled";
}

TEST(BackgroundRun, RunningOutOfMemoryEndsInARefusalNotAnAbort) {
    Dialogs::Recorder boxes;
    QWidget window;
    BackgroundRun run(&window, {});
    bool done = false;
    ASSERT_TRUE(runOnCopy(
        run, Engine{}, [](Engine&) -> int { throw std::bad_alloc(); },
        [&done](Engine&, int) { done = true; }));
    ASSERT_TRUE(waitForRuns(&window));
    EXPECT_FALSE(done);
    ASSERT_EQ(boxes.records().size(), 1);
    EXPECT_EQ(boxes.records()[0].kind, Dialogs::Kind::Critical);
    EXPECT_TRUE(boxes.records()[0].text.contains(QStringLiteral("内存不足")));
}

}  // namespace
