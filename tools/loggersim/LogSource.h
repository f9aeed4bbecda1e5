#pragma once
// Logs for the simulated logger's memory: generated temperature and humidity curves, or read
// from a file.

#include "link/Commands.h"

#include <cstddef>
#include <filesystem>
#include <vector>

namespace velkor::sim {

// A record taken at `dateTime` (a day count) with the values rounded to tenths. Throws
// std::invalid_argument when the date is outside the years 2000 to 2255, which a record cannot
// carry.
cmd::LogRecord MakeRecord(double dateTime, double temperature, double humidity);

// `count` records, the first at `start`, one every `intervalSeconds`: temperature with a
// daily cycle (coolest before dawn, warmest mid-afternoon), a slow change of weather over days
// and a little sensor noise; relative humidity falling as it gets warmer, within 5 to 99.9 %.
// The same seed gives the same log.
std::vector<cmd::LogRecord> GenerateLog(std::size_t count, double start, int intervalSeconds,
                                        unsigned seed = 1);

// A data file as the program writes it: per line the record number, TAB, "yyyy-mm-dd
// hh:nn:ss", TAB, temperature, TAB, humidity, with CR LF or LF line ends. Blank lines are
// skipped. Throws std::runtime_error naming the line that does not read.
std::vector<cmd::LogRecord> ReadDataFile(const std::filesystem::path& file);

// A raw record file: 10-byte records as the logger stores them, one after the other. Throws
// std::runtime_error when it cannot be read or its size is not a multiple of 10.
std::vector<cmd::LogRecord> ReadRecordFile(const std::filesystem::path& file);

} // namespace velkor::sim
