// The download when the logger, the port or the disk misbehaves: replies in parts, silence,
// garbage, a vanished device, a cancel, a failing write. Nothing received is lost, and the
// previous data file is never emptied for nothing.

#include "DownloadFixture.h"

#include "log/DataLine.h"
#include "platform/Errors.h"

#include <numeric>

using namespace velkor;
using namespace velkor::test;

namespace {

// The line of record i of Records().
std::string LineOf(int number, int i) {
    return DataLine(number, 2024, 3, 5, 8 + i / 60, i % 60, 0, 200 + i, 400 + i);
}

std::string LinesOf(int first, int last) {
    std::string all;
    for (int i = first; i <= last; ++i)
        all += LineOf(i - first + 1, i);
    return all;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to) {
    return Bytes(bytes.begin() + static_cast<long>(from),
                 bytes.begin() + static_cast<long>(std::min(to, bytes.size())));
}

} // namespace

// A reply is read on while it is shorter than a block; a slot is decoded only when whole.
TEST_F(DownloadFixture, RepliesInPartsAreReadWhole) {
    const Bytes full = Records(0, 24);
    std::vector<Chunk> drip;
    for (std::size_t i = 0; i < full.size(); ++i)
        drip.push_back({static_cast<int>(i), Bytes{full[i]}});
    std::vector<Chunk> trickle; // one record every 250 ms, for ever
    for (int i = 0; i < 25; ++i)
        trickle.push_back({250 * i, Slice(full, 10u * i, 10u * i + 10)});
    const struct {
        const char* name;
        std::vector<Chunk> chunks;
        int records;  // lines written
        long waitsMs; // all pauses of the block, when its reply came whole
    } cases[] = {
        // Split inside record 11, the rest 200 ms or 290 ms later.
        {"split", {{0, Slice(full, 0, 105)}, {200, Slice(full, 105, 250)}}, 25, 200},
        {"late split", {{0, Slice(full, 0, 105)}, {290, Slice(full, 105, 250)}}, 25, 290},
        // 1 byte per millisecond.
        {"drip", drip, 25, 250},
        // Short every time it is asked: read on until the line stayed quiet for 300 ms.
        {"short", {{0, Slice(full, 0, 60)}}, 6, 0},
        // Never quiet for long, never whole: the reading stops after 2 s in all, with what
        // arrived by then (records sent at 0, 250, ..., 2000 ms).
        {"trickle", trickle, 9, 0},
        // Cut inside a record and never completed: the partial slot is not decoded.
        {"cut", {{0, Slice(full, 0, 105)}}, 10, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        timedBlocks[0] = c.chunks;
        pause.waits.clear();
        plot.points.clear();
        const DownloadResult result = RunDownload();
        const bool whole = c.records == 25;
        EXPECT_EQ(result.end, whole ? DownloadEnd::Complete : DownloadEnd::ReplyCut);
        EXPECT_EQ(result.IsComplete(), whole);
        EXPECT_EQ(result.recordsWritten, c.records);
        EXPECT_EQ(ReadFile(fileName), LinesOf(0, c.records - 1));
        if (whole) {
            const long waited = std::accumulate(pause.waits.begin(), pause.waits.end(), 0L);
            // The poll that sees the last part ends the read; it ends within one poll of it.
            EXPECT_GE(waited, c.waitsMs);
            EXPECT_LT(waited, c.waitsMs + ReplyPollMilliseconds);
        }
        // A reply that stays short is asked for again, twice, the records kept once.
        EXPECT_EQ(line.writes.size(), whole ? 1u : static_cast<std::size_t>(ShortReplyAttempts));
        line.writes.clear();
        // No point carries the zeros of a slot not received.
        for (const Point& p : plot.points)
            EXPECT_NE(p.y, 0.0);
    }
}

// Whatever ends a download, the records received are kept in the data file, and a download
// that received none leaves the previous data file and its name as they were.
TEST_F(DownloadFixture, HowADownloadEndsAndWhatItKeeps) {
    const Bytes garbage(BlockReplyBytes, 'A'); // day 65: no date
    const struct {
        const char* name;
        std::function<void(DownloadRig&)> setUp;
        DownloadEnd end;
        int records;
        std::vector<int> requests;
        bool block1Missing = false;
    } cases[] = {
        {"whole log", [](DownloadRig&) {}, DownloadEnd::Complete, 75, {0, 1, 2}},
        {"block 1 silent once, asked again",
         [](DownloadRig& f) { f.silentBlocks[1] = 1; },
         DownloadEnd::Complete,
         75,
         {0, 1, 1, 2}},
        {"block 1 silent twice",
         [](DownloadRig& f) { f.silentBlocks[1] = 2; },
         DownloadEnd::LoggerSilent,
         25,
         {0, 1, 1}},
        {"no reply at all",
         [](DownloadRig& f) { f.silentBlocks[0] = -1; },
         DownloadEnd::LoggerSilent,
         0,
         {0, 0}},
        {"block 1 cut short once, whole when asked again",
         [](DownloadRig& f) {
             f.timedBlocks[1] = {{0, Slice(Records(25, 49), 0, 105)}};
             f.onRequest = [&f](int b) {
                 if (b == 1 && f.line.writes.size() == 3)
                     f.timedBlocks.erase(1);
             };
         },
         DownloadEnd::Complete,
         75,
         {0, 1, 1, 2}},
        // The tail of the cut reply comes late, ahead of the repeat: that read does not line
        // up with the records and is not taken; the third request gets the block.
        {"block 1 cut short, its tail ahead of the repeat",
         [](DownloadRig& f) {
             const Bytes block = Block(Records(25, 49));
             f.timedBlocks[1] = {{0, Slice(block, 0, 105)}};
             f.onRequest = [&f, block](int b) {
                 const std::size_t asked = f.line.writes.size();
                 if (b == 1 && asked == 3) {
                     Bytes late = Slice(block, 105, block.size());
                     Append(late, block);
                     f.timedBlocks[1] = {{0, late}};
                 } else if (b == 1 && asked == 4) {
                     f.timedBlocks.erase(1);
                 }
             };
         },
         DownloadEnd::Complete,
         75,
         {0, 1, 1, 1, 2}},
        {"block 1 cut short every time",
         [](DownloadRig& f) {
             f.timedBlocks[1] = {{0, Slice(Records(25, 49), 0, 105)}};
         },
         DownloadEnd::ReplyCut,
         35,
         {0, 1, 1, 1}},
        {"garbage block 1",
         [&](DownloadRig& f) { f.blocks[1] = garbage; },
         DownloadEnd::Complete,
         50,
         {0, 1, 2},
         true},
        {"garbage only",
         [&](DownloadRig& f) {
             f.blocks = {{0, garbage}, {1, garbage}, {2, garbage}};
         },
         DownloadEnd::Complete,
         0,
         {0, 1, 2}},
        {"cancelled after block 1",
         [](DownloadRig& f) { f.cancel = [&f] { return f.line.writes.size() == 2; }; },
         DownloadEnd::Cancelled,
         50,
         {0, 1}},
        {"cancel asked after the last block",
         [](DownloadRig& f) { f.cancel = [&f] { return f.line.writes.size() == 3; }; },
         DownloadEnd::Complete,
         75,
         {0, 1, 2}},
        {"device lost at block 2",
         [](DownloadRig& f) { f.onRequest = [&f](int b) { f.line.gone = b == 2; }; },
         DownloadEnd::DeviceLost,
         50,
         {0, 1, 2}},
        {"device lost while a reply arrives",
         [](DownloadRig& f) {
             f.timedBlocks[1] = {{0, Slice(Records(25, 49), 0, 105)}};
             f.pause.onSleep = [&f](int ms) {
                 f.now += ms;
                 f.line.gone = f.line.writes.size() == 2 && f.now > 150;
             };
         },
         DownloadEnd::DeviceLost,
         25,
         {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadRig f;
        f.Start();
        f.settings.SampleCount = 60;
        for (int b = 0; b < 3; ++b)
            f.blocks[b] = Block(Records(25 * b, std::min(25 * b + 24, 74)));
        WriteFile(f.fileName, "previous\r\n");
        f.state.DataFileName = "earlier.txt";
        int cancelChecks = 0;
        c.setUp(f);
        if (f.cancel)
            f.cancel = [&cancelChecks, check = f.cancel] { return ++cancelChecks, check(); };

        const DownloadResult result = f.RunDownload();
        EXPECT_EQ(result.end, c.end);
        EXPECT_EQ(result.recordsWritten, c.records);
        EXPECT_EQ(result.samplesExpected, 60u);
        std::vector<int> requests;
        for (const std::string& w : f.line.writes)
            requests.push_back(std::stoi(w.substr(2, 5)));
        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(result.fileReplaced, c.records > 0);
        if (c.records > 0) {
            std::string expected;
            for (int i = 0, number = 1; number <= c.records; ++i) {
                // A garbage block 1 leaves a gap in the log, not in the numbering.
                if (!(c.block1Missing && i >= 25 && i < 50))
                    expected += LineOf(number++, i);
            }
            EXPECT_EQ(ReadFile(f.fileName), expected);
            EXPECT_EQ(f.state.DataFileName, f.fileName);
        } else {
            EXPECT_EQ(ReadFile(f.fileName), "previous\r\n");
            EXPECT_EQ(f.state.DataFileName, "earlier.txt");
        }
        EXPECT_TRUE(f.Leftovers().empty());
        EXPECT_FALSE(IsOpenInProcess(f.fileName));
        EXPECT_FALSE(f.progress.shown);
        if (f.cancel) {
            EXPECT_EQ(cancelChecks, static_cast<int>(c.requests.size()));
        }
        if (c.end == DownloadEnd::DeviceLost) {
            EXPECT_EQ(result.portName, "COM1");
            EXPECT_EQ(result.error, "Input/output error");
        }
    }
}

// A block that gets no reply waits for it as for a short one, then asks once more.
TEST_F(DownloadFixture, ASilentBlockIsAskedOnceMoreAfterTheQuietWait) {
    silentBlocks[0] = -1;
    RunDownload();
    const long perRequest = BlockReplyWaitMilliseconds + ReplyQuietMilliseconds;
    EXPECT_EQ(std::accumulate(pause.waits.begin(), pause.waits.end(), 0L), 2 * perRequest);
    EXPECT_EQ(line.writes, (std::vector<std::string>{"G?00000\r", "G?00000\r"}));
}

#ifndef _WIN32 // a file size limit is a POSIX resource limit
// A line the disk refuses ends the download with the system's message; the previous data file
// stays as it was and the temporary file goes.
TEST_F(DownloadFixture, AWriteErrorKeepsThePreviousDataFile) {
    blocks[0] = Block(Records(0, 4));
    WriteFile(fileName, "previous\r\n");
    state.DataFileName = "earlier.txt";
    std::string message;
    {
        FileSizeLimit limit(LineOf(1, 0).size() + 10);
        try {
            RunDownload();
        } catch (const InOutError& e) {
            message = e.what();
        }
    }
    EXPECT_EQ(message, "File too large");
    EXPECT_EQ(ReadFile(fileName), "previous\r\n");
    EXPECT_EQ(state.DataFileName, "earlier.txt");
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_TRUE(progress.shown);
}
#endif

// An error of the channel other than a lost device propagates, after the records received
// before it were put in place.
TEST_F(DownloadFixture, AChannelErrorKeepsTheRecordsReceived) {
    settings.SampleCount = 30;
    blocks[0] = Block(Records(0, 24));
    onRequest = [this](int block) {
        if (block == 1)
            line.failingTransmitWaits = SerialLink::MaxSendAttempts;
    };
    EXPECT_THROW(RunDownload(), InOutError);
    EXPECT_EQ(ReadFile(fileName), LinesOf(0, 24));
    EXPECT_EQ(state.DataFileName, fileName);
    EXPECT_TRUE(Leftovers().empty());
}

TEST(DecodeBlockTest, WholeSlotsOnlyAndTheAcceptanceRule) {
    const double start = At(2024, 3, 5, 8, 0, 0);
    Bytes reply = Records(0, 2);
    Append(reply, Record(2024, 3, 5, 7, 0, 0, 1, 1)); // before the last accepted: skipped
    Append(reply, Records(3, 3));
    Append(reply, {5, 3, 24, 8, 4}); // half a slot
    const struct {
        std::size_t length;
        std::size_t accepted;
        double last;
    } cases[] = {
        {0, 0, start - 1.0},
        {9, 0, start - 1.0},
        {10, 1, start},
        {45, 3, At(2024, 3, 5, 8, 2, 0)},
        {50, 4, At(2024, 3, 5, 8, 3, 0)},
        {reply.size(), 4, At(2024, 3, 5, 8, 3, 0)},
    };
    for (const auto& c : cases) {
        double last = start - 1.0;
        const auto records = DecodeBlock(reply.data(), c.length, last);
        EXPECT_EQ(records.size(), c.accepted) << c.length;
        EXPECT_EQ(last, c.last) << c.length;
        for (std::size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(records[i].minute, i) << c.length;
    }
}
