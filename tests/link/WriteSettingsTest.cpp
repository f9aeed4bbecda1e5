// Save settings and Set clock: the exact commands written and the settings kept.
#include "link/WriteSettings.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "platform/MemorySerial.h"
#include "platform/Pause.h"

#include "tests/TestDates.h"

#include <gtest/gtest.h>

using namespace velkor;

namespace {

using test::Date;
using test::Time;

struct WriteFixture : ::testing::Test {
    MemorySerialPorts ports;
    MemoryLine& line = ports.add("COM1");
    RecordingPause pause;
    SerialLink link{ports};
    LoggerSettings settings;

    void SetUp() override { ASSERT_TRUE(link.OpenPort(1)); }

    // Start 2024-03-01 12:00:00; the pickers carry unrelated other parts, which must be ignored.
    void Save(double interval, double endDate, double endTime) {
        SaveSettings(link, pause, settings, 40000.0 + interval, Date(2024, 3, 1) + 0.3,
                     Date(2010, 5, 5) + Time(12, 0, 0), endDate + 0.7, 41000.0 + endTime);
    }
};

} // namespace

TEST_F(WriteFixture, OneHourOfTenSecondSamples) {
    Save(Time(0, 0, 10), Date(2024, 3, 1), Time(13, 0, 0));

    EXPECT_EQ(line.writes,
              (std::vector<std::string>{"I!000010\r", "R!120000010324\r", "S!0000360\r"}));
    EXPECT_EQ(pause.waits, (std::vector<int>{100, 100, 100}));
    EXPECT_EQ(settings.SampleCount, 360u);
    EXPECT_DOUBLE_EQ(settings.Interval, Time(0, 0, 10));
    EXPECT_DOUBLE_EQ(settings.LoggingStart, Date(2024, 3, 1) + Time(12, 0, 0));
    EXPECT_DOUBLE_EQ(settings.LoggingEnd, Date(2024, 3, 1) + Time(13, 0, 0));
}

