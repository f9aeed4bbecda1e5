// The download, the erase and the scan over a real pseudo-terminal against a simulated logger
// that misbehaves: replies split inside a record or dripping byte by byte, silent or garbage
// blocks, a device that vanishes mid-download, an erase confirmation in two pieces, a port held
// by another program. Small logs, real waits.

#include "link/Connect.h"
#include "log/DataLine.h"
#include "log/Download.h"
#include "log/Erase.h"
#include "tests/integration/SimulatedLoggerFixture.h"
#include "tests/log/LogTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace velkor;
using velkor::testing::SimulatedLoggerFixture;

namespace {

constexpr int Records = 30; // two blocks

struct LogFaultPty : SimulatedLoggerFixture {
    test::TempDir dir;
    std::string fileName = dir.File("logger.txt");
    LoggerSettings settings;
    DataFileState state;
    test::RecordingPlot plot;
    test::RecordingProgress progress;

    void SetUp() override {
        SimulatedLoggerFixture::SetUp();
        logger.changeState([](sim::LoggerState& s) {
            s.records.clear();
            for (int i = 0; i < Records; ++i) {
                cmd::LogRecord r;
                r.day = 5, r.month = 3, r.year = 24, r.hour = 8;
                r.minute = static_cast<std::uint8_t>(i);
                r.temperature = static_cast<std::int16_t>(200 + i);
                r.humidity = static_cast<std::int16_t>(490 - i);
                s.records.push_back(r);
            }
            s.sampleCount = Records;
        });
        settings.LoggingStart = test::At(2024, 3, 5, 8, 0, 0);
        settings.SampleCount = Records;
    }

    // The data line of record i, numbered n.
    static std::string Line(int n, int i) {
        return DataLine(n, 2024, 3, 5, 8, i, 0, 200 + i, 490 - i);
    }
};

} // namespace

TEST_F(LogFaultPty, DownloadsKeepEveryRecordThatArrivedWhole) {
    sim::Faults split;
    split.commands = {"G?"};
    split.splitAt = 105; // inside record 11
    split.splitPauseMs = 250;
    sim::Faults drip;
    drip.commands = {"G?"};
    drip.dripMs = 1;
    sim::Faults silent;
    silent.commands = {"G?00001"};
    silent.silent = true;
    sim::Faults garbage;
    garbage.replies["G?00001"] = std::string(BlockReplyBytes, 'A');
    sim::Faults vanish;
    vanish.vanishAfterBlocks = 1;
    const struct {
        const char* name;
        sim::Faults faults;
        DownloadEnd end;
        int records;
    } cases[] = {
        {"split inside a record", split, DownloadEnd::Complete, Records},
        {"drip", drip, DownloadEnd::Complete, Records},
        {"silent block", silent, DownloadEnd::LoggerSilent, 25},
        {"garbage block", garbage, DownloadEnd::Complete, 25},
        {"vanish after a block", vanish, DownloadEnd::DeviceLost, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteFile(fileName, "previous\r\n");
        logger.setFaults(c.faults);
        const DownloadResult result =
            DownloadLog(link, pause, settings, state, plot, progress, {}, fileName);
        EXPECT_EQ(result.end, c.end);
        EXPECT_EQ(result.recordsWritten, c.records);
        EXPECT_TRUE(result.fileReplaced);
        std::string expected;
        for (int i = 0; i < c.records; ++i)
            expected += Line(i + 1, i);
        EXPECT_EQ(test::ReadFile(fileName), expected);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"logger.txt"});
        if (c.end == DownloadEnd::DeviceLost) {
            EXPECT_EQ(result.portName, "COM3");
            EXPECT_EQ(result.error, "Input/output error");
            EXPECT_TRUE(logger.vanished());
            // The name is gone with the device; the channel lets go of the port.
            link.ClosePort();
            EXPECT_FALSE(link.OpenPort(Port));
        }
    }
}

