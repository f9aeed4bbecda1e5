// Logs for the simulated logger: generated curves, data files, record files, command line.

#include "tools/loggersim/LogSource.h"
#include "platform/DateTime.h"
#include "tests/support/TempFolder.h"
#include "tools/loggersim/CommandLine.h"
#include "tools/loggersim/LoggerProtocol.h"

#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::sim;
using velkor::testing::TempFolder;

namespace {

double TimeOfRecord(const cmd::LogRecord& r) {
    double t = 0;
    EXPECT_TRUE(r.DateTime(t));
    return t;
}

} // namespace

TEST(GeneratedLog, RecordsFollowTheIntervalAndADailyCycle) {
    const double start = MakeDateTime(2024, 6, 1, 0, 0, 0);
    const auto log = GenerateLog(7 * 144, start, 600); // a week, every 10 minutes
    ASSERT_EQ(log.size(), 7u * 144u);
    double afternoon = 0, night = 0;
    int afternoons = 0, nights = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const double t = TimeOfRecord(log[i]);
        EXPECT_NEAR(t, start + i * 600.0 / SecondsPerDay, OneSecond / 2) << i;
        EXPECT_GE(log[i].temperature, -100);
        EXPECT_LE(log[i].temperature, 400);
        EXPECT_GE(log[i].humidity, 50);
        EXPECT_LE(log[i].humidity, 999);
        const int hour = log[i].hour;
        if (hour >= 13 && hour < 17)
            afternoon += log[i].temperature, ++afternoons;
        if (hour >= 1 && hour < 5)
            night += log[i].temperature, ++nights;
        if (i > 0) { // a sensor does not jump
            EXPECT_LE(std::abs(log[i].temperature - log[i - 1].temperature), 20) << i;
        }
    }
    EXPECT_GT(afternoon / afternoons, night / nights + 50); // at least 5 degrees warmer
}

TEST(GeneratedLog, TheSameSeedGivesTheSameLog) {
    const double start = MakeDateTime(2024, 6, 1);
    const auto a = GenerateLog(50, start, 60, 7);
    const auto b = GenerateLog(50, start, 60, 7);
    const auto c = GenerateLog(50, start, 60, 8);
    auto temperatures = [](const std::vector<cmd::LogRecord>& log) {
        std::vector<int> t;
        for (const auto& r : log)
            t.push_back(r.temperature);
        return t;
    };
    EXPECT_EQ(temperatures(a), temperatures(b));
    EXPECT_NE(temperatures(a), temperatures(c));
}

