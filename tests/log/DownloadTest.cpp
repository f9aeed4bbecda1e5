#include "LogTestSupport.h"

#include "link/SerialLink.h"
#include "log/DataFileLoader.h"
#include "log/DataLine.h"
#include "log/Download.h"
#include "platform/Errors.h"
#include "platform/MemorySerial.h"
#include "platform/Pause.h"

#include <gtest/gtest.h>
#include <map>

using namespace velkor;
using namespace velkor::test;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct DownloadFixture : ::testing::Test {
    MemorySerialPorts ports;
    MemoryLine& line = ports.add("COM1");
    SerialLink link{ports};
    RecordingPause pause;
    LoggerSettings settings;
    DataFileState state;
    EventLog events;
    RecordingPlot plot{&events};
    RecordingProgress progress{&events};
    TempDir dir;
    std::string fileName = dir.File("logger.txt");
    // The reply the simulated logger sends to each block request.
    std::map<int, Bytes> blocks;
    // Called with each requested block number before the reply is sent.
    std::function<void(int block)> onRequest;

    void SetUp() override {
        ASSERT_TRUE(link.OpenPort(1));
        settings.LoggingStart = At(2024, 3, 5, 8, 0, 0);
        line.onWrite = [this](const std::string& written, MemoryLine& l) {
            ASSERT_EQ(written.size(), 8u);
            ASSERT_EQ(written.substr(0, 2), "G?");
            const int block = std::stoi(written.substr(2, 5));
            events.push_back("request " + std::to_string(block));
            if (onRequest)
                onRequest(block);
            auto it = blocks.find(block);
            if (it != blocks.end())
                l.send(it->second);
        };
        pause.onSleep = [this](int ms) { events.push_back("sleep " + std::to_string(ms)); };
    }

    int Download() {
        return DownloadLog(link, pause, settings, state, plot, progress, {}, fileName)
            .recordsWritten;
    }
    std::string Lines(std::initializer_list<std::string> lines) {
        std::string all;
        for (const auto& l : lines)
            all += l;
        return all;
    }
};

} // namespace

TEST_F(DownloadFixture, BlockCountsRequestsAndProgress) {
    const struct {
        std::uint32_t samples;
        int requests;
    } cases[] = {{0, 1}, {24, 1}, {25, 2}, {50, 3}};
    for (const auto& c : cases) {
        settings.SampleCount = c.samples;
        line.writes.clear();
        progress.maxima.clear();
        progress.positions.clear();
        pause.waits.clear();
        EXPECT_EQ(Download(), 0);
        std::vector<std::string> expectedWrites;
        std::vector<int> expectedPositions;
        for (int b = 0; b < c.requests; ++b) {
            char request[16];
            std::snprintf(request, sizeof request, "G?%05d\r", b);
            expectedWrites.push_back(request);
            expectedPositions.push_back(b);
        }
        EXPECT_EQ(line.writes, expectedWrites) << c.samples;
        EXPECT_EQ(progress.maxima, std::vector<int>{c.requests - 1}) << c.samples;
        EXPECT_EQ(progress.positions, expectedPositions) << c.samples;
        EXPECT_EQ(pause.waits, std::vector<int>(c.requests, 100)) << c.samples;
        EXPECT_FALSE(progress.shown);
        EXPECT_EQ(ReadFile(fileName), "");
        EXPECT_FALSE(IsOpenInProcess(fileName));
    }
    EXPECT_EQ(state.DataFileName, fileName);
}

TEST_F(DownloadFixture, OrderOfEffects) {
    settings.SampleCount = 25;
    Download();
    const EventLog expected = {"clear",      "show 1",    "progress 0", "request 0", "sleep 100",
                               "progress 1", "request 1", "sleep 100",  "hide"};
    EXPECT_EQ(events, expected);
}

