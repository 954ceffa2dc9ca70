#include "observe_schedule.h"

#include <gtest/gtest.h>

TEST(ObserveScheduleStore, IsOneStoreThatStartsEmptyAndClears) {
    ObserveSchedule& s = observeSchedule();
    EXPECT_EQ(&s, &observeSchedule());
    EXPECT_TRUE(s.dates.isEmpty() && s.knockOutPrices.isEmpty() && s.knockOutCoupons.isEmpty() &&
                s.knockInPrices.isEmpty());
    s.dates = "20240102_20240202";
    s.knockOutPrices = "103";
    s.knockOutCoupons = "16";
    s.knockInPrices = "80";
    EXPECT_EQ(observeSchedule().knockOutPrices, "103");
    s.clear();
    EXPECT_TRUE(observeSchedule().dates.isEmpty() && observeSchedule().knockInPrices.isEmpty());
}
