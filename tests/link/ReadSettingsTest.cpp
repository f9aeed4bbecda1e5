// Reading the logger's settings query by query.
#include "FakeLogger.h"
#include "link/Connect.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "platform/MemorySerial.h"
#include "platform/Pause.h"

#include "tests/TestDates.h"

#include <gtest/gtest.h>

using namespace velkor;
using namespace std::string_literals;
using velkor::testing::AnswerCommands;

namespace {

struct ReadFixture : ::testing::Test {
    MemorySerialPorts ports;
    MemoryLine& line = ports.add("COM1");
    RecordingPause pause;
    SerialLink link{ports};
    LoggerSettings settings;

    void SetUp() override { ASSERT_TRUE(link.OpenPort(1)); }

    static std::string Shown(const char* pattern, double value) {
        return FormatDateTime(pattern, value);
    }
    static double Date(int y, int m, int d) { return velkor::testing::Date(y, m, d); }
    static double Time(int h, int n, int s) { return velkor::testing::Time(h, n, s); }
};

} // namespace

TEST_F(ReadFixture, ReadsEverySettingAndTheEndOf100OneMinuteSamples) {
    AnswerCommands(line, {{"T?\r", "T?123456\r"},
                          {"D?\r", "D?050324\r"},
                          {"I?\r", "I?000100\r"},
                          {"R?\r", "R?000000010124\r"},
                          {"S?\r", "S?0000100\r"},
                          {"U?\r", "U?03650\r"}});

    EXPECT_EQ(Shown("hh:nn:ss", ReadClockTime(link, pause, settings)), "12:34:56");
    EXPECT_EQ(Shown("yyyy-mm-dd", ReadClockDate(link, pause, settings)), "2024-03-05");
    EXPECT_EQ(Shown("hh:nn:ss", ReadInterval(link, pause, settings)), "00:01:00");
    const StartShown start = ReadLoggingStart(link, pause, settings);
    EXPECT_EQ(Shown("yyyy-mm-dd", start.date), "2024-01-01");
    EXPECT_EQ(Shown("hh:nn:ss", start.time), "00:00:00");
    const double end = ReadSampleCountAndEnd(link, pause, settings);
    EXPECT_EQ(Shown("yyyy-mm-dd hh:nn:ss", end), "2024-01-01 01:40:00");
    EXPECT_EQ(ReadBattery(link, pause, settings), 3650);

    EXPECT_DOUBLE_EQ(settings.ClockTime, Time(12, 34, 56));
    EXPECT_DOUBLE_EQ(settings.ClockDate, Date(2024, 3, 5));
    EXPECT_DOUBLE_EQ(settings.Interval, Time(0, 1, 0));
    EXPECT_DOUBLE_EQ(settings.LoggingStart, Date(2024, 1, 1));
    EXPECT_EQ(settings.SampleCount, 100u);
    EXPECT_DOUBLE_EQ(settings.LoggingEnd, end);
    EXPECT_EQ(settings.BatteryMillivolts, 3650);
    EXPECT_EQ(line.writes,
              (std::vector<std::string>{"T?\r", "D?\r", "I?\r", "R?\r", "S?\r", "U?\r"}));
    EXPECT_EQ(pause.waits, std::vector<int>(6, 100));
}

TEST_F(ReadFixture, OutOfRangeFieldsShowTheFallbacksAndKeepTheSettings) {
    settings.ClockTime = Time(6, 0, 0);
    settings.ClockDate = Date(2023, 7, 7);
    settings.Interval = Time(0, 0, 30);
    AnswerCommands(line, {{"T?\r", "T?256000\r"},         // hour 25
                          {"D?\r", "D?310224\r"},         // 31 February 2024
                          {"I?\r", "I?006000\r"},         // minute 60
                          {"R?\r", "R?240000150324\r"}}); // valid date, hour 24

    EXPECT_EQ(ReadClockTime(link, pause, settings), FallbackTime);
    EXPECT_EQ(ReadClockDate(link, pause, settings), FallbackDate);
    EXPECT_EQ(Shown("yyyy-mm-dd", FallbackDate), "2010-01-22");
    EXPECT_EQ(ReadInterval(link, pause, settings), FallbackTime);
    EXPECT_DOUBLE_EQ(settings.ClockTime, Time(6, 0, 0));
    EXPECT_DOUBLE_EQ(settings.ClockDate, Date(2023, 7, 7));
    EXPECT_DOUBLE_EQ(settings.Interval, Time(0, 0, 30));

    // A valid date with an invalid time: the start becomes that date at midnight, the pickers
    // show the fallbacks all the same.
    StartShown shown = ReadLoggingStart(link, pause, settings);
    EXPECT_EQ(shown.date, FallbackDate);
    EXPECT_EQ(shown.time, FallbackTime);
    EXPECT_DOUBLE_EQ(settings.LoggingStart, Date(2024, 3, 15));

    // An invalid date keeps the start.
    AnswerCommands(line, {{"R?\r", "R?120000300224\r"}});
    shown = ReadLoggingStart(link, pause, settings);
    EXPECT_EQ(shown.date, FallbackDate);
    EXPECT_DOUBLE_EQ(settings.LoggingStart, Date(2024, 3, 15));
}

