#include "log/DataFileReader.h"

#include "log/NumberSyntax.h"
#include "platform/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velkor {

namespace {

constexpr std::size_t BufferSize = 256 * 1024;

// How much of the start of a file is looked at to tell text from other data.
constexpr std::size_t SniffBytes = 4096;

// False for what is surely no data file: UTF-16 or UTF-32 (a byte order mark, or the zero bytes
// of their characters), or binary data (zero bytes, or many control characters).
bool LooksLikeText(std::string_view start) {
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF"))
        return false;
    std::size_t controls = 0;
    for (const char c : start) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0)
            return false;
        if ((b < 0x20 && b != '\t' && b != '\r' && b != '\n' && b != '\f') || b == 0x7F)
            ++controls;
    }
    return controls * 10 <= start.size();
}

// The bytes that end a line's text: CR, LF, and a zero byte (the end of all text).
struct LineStops {
    bool stop[256] = {};
    constexpr LineStops() {
        stop[static_cast<unsigned char>('\r')] = true;
        stop[static_cast<unsigned char>('\n')] = true;
        stop[0] = true;
    }
};
constexpr LineStops Stops;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Characters at 1-based position first, count of them, fewer where the text ends.
std::string_view Field(std::string_view text, std::size_t first, std::size_t count) {
    if (first > text.size())
        return {};
    return text.substr(first - 1, count);
}

// A date or time field as an integer, by the rule of the general integer conversion: blanks,
// an optional sign, then digits only. The fields hold at most 4 characters.
bool FieldToInt(std::string_view field, int& value) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    if (i == field.size())
        return false;
    int v = 0;
    for (; i < field.size(); ++i) {
        if (!IsDigit(field[i]))
            return false;
        v = v * 10 + (field[i] - '0');
    }
    value = negative ? -v : v;
    return true;
}

// The 1-based position of the record number's TAB.
std::size_t TabPosition(std::string_view text) {
    const std::size_t last = std::min<std::size_t>(9, text.size());
    for (std::size_t p = 2; p <= last; ++p)
        if (text[p - 1] == '\t')
            return p;
    return 10;
}

constexpr int DaysBeforeMonth[2][13] = {
    {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

// The date-time of the fields, the same value as TryEncodeDateTime gives, without its loop.
bool EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                    double& result) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59)
        return false;
    const int y = year - 1;
    const int days =
        y * 365 + y / 4 - y / 100 + y / 400 + DaysBeforeMonth[IsLeapYear(year)][month] + day;
    constexpr int DaysTo18991230 = 693594;
    const double date = static_cast<double>(days - DaysTo18991230);
    const long long ms = ((hour * 60LL + minute) * 60LL + second) * 1000LL;
    const double time = static_cast<double>(ms) / 86400000.0;
    result = date < 0 ? date - time : date + time;
    return true;
}

bool Holdable(double value) {
    return value >= LowestRecordValue && value <= HighestRecordValue;
}

bool Blank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

DataFileShrankError::DataFileShrankError(std::string fileName)
    : InOutError("The file " + fileName + " got shorter while it was read"),
      fileName_(std::move(fileName)) {}

std::array<std::string_view, 6> DateTimeFieldTexts(std::string_view text) {
    const std::size_t k = TabPosition(text);
    return {Field(text, k + 1, 4),  Field(text, k + 6, 2),  Field(text, k + 9, 2),
            Field(text, k + 12, 2), Field(text, k + 15, 2), Field(text, k + 18, 2)};
}

