// Connect, Save settings, Set clock and Erase through the window's own click handlers, against
// simulated loggers on pseudo-terminals with real 100 ms waits.

#include "app/MainWindow.h"
#include "platform/DateTime.h"
#include "platform/Pause.h"
#include "platform/PosixSerial.h"
#include "tests/app/FakeDialogs.h"
#include "tests/support/TempFolder.h"
#include "tools/loggersim/LogSource.h"
#include "tools/loggersim/LoggerSim.h"

#include <QAbstractButton>
#include <QDateTimeEdit>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

namespace velkor {
namespace {

using sim::MakeDateTime;
using testing::ScopedEnv;
using testing::TempFolder;
using Clock = std::chrono::steady_clock;

// Sleeps for real and notes when each wait ended, counted from the last mark().
class StampingPause final : public Pause {
public:
    void sleep(int milliseconds) override {
        real_.sleep(milliseconds);
        waits.push_back(milliseconds);
        endsMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start_).count());
    }
    void mark() {
        waits.clear();
        endsMs.clear();
        start_ = Clock::now();
    }

    std::vector<int> waits;
    std::vector<double> endsMs;

private:
    SleepPause real_;
    Clock::time_point start_ = Clock::now();
};

std::string Stamp(const std::string& pattern, double dateTime) {
    return FormatDateTime(pattern, dateTime);
}

class WindowLoggerOverPty : public ::testing::Test {
protected:
    void SetUp() override {
        sim::LoggerState state;
        state.clock = MakeDateTime(2031, 12, 9, 8, 7, 6);
        state.intervalSeconds = 37;
        state.loggingStart = MakeDateTime(2024, 2, 29, 23, 59, 58);
        state.sampleCount = 100;
        state.batteryMillivolts = 2987;
        state.records = {sim::MakeRecord(MakeDateTime(2024, 3, 1, 0, 0, 35), 21.5, 45.3),
                         sim::MakeRecord(MakeDateTime(2024, 3, 1, 0, 1, 12), 21.6, 45.1)};
        logger.setState(state);
        logger.start(3);
    }
    void TearDown() override { logger.stop(); }

    void Click(Control control) {
        auto* button = static_cast<QAbstractButton*>(window.Widget(control));
        ASSERT_TRUE(button->isEnabled());
        button->click();
        ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0].text.toStdString();
    }
    void Connect() {
        ASSERT_NO_FATAL_FAILURE(Click(Control::OdczytUstawien));
        ASSERT_FALSE(window.IsControlEnabled(Control::OdczytUstawien));
    }
    // What the picker shows on screen.
    QString Shown(Control picker) const {
        return static_cast<QDateTimeEdit*>(window.Widget(picker))->text();
    }

    TempFolder home;
    ScopedEnv config{"XDG_CONFIG_HOME", home.path().c_str()};
    // No serial devices of the machine: only the simulated loggers' links.
    PosixSerialPorts ports{PortLocations{{}, home / "dev", {}}};
    SerialLink link{ports};
    LoggerSettings settings;
    StampingPause pause;
    DataFileState dataFile;
    velkor::testing::FakeDialogs dialogs;
    MainWindow window{dialogs, Services{link, settings, pause, dataFile}, Language::Polish};
    sim::LoggerSim logger;
};

TEST_F(WindowLoggerOverPty, ConnectSkipsTwoSilentPortsAndStopsAtTheLoggerOnCom3) {
    sim::Faults silence;
    silence.silent = true;
    sim::LoggerSim com1({}, silence), com2({}, silence);
    com1.start(1);
    com2.start(2);

    pause.mark();
    Connect();
    std::cout << "[ timing   ] scan to COM3: " << pause.endsMs.at(2)
              << " ms, whole Connect: " << pause.endsMs.back() << " ms\n";
    RecordProperty("scan_ms", static_cast<int>(pause.endsMs.at(2)));

    // One N? to each silent port, then COM3 answered: three waits for the scan, one for each of
    // the six queries, nothing more.
    EXPECT_EQ(com1.received(), std::vector<std::string>{"N?\r"});
    EXPECT_EQ(com2.received(), std::vector<std::string>{"N?\r"});
    EXPECT_EQ(logger.received(),
              (std::vector<std::string>{"N?\r", "T?\r", "D?\r", "I?\r", "R?\r", "S?\r", "U?\r"}));
    EXPECT_EQ(pause.waits, std::vector<int>(9, 100));

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("RTW01234\r"));
    EXPECT_EQ(dialogs.messages[0].caption, QString::fromUtf8("Znaleziono urządzenie  :"));
    EXPECT_EQ(window.ControlText(Control::Label9), QStringLiteral("Znaleziono"));
    EXPECT_EQ(window.ControlText(Control::Label7), QStringLiteral("Identyfikator: RTW01234\r"));
    EXPECT_EQ(settings.Identifier, "RTW01234");

    // The silent ports were closed again: another program can open them. COM3 stays ours.
    PosixSerialPorts others{PortLocations{{}, home / "dev", {}}};
    EXPECT_NE(others.open("COM1"), nullptr);
    EXPECT_NE(others.open("COM2"), nullptr);
    EXPECT_EQ(others.open("COM3"), nullptr);
}

