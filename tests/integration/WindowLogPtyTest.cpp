// The program's main job end to end: the window connects to the simulated logger over a
// pseudo-terminal, downloads a log with awkward records into "logger.txt" and the chart, saves
// a copy of the file and loads the copy back, all through the window's own click handlers with
// real 100 ms waits.

#include "app/MainWindow.h"
#include "chart/ChartWidget.h"
#include "platform/DateTime.h"
#include "platform/Pause.h"
#include "platform/PosixSerial.h"
#include "tests/app/FakeDialogs.h"
#include "tests/integration/WindowPtyFixture.h"
#include "tests/support/TempFolder.h"
#include "tools/loggersim/LogSource.h"
#include "tools/loggersim/LoggerSim.h"

#include <QAbstractButton>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace velkor {
namespace {

using sim::MakeDateTime;
using sim::MakeRecord;
using testing::ScopedEnv;
using testing::TempFolder;

using testing::Slurp;

// The first record, one at the same instant, -0.1, -3276.8, a record exactly two days after
// the last accepted one, zero and a three-digit temperature, then plain records into the
// second block.
std::vector<cmd::LogRecord> TrickyLog() {
    std::vector<cmd::LogRecord> log = {
        MakeRecord(MakeDateTime(2024, 2, 29, 12, 0, 0), 21.5, 45.3),
        MakeRecord(MakeDateTime(2024, 2, 29, 12, 0, 0), 10.0, 10.0),
        MakeRecord(MakeDateTime(2024, 2, 29, 12, 10, 0), -0.1, 0.5),
        MakeRecord(MakeDateTime(2024, 2, 29, 12, 20, 0), -3276.8, 100.0),
        MakeRecord(MakeDateTime(2024, 3, 2, 12, 20, 0), 30.0, 30.0),
        MakeRecord(MakeDateTime(2024, 2, 29, 12, 30, 0), 0.0, -0.5),
        MakeRecord(MakeDateTime(2024, 2, 29, 12, 40, 0), 123.4, 99.9),
    };
    for (int i = 0; i < 23; ++i) {
        const int minutes = 50 + 10 * i;
        log.push_back(MakeRecord(MakeDateTime(2024, 2, 29, 12 + minutes / 60, minutes % 60, 0),
                                 (200 + i) / 10.0, (400 + i) / 10.0));
    }
    return log;
}

// What the download must write for TrickyLog(), typed out for the awkward lines.
std::string ExpectedDataFile() {
    std::string text = "1\t2024-02-29 12:00:00\t+021.5\t45.3\r\n"
                       "2\t2024-02-29 12:10:00\t-000.1\t0.5\r\n"
                       "3\t2024-02-29 12:20:00\t-3276.8\t100.0\r\n"
                       "4\t2024-02-29 12:30:00\t 000.0\t-0.5\r\n"
                       "5\t2024-02-29 12:40:00\t+123.4\t99.9\r\n";
    for (int i = 0; i < 23; ++i) {
        const int minutes = 50 + 10 * i;
        char line[64];
        std::snprintf(line, sizeof line, "%d\t2024-02-29 %02d:%02d:00\t+0%02d.%d\t%d.%d\r\n", 6 + i,
                      12 + minutes / 60, minutes % 60, (200 + i) / 10, (200 + i) % 10,
                      (400 + i) / 10, (400 + i) % 10);
        text += line;
    }
    return text;
}

class WindowLogOverPty : public testing::WindowOverPty {
protected:
    void SetUp() override {
        sim::LoggerState state;
        state.loggingStart = MakeDateTime(2024, 3, 1, 0, 0, 0);
        state.records = TrickyLog();
        state.sampleCount = static_cast<std::uint32_t>(state.records.size());
        StartLogger(state);
    }
    void Click(Control control) {
        static_cast<QAbstractButton*>(window.Widget(control))->click();
        ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0].text.toStdString();
    }
    chart::LineSeries& Series(int i) { return window.Chart1().Chart().Series(i); }
};

TEST_F(WindowLogOverPty, DownloadWritesTheExpectedFileThenACopyLoadsBack) {
    Click(Control::OdczytUstawien);
    ASSERT_FALSE(window.IsControlEnabled(Control::OdczytUstawien));
    ASSERT_EQ(settings.SampleCount, 30u);
    logger.clearReceived();

    Click(Control::Button7);
    EXPECT_EQ(logger.received(), (std::vector<std::string>{"G?00000\r", "G?00001\r"}));
    EXPECT_EQ(Slurp(home / "logger.txt"), ExpectedDataFile());
    EXPECT_EQ(dataFile.DataFileName, "logger.txt");

    // Every accepted record but the first is on the chart, with the values as the logger sent
    // them.
    ASSERT_EQ(Series(0).Count(), 27u);
    ASSERT_EQ(Series(1).Count(), 27u);
    EXPECT_EQ(Series(0).XValue(0), MakeDateTime(2024, 2, 29, 12, 10, 0));
    EXPECT_EQ(Series(0).YValue(0), -0.1);
    EXPECT_EQ(Series(0).YValue(1), -3276.8);
    EXPECT_EQ(Series(1).YValue(1), 100.0);
    EXPECT_EQ(Series(1).YValue(2), -0.5);
    EXPECT_EQ(Series(0).YValue(3), 123.4);
    EXPECT_EQ(Series(0).XValue(26), MakeDateTime(2024, 2, 29, 16, 30, 0));
    EXPECT_FALSE(window.IsControlVisible(Control::ProgressBar1));
    EXPECT_FALSE(window.IsControlEnabled(Control::Button7));

    const auto copy = home.file("kopia.txt", "an older file\r\n");
    dialogs.chosenFile = QString::fromStdString(copy.string());
    Click(Control::Button3);
    EXPECT_EQ(Slurp(copy), ExpectedDataFile());

    Click(Control::Button6);
    EXPECT_EQ(dataFile.DataFileName, copy.string());
    // Lines 3 to 28. Line 3's seven-character temperature moves its fields beyond the columns
    // the load reads: neither of its values is a complete number there, so it gives no point.
    ASSERT_EQ(Series(0).Count(), 25u);
    ASSERT_EQ(Series(1).Count(), 25u);
    EXPECT_EQ(Series(0).XValue(0), MakeDateTime(2024, 2, 29, 12, 30, 0));
    EXPECT_EQ(Series(0).YValue(0), 0.0);
    EXPECT_EQ(Series(1).YValue(0), -0.5);
    EXPECT_EQ(Series(0).YValue(1), static_cast<double>(123.4f));
    EXPECT_EQ(Series(1).YValue(24), static_cast<double>(42.2f));
    EXPECT_EQ(Series(0).PointColor(0), chart::DefaultColor);
    EXPECT_TRUE(window.Chart1().Chart().BottomAxis().Automatic());
}

} // namespace
} // namespace velkor
