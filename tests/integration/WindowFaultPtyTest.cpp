// The window against a simulated logger that misbehaves, over a pseudo-terminal with real waits:
// a reply split inside a record, a logger that falls silent or answers garbage, one that is
// unplugged mid-download, and a port another program holds. What the user is told, what
// logger.txt holds, and that Connect works again afterwards.

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

#include <algorithm>
#include <fstream>
#include <sstream>

namespace velkor {
namespace {

using sim::MakeDateTime;
using sim::MakeRecord;
using testing::ScopedEnv;
using testing::TempFolder;

using testing::Slurp;

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// 40 records a minute apart, all accepted: 25 in block 0, 15 in block 1.
std::vector<cmd::LogRecord> PlainLog() {
    std::vector<cmd::LogRecord> log;
    for (int i = 0; i < 40; ++i)
        log.push_back(MakeRecord(MakeDateTime(2024, 3, 1, 0, i, 0), 20.0 + i / 10.0, 49.0));
    return log;
}

const std::string PreviousFile = "1\t2023-06-01 00:00:00\t+021.5\t45.3\r\n";

class WindowFaultOverPty : public testing::WindowOverPty {
protected:
    void SetUp() override {
        home.file("logger.txt", PreviousFile);
        sim::LoggerState state;
        state.loggingStart = MakeDateTime(2024, 3, 1, 0, 0, 0);
        state.records = PlainLog();
        state.sampleCount = 40;
        StartLogger(state);
    }
    void Click(Control control) {
        auto* button = static_cast<QAbstractButton*>(window.Widget(control));
        ASSERT_TRUE(button->isEnabled()) << LayoutOf(control).name;
        button->click();
    }
    void Connect() {
        ASSERT_NO_FATAL_FAILURE(Click(Control::OdczytUstawien));
        ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0].text.toStdString();
        ASSERT_TRUE(link.IsOpen());
        dialogs.messages.clear();
    }
};

TEST_F(WindowFaultOverPty, DownloadFaultsKeepEveryWholeRecordAndSaySoWhenTheLogIsShort) {
    const auto faults = [](std::vector<std::string> commands, auto set) {
        sim::Faults f;
        f.commands = std::move(commands);
        set(f);
        return f;
    };
    const struct {
        const char* name;
        sim::Faults faults;
        std::size_t lines; // in logger.txt afterwards; 0: the previous file is kept
        const char* box;   // the error report's text; none for a complete download
    } cases[] = {
        {"garbage blocks",
         faults({"G?"}, [](sim::Faults& f) { f.replies["G?"] = std::string(250, '\x3f'); }), 0,
         "Nie odebrano żadnego pomiaru. Poprzedni plik logger.txt pozostał bez zmian."},
        {"reply split inside a record",
         faults({"G?"}, [](sim::Faults& f) { f.splitAt = 105, f.splitPauseMs = 200; }), 40,
         nullptr},
        {"reply dripping a byte a millisecond",
         faults({"G?"}, [](sim::Faults& f) { f.dripMs = 1; }), 40, nullptr},
        {"block 1 silent", faults({"G?00001"}, [](sim::Faults& f) { f.silent = true; }), 25,
         "Rejestrator przestał odpowiadać. Odebrano 25 z 40 pomiarów i zapisano je w pliku "
         "logger.txt."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        home.file("logger.txt", PreviousFile);
        dialogs = velkor::testing::FakeDialogs();
        window.OnDeviceLost(); // from the start, as a user would after a restart
        logger.setFaults({});
        Connect();
        logger.setFaults(c.faults);
        Click(Control::Button7);

        const std::string file = Slurp(home / "logger.txt");
        if (c.lines == 0)
            EXPECT_EQ(file, PreviousFile);
        else
            EXPECT_EQ(Lines(file), c.lines);
        // Every record that came is whole: no humidity of a half-received slot reads 0.0.
        EXPECT_EQ(file.find("\t0.0\r"), std::string::npos);
        if (c.box) {
            ASSERT_EQ(dialogs.errors.size(), 1u);
            EXPECT_EQ(dialogs.errors[0].text, QString::fromUtf8(c.box));
        } else {
            EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors[0].text.toStdString();
            EXPECT_EQ(window.Chart1().Chart().Series(1).Count(), 39u);
        }
        // Save in file is usable once logger.txt holds records (here, from the second case).
        EXPECT_EQ(window.IsControlEnabled(Control::Button3), c.lines > 0);
    }
}

// Unplugged while block 1 is asked for: the 25 records of block 0 are in logger.txt, the box
// names the port and the system's reason, and Connect finds the logger once it is back.
TEST_F(WindowFaultOverPty, UnpluggedMidDownloadThenConnectedAgain) {
    Connect();
    sim::Faults vanish;
    vanish.vanishAfterBlocks = 1;
    logger.setFaults(vanish);
    Click(Control::Button7);

    EXPECT_EQ(Lines(Slurp(home / "logger.txt")), 25u);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    const QStringList lines = dialogs.errors[0].text.split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Utracono połączenie z rejestratorem na porcie COM3 ("))
        << lines[0].toStdString();
    EXPECT_GT(lines[0].size(),
              QString("Utracono połączenie z rejestratorem na porcie COM3 ().").size());
    EXPECT_EQ(lines[1], "Rejestrator przestał odpowiadać. Odebrano 25 z 40 pomiarów i zapisano je "
                        "w pliku logger.txt.");
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(window.IsControlEnabled(Control::Button3));
    EXPECT_FALSE(window.IsControlEnabled(Control::Button7));

    logger.stop();
    logger.setFaults({});
    logger.start(3);
    dialogs.errors.clear();
    Connect();
    EXPECT_TRUE(window.IsControlEnabled(Control::Button7));
}

// Another program holds COM3: the not-found box says so instead of leaving the user to think
// the logger is broken.
TEST_F(WindowFaultOverPty, PortHeldByAnotherProgramIsNamed) {
    logger.stop();
    sim::Faults held;
    held.holdPort = true;
    logger.setFaults(held);
    logger.start(3);
    Click(Control::OdczytUstawien);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Urządzenie nie odpowiada !\nPort COM3 jest zajęty przez inny program.");
    EXPECT_TRUE(window.IsControlEnabled(Control::OdczytUstawien));
    EXPECT_TRUE(logger.received().empty());
}

} // namespace
} // namespace velkor
