// The scan for the logger over the COM names.
#include "link/Connect.h"
#include "FakeLogger.h"
#include "link/Commands.h"
#include "platform/MemorySerial.h"
#include "platform/Pause.h"

#include <gtest/gtest.h>

using namespace velkor;
using velkor::testing::AnswerCommands;

namespace {

struct ScanFixture : ::testing::Test {
    MemorySerialPorts ports;
    RecordingPause pause;
    SerialLink link{ports};

    void AddSilent(const std::string& name) { ports.add(name); }
    MemoryLine& AddAnswering(const std::string& name, const std::string& reply) {
        MemoryLine& line = ports.add(name);
        AnswerCommands(line, {{cmd::Identify, reply}});
        return line;
    }
    std::vector<std::size_t> AttemptsOf(const std::string& name) const {
        std::vector<std::size_t> at;
        for (std::size_t k = 0; k < ports.openAttempts.size(); ++k)
            if (ports.openAttempts[k] == name)
                at.push_back(k + 1); // the loop's i
        return at;
    }
};

} // namespace

TEST_F(ScanFixture, FindsTheLoggerOnCom3AfterTwoSilentPorts) {
    AddSilent("COM1");
    AddSilent("COM2");
    MemoryLine& logger = AddAnswering("COM3", "RTW01234\r");

    const auto reply = FindLogger(link, pause);

    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(*reply, "RTW01234\r");
    EXPECT_EQ(ports.openAttempts, (std::vector<std::string>{"COM1", "COM2", "COM3"}));
    for (const char* silent : {"COM1", "COM2"}) {
        const MemoryLine& line = *ports.find(silent);
        EXPECT_EQ(line.opens, 1) << silent;
        EXPECT_EQ(line.closes, 1) << silent;
        EXPECT_EQ(line.written(), "N?\r") << silent;
    }
    EXPECT_TRUE(logger.isOpen);
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(pause.waits, (std::vector<int>{100, 100, 100}));
    EXPECT_EQ(IdentifierOf(*reply), "RTW01234");
    EXPECT_TRUE(cmd::HasHumidity(IdentifierOf(*reply)));
}

TEST_F(ScanFixture, WithNoPortsTries511NamesInTwoPasses) {
    const auto reply = FindLogger(link, pause);

    EXPECT_FALSE(reply.has_value());
    ASSERT_EQ(ports.openAttempts.size(), 511u);
    EXPECT_EQ(ports.openAttempts[0], "COM1");
    EXPECT_EQ(ports.openAttempts[254], "COM255");
    EXPECT_EQ(ports.openAttempts[255], "COM0");
    EXPECT_EQ(ports.openAttempts[256], "COM1");
    EXPECT_EQ(ports.openAttempts[510], "COM255");
    EXPECT_TRUE(pause.waits.empty());
    EXPECT_FALSE(link.IsOpen());

    // A second click scans everything again.
    EXPECT_FALSE(FindLogger(link, pause).has_value());
    EXPECT_EQ(ports.openAttempts.size(), 1022u);
}

TEST_F(ScanFixture, SilentPortIsTriedOnceInEachPass) {
    AddSilent("COM7");
    const MemoryLine& line = *ports.find("COM7");

    EXPECT_FALSE(FindLogger(link, pause).has_value());

    EXPECT_EQ(AttemptsOf("COM7"), (std::vector<std::size_t>{7, 263}));
    EXPECT_EQ(line.opens, 2);
    EXPECT_EQ(line.closes, 2);
    EXPECT_FALSE(line.isOpen);
    EXPECT_EQ(pause.waits.size(), 2u);
}

TEST_F(ScanFixture, LoggerOnCom0IsFoundBetweenThePasses) {
    AddSilent("COM5");
    AddAnswering("COM0", "RTT9\r");

    const auto reply = FindLogger(link, pause);

    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(ports.openAttempts.size(), 256u);
    EXPECT_EQ(ports.find("COM5")->opens, 1);
    EXPECT_FALSE(cmd::HasHumidity(IdentifierOf(*reply)));
}

TEST_F(ScanFixture, OnlyAReplyBeginningWithUpperCaseRtIsTheLogger) {
    AddAnswering("COM1", "rtw01234\r");
    AddAnswering("COM2", "XRW\r");
    AddAnswering("COM3", "R");
    AddAnswering("COM4", "RT");

    const auto reply = FindLogger(link, pause);

    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(*reply, "RT");
    for (const char* other : {"COM1", "COM2", "COM3"})
        EXPECT_FALSE(ports.find(other)->isOpen) << other;
    EXPECT_TRUE(ports.find("COM4")->isOpen);
    // RT alone: a logger without humidity sensor, whatever other devices answered before.
    EXPECT_EQ(IdentifierOf(*reply), "RT");
    EXPECT_FALSE(cmd::HasHumidity(IdentifierOf(*reply)));
}

TEST_F(ScanFixture, PortsThatDoNotOpenOrNeverFinishTransmittingAreSkipped) {
    MemoryLine& busy = AddAnswering("COM1", "RTW\r");
    busy.isOpen = true; // in use by another program: the open is refused
    MemoryLine& stuck = AddAnswering("COM2", "RTW\r");
    stuck.failingTransmitWaits = 1000;
    AddAnswering("COM3", "RTT5\r");

    const auto reply = FindLogger(link, pause);

    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(*reply, "RTT5\r");
    EXPECT_EQ(busy.opens, 0);
    EXPECT_EQ(stuck.closes, 1);
    EXPECT_FALSE(stuck.isOpen);
    // No wait for a command that never went out.
    EXPECT_EQ(pause.waits.size(), 1u);
}

// Ports another program holds are named, once each in scan order, whether the logger is found
// or not; a device that vanishes while asked is skipped like a silent one.
TEST_F(ScanFixture, BusyPortsAreCollectedDuringTheScan) {
    ports.add("COM7").busy = true;
    ports.add("COM2").busy = true;
    ports.add("COM4").gone = true;
    ScanResult none = ScanForLogger(link, pause);
    EXPECT_FALSE(none.reply.has_value());
    EXPECT_EQ(none.busyPorts, (std::vector<std::string>{"COM2", "COM7"}));
    EXPECT_FALSE(link.IsOpen());

    AddAnswering("COM5", "RTW01234\r");
    ScanResult found = ScanForLogger(link, pause);
    ASSERT_TRUE(found.reply.has_value());
    EXPECT_EQ(*found.reply, "RTW01234\r");
    EXPECT_EQ(found.busyPorts, std::vector<std::string>{"COM2"});
    EXPECT_EQ(link.PortName(), "COM5");
}
