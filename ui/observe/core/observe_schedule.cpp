#include "observe_schedule.h"

void ObserveSchedule::clear() {
    dates.clear();
    knockOutPrices.clear();
    knockOutCoupons.clear();
    knockInPrices.clear();
}

ObserveSchedule& observeSchedule() {
    static ObserveSchedule schedule;
    return schedule;
}
