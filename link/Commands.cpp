#include "link/Commands.h"

#include "platform/DateTime.h"

#include <cstdio>

namespace velkor::cmd {

std::string TwoDigits(int value) {
    const int v = value < 0 ? -value : value;
    return {static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

std::string SetClockTime(int hour, int minute, int second) {
    return "T!" + TwoDigits(hour) + TwoDigits(minute) + TwoDigits(second) + CR;
}

std::string SetClockDate(int day, int month, int year) {
    return "D!" + TwoDigits(day) + TwoDigits(month) + TwoDigits(year % 100) + CR;
}

std::string SetInterval(int hour, int minute, int second) {
    return "I!" + TwoDigits(hour) + TwoDigits(minute) + TwoDigits(second) + CR;
}

std::string SetLoggingStart(int hour, int minute, int second, int day, int month, int year) {
    return "R!" + TwoDigits(hour) + TwoDigits(minute) + TwoDigits(second) + TwoDigits(day) +
           TwoDigits(month) + TwoDigits(year % 100) + CR;
}

std::string SetSampleCount(const std::string& sevenDigits) {
    return "S!" + sevenDigits + CR;
}

std::string RequestBlock(int block) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%5.5d", block);
    return std::string("G?") + digits + CR;
}

std::string Field(const std::string& reply, std::size_t first, std::size_t last) {
    if (first < 1 || first > reply.size() || last < first)
        return {};
    return reply.substr(first - 1, last - first + 1);
}

bool IsLoggerReply(const std::string& reply) {
    return reply.size() >= 2 && reply[0] == 'R' && reply[1] == 'T';
}

bool HasHumidity(const std::string& identifier) {
    return identifier.size() >= 3 && identifier[2] == 'W';
}

LogRecord LogRecord::Decode(const std::uint8_t* b) {
    LogRecord r;
    r.day = b[0];
    r.month = b[1];
    r.year = b[2];
    r.hour = b[3];
    r.minute = b[4];
    r.second = b[5];
    r.temperature = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[6] | (b[7] << 8)));
    r.humidity = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[8] | (b[9] << 8)));
    return r;
}

bool LogRecord::DateTime(double& result) const {
    return TryEncodeDateTime(2000 + year, month, day, hour, minute, second, 0, result);
}

} // namespace velkor::cmd