TEST(LogFiles, ADataFileAsTheProgramWritesItLoads) {
    TempFolder folder;
    const auto file = folder.file("logger.txt", "1\t2024-03-05 08:30:00\t+021.5\t45.3\r\n"
                                                "2\t2024-03-05 08:40:00\t 000.0\t0.5\r\n"
                                                "\r\n"
                                                "3\t2024-03-05 08:50:00\t-005.2\t100.0\n");
    const auto log = ReadDataFile(file);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_DOUBLE_EQ(TimeOfRecord(log[0]), MakeDateTime(2024, 3, 5, 8, 30, 0));
    EXPECT_EQ(log[0].temperature, 215);
    EXPECT_EQ(log[0].humidity, 453);
    EXPECT_EQ(log[1].temperature, 0);
    EXPECT_EQ(log[1].humidity, 5);
    EXPECT_EQ(log[2].temperature, -52);
    EXPECT_EQ(log[2].humidity, 1000);

    const auto bad = folder.file("bad.txt", "1\t2024-03-05 08:30:00\t+021.5\t45.3\r\n"
                                            "2\t2024-02-30 08:40:00\t+021.5\t45.3\r\n");
    try {
        ReadDataFile(bad);
        ADD_FAILURE() << "an invalid date was loaded";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("bad.txt:2"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ReadDataFile(folder / "missing.txt"), std::runtime_error);
}

TEST(LogFiles, ARecordFileHoldsTheRawRecords) {
    TempFolder folder;
    const auto log = GenerateLog(3, MakeDateTime(2024, 3, 1), 60);
    std::string bytes(30, '\0');
    for (std::size_t i = 0; i < 3; ++i)
        EncodeRecord(log[i], reinterpret_cast<std::uint8_t*>(bytes.data()) + 10 * i);
    const auto read = ReadRecordFile(folder.file("log.bin", bytes));
    ASSERT_EQ(read.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_DOUBLE_EQ(TimeOfRecord(read[i]), TimeOfRecord(log[i]));
    EXPECT_THROW(ReadRecordFile(folder.file("short.bin", bytes.substr(0, 15))), std::runtime_error);
}

TEST(SimCommandLine, OptionsBecomeTheLoggersState) {
    const auto o = ParseCommandLine({"--port", "3", "--generate", "2000", "--interval", "00:05:00",
                                     "--battery", "3100", "--id", "RTT999", "--set-reply", "OK\\r",
                                     "--erase-delay", "0"});
    EXPECT_EQ(o.port, 3);
    EXPECT_EQ(o.faults.setCommandReply, "OK\r");
    EXPECT_EQ(o.faults.eraseDelayMs, 0);
    const double now = MakeDateTime(2024, 6, 10, 14, 37, 30);
    const LoggerState s = BuildState(o, now);
    EXPECT_EQ(s.identification, "RTT999\r");
    EXPECT_EQ(s.batteryMillivolts, 3100);
    EXPECT_EQ(s.intervalSeconds, 300);
    ASSERT_EQ(s.records.size(), 2000u);
    EXPECT_EQ(s.sampleCount, 2000u);
    EXPECT_DOUBLE_EQ(s.clock, now);
    EXPECT_TRUE(s.clockRuns);
    // The log starts at the logging start and ends about now.
    EXPECT_NEAR(TimeOfRecord(s.records.front()), s.loggingStart, OneSecond);
    EXPECT_NEAR(TimeOfRecord(s.records.back()) + 300 / SecondsPerDay, now, 60 * OneSecond);
}

TEST(SimCommandLine, FaultOptionsForTheDownloadAndThePort) {
    const auto o =
        ParseCommandLine({"--drip", "1", "--vanish-after-blocks", "3", "--hold-port", "--reply",
                          "G?00001=AB\\x00", "--reply", "G?00002=", "--split-at", "105",
                          "--split-pause", "200", "--fault-commands", "G?,E!"});
    EXPECT_EQ(o.faults.dripMs, 1);
    EXPECT_EQ(o.faults.vanishAfterBlocks, 3);
    EXPECT_TRUE(o.faults.holdPort);
    EXPECT_EQ(o.faults.replies.at("G?00001"), std::string("AB\0", 3));
    EXPECT_EQ(o.faults.replies.at("G?00002"), "");
    EXPECT_EQ(o.faults.splitAt, 105u);
    EXPECT_EQ(o.faults.commands, (std::vector<std::string>{"G?", "E!"}));
    EXPECT_THROW(ParseCommandLine({"--reply", "no equals sign"}), std::invalid_argument);
    EXPECT_EQ(ParseCommandLine({}).faults.vanishAfterBlocks, -1);
}

TEST(SimCommandLine, ALogFileGivesStartIntervalAndCount) {
    TempFolder folder;
    const auto file = folder.file("logger.txt", "1\t2024-03-05 08:30:00\t+021.5\t45.3\r\n"
                                                "2\t2024-03-05 08:30:30\t+021.6\t45.2\r\n");
    const LoggerState s =
        BuildState(ParseCommandLine({"--log", file.string(), "--samples", "7"}), 0);
    EXPECT_EQ(s.intervalSeconds, 30);
    EXPECT_DOUBLE_EQ(s.loggingStart, MakeDateTime(2024, 3, 5, 8, 30, 0));
    EXPECT_EQ(s.records.size(), 2u);
    EXPECT_EQ(s.sampleCount, 7u);
}

TEST(SimCommandLine, BadOptionsAreRefusedWithAMessage) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--port", "256"},
                                               {"--port"},
                                               {"--interval", "24:00:00"},
                                               {"--clock", "2024-02-30 10:00:00"},
                                               {"--samples", "12x"},
                                               {"--generate", "10", "--log", "x.txt"},
                                               {"--frobnicate"},
                                               {"stray"}}) {
        EXPECT_THROW(ParseCommandLine(args), std::invalid_argument) << args[0];
    }
    EXPECT_EQ(Unescape("A\\x0Db\\\\\\n"), "A\rb\\\n");
}
