// The process-wide observation schedule: the editor's save fills it, the window and the
// analysis panels read it.
#pragma once

#include <QString>

// Four texts, each a list joined by "_": the observation dates yyyyMMdd (the last one the
// maturity date) and one knock-out price, knock-out coupon and knock-in price per date, or a
// single value that holds for every date. Everything starts empty.
struct ObserveSchedule {
    QString dates;
    QString knockOutPrices;
    QString knockOutCoupons;
    QString knockInPrices;

    void clear();
};

// The one store of the process. It is touched from the user-interface thread only; a worker
// thread that needs the dates gets a copy of the texts when it is started.
ObserveSchedule& observeSchedule();
