#include "tools/loggersim/LogSource.h"

#include "platform/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

namespace velkor::sim {

namespace {

std::int16_t Tenths(double value) {
    const long tenths = std::lround(value * 10.0);
    return static_cast<std::int16_t>(std::clamp(tenths, -32768L, 32767L));
}

double Wave(double days, double periodDays, double phase) {
    return std::sin(2.0 * std::numbers::pi * (days / periodDays) + phase);
}

// One field of a data line as a number; false when it is not one.
bool ReadNumber(const std::string& field, double& value) {
    const char* begin = field.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    if (end == begin)
        return false;
    while (*end == ' ')
        ++end;
    return *end == '\0';
}

bool ReadDataLine(const std::string& line, cmd::LogRecord& record) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    if (fields.size() != 4)
        return false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char tail = 0;
    if (std::sscanf(fields[1].c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour,
                    &minute, &second, &tail) != 6)
        return false;
    double dateTime = 0, temperature = 0, humidity = 0;
    if (!TryEncodeDateTime(year, month, day, hour, minute, second, 0, dateTime) ||
        !ReadNumber(fields[2], temperature) || !ReadNumber(fields[3], humidity))
        return false;
    try {
        record = MakeRecord(dateTime, temperature, humidity);
    } catch (const std::invalid_argument&) {
        return false;
    }
    return true;
}

} // namespace

cmd::LogRecord MakeRecord(double dateTime, double temperature, double humidity) {
    const DateParts d = DecodeDate(dateTime);
    const TimeParts t = DecodeTime(dateTime);
    if (d.year < 2000 || d.year > 2255)
        throw std::invalid_argument("a log record cannot hold the year " + std::to_string(d.year));
    cmd::LogRecord r;
    r.day = static_cast<std::uint8_t>(d.day);
    r.month = static_cast<std::uint8_t>(d.month);
    r.year = static_cast<std::uint8_t>(d.year - 2000);
    r.hour = static_cast<std::uint8_t>(t.hour);
    r.minute = static_cast<std::uint8_t>(t.minute);
    r.second = static_cast<std::uint8_t>(t.second);
    r.temperature = Tenths(temperature);
    r.humidity = Tenths(humidity);
    return r;
}

std::vector<cmd::LogRecord> GenerateLog(std::size_t count, double start, int intervalSeconds,
                                        unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> phaseOf(0.0, 2.0 * std::numbers::pi);
    std::normal_distribution<double> noise(0.0, 1.0);
    const double weatherPhase = phaseOf(random), frontPhase = phaseOf(random),
                 dampPhase = phaseOf(random);

    std::vector<cmd::LogRecord> log;
    log.reserve(count);
    double sensorDrift = 0; // slowly wandering error, so the curve is not a clean sine
    for (std::size_t i = 0; i < count; ++i) {
        const double t = start + static_cast<double>(i) * intervalSeconds / SecondsPerDay;
        // Warmest at 15:00, coolest at 03:00.
        const double daily = std::sin(2.0 * std::numbers::pi * (TimeOf(t) - 9.0 / 24.0));
        const double weather = 3.0 * Wave(t, 4.3, weatherPhase) + 1.5 * Wave(t, 11.7, frontPhase);
        sensorDrift = 0.85 * sensorDrift + 0.12 * noise(random);
        const double temperature = 14.0 + 5.0 * daily + weather + sensorDrift;
        const double humidity = std::clamp(62.0 - 2.5 * (temperature - 14.0) +
                                               4.0 * Wave(t, 6.1, dampPhase) + 0.8 * noise(random),
                                           5.0, 99.9);
        log.push_back(MakeRecord(t, temperature, humidity));
    }
    return log;
}

std::vector<cmd::LogRecord> ReadDataFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + file.string());
    std::vector<cmd::LogRecord> log;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos)
            continue;
        cmd::LogRecord record;
        if (!ReadDataLine(line, record))
            throw std::runtime_error(file.string() + ":" + std::to_string(number) +
                                     ": not a data line (number, date and time, temperature, "
                                     "humidity, separated by TAB)");
        log.push_back(record);
    }
    return log;
}

std::vector<cmd::LogRecord> ReadRecordFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + file.string());
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    if (bytes.size() % cmd::RecordSize != 0)
        throw std::runtime_error(file.string() + ": size " + std::to_string(bytes.size()) +
                                 " is not a whole number of 10-byte records");
    std::vector<cmd::LogRecord> log;
    log.reserve(bytes.size() / cmd::RecordSize);
    for (std::size_t i = 0; i < bytes.size(); i += cmd::RecordSize)
        log.push_back(cmd::LogRecord::Decode(reinterpret_cast<const std::uint8_t*>(&bytes[i])));
    return log;
}

} // namespace velkor::sim
