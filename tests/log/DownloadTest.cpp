#include "DownloadFixture.h"

#include "log/DataFileLoader.h"
#include "log/DataLine.h"
#include "platform/Errors.h"

#include <filesystem>

using namespace velkor;
using namespace velkor::testing;

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
    }
    // Erased memory only: no record, so no data file and no name for one.
    EXPECT_TRUE(dir.Names().empty());
    EXPECT_EQ(state.DataFileName, "");
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
    blocks[0] = Block(reply);
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
    blocks[0] = Block(reply);
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
    blocks[0] = Block(blocks[0]);
    blocks[1] = Block(Record(2024, 3, 7, 8, 0, 0, 1, 1));
    WriteFile(fileName, "previous\r\n");
    const DownloadResult result = RunDownload();
    EXPECT_EQ(result.recordsWritten, 0);
    EXPECT_EQ(result.end, DownloadEnd::Complete);
    EXPECT_FALSE(result.fileReplaced);
    EXPECT_EQ(ReadFile(fileName), "previous\r\n");
    EXPECT_TRUE(plot.points.empty());
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
    logSleeps = false;
    settings.SampleCount = 2'500'000;
    EXPECT_EQ(Download(), 0);
    ASSERT_EQ(line.writes.size(), 100'000u);
    EXPECT_EQ(line.writes.back(), "G?99999\r");
    EXPECT_EQ(progress.maxima, std::vector<int>{99'999});
    EXPECT_EQ(progress.positions.back(), 99'999);
}

TEST_F(DownloadFixture, AFileThatCannotBeCreatedLeavesSeriesProgressAndNameAlone) {
    std::filesystem::create_directory(dir.File("folder.txt"));
    const struct {
        std::string fileName;
        std::string message;
    } cases[] = {
        {dir.File("missing/logger.txt"), MissingFolderText()},
        {dir.File("folder.txt"), IsFolderText()},
    };
    for (const auto& c : cases) {
        plot.points = {{0, 1.0, 1.0, 0}};
        state.DataFileName = "earlier.txt";
        fileName = c.fileName;
        try {
            Download();
            ADD_FAILURE() << "no InOutError";
        } catch (const InOutError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
        EXPECT_EQ(state.DataFileName, "earlier.txt");
        EXPECT_EQ(plot.points.size(), 1u);
        EXPECT_TRUE(events.empty());
        EXPECT_TRUE(line.writes.empty());
    }
}

TEST_F(DownloadFixture, ADownloadReplacesLoadedPointsAndItsFileLoadsFromTheThirdLine) {
    plot.points.push_back({0, 1.0, 1.0, 0});
    settings.SampleCount = 30;
    for (int i = 0; i < 25; ++i)
        Append(blocks[0], Record(2024, 3, 5, 8, i, 0, 200 + i, 400 + i));
    for (int i = 25; i < 30; ++i)
        Append(blocks[1], Record(2024, 3, 5, 8, i, 0, 213, 400 + i));
    blocks[1] = Block(blocks[1]);
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
