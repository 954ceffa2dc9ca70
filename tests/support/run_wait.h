// Waiting, as a user would, for the background runs a click started under a widget to finish.
#pragma once

#include <QObject>
#include <QTest>

#include "background_run.h"

// True once no BackgroundRun under root is running (at most two minutes).
inline bool waitForRuns(const QObject* root) {
    return QTest::qWaitFor(
        [root] {
            for (const BackgroundRun* run : root->findChildren<BackgroundRun*>())
                if (run->isRunning()) return false;
            return true;
        },
        120000);
}
