// Read data that does not end normally: a logger that stops answering or answers garbage, a
// port that goes away, Esc and the close button during the download. What the user is told,
// which controls are usable afterwards, and what logger.txt and the chart hold.
#include "LoggerBlocks.h"
#include "app/ControlLock.h"
#include "chart/ChartWidget.h"
#include "tests/platform/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace velkor {
namespace {

using test::FullBlock;
using test::LoggerWindow;

using testing::Slurp;

const std::string SmallLogFile = "1\t2024-01-01 00:00:00\t+021.5\t45.3\r\n"
                                 "2\t2024-01-01 00:10:00\t-000.1\t0.5\r\n"
                                 "3\t2024-01-01 00:20:00\t 000.0\t100.0\r\n"
                                 "4\t2024-01-01 00:30:00\t-3276.8\t-0.5\r\n";
const std::string PreviousFile = "1\t2023-06-01 00:00:00\t+021.5\t45.3\r\n";

class DownloadEnd : public LoggerWindow {
protected:
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.path().string())));
        folder.file("logger.txt", PreviousFile);
    }
    void TearDown() override { QDir::setCurrent(previous); }

    // Runs `act` in the wait for the reply to block `block`.
    void DuringBlock(int block, std::function<void()> act) {
        services.pause.onSleep = [this, block, act](int) {
            if (logger.writes.back() == test::BlockRequest(block))
                act();
        };
    }
    // An event the window gets at its next chance to take events.
    void Post(std::function<void()> act) { QTimer::singleShot(0, window.get(), std::move(act)); }
    void PressEsc() {
        Post([this] { QTest::keyClick(window->windowHandle(), Qt::Key_Escape); });
    }
    std::size_t Points() { return window->Chart1().Chart().Series(0).Count(); }

    testing::TempFolder folder;
    QString previous;
};

enum class Box { None, Message, Error };

// Each way a download can end, in both languages: the box, the data file, the buttons.
TEST_F(DownloadEnd, WhatTheUserIsToldAndCanDoNext) {
    const auto smallLogSilentFrom2 = [] {
        auto blocks = test::SmallLog();
        blocks.erase(2);
        return blocks;
    };
    const auto smallLogCutAt2 = [] {
        auto blocks = test::SmallLog();
        blocks[2].resize(105);
        return blocks;
    };
    const std::string garbage = std::string(250, 'A');
    const struct {
        const char* name;
        Language language;
        std::map<int, std::string> blocks;
        int eventBlock; // -1: none
        std::function<void()> event;
        Box box;
        const char *text, *secondLine;
        bool replaced, readData, connected;
    } cases[] = {
        {"silent from block 2",
         Language::Polish,
         smallLogSilentFrom2(),
         -1,
         {},
         Box::Error,
         "Rejestrator przestał odpowiadać. Odebrano 4 z 100 pomiarów i zapisano je w pliku "
         "logger.txt.",
         nullptr,
         true,
         true,
         true},
        {"silent, English",
         Language::English,
         smallLogSilentFrom2(),
         -1,
         {},
         Box::Error,
         "The logger stopped answering. 4 of 100 samples were received and saved in logger.txt.",
         nullptr,
         true,
         true,
         true},
        {"block 2 cut short, also when asked again",
         Language::Polish,
         smallLogCutAt2(),
         -1,
         {},
         Box::Error,
         "Rejestrator przerywał przesyłanie danych, także na ponowną prośbę. Odebrano 4 z 100 "
         "pomiarów i zapisano je w pliku logger.txt.",
         nullptr,
         true,
         true,
         true},
        {"garbage only",
         Language::Polish,
         {{0, garbage}, {1, garbage}, {2, garbage}, {3, garbage}, {4, garbage}},
         -1,
         {},
         Box::Error,
         "Nie odebrano żadnego pomiaru. Poprzedni plik logger.txt pozostał bez zmian.",
         nullptr,
         false,
         true,
         true},
        {"no reply at all, English",
         Language::English,
         {},
         -1,
         {},
         Box::Error,
         "No samples were received. The previous logger.txt is unchanged.",
         nullptr,
         false,
         true,
         true},
        {"Esc at block 1", Language::Polish, test::SmallLog(), 1, [this] { PressEsc(); },
         Box::Message,
         "Odczyt przerwany. Odebrano 4 z 100 pomiarów i zapisano je w pliku logger.txt.", nullptr,
         true, true, true},
        {"Esc at block 1, English", Language::English, test::SmallLog(), 1, [this] { PressEsc(); },
         Box::Message,
         "Download cancelled. 4 of 100 samples were received and saved in logger.txt.", nullptr,
         true, true, true},
        {"unplugged at block 2", Language::Polish, test::SmallLog(), 2,
         [this] { logger.gone = true; }, Box::Error,
         "Utracono połączenie z rejestratorem na porcie COM3 (",
         "Rejestrator przestał odpowiadać. Odebrano 4 z 100 pomiarów i zapisano je w pliku "
         "logger.txt.",
         true, false, false},
        {"unplugged at block 0, English", Language::English, test::SmallLog(), 0,
         [this] { logger.gone = true; }, Box::Error,
         "Lost the connection to the logger on port COM3 (",
         "No samples were received. The previous logger.txt is unchanged.", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs = test::FakeDialogs();
        folder.file("logger.txt", PreviousFile);
        logger.gone = false;
        services.pause.onSleep = {};
        MainWindow& w = Open(c.language);
        w.show();
        Connect(test::LoggerWithBlocks(c.blocks));
        w.AddPoint(Series::Series1, 45000.0, 1.0, chart::DefaultColor);
        dialogs.messages.clear();
        if (c.event)
            DuringBlock(c.eventBlock, c.event);
        Click(Control::Button7);

        const auto& boxes = c.box == Box::Error ? dialogs.errors : dialogs.messages;
        EXPECT_EQ((c.box == Box::Error ? dialogs.messages : dialogs.errors).size(), 0u);
        ASSERT_EQ(boxes.size(), 1u);
        const QStringList lines = boxes[0].text.split('\n');
        EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8(c.text))) << lines[0].toStdString();
        if (c.secondLine) {
            ASSERT_EQ(lines.size(), 2);
            EXPECT_TRUE(lines[0].endsWith(")."));
            EXPECT_EQ(lines[1], QString::fromUtf8(c.secondLine));
        } else {
            EXPECT_EQ(lines.size(), 1);
        }
        EXPECT_EQ(boxes[0].caption, "app_tests");

        EXPECT_EQ(Slurp(folder / "logger.txt"), c.replaced ? SmallLogFile : PreviousFile);
        EXPECT_EQ(w.IsControlEnabled(Control::Button3), c.replaced);
        EXPECT_EQ(w.IsControlEnabled(Control::Button7), c.readData);
        EXPECT_FALSE(w.IsControlVisible(Control::ProgressBar1));
        EXPECT_TRUE(w.IsControlEnabled(Control::Button6));
        // Not connected any more: Connect again, nothing that needs the logger.
        EXPECT_EQ(services.link.IsOpen(), c.connected);
        EXPECT_EQ(w.IsControlEnabled(Control::OdczytUstawien), !c.connected);
        for (Control control : {Control::Button1, Control::Button8, Control::ZapisUstawien,
                                Control::DateTimePicker1, Control::DateTimePicker6})
            EXPECT_EQ(w.IsControlEnabled(control), c.connected) << LayoutOf(control).name;
        EXPECT_EQ(w.ControlText(Control::Label9), c.connected
                                                      ? w.Text(RunText::FoundStatus)
                                                      : TextOf(TextTarget::Label9, c.language));
        // The chart shows what came (or, when nothing did, what it showed before).
        EXPECT_EQ(Points(), c.replaced ? 3u : 1u);
    }
}

