#pragma once
// The logger's command set: the exact bytes of every command and the fields of the replies.
// Commands are ASCII: a letter, "?" or "!", fixed-width zero-padded decimal fields, CR.

#include <cstdint>
#include <string>

namespace velkor::cmd {

constexpr char CR = '\r';

// Fixed commands, CR included.
inline const std::string Identify = "N?\r";
inline const std::string QueryClockTime = "T?\r";
inline const std::string QueryClockDate = "D?\r";
inline const std::string QueryInterval = "I?\r";
inline const std::string QueryLoggingStart = "R?\r";
inline const std::string QuerySampleCount = "S?\r";
inline const std::string QueryBattery = "U?\r";
inline const std::string Erase = "E!\r";

// Two decimal digits of a value: tens, then units (values 0..99; larger values keep their last
// two digits).
std::string TwoDigits(int value);

std::string SetClockTime(int hour, int minute, int second); // T!hhmmss CR
std::string SetClockDate(int day, int month, int year);     // D!DDMMYY CR
std::string SetInterval(int hour, int minute, int second);  // I!hhmmss CR
std::string SetLoggingStart(int hour, int minute, int second, int day, int month,
                            int year);                      // R!hhmmssDDMMYY CR
std::string SetSampleCount(const std::string& sevenDigits); // S!nnnnnnn CR
std::string RequestBlock(int block);                        // G?kkkkk CR

// Characters at 1-based positions first..last of a reply text; positions past its end are left
// out, so the result may be shorter or empty.
std::string Field(const std::string& reply, std::size_t first, std::size_t last);

// An identification reply belongs to the logger when it begins with "RT".
bool IsLoggerReply(const std::string& reply);
// A logger whose identification has "W" as its third character also measures humidity.
bool HasHumidity(const std::string& identifier);

// One 10-byte sample of a G? reply.
struct LogRecord {
    std::uint8_t day = 0, month = 0, year = 0; // year - 2000
    std::uint8_t hour = 0, minute = 0, second = 0;
    std::int16_t temperature = 0; // tenths
    std::int16_t humidity = 0;    // tenths

    static LogRecord Decode(const std::uint8_t* bytes);
    // The date-time it encodes; false when the bytes do not form a valid date and time.
    bool DateTime(double& result) const;
};

constexpr std::size_t RecordSize = 10;
constexpr std::size_t RecordsPerBlock = 25;

} // namespace velkor::cmd
