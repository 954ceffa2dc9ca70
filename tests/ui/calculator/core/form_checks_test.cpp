// The checks a product passes before it is priced, on texts alone.
#include <gtest/gtest.h>

#include "form_checks.h"
#include "qt_text.h"

namespace {

QString scheduleError(int start, int end, const char* dates) {
    QString error;
    return FormChecks::checkSchedule(start, end, QLatin1String(dates), error) ? QString() : error;
}

QString termsError(const char* S, const char* KI, const char* KO, bool price_only = false) {
    QString error;
    return FormChecks::checkTerms(QLatin1String(S), QLatin1String(KI), QLatin1String(KO),
                                  price_only, error)
               ? QString()
               : error;
}

TEST(ScheduleCheck, ReportsTheFirstFailingStepInOrder) {
    // Every step fails at once here; the start date is reported first.
    EXPECT_EQ(scheduleError(0, 0, ""), u8("无起始日"));
    EXPECT_EQ(scheduleError(20250107, 0, ""), u8("无到期日"));
    EXPECT_EQ(scheduleError(20250107, 20260107, "  "), u8("无敲出观察日"));
    EXPECT_EQ(scheduleError(20250107, 20260107, "___"), u8("敲出观察日数量小于1"));
    EXPECT_EQ(scheduleError(20250107, 20260107, "20250107_20260107"),
              u8("首次敲出观察日小于起始日"));
    EXPECT_EQ(scheduleError(20250107, 20260107, "20250207_20260106"),
              u8("最后敲出观察日与到期日不符"));
    EXPECT_EQ(scheduleError(20250107, 20260107, "20250307_20250207_20260107"),
              u8("敲出观察日未按顺序递增"));
}

TEST(ScheduleCheck, EqualNeighboursAndPaddingPass) {
    EXPECT_EQ(scheduleError(20250107, 20260107, "20250207_20250207_20260107"), QString());
    EXPECT_EQ(scheduleError(20250107, 20260107, " 20250207__20260107_ "), QString());
}

TEST(TermsCheck, ReportsTheFirstFailingStepInOrder) {
    EXPECT_EQ(termsError("nan", "nan", "nan"), u8("无效的标的价格"));
    EXPECT_EQ(termsError("100", "nan", "nan"), u8("无效的敲入参数"));
    EXPECT_EQ(termsError("100", "100", "nan"), u8("敲入价格应小于标的价格"));
    EXPECT_EQ(termsError("100", "80", "nan"), u8("无效的敲出参数"));
    EXPECT_EQ(termsError("100", "80", "99.9"), u8("敲出价格应大于标的价格"));
}

TEST(TermsCheck, ReadsListsTheWayThePriceDoes) {
    EXPECT_EQ(termsError("100", "80", "100"), QString()) << "KO equal to S passes";
    EXPECT_EQ(termsError("100", "80", "103_99_98"), QString()) << "the first date is checked";
    EXPECT_EQ(termsError("100", "80", "99_103"), u8("敲出价格应大于标的价格"));
    EXPECT_EQ(termsError("100", "80_79", "103"), QString()) << "a knock-in list reads as 0";
    EXPECT_EQ(termsError("abc", "80", "103"), u8("敲入价格应小于标的价格")) << "abc reads as 0";
    EXPECT_EQ(termsError("100", "nan", "nan", true), QString()) << "price only";
}

}  // namespace
