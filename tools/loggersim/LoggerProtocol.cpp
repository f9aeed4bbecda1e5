#include "tools/loggersim/LoggerProtocol.h"

#include "platform/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace velkor::sim {

double MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
    double value = 0;
    if (!TryEncodeDateTime(year, month, day, hour, minute, second, 0, value))
        throw std::invalid_argument("not a valid date and time");
    return value;
}

namespace {

std::string Digits(long value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*ld", width, value);
    return text;
}

std::string TimeDigits(double dateTime) {
    const TimeParts t = DecodeTime(dateTime);
    return Digits(t.hour, 2) + Digits(t.minute, 2) + Digits(t.second, 2);
}

std::string DateDigits(double dateTime) {
    const DateParts d = DecodeDate(dateTime);
    return Digits(d.day, 2) + Digits(d.month, 2) + Digits(d.year % 100, 2);
}

// The decimal value of `count` digits from `from`; -1 when one of them is not a digit.
long Number(const std::string& text, std::size_t from, std::size_t count) {
    long value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool ReadTime(const std::string& text, std::size_t from, double& time) {
    return TryEncodeTime(static_cast<int>(Number(text, from, 2)),
                         static_cast<int>(Number(text, from + 2, 2)),
                         static_cast<int>(Number(text, from + 4, 2)), 0, time);
}

bool ReadDate(const std::string& text, std::size_t from, double& date) {
    const long year = Number(text, from + 4, 2);
    return year >= 0 &&
           TryEncodeDate(2000 + static_cast<int>(year), static_cast<int>(Number(text, from + 2, 2)),
                         static_cast<int>(Number(text, from, 2)), date);
}

int Seconds(double timeOfDay) {
    return static_cast<int>(std::lround(timeOfDay * SecondsPerDay));
}

Answer Query(std::string reply) {
    return {Answer::Kind::Query, std::move(reply)};
}
Answer Set(bool applied) {
    return {applied ? Answer::Kind::Set : Answer::Kind::Unknown, {}};
}

} // namespace

void EncodeRecord(const cmd::LogRecord& r, std::uint8_t* b) {
    b[0] = r.day;
    b[1] = r.month;
    b[2] = r.year;
    b[3] = r.hour;
    b[4] = r.minute;
    b[5] = r.second;
    const auto t = static_cast<std::uint16_t>(r.temperature);
    const auto h = static_cast<std::uint16_t>(r.humidity);
    b[6] = static_cast<std::uint8_t>(t & 0xFF);
    b[7] = static_cast<std::uint8_t>(t >> 8);
    b[8] = static_cast<std::uint8_t>(h & 0xFF);
    b[9] = static_cast<std::uint8_t>(h >> 8);
}

std::string BlockReply(const LoggerState& state, long block) {
    std::string reply(cmd::RecordsPerBlock * cmd::RecordSize, '\xFF');
    for (std::size_t slot = 0; slot < cmd::RecordsPerBlock; ++slot) {
        const std::size_t index = static_cast<std::size_t>(block) * cmd::RecordsPerBlock + slot;
        if (index >= state.records.size())
            break;
        std::uint8_t bytes[cmd::RecordSize];
        EncodeRecord(state.records[index], bytes);
        std::copy_n(bytes, cmd::RecordSize,
                    reply.begin() + static_cast<long>(slot * cmd::RecordSize));
    }
    return reply;
}

Answer AnswerCommand(const std::string& command, LoggerState& state) {
    const std::string name = command.substr(0, 2);
    const std::size_t length = command.size();
    const char CR = cmd::CR;

    if (length == 2) {
        if (name == "N?")
            return Query(state.identification);
        if (name == "T?")
            return Query("T?" + TimeDigits(state.clock) + CR);
        if (name == "D?")
            return Query("D?" + DateDigits(state.clock) + CR);
        if (name == "I?")
            return Query("I?" + TimeDigits(state.intervalSeconds / SecondsPerDay) + CR);
        if (name == "R?")
            return Query("R?" + TimeDigits(state.loggingStart) + DateDigits(state.loggingStart) +
                         CR);
        if (name == "S?")
            return Query("S?" + Digits(state.sampleCount % 10000000, 7) + CR);
        if (name == "U?")
            return Query("U?" + Digits(state.batteryMillivolts % 100000, 5) + CR);
        if (name == "E!")
            return {Answer::Kind::Erase, {}};
    }

    double time = 0, date = 0;
    if (name == "G?" && length == 7) {
        const long block = Number(command, 2, 5);
        return block < 0 ? Answer{} : Query(BlockReply(state, block));
    }
    if (name == "T!" && length == 8) {
        const bool ok = ReadTime(command, 2, time);
        if (ok)
            state.clock = DateOf(state.clock) + time;
        return Set(ok);
    }
    if (name == "D!" && length == 8) {
        const bool ok = ReadDate(command, 2, date);
        if (ok)
            state.clock = date + TimeOf(state.clock);
        return Set(ok);
    }
    if (name == "I!" && length == 8) {
        const bool ok = ReadTime(command, 2, time);
        if (ok)
            state.intervalSeconds = Seconds(time);
        return Set(ok);
    }
    if (name == "R!" && length == 14) {
        const bool ok = ReadTime(command, 2, time) && ReadDate(command, 8, date);
        if (ok)
            state.loggingStart = date + time;
        return Set(ok);
    }
    if (name == "S!" && length == 9) {
        const long count = Number(command, 2, 7);
        if (count >= 0)
            state.sampleCount = static_cast<std::uint32_t>(count);
        return Set(count >= 0);
    }
    return {};
}

} // namespace velkor::sim