// A count the logger cannot store is cut to its maximum, and the end it will really reach is
// told: start + the maximum count x the interval.
TEST_F(WriteFixture, ACountBeyondTheMaximumIsCappedAndTheRealEndGiven) {
    const struct {
        double interval, endDate;
        const char* sent;
        bool capped;
        const char* realEnd;
    } cases[] = {
        {Time(0, 1, 0), Date(2024, 3, 1) + 142, "S!0204480\r", false, nullptr},
        // 300 days of one-minute samples are 432,000.
        {Time(0, 1, 0), Date(2024, 3, 1) + 300, "S!0204800\r", true, "2024-07-21 17:20:00"},
        {Time(0, 10, 0), Date(2124, 3, 1), "S!0204800\r", true, "2028-01-22 17:20:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        const double start = Date(2024, 3, 1) + Time(12, 0, 0);
        const SavedSettings saved = SaveSettings(link, pause, settings, c.interval,
                                                 Date(2024, 3, 1), start, c.endDate, start);
        EXPECT_EQ(line.writes.back(), c.sent);
        EXPECT_EQ(saved.sampleCount, settings.SampleCount);
        EXPECT_EQ(saved.capped, c.capped);
        if (c.capped) {
            EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", saved.cappedEnd), c.realEnd);
        }
    }
}

TEST(SampleCountDigitsTest, HalvesRoundAwayFromZeroAndTheOffsetDecides) {
    EXPECT_EQ(SampleCountDigits(0.0, 0.5, 1.0), "0000001");
    EXPECT_EQ(SampleCountDigits(0.0, 2.5, 1.0), "0000003");
    EXPECT_EQ(SampleCountDigits(0.0, 2.4, 1.0), "0000002");
    EXPECT_EQ(SampleCountDigits(10.0, 9.5, 1.0), "0000000");
    EXPECT_EQ(SampleCountDigits(0.0, 204800.5, 1.0), "0204800");
    EXPECT_EQ(SampleCountDigits(0.0, 204799.5, 1.0), "0204800");
    EXPECT_EQ(SampleCountDigits(0.0, 1234.0, 0.25), "0004936");
}

// An interval of 00:00:00 or an end before the start is refused before anything is sent or
// kept, so the logger is never left half configured.
TEST_F(WriteFixture, UnsoundSettingsAreRefusedWithNothingSent) {
    const struct {
        double interval;
        double endDate;
        double endTime;
        SettingsProblem problem;
    } cases[] = {
        {0.0, Date(2024, 3, 1), Time(13, 0, 0), SettingsProblem::ZeroInterval},
        {0.0, Date(2024, 3, 1), Time(12, 0, 0), SettingsProblem::ZeroInterval},
        {Time(0, 0, 0) + 0.4 / SecondsPerDay, Date(2024, 3, 2), Time(0, 0, 0),
         SettingsProblem::ZeroInterval},
        {Time(0, 1, 0), Date(2024, 3, 1), Time(11, 59, 59), SettingsProblem::EndBeforeStart},
        {Time(0, 1, 0), Date(2024, 2, 29), Time(13, 0, 0), SettingsProblem::EndBeforeStart},
        {0.0, Date(2023, 3, 1), Time(12, 0, 0), SettingsProblem::ZeroInterval},
        // No sample to record: the end at the start, or less than one interval after it.
        {Time(0, 1, 0), Date(2024, 3, 1), Time(12, 0, 0), SettingsProblem::EndTooSoon},
        {Time(0, 1, 0), Date(2024, 3, 1), Time(12, 0, 59), SettingsProblem::EndTooSoon},
        {Time(0, 1, 0), Date(2024, 3, 1), Time(12, 1, 0), SettingsProblem::None},
        {Time(0, 0, 1), Date(2024, 3, 1), Time(12, 0, 1), SettingsProblem::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.problem));
        EXPECT_EQ(CheckSettings(40000.0 + c.interval, Date(2024, 3, 1) + 0.3,
                                Date(2010, 5, 5) + Time(12, 0, 0), c.endDate + 0.7,
                                41000.0 + c.endTime),
                  c.problem);
        if (c.problem == SettingsProblem::None)
            continue;
        line.writes.clear();
        pause.waits.clear();
        LoggerSettings before;
        before.SampleCount = 42;
        before.Interval = 0.5;
        settings = before;
        try {
            Save(c.interval, c.endDate, c.endTime);
            ADD_FAILURE() << "no SettingsError";
        } catch (const SettingsError& e) {
            EXPECT_EQ(e.Problem(), c.problem);
        }
        EXPECT_TRUE(line.writes.empty());
        EXPECT_TRUE(pause.waits.empty());
        EXPECT_EQ(settings.SampleCount, 42u);
        EXPECT_EQ(settings.Interval, 0.5);
        EXPECT_EQ(settings.LoggingStart, before.LoggingStart);
        EXPECT_EQ(settings.LoggingEnd, before.LoggingEnd);
    }
}

TEST_F(WriteFixture, YearsOutsideTheCenturyGoOutAsTheirLastTwoDigits) {
    SaveSettings(link, pause, settings, Time(0, 0, 1), Date(1999, 12, 31), Time(23, 59, 59),
                 Date(2000, 1, 1), Time(0, 0, 0));
    EXPECT_EQ(line.writes[1], "R!235959311299\r");
    EXPECT_EQ(line.writes[2], "S!0000001\r");
}

TEST_F(WriteFixture, SetClockAfterSaveWritesOnlyItsOwnNineBytes) {
    Save(Time(0, 0, 10), Date(2024, 3, 1), Time(13, 0, 0));
    line.writes.clear();
    pause.waits.clear();

    SetClock(link, pause, settings, 45000.0 + Time(8, 7, 6), Date(2031, 12, 9) + 0.5);

    EXPECT_EQ(line.writes, (std::vector<std::string>{"T!080706\r", "D!091231\r"}));
    EXPECT_EQ(pause.waits, (std::vector<int>{100, 100}));
    EXPECT_DOUBLE_EQ(settings.ClockTime, Time(8, 7, 6));
    EXPECT_DOUBLE_EQ(settings.ClockDate, Date(2031, 12, 9));
}
