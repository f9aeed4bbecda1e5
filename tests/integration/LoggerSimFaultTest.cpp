// The simulated logger's injected faults, seen through the program's serial channel.

#include "link/Commands.h"
#include "tests/integration/SimulatedLoggerFixture.h"
#include "tools/loggersim/LogSource.h"

#include <gtest/gtest.h>

using namespace velkor;
using velkor::testing::SimulatedLoggerFixture;

namespace {

struct LoggerSimFaults : SimulatedLoggerFixture {
    sim::Faults faults;

    void inject() { logger.setFaults(faults); }

    // Reads every 100 ms, at most `polls` times, until something arrives; the number of reads
    // made, or 0 when nothing came.
    int pollForReply(int polls) {
        for (int i = 1; i <= polls; ++i) {
            pause.sleep(100);
            if (link.ReadReply(SerialLink::ReceiveBufferSize))
                return i;
        }
        return 0;
    }

    bool eraseConfirmed() const {
        return link.ReceiveBuffer[2] == 'O' && link.ReceiveBuffer[3] == 'K';
    }
};

} // namespace

TEST_F(LoggerSimFaults, ASilentLoggerSendsNothing) {
    faults.silent = true;
    inject();
    EXPECT_EQ(exchange(cmd::Identify), "");
    EXPECT_EQ(link.QueuedBytes, 0u);
    EXPECT_EQ(pollForReply(3), 0);
    EXPECT_EQ(logger.received(), std::vector<std::string>{"N?\r"});
}

TEST_F(LoggerSimFaults, ALateReplyMissesTheReadAndIsDiscardedByTheNextCommand) {
    faults.delayMs = 400;
    faults.commands = {"T?"};
    inject();
    EXPECT_EQ(exchange(cmd::QueryClockTime), "");
    // It does come, later, and waits in the queue.
    for (int i = 0; i < 20 && logger.bytesSent() < 9; ++i)
        pause.sleep(50);
    ASSERT_EQ(logger.bytesSent(), 9u);
    pause.sleep(20);
    EXPECT_EQ(exchange(cmd::QueryClockDate), "D?010324\r");
}

TEST_F(LoggerSimFaults, ASplitReplyArrivesInTwoParts) {
    faults.splitAt = 4;
    faults.splitPauseMs = 400;
    inject();
    link.ClearBuffers();
    EXPECT_EQ(exchange(cmd::QueryClockTime), "T?12");
    EXPECT_GT(pollForReply(10), 0);
    EXPECT_EQ(lastReadBytes(), "0000\r");
}

TEST_F(LoggerSimFaults, ExtraBytesFollowTheReply) {
    faults.extra = "\xFF\r";
    inject();
    EXPECT_EQ(exchange(cmd::QueryBattery), "U?03650\r\xFF\r");
}

TEST_F(LoggerSimFaults, FaultsCanBeLimitedToSomeCommandsAndSomeTimes) {
    logger.changeState([](sim::LoggerState& s) {
        s.records = sim::GenerateLog(75, sim::MakeDateTime(2024, 3, 1), 60);
    });
    faults.commands = {"G?00001"};
    faults.silent = true;
    inject();
    exchange(cmd::RequestBlock(0));
    EXPECT_EQ(link.QueuedBytes, 250u);
    exchange(cmd::RequestBlock(1));
    EXPECT_EQ(link.QueuedBytes, 0u);
    exchange(cmd::RequestBlock(2));
    EXPECT_EQ(link.QueuedBytes, 250u);

    faults = {};
    faults.silent = true;
    faults.times = 1;
    inject();
    EXPECT_EQ(exchange(cmd::Identify), "");
    EXPECT_EQ(exchange(cmd::Identify), "RTW01234\r");
}

TEST_F(LoggerSimFaults, AReplyCanBeReplacedByAnyBytes) {
    faults.replies["T?"] = "T?256000\r";
    faults.replies["G?"] = "";
    inject();
    EXPECT_EQ(exchange(cmd::QueryClockTime), "T?256000\r");
    EXPECT_EQ(exchange(cmd::RequestBlock(0)), "");
    EXPECT_EQ(exchange(cmd::QueryClockDate), "D?010324\r");
}

TEST_F(LoggerSimFaults, EraseConfirmsAfterItsDelayAndEmptiesTheMemory) {
    logger.changeState([](sim::LoggerState& s) {
        s.records = sim::GenerateLog(10, sim::MakeDateTime(2024, 3, 1), 60);
    });
    faults.eraseDelayMs = 350;
    inject();
    link.SetCommand(cmd::Erase);
    link.SendCommand();
    int polls = 0;
    while (polls < 20 && !eraseConfirmed()) {
        ++polls;
        pause.sleep(100);
        link.ReadReply(SerialLink::ReceiveBufferSize);
    }
    EXPECT_TRUE(eraseConfirmed());
    EXPECT_GE(polls, 3); // not before the delay
    EXPECT_EQ(link.ReplyText(), "E!OK\r");
    EXPECT_TRUE(logger.state().records.empty());
}

TEST_F(LoggerSimFaults, AnEraseThatNeverFinishesNeverConfirms) {
    logger.changeState([](sim::LoggerState& s) {
        s.records = sim::GenerateLog(10, sim::MakeDateTime(2024, 3, 1), 60);
    });
    faults.eraseNeverConfirms = true;
    inject();
    link.SetCommand(cmd::Erase);
    link.SendCommand();
    EXPECT_EQ(pollForReply(5), 0);
    EXPECT_EQ(logger.state().records.size(), 10u);
}