TEST_F(WindowLoggerOverPty, ConnectShowsTheSettingsTheLoggerHolds) {
    Connect();

    EXPECT_EQ(Shown(Control::DateTimePicker7), QStringLiteral("08:07:06"));
    EXPECT_EQ(Shown(Control::DateTimePicker6), QStringLiteral("2031-12-09"));
    EXPECT_EQ(Shown(Control::DateTimePicker1), QStringLiteral("00:00:37"));
    EXPECT_EQ(Shown(Control::DateTimePicker2), QStringLiteral("2024-02-29"));
    EXPECT_EQ(Shown(Control::DateTimePicker3), QStringLiteral("23:59:58"));
    // 100 samples of 37 s after 2024-02-29 23:59:58 end 3700 s later.
    EXPECT_EQ(Shown(Control::DateTimePicker4), QStringLiteral("2024-03-01"));
    EXPECT_EQ(Shown(Control::DateTimePicker5), QStringLiteral("01:01:38"));
    EXPECT_EQ(window.ControlText(Control::Label1), QString::fromUtf8("Napięcie baterii: 2987mV"));
    EXPECT_EQ(settings.SampleCount, 100u);

    for (Control control :
         {Control::DateTimePicker1, Control::DateTimePicker2, Control::DateTimePicker3,
          Control::DateTimePicker4, Control::DateTimePicker5, Control::DateTimePicker6,
          Control::DateTimePicker7, Control::Button1, Control::Button7, Control::Button8,
          Control::ZapisUstawien})
        EXPECT_TRUE(window.IsControlEnabled(control)) << static_cast<int>(control);
}

TEST_F(WindowLoggerOverPty, SaveSettingsAndSetClockGiveTheLoggerWhatThePickersShow) {
    Connect();
    logger.clearReceived();

    window.SetPickerValue(Control::DateTimePicker1, MakeDateTime(2000, 1, 1, 0, 1, 40));
    window.SetPickerValue(Control::DateTimePicker2, MakeDateTime(2024, 3, 5));
    window.SetPickerValue(Control::DateTimePicker3, MakeDateTime(2000, 1, 1, 6, 30, 0));
    window.SetPickerValue(Control::DateTimePicker4, MakeDateTime(2024, 3, 7));
    window.SetPickerValue(Control::DateTimePicker5, MakeDateTime(2000, 1, 1, 18, 45, 10));
    window.SetPickerValue(Control::DateTimePicker6, MakeDateTime(2027, 6, 15));
    window.SetPickerValue(Control::DateTimePicker7, MakeDateTime(2000, 1, 1, 23, 5, 9));
    Click(Control::ZapisUstawien);
    Click(Control::Button1);
    ASSERT_TRUE(logger.waitForReceived(5, std::chrono::seconds(1)));

    const sim::LoggerState state = logger.state();
    EXPECT_EQ(state.intervalSeconds, 100);
    EXPECT_EQ(Stamp("yyyy-mm-dd hh:nn:ss", state.loggingStart), "2024-03-05 06:30:00");
    // 2 days 12:15:10 is 216,910 s: 2169.1 intervals of 100 s, rounded to 2169.
    EXPECT_EQ(state.sampleCount, 2169u);
    EXPECT_EQ(Stamp("yyyy-mm-dd hh:nn:ss", state.clock), "2027-06-15 23:05:09");
    EXPECT_EQ(settings.SampleCount, 2169u);
    EXPECT_EQ(logger.received().size(), 5u);
}

TEST_F(WindowLoggerOverPty, EraseConfirmedTwoSecondsLateReportsErased) {
    Connect();
    sim::Faults late;
    late.eraseDelayMs = 2000;
    logger.setFaults(late);
    logger.clearReceived();

    Click(Control::Button8);

    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(logger.received(), std::vector<std::string>{"E!\r"});
    ASSERT_EQ(dialogs.messages.size(), 2u); // the found box, then the result
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Skasowana"));
    EXPECT_EQ(dialogs.messages[1].caption, QString::fromUtf8("Status pamięci  :"));
    EXPECT_TRUE(logger.state().records.empty());
    // The confirmation came only after several polls; the bar is gone and the controls are
    // usable again.
    EXPECT_GT(window.ProgressPosition(), 0);
    EXPECT_FALSE(window.IsControlVisible(Control::ProgressBar1));
    EXPECT_TRUE(window.IsControlEnabled(Control::Button8));
    EXPECT_TRUE(window.IsControlEnabled(Control::ZapisUstawien));
}

} // namespace
} // namespace velkor