TEST_F(LogFaultPty, AnEraseConfirmationInTwoPiecesIsSeen) {
    sim::Faults faults;
    faults.commands = {"E!"};
    faults.splitAt = 3; // "E!O", then "K" CR
    faults.splitPauseMs = 150;
    logger.setFaults(faults);
    test::RecordingProgress eraseProgress;
    EXPECT_TRUE(EraseMemory(link, pause, eraseProgress, {}));
    EXPECT_TRUE(logger.state().records.empty());
}

TEST_F(LogFaultPty, APortHeldByAnotherProgramIsNamedBusy) {
    link.ClosePort();
    logger.holdPort(true);
    ScanResult scan = ScanForLogger(link, pause);
    EXPECT_FALSE(scan.reply.has_value());
    EXPECT_EQ(scan.busyPorts, std::vector<std::string>{"COM3"});
    logger.holdPort(false);
    scan = ScanForLogger(link, pause);
    ASSERT_TRUE(scan.reply.has_value());
    EXPECT_EQ(*scan.reply, "RTW01234\r");
    EXPECT_TRUE(scan.busyPorts.empty());
}

// A block reply that pauses in the middle is asked for again once the line is quiet; the late
// tail of the abandoned reply never lands in the next read. A pause of 0.5 s once costs one
// repeat; a pause of 2 s in every reply leaves the block cut, and the download ends there with
// every record that arrived whole, numbered without holes.
TEST_F(LogFaultPty, ABlockReplyThatPausesIsAskedForAgain) {
    constexpr int LongLog = 70; // blocks 0 to 2, block 2 not full
    logger.changeState([](sim::LoggerState& s) {
        s.records.resize(LongLog, s.records.front());
        for (int i = 0; i < LongLog; ++i) {
            s.records[i].hour = static_cast<std::uint8_t>(8 + i / 60);
            s.records[i].minute = static_cast<std::uint8_t>(i % 60);
            s.records[i].temperature = static_cast<std::int16_t>(200 + i);
            s.records[i].humidity = static_cast<std::int16_t>(490 - i);
        }
        s.sampleCount = LongLog;
    });
    settings.SampleCount = LongLog;
    const struct {
        int pauseMs;
        int times; // replies of block 1 that pause
        DownloadEnd end;
        int records;
    } cases[] = {
        {500, 1, DownloadEnd::Complete, LongLog},
        {2000, -1, DownloadEnd::ReplyCut, 25 + 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pauseMs);
        sim::Faults pausing;
        pausing.commands = {"G?00001"};
        pausing.times = c.times;
        pausing.splitAt = 105; // inside record 11 of the block
        pausing.splitPauseMs = c.pauseMs;
        logger.setFaults(pausing);
        logger.clearReceived();
        const DownloadResult result =
            DownloadLog(link, pause, settings, state, plot, progress, {}, fileName);
        EXPECT_EQ(result.end, c.end);
        EXPECT_EQ(result.IsComplete(), c.end == DownloadEnd::Complete);
        EXPECT_EQ(result.recordsWritten, c.records);
        std::string expected;
        for (int i = 0; i < c.records; ++i)
            expected += DataLine(i + 1, 2024, 3, 5, 8 + i / 60, i % 60, 0, 200 + i, 490 - i);
        EXPECT_EQ(test::ReadFile(fileName), expected);
        // Asked for again, or read whole when a slow machine read on past the pause.
        const std::vector<std::string> received = logger.received();
        const auto block1Requests = std::count(received.begin(), received.end(), "G?00001\r");
        EXPECT_GE(block1Requests, c.end == DownloadEnd::Complete ? 1 : ShortReplyAttempts);
        EXPECT_LE(block1Requests, ShortReplyAttempts);
        // A cut block ends the download: nothing past the hole is asked for.
        EXPECT_EQ(std::count(received.begin(), received.end(), "G?00002\r"),
                  c.end == DownloadEnd::Complete ? 1 : 0);
        // Let the abandoned tails go before the next case.
        std::this_thread::sleep_for(std::chrono::milliseconds(c.pauseMs));
        link.ClearBuffers();
    }
}
