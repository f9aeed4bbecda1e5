#pragma once
// Shared helpers of the measurement log tests: recording sinks, a temporary folder, log
// records as the logger sends them.

#include "log/Sinks.h"
#include "tests/support/TempFolder.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace velkor::testing {

// Effects in the order they happened, shared by the sinks and the simulated device.
using EventLog = std::vector<std::string>;

struct Point {
    int series;
    double x;
    double y;
    std::uint32_t color;
};

class RecordingPlot final : public PlotSink {
public:
    explicit RecordingPlot(EventLog* events = nullptr) : events_(events) {}
    void ClearSeries() override;
    void AddPoint(int series, double x, double y, std::uint32_t color) override;
    void SetBottomAxisAutomatic() override;

    std::vector<Point> Series(int series) const;

    std::vector<Point> points;
    int clears = 0;
    int automaticAxisCalls = 0;

private:
    EventLog* events_;
};

class RecordingProgress final : public ProgressSink {
public:
    explicit RecordingProgress(EventLog* events = nullptr) : events_(events) {}
    void ShowProgress(int maximum) override;
    void SetProgress(int position) override;
    void HideProgress() override;

    std::vector<int> maxima;
    std::vector<int> positions;
    bool shown = false;

private:
    EventLog* events_;
};

std::string ReadFile(const std::string& fileName);
void WriteFile(const std::string& fileName, const std::string& bytes);
// Whether this process holds a descriptor open on that file.
bool IsOpenInProcess(const std::string& fileName);
// The system's texts for a file that does not exist, for a file in a folder that does not
// exist, and for a folder where a file is to be written.
std::string MissingFileText();
std::string MissingFolderText();
std::string IsFolderText();
// Sets an environment variable; nullptr removes it.
void SetEnvironment(const char* name, const char* value);

#ifndef _WIN32
// Lets files of this process grow to a few bytes only while it lives; writes beyond fail with
// EFBIG ("File too large").
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};
#endif

// One 10-byte log record: day, month, year - 2000, hour, minute, second, then temperature and
// humidity in tenths, little-endian.
std::vector<std::uint8_t> Record(int year, int month, int day, int hour, int minute, int second,
                                 int temperature, int humidity);
void Append(std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& more);

// The date-time of a record, as the download computes it.
double At(int year, int month, int day, int hour, int minute, int second);

} // namespace velkor::testing