TEST_F(DownloadFixture, AcceptedRecordsAreWrittenAndAllButTheFirstPlotted) {
    Bytes reply;
    Append(reply, Record(2024, 3, 5, 8, 0, 0, 215, 453));
    Append(reply, Record(2024, 3, 5, 8, 10, 0, -52, 5));
    Append(reply, Record(2024, 3, 5, 8, 10, 0, 999, 999)); // the same instant: skipped
    Append(reply, Bytes(10, 0xFF));                        // erased memory
    Append(reply, Record(2024, 3, 5, 8, 20, 0, -1, -5));
    Append(reply, {0x05, 0x03, 0x18, 0x08, 0x1E, 0x00, 0x00, 0x80, 0xE8, 0x03});
    blocks[0] = reply;
    EXPECT_EQ(Download(), 4);

    EXPECT_EQ(ReadFile(fileName), Lines({
                                      "1\t2024-03-05 08:00:00\t+021.5\t45.3\r\n",
                                      "2\t2024-03-05 08:10:00\t-005.2\t0.5\r\n",
                                      "3\t2024-03-05 08:20:00\t-000.1\t-0.5\r\n",
                                      "4\t2024-03-05 08:30:00\t-3276.8\t100.0\r\n",
                                  }));
    const auto t = plot.Series(TemperatureSeries);
    const auto h = plot.Series(HumiditySeries);
    ASSERT_EQ(t.size(), 3u);
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(t[0].x, At(2024, 3, 5, 8, 10, 0));
    EXPECT_EQ(t[0].y, -5.2);
    EXPECT_EQ(h[0].y, 0.5);
    EXPECT_EQ(t[1].y, -0.1);
    EXPECT_EQ(h[1].y, -0.5);
    EXPECT_EQ(t[2].x, At(2024, 3, 5, 8, 30, 0));
    EXPECT_EQ(t[2].y, -3276.8);
    EXPECT_EQ(h[2].y, 100.0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(t[i].color, 0x0000FFu);
        EXPECT_EQ(h[i].color, 0x008000u);
    }
    // Temperature before humidity for each record, all after the block's reply.
    const EventLog expected = {"clear",     "show 0",  "progress 0", "request 0",
                               "sleep 100", "point 0", "point 1",    "point 0",
                               "point 1",   "point 0", "point 1",    "hide"};
    EXPECT_EQ(events, expected);
}

TEST_F(DownloadFixture, TheTwoDayWindowIsStrictAndMovesOnlyWithAcceptedRecords) {
    const double start = settings.LoggingStart;
    Bytes reply;
    Append(reply, Record(2024, 3, 4, 8, 0, 1, 1, 1));   // just after start - 1 day: accepted
    Append(reply, Record(2024, 3, 6, 8, 0, 1, 2, 2));   // exactly 2.0 days later: skipped
    Append(reply, Record(2024, 3, 6, 8, 0, 0, 3, 3));   // 1 s less: accepted
    Append(reply, Record(2024, 3, 9, 8, 0, 0, 4, 4));   // 3 days later: skipped
    Append(reply, Record(2024, 3, 6, 9, 0, 0, 5, 5));   // accepted, numbered 3
    Append(reply, Record(2024, 3, 6, 8, 59, 59, 6, 6)); // earlier: skipped
    blocks[0] = reply;
    EXPECT_EQ(Download(), 3);
    const std::string file = ReadFile(fileName);
    EXPECT_EQ(file, Lines({"1\t2024-03-04 08:00:01\t+000.1\t0.1\r\n",
                           "2\t2024-03-06 08:00:00\t+000.3\t0.3\r\n",
                           "3\t2024-03-06 09:00:00\t+000.5\t0.5\r\n"}));
    EXPECT_LT(start - 1.0, At(2024, 3, 4, 8, 0, 1));
}

TEST_F(DownloadFixture, ALogEntirelyADayAfterTheStartGivesNothing) {
    settings.SampleCount = 25;
    blocks[0] = Record(2024, 3, 6, 8, 0, 0, 1, 1);
    Append(blocks[0], Record(2024, 3, 6, 20, 0, 0, 1, 1));
    blocks[1] = Record(2024, 3, 7, 8, 0, 0, 1, 1);
    EXPECT_EQ(Download(), 0);
    EXPECT_EQ(ReadFile(fileName), "");
    EXPECT_TRUE(plot.points.empty());
}

TEST_F(DownloadFixture, TheSlotAfterTheLastWholeRecordIsExaminedToo) {
    Bytes full;
    for (int i = 0; i < 25; ++i)
        Append(full, Record(2024, 3, 5, 8, i, 0, i, i));
    // A stale record behind the reply would be taken were the buffer not cleared first.
    const Bytes stale = Record(2024, 3, 5, 9, 0, 0, 7, 7);
    std::copy(stale.begin(), stale.end(), link.ReceiveBuffer.begin() + 250);
    blocks[0] = full;
    EXPECT_EQ(Download(), 25);

    // Five bytes of a 26th record: with the cleared bytes 255 and 256 they form a valid record,
    // whose humidity comes from byte 258, which ClearBuffers leaves as it was (the stale 7).
    Bytes partial = full;
    Append(partial, {5, 3, 24, 9, 0});
    blocks[0] = partial;
    EXPECT_EQ(Download(), 26);
    const std::string file = ReadFile(fileName);
    EXPECT_EQ(file.substr(file.rfind("26\t")), "26\t2024-03-05 09:00:00\t 000.0\t0.7\r\n");
}

TEST_F(DownloadFixture, OnlySlotsWhollyInsideTheReceiveBufferAreExamined) {
    Bytes many;
    for (int i = 0; i < 60; ++i)
        Append(many, Record(2024, 3, 5, 8, i, 0, 1, 1));
    blocks[0] = many;
    EXPECT_EQ(Download(), 51);
}

