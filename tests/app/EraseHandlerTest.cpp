// Erase: the question, the wait with the window taking events, the result box, and the
// controls held still during the wait.
#include "LoggerWindow.h"
#include "app/ControlLock.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace velkor {
namespace {

using velkor::testing::LoggerWindow;

class EraseHandler : public LoggerWindow {
protected:
    void Start(Language language = Language::Polish) {
        Open(language);
        Connect();
        messagesBefore = dialogs.messages.size();
    }
    // The logger confirms at once when asked (at the first poll) or never.
    void ConfirmAtOnce() {
        logger.onWrite = [](const std::string& written, MemoryLine& line) {
            if (written == "E!\r")
                line.send("E!OK\r");
        };
    }
    void ExpectResult(const char* caption, const char* text) {
        ASSERT_EQ(dialogs.messages.size(), messagesBefore + 1);
        EXPECT_EQ(dialogs.messages.back().caption, QString::fromUtf8(caption));
        EXPECT_EQ(dialogs.messages.back().text, QString::fromUtf8(text));
    }
    void ExpectPolishQuestion() {
        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].text, "Czy na pewno?");
        EXPECT_EQ(dialogs.questions[0].caption, "Kasowanie pamięci");
    }
    bool BarShown() const { return window->IsControlVisible(Control::ProgressBar1); }

    std::size_t messagesBefore = 0;
};

TEST_F(EraseHandler, DeclinedSendsNothingAndHidesTheBar) {
    Start();
    dialogs.answerYes = false;
    ASSERT_TRUE(BarShown()); // visible from the start until now
    Click(Control::Button8);
    ExpectPolishQuestion();
    EXPECT_TRUE(logger.writes.empty());
    EXPECT_TRUE(services.pause.waits.empty());
    EXPECT_FALSE(BarShown());
    EXPECT_EQ(dialogs.messages.size(), messagesBefore);
    EXPECT_EQ(window->height(), 505);
}

