#include "LogTestSupport.h"

#include "platform/DateTime.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include "platform/Win32Text.h"

#include <windows.h>
#endif

namespace velkor::testing {

void RecordingPlot::ClearSeries() {
    ++clears;
    points.clear();
    if (events_)
        events_->push_back("clear");
}

void RecordingPlot::AddPoint(int series, double x, double y, std::uint32_t color) {
    points.push_back({series, x, y, color});
    if (events_)
        events_->push_back("point " + std::to_string(series));
}

void RecordingPlot::SetBottomAxisAutomatic() {
    ++automaticAxisCalls;
    if (events_)
        events_->push_back("axis");
}

std::vector<Point> RecordingPlot::Series(int series) const {
    std::vector<Point> result;
    for (const Point& p : points)
        if (p.series == series)
            result.push_back(p);
    return result;
}

void RecordingProgress::ShowProgress(int maximum) {
    maxima.push_back(maximum);
    shown = true;
    if (events_)
        events_->push_back("show " + std::to_string(maximum));
}

void RecordingProgress::SetProgress(int position) {
    positions.push_back(position);
    if (events_)
        events_->push_back("progress " + std::to_string(position));
}

void RecordingProgress::HideProgress() {
    shown = false;
    if (events_)
        events_->push_back("hide");
}

std::string ReadFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& fileName, const std::string& bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out << bytes;
}

#ifdef _WIN32
bool IsOpenInProcess(const std::string& fileName) {
    // Windows refuses to open a file without sharing while any handle to it is open.
    const HANDLE handle = ::CreateFileA(fileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::string MissingFileText() {
    return Win32ErrorText(ERROR_FILE_NOT_FOUND);
}

std::string MissingFolderText() {
    return Win32ErrorText(ERROR_PATH_NOT_FOUND);
}

std::string IsFolderText() {
    return Win32ErrorText(ERROR_ACCESS_DENIED);
}

void SetEnvironment(const char* name, const char* value) {
    ::_putenv_s(name, value ? value : ""); // an empty value removes the variable
}
#else
bool IsOpenInProcess(const std::string& fileName) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target = fs::weakly_canonical(fileName, error);
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code linkError;
        const fs::path link = fs::read_symlink(entry.path(), linkError);
        if (!linkError && link == target)
            return true;
    }
    return false;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
}

std::string MissingFileText() {
    return "No such file or directory";
}

std::string MissingFolderText() {
    return "No such file or directory";
}

std::string IsFolderText() {
    return "Is a directory";
}

void SetEnvironment(const char* name, const char* value) {
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}
#endif

std::vector<std::uint8_t> Record(int year, int month, int day, int hour, int minute, int second,
                                 int temperature, int humidity) {
    const auto t = static_cast<std::uint16_t>(static_cast<std::int16_t>(temperature));
    const auto h = static_cast<std::uint16_t>(static_cast<std::int16_t>(humidity));
    return {static_cast<std::uint8_t>(day),         static_cast<std::uint8_t>(month),
            static_cast<std::uint8_t>(year - 2000), static_cast<std::uint8_t>(hour),
            static_cast<std::uint8_t>(minute),      static_cast<std::uint8_t>(second),
            static_cast<std::uint8_t>(t & 0xFF),    static_cast<std::uint8_t>(t >> 8),
            static_cast<std::uint8_t>(h & 0xFF),    static_cast<std::uint8_t>(h >> 8)};
}

void Append(std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

double At(int year, int month, int day, int hour, int minute, int second) {
    double t = 0.0;
    if (!TryEncodeDateTime(year, month, day, hour, minute, second, 0, t))
        throw std::invalid_argument("not a date");
    return t;
}

} // namespace velkor::testing
