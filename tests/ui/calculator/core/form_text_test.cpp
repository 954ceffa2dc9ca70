// Reading and writing the form's numbers and dates.
#include <cmath>

#include <gtest/gtest.h>

#include "form_text.h"

namespace {

using namespace FormText;

TEST(FormNumber, FailsOnTextThatIsNoNumberWhileTheLenientReadingGivesZero) {
    for (const char* text : {"", "abc", "1,5", "12abc", "_"}) {
        EXPECT_FALSE(number(QLatin1String(text))) << text;
        EXPECT_EQ(readNumber(QLatin1String(text)), 0.0) << text;
    }
    EXPECT_EQ(number(QStringLiteral(" 2.5 ")), 2.5) << "blanks around the number are ignored";
    EXPECT_EQ(number(QStringLiteral("-1e3")), -1000.0);
    EXPECT_TRUE(std::isnan(*number(QStringLiteral("nan"))));
    EXPECT_TRUE(std::isinf(readNumber(QStringLiteral("inf"))));
}

// M, N and the days per year are read as whole numbers where the checks accepted them.
TEST(FormNumber, WholeNumbersReadAsTheChecksAcceptThem) {
    for (const char* text : {"200", "200.0", " 200 ", "２００", "2e2"})
        EXPECT_EQ(readInt(QString::fromUtf8(text)), 200) << text;
    for (const char* text : {"", "abc", "1.5", "1e10", "nan"})
        EXPECT_EQ(readInt(QString::fromUtf8(text)), 0) << text;
}

TEST(FormNumber, ListsRepeatASingleValueAndReadEmptyPartsAsZero) {
    EXPECT_EQ(readValueList(QStringLiteral("103"), 3), (std::vector<double>{103, 103, 103}));
    EXPECT_EQ(readValueList(QStringLiteral("103__99"), 1), (std::vector<double>{103, 0, 99}));
    EXPECT_EQ(readFirstValue(QStringLiteral("103_99")), 103);
}

TEST(FormNumber, WritesSixSignificantDigitsOrClampedDecimals) {
    EXPECT_EQ(general6(1.0 / 3), QStringLiteral("0.333333"));
    EXPECT_EQ(general6(1234567), QStringLiteral("1.23457e+06"));
    EXPECT_EQ(general6(0.05), QStringLiteral("0.05"));
    EXPECT_EQ(fixed(3.7, -3), QStringLiteral("4"));
    EXPECT_EQ(fixed(0.5, 1000000000).size(), 19) << "17 decimals at most";
}

TEST(FormNumber, ANegativeRoundedToZeroLosesItsSign) {
    EXPECT_EQ(fixed(-1e-9, 0), QStringLiteral("0"));
    EXPECT_EQ(fixed(-0.0, 4), QStringLiteral("0.0000"));
    EXPECT_EQ(fixed(-0.00004, 4), QStringLiteral("0.0000"));
    EXPECT_EQ(fixed(-0.00006, 4), QStringLiteral("-0.0001"));
    EXPECT_EQ(fixed(-100, 0), QStringLiteral("-100"));
}

TEST(FormDate, NumbersAndTextsRoundTripAndInvalidDatesGiveZeroOrNothing) {
    EXPECT_EQ(dateNumber(QDate(2024, 2, 29)), 20240229);
    EXPECT_EQ(dateFromNumber(20240229), QDate(2024, 2, 29));
    EXPECT_EQ(dateNumber(QDate()), 0);
    EXPECT_FALSE(dateFromNumber(0).isValid());
    EXPECT_FALSE(dateFromNumber(20230229).isValid());
    EXPECT_EQ(dateText(QDate(2025, 1, 7)), QStringLiteral("20250107"));
    EXPECT_TRUE(dateText(QDate()).isEmpty());
    EXPECT_EQ(dateFromText(QStringLiteral("20250107")), QDate(2025, 1, 7));
}

}  // namespace
