// Save settings and Set clock send what the pickers show.
#include "LoggerWindow.h"
#include "platform/DateTime.h"
#include "tests/TestDates.h"

namespace velkor {
namespace {

using test::LoggerWindow;

using test::Date;
using test::Time;

class WriteHandlers : public LoggerWindow {
protected:
    void SetUp() override {
        Open();
        Connect();
    }
    void SetLogging(double interval, double startDate, double startTime, double endDate,
                    double endTime) {
        window->SetPickerValue(Control::DateTimePicker1, interval);
        window->SetPickerValue(Control::DateTimePicker2, startDate);
        window->SetPickerValue(Control::DateTimePicker3, startTime);
        window->SetPickerValue(Control::DateTimePicker4, endDate);
        window->SetPickerValue(Control::DateTimePicker5, endTime);
    }
};

TEST_F(WriteHandlers, SavingWhatWasReadWritesItBackUnchanged) {
    Click(Control::ZapisUstawien);
    EXPECT_EQ(logger.writes,
              (std::vector<std::string>{"I!000100\r", "R!000000010124\r", "S!0000100\r"}));
    EXPECT_EQ(services.pause.waits, (std::vector<int>{100, 100, 100}));
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(WriteHandlers, SaveSendsThePickerValues) {
    SetLogging(Time(0, 0, 10), Date(2024, 3, 1), Time(12, 0, 0), Date(2024, 3, 1), Time(13, 0, 0));
    Click(Control::ZapisUstawien);
    EXPECT_EQ(logger.writes,
              (std::vector<std::string>{"I!000010\r", "R!120000010324\r", "S!0000360\r"}));
    const LoggerSettings& s = services.settings;
    EXPECT_EQ(s.SampleCount, 360u);
    EXPECT_EQ(FormatDateTime("hh:nn:ss", s.Interval), "00:00:10");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", s.LoggingStart), "2024-03-01 12:00:00");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", s.LoggingEnd), "2024-03-01 13:00:00");
    // Nothing on the window changes.
    EXPECT_EQ(Shown(Control::DateTimePicker3), "12:00:00");
    EXPECT_EQ(dialogs.messages.size(), 1u); // only Connect's
}

TEST_F(WriteHandlers, EndBeforeStartWritesZeroSamples) {
    SetLogging(Time(0, 1, 0), Date(2024, 3, 2), Time(0, 0, 0), Date(2024, 3, 1), Time(0, 0, 0));
    Click(Control::ZapisUstawien);
    ASSERT_EQ(logger.writes.size(), 3u);
    EXPECT_EQ(logger.writes[2], "S!0000000\r");
    EXPECT_EQ(services.settings.SampleCount, 0u);
}

TEST_F(WriteHandlers, ZeroIntervalIsReportedAfterIntervalAndStartWentOut) {
    services.settings.SampleCount = 77;
    SetLogging(Time(0, 0, 0), Date(2024, 3, 1), Time(12, 0, 0), Date(2024, 3, 1), Time(13, 0, 0));
    Click(Control::ZapisUstawien);
    EXPECT_EQ(logger.writes, (std::vector<std::string>{"I!000000\r", "R!120000010324\r"}));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text, "Floating point division by zero.");
    EXPECT_EQ(services.settings.SampleCount, 77u);
}

TEST_F(WriteHandlers, SetClockSendsTheClockPickersWithNothingOfALongerCommandBehind) {
    Click(Control::ZapisUstawien);
    logger.writes.clear();
    services.pause.waits.clear();
    window->SetPickerValue(Control::DateTimePicker6, Date(2031, 12, 9));
    window->SetPickerValue(Control::DateTimePicker7, Time(8, 7, 6));
    Click(Control::Button1);
    EXPECT_EQ(logger.writes, (std::vector<std::string>{"T!080706\r", "D!091231\r"}));
    EXPECT_EQ(services.pause.waits, (std::vector<int>{100, 100}));
    EXPECT_EQ(FormatDateTime("hh:nn:ss", services.settings.ClockTime), "08:07:06");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", services.settings.ClockDate), "2031-12-09");
}

} // namespace
} // namespace velkor
