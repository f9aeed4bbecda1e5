#pragma once
// The download against an in-memory port whose far end answers block requests, on a virtual
// clock that the recording pause advances: replies can arrive in parts over time.

#include "LogTestSupport.h"

#include "link/SerialLink.h"
#include "log/Download.h"
#include "platform/MemorySerial.h"
#include "platform/Pause.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace velkor::testing {

using Bytes = std::vector<std::uint8_t>;

// Part of a reply: its bytes arrive this many milliseconds after the request.
struct Chunk {
    int atMs;
    Bytes bytes;
};

// A reply of whole slots, padded to a block with erased memory (0xFF).
inline Bytes Block(Bytes records) {
    if (records.size() < BlockReplyBytes)
        records.resize(BlockReplyBytes, 0xFF);
    return records;
}

// Records i = first..last of a log every minute from 2024-03-05 08:00, temperature 20.0 + i,
// humidity 40.0 + i tenths.
inline Bytes Records(int first, int last) {
    Bytes bytes;
    for (int i = first; i <= last; ++i)
        Append(bytes, Record(2024, 3, 5, 8 + i / 60, i % 60, 0, 200 + i, 400 + i));
    return bytes;
}

struct DownloadRig {
    MemorySerialPorts ports;
    MemoryLine& line = ports.add("COM1");
    SerialLink link{ports};
    RecordingPause pause;
    LoggerSettings settings;
    DataFileState state;
    EventLog events;
    RecordingPlot plot{&events};
    RecordingProgress progress{&events};
    TempFolder dir;
    std::string fileName = dir.File("logger.txt");
    // The reply to each block request, all at once; a block not listed answers with erased
    // memory.
    std::map<int, Bytes> blocks;
    // Replies that arrive in parts instead (a block listed here is not looked up in blocks).
    std::map<int, std::vector<Chunk>> timedBlocks;
    // Blocks that get no reply; how many of their requests stay unanswered (-1: all).
    std::map<int, int> silentBlocks;
    // Called with each requested block number before the reply is sent.
    std::function<void(int block)> onRequest;
    CancelCheck cancel;
    // The virtual clock, in milliseconds, and the parts still to arrive.
    long now = 0;
    std::vector<std::pair<long, Bytes>> pending;
    bool logSleeps = true;

    void Start() {
        ASSERT_TRUE(link.OpenPort(1));
        settings.LoggingStart = At(2024, 3, 5, 8, 0, 0);
        line.onWrite = [this](const std::string& written, MemoryLine& l) {
            ASSERT_EQ(written.size(), 8u);
            ASSERT_EQ(written.substr(0, 2), "G?");
            const int block = std::stoi(written.substr(2, 5));
            events.push_back("request " + std::to_string(block));
            if (onRequest)
                onRequest(block);
            pending.clear();
            auto silent = silentBlocks.find(block);
            if (silent != silentBlocks.end() && silent->second != 0) {
                --silent->second;
                return;
            }
            if (auto timed = timedBlocks.find(block); timed != timedBlocks.end()) {
                for (const Chunk& c : timed->second)
                    pending.emplace_back(now + c.atMs, c.bytes);
                Deliver(l);
                return;
            }
            auto it = blocks.find(block);
            l.send(it != blocks.end() ? it->second : Bytes(BlockReplyBytes, 0xFF));
        };
        pause.onSleep = [this](int ms) {
            if (logSleeps)
                events.push_back("sleep " + std::to_string(ms));
            now += ms;
            Deliver(line);
        };
    }

    void Deliver(MemoryLine& l) {
        while (!pending.empty() && pending.front().first <= now) {
            l.send(pending.front().second);
            pending.erase(pending.begin());
        }
    }

    DownloadResult RunDownload() {
        return DownloadLog(link, pause, settings, state, plot, progress, cancel, fileName);
    }
    int Download() { return RunDownload().recordsWritten; }

    // Every file left in the folder besides the data file.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names = dir.Names();
        std::erase(names, "logger.txt");
        return names;
    }

    static std::string Lines(std::initializer_list<std::string> lines) {
        std::string all;
        for (const auto& l : lines)
            all += l;
        return all;
    }
};

struct DownloadFixture : ::testing::Test, DownloadRig {
    void SetUp() override { Start(); }
};

} // namespace velkor::testing
