#include "platform/DateTime.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

using namespace velkor;

TEST(DateTime, EncodesDayCountsSince18991230) {
    double d = -1;
    ASSERT_TRUE(TryEncodeDate(1899, 12, 30, d));
    EXPECT_EQ(d, 0.0);
    ASSERT_TRUE(TryEncodeDate(2010, 1, 22, d));
    EXPECT_EQ(d, 40200.0);
    ASSERT_TRUE(TryEncodeDate(1, 1, 1, d));
    EXPECT_EQ(d, -693593.0);
    ASSERT_TRUE(TryEncodeDate(9999, 12, 31, d));
    EXPECT_EQ(d, 2958465.0);
}

TEST(DateTime, RejectsInvalidDatesAndTimes) {
    double d = 0;
    EXPECT_FALSE(TryEncodeDate(2024, 2, 30, d));
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, d));
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, d));
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, d));
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29, d));
    EXPECT_FALSE(TryEncodeDate(2024, 13, 1, d));
    EXPECT_FALSE(TryEncodeDate(2024, 0, 1, d));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, d));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, d));
    EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, d));
    EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, d));
    EXPECT_TRUE(TryEncodeTime(23, 59, 59, 999, d));
}

TEST(DateTime, DecodeRoundTripsOverTheCalendar) {
    for (int y : {1, 4, 100, 1600, 1899, 1900, 2000, 2024, 2099, 2255, 9999})
        for (int m = 1; m <= 12; ++m)
            for (int day : {1, 28, DaysInMonth(y, m)}) {
                double v = 0;
                ASSERT_TRUE(TryEncodeDate(y, m, day, v));
                DateParts p = DecodeDate(v < 0 ? v - 0.75 : v + 0.75);
                EXPECT_EQ(p.year, y);
                EXPECT_EQ(p.month, m);
                EXPECT_EQ(p.day, day);
            }
}

TEST(DateTime, DecodeTimeRoundsToTheMillisecond) {
    double t = 0;
    ASSERT_TRUE(TryEncodeTime(12, 30, 15, 0, t));
    TimeParts p = DecodeTime(45000.0 + t);
    EXPECT_EQ(p.hour, 12);
    EXPECT_EQ(p.minute, 30);
    EXPECT_EQ(p.second, 15);
    EXPECT_EQ(p.millisecond, 0);
    p = DecodeTime(1.0 - 1e-12);
    EXPECT_EQ(p.hour, 23);
    EXPECT_EQ(p.millisecond, 999);
}

TEST(DateTime, FormatsClassicPatterns) {
    double v = 0;
    ASSERT_TRUE(TryEncodeDateTime(2006, 3, 21, 14, 5, 9, 0, v));
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:mm", v), "2006-03-21 14:05");
    EXPECT_EQ(FormatDateTime("yyyy-MM-dd", v), "2006-03-21");
    EXPECT_EQ(FormatDateTime("HH:nn:ss", v), "14:05:09");
    EXPECT_EQ(FormatDateTime("d/m/yy 'at' h", v), "21-3-06 at 14");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:mm", 0.0), "1899-12-30 00:00");
    // Just short of midnight by less than half a millisecond: the next day.
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", 45000.0 - 1e-10), "2023-03-15 00:00:00");
}

TEST(DateTime, IncMonthKeepsTheDayWhereItExists) {
    double jan31 = 0, feb29 = 0, mar31 = 0;
    ASSERT_TRUE(TryEncodeDate(2024, 1, 31, jan31));
    ASSERT_TRUE(TryEncodeDate(2024, 2, 29, feb29));
    ASSERT_TRUE(TryEncodeDate(2024, 3, 31, mar31));
    EXPECT_EQ(IncMonth(jan31, 1), feb29);
    EXPECT_EQ(IncMonth(jan31, 2), mar31);
    EXPECT_EQ(IncMonth(mar31, -1), feb29);
    EXPECT_EQ(IncMonth(jan31 + 0.5, 12) - DateOf(IncMonth(jan31 + 0.5, 12)), 0.5);
}

TEST(StrToInt, AcceptsDigitsAndRejectsTheRest) {
    EXPECT_EQ(StrToInt("0001234"), 1234);
    EXPECT_EQ(StrToInt("-12"), -12);
    EXPECT_EQ(StrToInt(" 7"), 7);
    try {
        StrToInt("");
        FAIL() << "empty text converted";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt("12a"), ConvertError);
    EXPECT_THROW(StrToInt("2:3"), ConvertError);
    EXPECT_THROW(StrToInt("99999999999"), ConvertError);
}

// The text quoted in the message reaches the user whole: a zero byte (a binary or UTF-16 file)
// no longer ends what() there, and bytes that are no text are shown by their value.
TEST(StrToInt, MessageQuotesControlAndNonTextBytesEscaped) {
    const struct {
        std::string text, quoted;
    } cases[] = {
        {std::string("2\0"
                     "0\0",
                     4),
         "2\\x000\\x00"},
        {"\x01\t\r\n\x7f", "\\x01\\x09\\x0d\\x0a\\x7f"},
        {"\xff\xfe"
         "1",
         "\\xff\\xfe1"},                                                 // a UTF-16 byte-order mark
        {"\xc3(\xe2\x82", "\\xc3(\\xe2\\x82"},                           // cut-off UTF-8 sequences
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},                             // an encoded surrogate
        {"za\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87 \xe2\x82\xac", "zażółć €"}, // UTF-8 stays
        {"<b>x</b>", "<b>x</b>"},
    };
    for (const auto& c : cases) {
        try {
            StrToInt(c.text);
            ADD_FAILURE() << c.quoted << " converted";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + c.quoted + "' is not a valid integer value");
        }
    }
}
