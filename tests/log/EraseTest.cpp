#include "LogTestSupport.h"

#include "link/SerialLink.h"
#include "log/Erase.h"
#include "platform/MemorySerial.h"
#include "platform/Pause.h"

#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::testing;

namespace {

struct EraseFixture : ::testing::Test {
    MemorySerialPorts ports;
    MemoryLine& line = ports.add("COM1");
    SerialLink link{ports};
    RecordingPause pause;
    EventLog events;
    RecordingProgress progress{&events};
    int eventRuns = 0;
    // The poll (1-based) before which the logger's "OK" arrives; 0 for never.
    int confirmOnPoll = 0;

    void SetUp() override {
        ASSERT_TRUE(link.OpenPort(1));
        line.onWrite = [this](const std::string& written, MemoryLine&) {
            events.push_back("write " + written);
        };
        pause.onSleep = [this](int ms) {
            events.push_back("sleep " + std::to_string(ms));
            if (confirmOnPoll > 0 && static_cast<int>(pause.waits.size()) == confirmOnPoll)
                line.send("E!OK\r");
        };
    }

    bool Erase() {
        return EraseMemory(link, pause, progress, [this] {
            ++eventRuns;
            events.push_back("events");
        });
    }
};

} // namespace

TEST_F(EraseFixture, ConfirmedOnTheFirstPoll) {
    confirmOnPoll = 1;
    EXPECT_TRUE(Erase());
    const EventLog expected = {"write E!\r", "show 200", "sleep 100", "progress 0", "events"};
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(progress.shown) << "the window hides the bar after its result box";
}

TEST_F(EraseFixture, ConfirmedOnTheLastPoll) {
    confirmOnPoll = 601;
    EXPECT_TRUE(Erase());
    EXPECT_EQ(pause.waits.size(), 601u);
    EXPECT_EQ(progress.positions.back(), 600);
}

TEST_F(EraseFixture, NeverConfirmedAfter601Polls) {
    EXPECT_FALSE(Erase());
    EXPECT_EQ(pause.waits, std::vector<int>(601, 100));
    std::vector<int> expected(601);
    for (int i = 0; i < 601; ++i)
        expected[i] = i;
    EXPECT_EQ(progress.positions, expected);
    EXPECT_EQ(progress.maxima, std::vector<int>{200});
    EXPECT_EQ(eventRuns, 601);
    EXPECT_EQ(line.writes, std::vector<std::string>{"E!\r"});
}

TEST_F(EraseFixture, AConfirmationTooLateIsNotSeen) {
    confirmOnPoll = 602;
    EXPECT_FALSE(Erase());
}

// The logger's "E!OK" CR as it may arrive: in pieces over several polls, after other bytes.
TEST_F(EraseFixture, AConfirmationInPiecesIsCollectedAcrossPolls) {
    const struct {
        std::vector<std::string> pieces; // one per poll from poll 3 on
        bool confirmed;
        std::size_t polls;
    } cases[] = {
        {{"E=O", "K\r"}, true, 4},     {{"E!", "OK\r"}, true, 4},   {{"E", "!", "O", "K"}, true, 6},
        {{"E!O", "", "K\r"}, true, 5}, {{"xx", "E!OK\r"}, true, 4}, {{"E!O", "X\r"}, false, 601},
        {{"E!", "KO"}, false, 601},
    };
    for (const auto& c : cases) {
        pause.waits.clear();
        line.writes.clear();
        pause.onSleep = [&](int) {
            const std::size_t poll = pause.waits.size();
            if (poll >= 3 && poll - 3 < c.pieces.size())
                line.send(c.pieces[poll - 3]);
        };
        EXPECT_EQ(Erase(), c.confirmed) << c.pieces.size() << " " << c.pieces.front();
        EXPECT_EQ(pause.waits.size(), c.polls) << c.pieces.front();
    }
}

TEST_F(EraseFixture, AStaleOkBeforeTheCommandIsNotCounted) {
    // An "OK" left in the buffer by an earlier reply, and another one waiting unread.
    link.ReceiveBuffer[2] = 'O';
    link.ReceiveBuffer[3] = 'K';
    line.send(std::string(700, 'x') + "E!OK\r");
    EXPECT_FALSE(Erase());
    EXPECT_EQ(pause.waits.size(), 601u);
}