TEST_F(DownloadFixture, HugeSampleCountsRequestOnlyTheBlocksTheRequestCanNumber) {
    EXPECT_EQ(BlockRequestCount(2'499'974), 99'999);
    EXPECT_EQ(BlockRequestCount(2'499'999), 100'000);
    EXPECT_EQ(BlockRequestCount(0xFFFFFFFFu), 100'000);
    pause.onSleep = nullptr;
    line.onWrite = nullptr;
    settings.SampleCount = 2'500'000;
    EXPECT_EQ(Download(), 0);
    ASSERT_EQ(line.writes.size(), 100'000u);
    EXPECT_EQ(line.writes.back(), "G?99999\r");
    EXPECT_EQ(progress.maxima, std::vector<int>{99'999});
    EXPECT_EQ(progress.positions.back(), 99'999);
}

TEST_F(DownloadFixture, AFileThatCannotBeCreatedLeavesSeriesAndProgressAlone) {
    plot.points.push_back({0, 1.0, 1.0, 0});
    fileName = dir.File("missing/logger.txt");
    EXPECT_THROW(Download(), InOutError);
    EXPECT_EQ(state.DataFileName, fileName);
    EXPECT_EQ(plot.points.size(), 1u);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(line.writes.empty());
}

TEST_F(DownloadFixture, AFullDiskStopsTheDownloadAtThatRecord) {
    settings.SampleCount = 25;
    blocks[0] = Record(2024, 3, 5, 8, 0, 0, 1, 1);
    fileName = "/dev/full";
    try {
        Download();
        FAIL() << "the write error must be reported";
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "No space left on device");
    }
    EXPECT_EQ(line.writes.size(), 1u);
    EXPECT_TRUE(progress.shown);
    EXPECT_FALSE(IsOpenInProcess("/dev/full"));
}

TEST_F(DownloadFixture, AfterAWriteErrorTheFileIsClosedWithTheWholeLinesBefore) {
    for (int i = 0; i < 5; ++i)
        Append(blocks[0], Record(2024, 3, 5, 8, i, 0, 1, 1));
    const std::string first = DataLine(1, 2024, 3, 5, 8, 0, 0, 1, 1);
    const std::string second = DataLine(2, 2024, 3, 5, 8, 1, 0, 1, 1);
    std::string message;
    {
        FileSizeLimit limit(first.size() + second.size() + 10);
        try {
            Download();
        } catch (const InOutError& e) {
            message = e.what();
        }
    }
    EXPECT_EQ(message, "File too large");
    EXPECT_EQ(ReadFile(fileName), first + second);
    EXPECT_FALSE(IsOpenInProcess(fileName));
    EXPECT_TRUE(progress.shown);
}

TEST_F(DownloadFixture, ADeviceThatDisappearsStopsWithTheChannelError) {
    settings.SampleCount = 100;
    blocks[0] = Record(2024, 3, 5, 8, 0, 0, 1, 1);
    Append(blocks[0], Record(2024, 3, 5, 8, 1, 0, 2, 2));
    onRequest = [this](int block) {
        if (block == 2)
            line.gone = true;
    };
    try {
        Download();
        FAIL() << "the vanished device must be reported";
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "Input/output error");
    }
    EXPECT_EQ(ReadFile(fileName),
              DataLine(1, 2024, 3, 5, 8, 0, 0, 1, 1) + DataLine(2, 2024, 3, 5, 8, 1, 0, 2, 2));
    EXPECT_FALSE(IsOpenInProcess(fileName));
    EXPECT_EQ(plot.points.size(), 2u);
    EXPECT_TRUE(progress.shown);
}

TEST_F(DownloadFixture, ADownloadReplacesLoadedPointsAndItsFileLoadsFromTheThirdLine) {
    plot.points.push_back({0, 1.0, 1.0, 0});
    settings.SampleCount = 30;
    for (int i = 0; i < 25; ++i)
        Append(blocks[0], Record(2024, 3, 5, 8, i, 0, 200 + i, 400 + i));
    for (int i = 25; i < 30; ++i)
        Append(blocks[1], Record(2024, 3, 5, 8, i, 0, 213, 400 + i));
    EXPECT_EQ(Download(), 30);
    const auto downloaded = plot.Series(TemperatureSeries);
    ASSERT_EQ(downloaded.size(), 29u);
    EXPECT_EQ(downloaded.back().y, 21.3);

    DataFileState loadedState;
    RecordingPlot loaded;
    EXPECT_EQ(LoadDataFile(loadedState, fileName, loaded, [] {}), 28u);
    const auto t = loaded.Series(TemperatureSeries);
    const auto h = loaded.Series(HumiditySeries);
    ASSERT_EQ(t.size(), 28u);
    ASSERT_EQ(h.size(), 28u);
    for (std::size_t i = 0; i < t.size(); ++i) {
        EXPECT_EQ(t[i].x, downloaded[i + 1].x);
        EXPECT_EQ(t[i].y, static_cast<double>(static_cast<float>(downloaded[i + 1].y)));
    }
    EXPECT_EQ(t.back().y, 21.299999237060547);
}
