// The serial channel over a real pseudo-terminal, with the simulated logger at the far end.

#include "link/Commands.h"
#include "platform/Errors.h"
#include "tests/integration/SimulatedLoggerFixture.h"
#include "tools/loggersim/LogSource.h"
#include "tools/loggersim/LoggerProtocol.h"

#include <gtest/gtest.h>

using namespace velkor;
using velkor::testing::SimulatedLoggerFixture;

namespace {

using SerialLinkPty = SimulatedLoggerFixture;

std::vector<std::uint8_t> Bytes(const cmd::LogRecord& record) {
    std::vector<std::uint8_t> bytes(cmd::RecordSize);
    sim::EncodeRecord(record, bytes.data());
    return bytes;
}

} // namespace

TEST_F(SerialLinkPty, IdentifiesTheLoggerOnItsNumberOnly) {
    EXPECT_EQ(exchange(cmd::Identify), "RTW01234\r");
    EXPECT_TRUE(cmd::IsLoggerReply(link.ReplyText()));
    EXPECT_EQ(logger.received(), std::vector<std::string>{"N?\r"});

    EXPECT_FALSE(link.OpenPort(2));
    EXPECT_FALSE(link.OpenPort(0));
    ASSERT_TRUE(link.OpenPort(Port));
    logger.changeState([](sim::LoggerState& s) { s.identification = "RTT55\r"; });
    EXPECT_EQ(exchange(cmd::Identify), "RTT55\r");
    EXPECT_FALSE(cmd::HasHumidity(link.ReplyText()));
}

TEST_F(SerialLinkPty, QueriesReadTheLoggersClockAtTheirPositions) {
    logger.changeState(
        [](sim::LoggerState& s) { s.clock = sim::MakeDateTime(2031, 12, 9, 12, 34, 56); });
    exchange(cmd::QueryClockTime);
    link.SanitiseReply();
    EXPECT_EQ(cmd::Field(link.ReplyText(), 3, 8), "123456");
    exchange(cmd::QueryClockDate);
    link.SanitiseReply();
    EXPECT_EQ(cmd::Field(link.ReplyText(), 3, 8), "091231");
}

TEST_F(SerialLinkPty, SetCommandsArriveWhole_AndChangeTheLogger) {
    exchange(cmd::SetInterval(0, 0, 10));
    exchange(cmd::SetLoggingStart(7, 8, 9, 5, 2, 2024));
    exchange(cmd::SetSampleCount("0000360"));
    exchange(cmd::SetClockTime(8, 7, 6)); // shorter than the S! before it
    exchange(cmd::SetClockDate(9, 12, 2031));
    const std::vector<std::string> expected = {"I!000010\r", "R!070809050224\r", "S!0000360\r",
                                               "T!080706\r", "D!091231\r"};
    EXPECT_EQ(logger.received(), expected);

    const sim::LoggerState state = logger.state();
    EXPECT_EQ(state.intervalSeconds, 10);
    EXPECT_DOUBLE_EQ(state.loggingStart, sim::MakeDateTime(2024, 2, 5, 7, 8, 9));
    EXPECT_EQ(state.sampleCount, 360u);
    EXPECT_DOUBLE_EQ(state.clock, sim::MakeDateTime(2031, 12, 9, 8, 7, 6));
}

TEST_F(SerialLinkPty, ABlockRequestBrings250BytesOfRecords) {
    const auto log = sim::GenerateLog(30, sim::MakeDateTime(2024, 3, 1), 600);
    logger.changeState([&](sim::LoggerState& s) { s.records = log; });

    link.ClearBuffers();
    exchange(cmd::RequestBlock(0));
    ASSERT_EQ(link.QueuedBytes, 250u);
    for (std::size_t i = 0; i < 25; ++i) {
        const auto* slot = link.ReceiveBuffer.data() + i * cmd::RecordSize;
        EXPECT_EQ(std::vector<std::uint8_t>(slot, slot + cmd::RecordSize), Bytes(log[i]))
            << "slot " << i;
    }
    // The extra slot after a full block holds what ClearBuffers left: no valid date.
    double t = 0;
    EXPECT_FALSE(cmd::LogRecord::Decode(link.ReceiveBuffer.data() + 250).DateTime(t));

    exchange(cmd::RequestBlock(1));
    ASSERT_EQ(link.QueuedBytes, 250u);
    EXPECT_TRUE(cmd::LogRecord::Decode(link.ReceiveBuffer.data() + 40).DateTime(t));
    EXPECT_EQ(link.ReceiveBuffer[50], 0xFF); // erased memory past the end of the log
    EXPECT_FALSE(cmd::LogRecord::Decode(link.ReceiveBuffer.data() + 50).DateTime(t));
}

TEST_F(SerialLinkPty, AnUnreadReplyToASetCommandIsDiscardedBeforeTheNextCommand) {
    sim::Faults faults;
    faults.setCommandReply = "OK\r";
    logger.setFaults(faults);

    link.SetCommand(cmd::SetClockTime(8, 7, 6));
    link.SendCommand();
    pause.sleep(100); // the program reads nothing after a set command
    ASSERT_EQ(logger.bytesSent(), 3u);

    EXPECT_EQ(exchange(cmd::QueryClockTime), "T?080706\r");
    EXPECT_EQ(link.QueuedBytes, 9u);
}

TEST_F(SerialLinkPty, SixHundredBytesWaitingAreRead512AndThe88Left) {
    sim::Faults faults;
    faults.replies["N?"] = std::string(600, 'R');
    logger.setFaults(faults);
    exchange(cmd::Identify);
    EXPECT_EQ(link.QueuedBytes, 600u);
    ASSERT_TRUE(link.ReadReply(512));
    EXPECT_EQ(link.QueuedBytes, 88u);
    EXPECT_FALSE(link.ReadReply(512));
}

TEST_F(SerialLinkPty, AnUnpluggedLoggerRaisesALostDeviceErrorInsteadOfHanging) {
    ASSERT_EQ(exchange(cmd::Identify), "RTW01234\r");
    logger.unplug();

    link.SetCommand(cmd::QueryClockTime);
    try {
        link.SendCommand();
        ADD_FAILURE() << "SendCommand on a vanished device returned normally";
    } catch (const LostDeviceError& e) {
        EXPECT_STREQ(e.what(), "Input/output error");
        EXPECT_EQ(e.PortName(), "COM3");
    }
    link.ReceiveBuffer[0] = 'X';
    EXPECT_THROW(link.ReadReply(512), LostDeviceError);
    EXPECT_EQ(link.QueuedBytes, 0u);
    EXPECT_EQ(link.ReceiveBuffer[0], 'X');
    // Its link is gone with it.
    EXPECT_FALSE(link.OpenPort(Port));
}

TEST_F(SerialLinkPty, TheOpenPortIsExclusive) {
    PosixSerialPorts others{PortLocations{{}, home / "dev", {}}};
    EXPECT_EQ(others.open("COM3"), nullptr);
    link.ClosePort();
    EXPECT_NE(others.open("COM3"), nullptr);
}

TEST_F(SerialLinkPty, ARemovedLinkKeepsAnOpenPortWorkingButHidesTheLogger) {
    logger.removeLink();
    EXPECT_FALSE(std::filesystem::exists(home / "velkor/ports/COM3"));
    EXPECT_EQ(exchange(cmd::Identify), "RTW01234\r");
    EXPECT_FALSE(link.OpenPort(Port));
}
