#include "link/SerialLink.h"
#include "platform/Errors.h"
#include "platform/MemorySerial.h"

#include <functional>
#include <gtest/gtest.h>

using namespace velkor;

namespace {

struct LinkFixture : ::testing::Test {
    MemorySerialPorts ports;
    MemoryLine& line = ports.add("COM1");
    SerialLink link{ports};
    void SetUp() override { ASSERT_TRUE(link.OpenPort(1)); }
};

} // namespace

TEST_F(LinkFixture, SendsOnlyTheBytesBeforeTheZero) {
    link.SetCommand("R!070809050224\r");
    link.SendCommand();
    link.SetCommand("T?\r");
    link.SendCommand();
    ASSERT_EQ(line.writes.size(), 2u);
    EXPECT_EQ(line.writes[0], "R!070809050224\r");
    EXPECT_EQ(line.writes[1], std::string("T?\r"));
}

TEST_F(LinkFixture, DiscardsUnreadBytesBeforeACommand) {
    line.send("stale reply\r");
    link.SetCommand("T?\r");
    link.SendCommand();
    EXPECT_TRUE(line.input.empty());
}

TEST_F(LinkFixture, RepeatsAFailingTransmitWaitThreeTimesThenRaises) {
    line.failingTransmitWaits = 2;
    link.SetCommand("T?\r");
    link.SendCommand();
    EXPECT_EQ(line.writes.size(), 3u);

    line.writes.clear();
    line.failingTransmitWaits = 100;
    EXPECT_THROW(link.SendCommand(), InOutError);
    EXPECT_EQ(line.writes.size(), 3u);
}

// A device that went away raises LostDeviceError naming the port and the system's text, from
// every exchange, without the retries a slow transmitter gets.
TEST_F(LinkFixture, ALostDeviceIsReportedWithItsPort) {
    EXPECT_EQ(link.PortName(), "COM1");
    line.send("half a re");
    line.gone = true;
    const std::function<void()> exchanges[] = {
        [&] { link.SendCommand(); },
        [&] { link.ReadReply(); },
        [&] { link.ReadMore(4); },
    };
    for (const auto& exchange : exchanges) {
        line.writes.clear();
        try {
            link.SetCommand("T?\r");
            exchange();
            ADD_FAILURE() << "no LostDeviceError";
        } catch (const LostDeviceError& e) {
            EXPECT_EQ(e.PortName(), "COM1");
            EXPECT_EQ(e.SystemText(), "Input/output error");
            EXPECT_STREQ(e.what(), "Input/output error");
        }
        EXPECT_LE(line.writes.size(), 1u);
    }
    link.ClosePort();
    EXPECT_EQ(link.PortName(), "");
}

TEST_F(LinkFixture, ReadMoreAppendsWhatArrivedBehindWhatWasRead) {
    line.send("E!O");
    ASSERT_TRUE(link.ReadReply());
    line.send("K\r");
    EXPECT_EQ(link.ReadMore(3), 2u);
    EXPECT_EQ(link.ReplyText().substr(0, 5), "E!OK\r");
    EXPECT_EQ(link.ReadMore(5), 0u);
    line.send(std::string(20, 'x'));
    EXPECT_EQ(link.ReadMore(SerialLink::ReceiveBufferSize - 4), 4u);
}

TEST_F(LinkFixture, ReadReplyWithNothingWaitingLeavesTheBuffer) {
    link.ReceiveBuffer[0] = 'X';
    link.QueuedBytes = 99;
    EXPECT_FALSE(link.ReadReply(512));
    EXPECT_EQ(link.QueuedBytes, 0u);
    EXPECT_EQ(link.ReceiveBuffer[0], 'X');
}

TEST_F(LinkFixture, Reads512OfSixHundredAndLeavesTheRest) {
    line.send(std::string(600, '7'));
    EXPECT_TRUE(link.ReadReply(512));
    EXPECT_EQ(link.QueuedBytes, 600u);
    EXPECT_EQ(line.input.size(), 88u);
    EXPECT_TRUE(link.ReadReply(512));
    EXPECT_EQ(link.QueuedBytes, 88u);
}

TEST_F(LinkFixture, AShortReplyLeavesTheTailOfAnOlderOne) {
    line.send("ABCDEFGHIJKLMNOPQRST");
    link.ReadReply(512);
    line.send("123456789");
    link.ReadReply(512);
    EXPECT_EQ(link.ReplyText(), "123456789JKLMNOPQRST");
}

TEST_F(LinkFixture, ClearBuffersClears257ReceiveBytesOnly) {
    link.ReceiveBuffer.fill(0xAA);
    link.SetCommand("S!0000360\r");
    link.ClearBuffers();
    for (auto b : link.SendBuffer)
        EXPECT_EQ(b, 0);
    line.send(std::string(250, 'x'));
    link.ReadReply(512);
    for (int i = 250; i <= 256; ++i)
        EXPECT_EQ(link.ReceiveBuffer[i], 0) << i;
    for (int i = 257; i < 512; ++i)
        EXPECT_EQ(link.ReceiveBuffer[i], 0xAA) << i;
}

TEST_F(LinkFixture, SanitiseKeepsTheFirstTwoBytesAndDigitsOnly) {
    link.ReceiveBuffer.fill(0);
    line.send("AB1x3\r");
    link.ReadReply(512);
    link.SanitiseReply();
    EXPECT_EQ(link.ReplyText(), "AB103" + std::string(507, '0'));
}

TEST_F(LinkFixture, ReplyTextWithoutZeroIsAll512Bytes) {
    link.ReceiveBuffer.fill('5');
    EXPECT_EQ(link.ReplyText().size(), 512u);
}

TEST(SerialLinkOpen, ComZeroAndMissingPortsDoNotOpen) {
    MemorySerialPorts ports;
    SerialLink link{ports};
    EXPECT_FALSE(link.OpenPort(0));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(ports.openAttempts, std::vector<std::string>{"COM0"});
    EXPECT_THROW(link.SendCommand(), InOutError);
}