DataRecord ParseDataLineText(std::string_view text) {
    DataRecord r;
    const std::size_t k = TabPosition(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const bool integers =
        FieldToInt(Field(text, k + 1, 4), year) && FieldToInt(Field(text, k + 6, 2), month) &&
        FieldToInt(Field(text, k + 9, 2), day) && FieldToInt(Field(text, k + 12, 2), hour) &&
        FieldToInt(Field(text, k + 15, 2), minute) && FieldToInt(Field(text, k + 18, 2), second);
    if (!integers) {
        r.kind = !text.empty() && IsDigit(text.front()) ? LineKind::Bad : LineKind::NotData;
        return r;
    }
    r.hasDateTime = EncodeDateTime(year, month, day, hour, minute, second, r.dateTime);
    r.hasTemperature = ParseNumber(Field(text, k + 21, 6), r.temperature);
    r.hasHumidity = ParseNumber(Field(text, k + 28, 5), r.humidity);
    const bool data = r.hasDateTime && r.hasTemperature && r.hasHumidity &&
                      Holdable(r.temperature) && Holdable(r.humidity);
    r.kind = data ? LineKind::Data : LineKind::Bad;
    return r;
}

DataFileReader::DataFileReader(const std::string& fileName, IfNoData ifNoData)
    : fileName_(fileName), ifNoData_(ifNoData) {
    try {
        file_ = files::OpenForReading(fileName);
        sizeAtOpen_ = files::Size(file_);
        buffer_.resize(BufferSize);
        Refill();
    } catch (const NotRegularFileError&) {
        throw;
    } catch (const InOutError& e) {
        throw LocatedInOutError(e.what(), {fileName_, 0});
    }
    if (!LooksLikeText({buffer_.data(), std::min(end_, SniffBytes)}))
        throw NoLoggerDataError(fileName_);
}

DataFileReader::~DataFileReader() = default;

void DataFileReader::Close() {
    file_ = FileHandle();
    ended_ = true;
}

bool DataFileReader::Refill() {
    if (!file_.IsOpen())
        return false;
    const std::size_t n = files::Read(file_, buffer_.data(), buffer_.size());
    bytesRead_ += n;
    pos_ = 0;
    end_ = n;
    return n > 0;
}

bool DataFileReader::ReadLine() {
    std::size_t carried = 0;
    bool inLine = false; // part of the line came from an earlier fill
    for (;;) {
        if (pos_ == end_) {
            bool more = false;
            try {
                more = Refill();
            } catch (const InOutError& e) {
                throw LocatedInOutError(e.what(), {fileName_, counts_.lines + 1});
            }
            if (!more) {
                text_ = {carry_.data(), carried};
                return inLine;
            }
            if (skipLineFeed_) {
                skipLineFeed_ = false;
                if (buffer_[0] == '\n') {
                    pos_ = 1;
                    continue;
                }
            }
        }
        const char* begin = buffer_.data() + pos_;
        const char* stop = buffer_.data() + end_;
        const char* p = begin;
        while (p != stop && !Stops.stop[static_cast<unsigned char>(*p)])
            ++p;
        // A zero byte belongs to the line's text, so that the line cannot pass for a data line.
        const char* textEnd = p != stop && *p == '\0' ? p + 1 : p;
        if (!inLine && p != stop) {
            text_ = {begin, std::min<std::size_t>(textEnd - begin, DataLineReadLength)};
        } else {
            const std::size_t n =
                std::min<std::size_t>(textEnd - begin, DataLineReadLength - carried);
            std::memcpy(carry_.data() + carried, begin, n);
            carried += n;
            text_ = {carry_.data(), carried};
        }
        if (p == stop) {
            inLine = true;
            pos_ = end_;
            continue;
        }
        pos_ = static_cast<std::size_t>(p - buffer_.data()) + 1;
        if (*p == '\0') {
            zeroMet_ = true;
        } else if (*p == '\r') {
            if (pos_ < end_)
                pos_ += buffer_[pos_] == '\n' ? 1 : 0;
            else
                skipLineFeed_ = true;
        }
        return true;
    }
}

void DataFileReader::AtEnd() {
    // What follows a zero byte is not read, so its size says nothing.
    if (!zeroMet_) {
        std::uint64_t sizeNow = 0;
        try {
            sizeNow = files::Size(file_);
        } catch (const InOutError& e) {
            throw LocatedInOutError(e.what(), {fileName_, counts_.lines});
        }
        if (bytesRead_ < sizeAtOpen_ || sizeNow < std::min(bytesRead_, sizeAtOpen_))
            throw DataFileShrankError(fileName_);
    }
    if (ifNoData_ == IfNoData::Refuse && HoldsNoLoggerData(counts_))
        throw NoLoggerDataError(fileName_);
}

bool DataFileReader::Next(DataRecord& record) {
    if (ended_)
        return false;
    if (zeroMet_ || !ReadLine()) {
        ended_ = true;
        AtEnd();
        return false;
    }
    const bool zero = zeroMet_;
    record = ParseDataLineText(text_);
    record.line = ++counts_.lines;
    if (zero)
        record.kind = LineKind::Bad;
    switch (record.kind) {
    case LineKind::Data:
        ++counts_.dataLines;
        break;
    case LineKind::Bad:
        if (counts_.badLines++ == 0)
            counts_.firstBadLine = record.line;
        break;
    case LineKind::NotData:
        if (counts_.notDataLines++ == 0)
            counts_.firstNotDataLine = record.line;
        if (Blank(text_))
            ++counts_.blankLines;
        break;
    }
    return true;
}

bool DataFileReader::NextData(DataRecord& record) {
    while (Next(record))
        if (record.kind == LineKind::Data)
            return true;
    return false;
}

} // namespace velkor