TEST_F(EraseHandler, ConfirmedAtTheFirstPoll) {
    Start();
    ConfirmAtOnce();
    Click(Control::Button8);
    ExpectPolishQuestion();
    EXPECT_EQ(logger.writes, std::vector<std::string>{"E!\r"});
    EXPECT_EQ(services.pause.waits, std::vector<int>{100});
    EXPECT_EQ(window->ProgressMaximum(), 200);
    EXPECT_EQ(window->ProgressPosition(), 0);
    ExpectResult("Status pamięci  :", "Skasowana");
    EXPECT_FALSE(BarShown());
    EXPECT_EQ(window->height(), 505);
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(EraseHandler, ConfirmedAtTheLastPoll) {
    Start();
    services.pause.onSleep = [&](int) {
        if (services.pause.waits.size() == 601)
            logger.send("E!OK\r");
    };
    Click(Control::Button8);
    EXPECT_EQ(services.pause.waits.size(), 601u);
    ExpectResult("Status pamięci  :", "Skasowana");
}

TEST_F(EraseHandler, NeverConfirmedAfter601Polls) {
    Start();
    std::vector<int> positions;
    services.pause.onSleep = [&](int) { positions.push_back(window->ProgressPosition()); };
    Click(Control::Button8);
    EXPECT_EQ(services.pause.waits, std::vector<int>(601, 100));
    // Before each poll the bar still shows the previous count; the last poll shows 600.
    EXPECT_EQ(positions.front(), 0);
    EXPECT_EQ(positions.back(), 599);
    EXPECT_EQ(window->ProgressPosition(), 600);
    ExpectResult("Status pamięci  :", "Nie skasowana");
    EXPECT_FALSE(BarShown());
    EXPECT_EQ(window->height(), 505);
}

TEST_F(EraseHandler, EnglishResultAfterThePolishQuestion) {
    Start(Language::English);
    ConfirmAtOnce();
    Click(Control::Button8);
    ExpectPolishQuestion();
    ExpectResult("Memory status  :", "Erased");
}

TEST_F(EraseHandler, EnglishNotErased) {
    Start(Language::English);
    Click(Control::Button8);
    ExpectResult("Memory status  :", "Not erased");
}

TEST_F(EraseHandler, WaitTakesEventsButNoControlCanBeUsed) {
    Start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // A logger without humidity and a loaded file make a state with some of each.
    window->OnFileLoaded();
    window->SetControlEnabled(Control::CheckBox2, false);
    const std::vector<bool> before = EnabledStates();

    int polls = 0;
    int eventsTaken = 0;
    bool everythingLocked = true;
    bool barShownAtFullHeight = true;
    services.pause.onSleep = [&](int) {
        ++polls;
        for (const ControlLayout& layout : ControlLayouts())
            if (ControlLock::Locks(layout.control) && window->IsControlEnabled(layout.control))
                everythingLocked = false;
        if (!BarShown() || window->height() != 536)
            barShownAtFullHeight = false;
        if (polls == 3) {
            // Clicks that arrive as events during the wait: the window takes them, the disabled
            // controls ignore them.
            QTimer::singleShot(0, window.get(), [&] {
                ++eventsTaken;
                for (Control c : {Control::Button1, Control::ZapisUstawien, Control::Button8,
                                  Control::Button7, Control::Button6, Control::OdczytUstawien})
                    QTest::mouseClick(window->Widget(c), Qt::LeftButton);
            });
        }
        if (polls == 10)
            logger.send("E!OK\r");
    };
    Click(Control::Button8);

    EXPECT_EQ(eventsTaken, 1);
    EXPECT_TRUE(everythingLocked);
    EXPECT_TRUE(barShownAtFullHeight);
    // Only the erase went out, once; no second exchange started inside the wait.
    EXPECT_EQ(logger.writes, std::vector<std::string>{"E!\r"});
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(dialogs.errors.empty());
    ExpectResult("Status pamięci  :", "Skasowana");
    EXPECT_EQ(EnabledStates(), before);
    EXPECT_EQ(window->height(), 505);
}

// The close button during the wait ends the wait at the next poll and closes the window; no
// result box keeps the user.
TEST_F(EraseHandler, ClosingTheWindowEndsTheWaitAndCloses) {
    Start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    services.pause.onSleep = [&](int) {
        if (services.pause.waits.size() == 3)
            QTimer::singleShot(0, window.get(), [&] { window->close(); });
    };
    Click(Control::Button8);
    EXPECT_EQ(services.pause.waits.size(), 3u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.messages.size(), messagesBefore);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(logger.writes, std::vector<std::string>{"E!\r"});
}

TEST_F(EraseHandler, ControlsComeBackAfterAnErrorInTheWait) {
    Start();
    const std::vector<bool> before = EnabledStates();
    services.pause.onSleep = [&](int) {
        if (services.pause.waits.size() == 5)
            throw std::runtime_error("Input/output error");
    };
    Click(Control::Button8);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text, "Input/output error.");
    EXPECT_EQ(dialogs.messages.size(), messagesBefore); // no result box
    EXPECT_EQ(EnabledStates(), before);
    EXPECT_FALSE(BarShown());
    EXPECT_EQ(window->height(), 505);
}

TEST_F(EraseHandler, ControlsComeBackWhenTheCommandCannotBeSent) {
    Start();
    const std::vector<bool> before = EnabledStates();
    logger.failingTransmitWaits = SerialLink::MaxSendAttempts;
    Click(Control::Button8);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(services.pause.waits.empty());
    EXPECT_EQ(dialogs.messages.size(), messagesBefore);
    EXPECT_EQ(EnabledStates(), before);
    EXPECT_FALSE(BarShown());
}

TEST_F(EraseHandler, ConfirmationAlreadyWaitingBeforeTheCommandDoesNotCount) {
    Start();
    logger.send("E!OK\r"); // an old answer nobody read
    Click(Control::Button8);
    ExpectResult("Status pamięci  :", "Nie skasowana");
}

} // namespace
} // namespace velkor