TEST_F(ReadFixture, MissingRepliesAndPositionsComeFromTheEarlierReply) {
    // The CR of D?'s reply and everything after it become "0" digits in the buffer; T?'s short
    // reply then ends in digits left from D?'s; I? gets no reply and reads T?'s buffer.
    AnswerCommands(line, {{"D?\r", "D?050324\r"}, {"T?\r", "T?12\r"}});

    ReadClockDate(link, pause, settings);
    EXPECT_EQ(Shown("hh:nn:ss", ReadClockTime(link, pause, settings)), "12:03:24");
    EXPECT_EQ(Shown("hh:nn:ss", ReadInterval(link, pause, settings)), "12:03:24");
    EXPECT_DOUBLE_EQ(settings.Interval, Time(12, 3, 24));
}

TEST_F(ReadFixture, ZeroByteAtOffsetOneFailsTheIntegerFields) {
    const std::string shortReply = "X\0\r"s;
    AnswerCommands(line, {{"T?\r", shortReply},
                          {"D?\r", shortReply},
                          {"I?\r", shortReply},
                          {"R?\r", shortReply},
                          {"S?\r", shortReply},
                          {"U?\r", shortReply}});
    settings.Interval = Time(0, 0, 10);
    const LoggerSettings before = settings;

    // The times only fail to convert: fallbacks, no error.
    EXPECT_EQ(ReadClockTime(link, pause, settings), FallbackTime);
    EXPECT_EQ(ReadInterval(link, pause, settings), FallbackTime);

    const auto expectConvertError = [](auto&& read) {
        try {
            read();
            ADD_FAILURE() << "no ConvertError";
        } catch (const ConvertError& e) {
            EXPECT_STREQ(e.what(), "'' is not a valid integer value");
        }
    };
    expectConvertError([&] { ReadClockDate(link, pause, settings); });
    expectConvertError([&] { ReadLoggingStart(link, pause, settings); });
    expectConvertError([&] { ReadSampleCountAndEnd(link, pause, settings); });
    expectConvertError([&] { ReadBattery(link, pause, settings); });

    EXPECT_EQ(settings.ClockTime, before.ClockTime);
    EXPECT_EQ(settings.ClockDate, before.ClockDate);
    EXPECT_EQ(settings.Interval, before.Interval);
    EXPECT_EQ(settings.LoggingStart, before.LoggingStart);
    EXPECT_EQ(settings.LoggingEnd, before.LoggingEnd);
    EXPECT_EQ(settings.SampleCount, before.SampleCount);
    EXPECT_EQ(settings.BatteryMillivolts, before.BatteryMillivolts);
}

TEST_F(ReadFixture, LargestCountAndIntervalGiveAnEndFarBeyondTheCalendar) {
    AnswerCommands(line, {{"S?\r", "S?9999999\r"}});
    settings.Interval = Time(23, 59, 59);
    settings.LoggingStart = Date(2024, 1, 1);

    const double end = ReadSampleCountAndEnd(link, pause, settings);

    EXPECT_EQ(settings.SampleCount, 9999999u);
    EXPECT_NEAR((end - settings.LoggingStart) / 365.2425, 27379.0, 1.0);
    // The count is taken unsigned.
    EXPECT_DOUBLE_EQ(LoggingEndOf(4000000000u, 1.0, 0.5), 4000000000.5);
}
