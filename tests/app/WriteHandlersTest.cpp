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

// Settings the logger cannot work with are refused with a word, before anything is sent: the
// logger is never left half-configured.
TEST_F(WriteHandlers, SettingsThatCannotWorkAreRefusedBeforeAnythingIsSent) {
    const struct {
        Language language;
        double interval, startDate, startTime, endDate, endTime;
        const char *text, *caption;
    } cases[] = {
        {Language::Polish, Time(0, 0, 0), Date(2024, 3, 1), Time(12, 0, 0), Date(2024, 3, 1),
         Time(13, 0, 0), "Okres pomiaru musi być dłuższy od zera.", "UWAGA !"},
        {Language::Polish, Time(0, 1, 0), Date(2024, 3, 2), Time(0, 0, 0), Date(2024, 3, 1),
         Time(0, 0, 0), "Koniec rejestracji jest wcześniejszy niż jej początek.", "UWAGA !"},
        {Language::English, Time(0, 0, 0), Date(2024, 3, 1), Time(12, 0, 0), Date(2024, 3, 1),
         Time(12, 0, 0), "The measurement interval must be longer than zero.", "Attention !"},
        {Language::English, Time(0, 1, 0), Date(2024, 3, 1), Time(12, 0, 0), Date(2024, 3, 1),
         Time(11, 59, 0), "The logging end is earlier than its start.", "Attention !"},
        {Language::Polish, Time(0, 1, 0), Date(2024, 3, 1), Time(12, 0, 0), Date(2024, 3, 1),
         Time(12, 0, 0),
         "Koniec rejestracji musi przypadać co najmniej jeden okres pomiaru po jej początku.",
         "UWAGA !"},
        {Language::English, Time(0, 10, 0), Date(2024, 3, 1), Time(12, 0, 0), Date(2024, 3, 1),
         Time(12, 9, 59),
         "The logging end must lie at least one measurement interval after its start.",
         "Attention !"},
    };
    for (const auto& c : cases) {
        Open(c.language);
        Connect();
        dialogs.messages.clear();
        services.settings.SampleCount = 77;
        SetLogging(c.interval, c.startDate, c.startTime, c.endDate, c.endTime);
        Click(Control::ZapisUstawien);
        EXPECT_TRUE(logger.writes.empty()) << c.text;
        EXPECT_TRUE(dialogs.errors.empty()) << c.text;
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.text;
        EXPECT_EQ(dialogs.messages[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(dialogs.messages[0].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(services.settings.SampleCount, 77u);
        EXPECT_TRUE(window->IsControlEnabled(Control::ZapisUstawien));
    }
}

// An end beyond what the logger stores: the settings go out with the capped count, then the
// user is told when logging will really end.
TEST_F(WriteHandlers, ACappedCountIsToldAfterTheSettingsWereSent) {
    const struct {
        Language language;
        const char* text;
        const char* caption;
    } cases[] = {
        {Language::Polish,
         "Rejestrator zapisze najwyżej 204800 próbek: rejestracja skończy się 2028-01-22 17:20:00.",
         "UWAGA !"},
        {Language::English,
         "The logger stores at most 204800 samples: logging will end at 2028-01-22 17:20:00.",
         "Attention !"},
    };
    for (const auto& c : cases) {
        Open(c.language);
        Connect();
        dialogs.messages.clear();
        SetLogging(Time(0, 10, 0), Date(2024, 3, 1), Time(12, 0, 0), Date(2125, 1, 6),
                   Time(12, 0, 0));
        std::size_t sentBeforeBox = 0;
        dialogs.onMessage = [&] { sentBeforeBox = logger.writes.size(); };
        Click(Control::ZapisUstawien);
        dialogs.onMessage = {};
        EXPECT_EQ(logger.writes.back(), "S!0204800\r");
        EXPECT_EQ(sentBeforeBox, 3u);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(dialogs.messages[0].caption, QString::fromUtf8(c.caption));
        EXPECT_TRUE(dialogs.errors.empty());
    }
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
