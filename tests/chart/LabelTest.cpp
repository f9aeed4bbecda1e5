// Label texts: the number pattern, date-time labels and their lines.

#include "chart/LabelText.h"
#include "platform/DateTime.h"

#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::chart;

TEST(NumberFormat, DefaultAxisPatternGroupsThousandsAndShowsUpToThreeDecimals) {
    const QString p = QStringLiteral("#,##0.###");
    EXPECT_EQ(FormatNumber(42, p), "42");
    EXPECT_EQ(FormatNumber(1234567.891, p), "1,234,567.891");
    EXPECT_EQ(FormatNumber(1000, p), "1,000");
    EXPECT_EQ(FormatNumber(999.9999, p), "1,000");
    EXPECT_EQ(FormatNumber(0.5, p), "0.5");
    EXPECT_EQ(FormatNumber(0.12345, p), "0.123");
    EXPECT_EQ(FormatNumber(-3.25, p), "-3.25");
    EXPECT_EQ(FormatNumber(-0.0001, p), "0");
    EXPECT_EQ(FormatNumber(1e-12, p), "0");
    EXPECT_EQ(FormatNumber(44.800000000000004, p), "44.8");
}

TEST(NumberFormat, OtherPatternsAndSeparators) {
    EXPECT_EQ(FormatNumber(3, "0.00"), "3.00");
    EXPECT_EQ(FormatNumber(3.14159, "0.0#"), "3.14");
    EXPECT_EQ(FormatNumber(0.25, "#.##"), ".25");
    EXPECT_EQ(FormatNumber(7, "000"), "007");
    EXPECT_EQ(FormatNumber(21.5, "0.0 \xc2\xb0"
                                 "C"),
              QString::fromUtf8("21.5 \xc2\xb0"
                                "C"));
    EXPECT_EQ(FormatNumber(1234.5, "#,##0.###", {u',', u' '}), "1 234,5");
}

TEST(DateTimeLabels, DateOverTimeWithTheMultiLinePattern) {
    double v = 0;
    ASSERT_TRUE(TryEncodeDateTime(2024, 3, 5, 14, 30, 0, 0, v));
    LabelTextSettings s;
    s.dateTime = true;
    s.dateTimeFormat = "yyyy-mm-dd hh:mm";
    EXPECT_EQ(LabelText(v, 1, s), "2024-03-05 14:30");
    s.multiLine = true;
    const QString text = LabelText(v, 1, s);
    EXPECT_EQ(LabelLines(text), (QStringList{"2024-03-05", "14:30"}));
    EXPECT_EQ(LabelLines(LabelText(std::trunc(v), 1, s)), (QStringList{"2024-03-05", "00:00"}));
    EXPECT_EQ(LabelLines(LabelText(0, 0, s)), (QStringList{"1899-12-30", "00:00"}));
    EXPECT_EQ(LabelText(-0.5, 1, s), "");
}

TEST(DateTimeLabels, AValueAHairBeforeMidnightIsLabelledAsMidnight) {
    double midnight = 0;
    ASSERT_TRUE(TryEncodeDateTime(2024, 3, 7, 0, 0, 0, 0, midnight));
    // Stepping down from 02:00 by two hours leaves a rounding error below midnight.
    const double v = midnight + 2.0 / 24 - 2.0 / 24 - 1e-11;
    ASSERT_LT(v, midnight);
    LabelTextSettings s;
    s.dateTime = true;
    s.dateTimeFormat = "yyyy-mm-dd hh:mm";
    EXPECT_EQ(LabelText(v, 1, s), "2024-03-07 00:00");
    // Half a millisecond before midnight is still the day before.
    EXPECT_EQ(LabelText(midnight - 0.6 / 86400000.0, 1, s), "2024-03-06 23:59");
}

TEST(DateTimeLabels, EmptyPatternUsesShortDateOrTimeByRange) {
    double v = 0;
    ASSERT_TRUE(TryEncodeDateTime(2024, 3, 5, 14, 30, 0, 0, v));
    UseLoggerDateTimeFormats();
    LabelTextSettings s;
    s.dateTime = true;
    EXPECT_EQ(LabelText(v, 2, s), "2024-03-05");
    EXPECT_EQ(LabelText(v, 1, s), "14:30:00");
}

TEST(DateTimeLabels, LinesSplitAtEveryBreak) {
    EXPECT_EQ(LabelLines("a").size(), 1);
    EXPECT_EQ(LabelLines(QString("a") + QChar(13) + "b" + QChar(13) + "c").size(), 3);
    LabelTextSettings s;
    s.multiLine = true;
    s.valuesFormat = "0 a b";
    EXPECT_EQ(LabelLines(LabelText(12, 1, s)).size(), 3);
}