// During the download the window takes its events with every control locked (the chart too,
// so the mouse does nothing there); a click made meanwhile is dropped, not run afterwards.
TEST_F(DownloadEnd, WindowTakesEventsButClicksMeanwhileAreDropped) {
    MainWindow& w = Open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Connect(test::LoggerWithBlocks(test::SmallLog()));
    int eventsTaken = 0;
    bool everythingLocked = true;
    services.pause.onSleep = [&](int) {
        for (const ControlLayout& layout : ControlLayouts())
            if (ControlLock::Locks(layout.control) && w.IsControlEnabled(layout.control))
                everythingLocked = false;
        if (logger.writes.back() == test::BlockRequest(4))
            Post([&] {
                ++eventsTaken;
                for (Control c : {Control::Button8, Control::Button6, Control::Button3,
                                  Control::OdczytUstawien, Control::Button7})
                    QTest::mouseClick(w.Widget(c), Qt::LeftButton);
            });
    };
    Click(Control::Button7);
    QCoreApplication::processEvents();

    EXPECT_EQ(eventsTaken, 1);
    EXPECT_TRUE(everythingLocked);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(dialogs.openOptions.empty());
    EXPECT_TRUE(dialogs.saveOptions.empty());
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(dialogs.messages.size(), 1u); // Connect's
    EXPECT_EQ(logger.writes.back(), test::BlockRequest(4));
    // Then the window is as after any complete download.
    EXPECT_TRUE(w.IsControlEnabled(Control::Button8));
    EXPECT_FALSE(w.IsControlEnabled(Control::Button7));
    EXPECT_TRUE(w.IsControlEnabled(Control::Chart1));
}

// The close button ends the download after the current block and closes the window without a
// box; logger.txt keeps what came.
TEST_F(DownloadEnd, ClosingTheWindowCancelsAfterTheBlockAndCloses) {
    MainWindow& w = Open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Connect(test::LoggerWithBlocks(test::SmallLog()));
    DuringBlock(1, [&] { Post([&] { w.close(); }); });
    Click(Control::Button7);

    EXPECT_EQ(logger.written(), "G?00000\rG?00001\r");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(dialogs.messages.size(), 1u); // Connect's
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(Slurp(folder / "logger.txt"), SmallLogFile);
}

} // namespace
} // namespace velkor
