#pragma once
// Block replies of the scripted logger: records as the logger stores them, padded to the whole
// 250 bytes of a block with erased memory, as a real logger answers.

#include "LoggerWindow.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace velkor::testing {

// One log record as the logger stores it.
inline std::string Record(int year, int month, int day, int hour, int minute, int second,
                          int temperature, int humidity) {
    std::string r;
    for (int b : {day, month, year - 2000, hour, minute, second})
        r += static_cast<char>(b);
    for (int v : {temperature, humidity}) {
        const auto u = static_cast<std::uint16_t>(static_cast<std::int16_t>(v));
        r += static_cast<char>(u & 0xff);
        r += static_cast<char>(u >> 8);
    }
    return r;
}

// The records, then erased memory (0xFF) up to the block's 250 bytes.
inline std::string FullBlock(const std::string& records = {}) {
    return records + std::string(250 - records.size(), '\xff');
}

// The request for a block: "G?00002" CR.
inline std::string BlockRequest(int block) {
    char request[16];
    std::snprintf(request, sizeof request, "G?%05d\r", block);
    return request;
}

// ValidLogger (100 samples: blocks 0 to 4) answering each block as `blocks` says; a block not
// named gets no reply at all.
inline Replies LoggerWithBlocks(const std::map<int, std::string>& blocks) {
    Replies replies = ValidLogger();
    for (const auto& [block, bytes] : blocks)
        replies[BlockRequest(block)] = bytes;
    return replies;
}

// Four records in block 0 (the second at the same instant as the first, so three lines are
// written) and one in block 1: four lines in logger.txt, three points a series.
inline std::map<int, std::string> SmallLog() {
    return {
        {0,
         FullBlock(Record(2024, 1, 1, 0, 0, 0, 215, 453) + Record(2024, 1, 1, 0, 10, 0, -1, 5) +
                   Record(2024, 1, 1, 0, 10, 0, 999, 999) + Record(2024, 1, 1, 0, 20, 0, 0, 1000))},
        {1, FullBlock(Record(2024, 1, 1, 0, 30, 0, -32768, -5))},
        {2, FullBlock()},
        {3, FullBlock()},
        {4, FullBlock()}};
}

} // namespace velkor::testing
