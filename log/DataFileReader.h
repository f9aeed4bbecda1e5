#pragma once
// The one reader of data files. The window's load, the CSV export and whatever else reads a
// data file for its numbers go through it, so that a line means the same everywhere.
//
// It streams: a fixed buffer, one line at a time, whatever the file's size. A line ends at
// CR LF, LF or CR; only its first DataLineReadLength characters count. The fields are found as
// the window has always found them: the record number's TAB among positions 2 to 9 (1-based,
// else 10), the date and time at fixed offsets after it, the temperature 6 characters from
// k+21, the humidity 5 from k+28. A decimal comma reads as the point.
//
// Typical use:
//     DataFileReader reader(fileName);
//     DataRecord r;
//     while (reader.NextData(r))
//         use(r.line, r.dateTime, r.temperature, r.humidity);
//     const DataFileCounts& c = reader.Counts(); // bad lines, lines that are no data lines

#include "platform/Errors.h"
#include "platform/FileSystem.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

// Only this many characters of a line are read; the rest of the line is skipped.
constexpr std::size_t DataLineReadLength = 43;

// What a log record can hold: temperature and humidity are signed 16-bit tenths.
constexpr double LowestRecordValue = -3276.8;
constexpr double HighestRecordValue = 3276.7;

enum class LineKind {
    Data,    // a valid date and time, temperature and humidity numbers a record can hold
    Bad,     // meant as a data line but unusable: starts with a digit, and its date or time is
             // not integers or not a valid date-time, or a value is missing, not a number or
             // outside LowestRecordValue..HighestRecordValue
    NotData, // text: empty, blanks only, or a line that does not start with a digit (a header)
};

// One line as the reader found it.
struct DataRecord {
    std::uint64_t line = 0; // 1-based line number in the file
    LineKind kind = LineKind::NotData;
    bool hasDateTime = false;    // the date and time fields form a valid date-time
    bool hasTemperature = false; // the field is one complete number (of any size)
    bool hasHumidity = false;
    double dateTime = 0.0;    // day count (platform/DateTime.h); with hasDateTime
    double temperature = 0.0; // degrees Celsius; with hasTemperature
    double humidity = 0.0;    // percent; with hasHumidity
};

struct DataFileCounts {
    std::uint64_t lines = 0; // every line read
    std::uint64_t dataLines = 0;
    std::uint64_t notDataLines = 0;     // the blank ones included
    std::uint64_t firstNotDataLine = 0; // 0: none
    std::uint64_t blankLines = 0;       // empty, or spaces and TABs only
    std::uint64_t badLines = 0;
    std::uint64_t firstBadLine = 0; // 0: none
};

// The file grew shorter while it was read (truncated or rewritten by someone else): what was
// read is not the file. what() is a plain English text; the front ends word it themselves.
class DataFileShrankError : public InOutError {
public:
    explicit DataFileShrankError(std::string fileName);
    const std::string& fileName() const { return fileName_; }

private:
    std::string fileName_;
};

// Whether the end of the file checks that it held any data (see Next).
enum class IfNoData { Refuse, Accept };

class DataFileReader {
public:
    // Opens the file and looks at its start. Raises NotRegularFileError for anything but a
    // regular file (a FIFO or device is never waited for), NoLoggerDataError when the start is
    // not text (a zero byte, a UTF-16 or UTF-32 byte order mark, binary data), and
    // LocatedInOutError (line 0) with the system's text when it cannot be opened or read.
    explicit DataFileReader(const std::string& fileName, IfNoData ifNoData = IfNoData::Refuse);
    ~DataFileReader();
    DataFileReader(const DataFileReader&) = delete;
    DataFileReader& operator=(const DataFileReader&) = delete;

    // Reads the next line, whatever its kind; false at the end of the file. The text stops at
    // a zero byte: that line counts as bad and nothing after it is read (a file whose tail is
    // zeros, as a crash or a sparse file leaves it, ends there).
    // At the end: raises DataFileShrankError when the file got shorter while it was read, and
    // with IfNoData::Refuse NoLoggerDataError when some line held more than blanks but none was
    // a data line (an empty file, or blank lines only, is no error). A failing read raises
    // LocatedInOutError with the line's number.
    bool Next(DataRecord& record);
    // Like Next, but returns data lines only; the others are counted and passed over.
    bool NextData(DataRecord& record);

    // The text of the line Next returned last: its first DataLineReadLength characters, no
    // line end. Valid until the next call.
    std::string_view LineText() const { return text_; }
    const DataFileCounts& Counts() const { return counts_; }
    const std::string& FileName() const { return fileName_; }

    // Closes the file early; the destructor does it otherwise.
    void Close();

private:
    bool ReadLine();
    bool Refill();
    void AtEnd();

    std::string fileName_;
    IfNoData ifNoData_;
    FileHandle file_;
    std::uint64_t sizeAtOpen_ = 0;
    std::uint64_t bytesRead_ = 0;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool skipLineFeed_ = false; // the last line ended with CR at the buffer's end
    bool zeroMet_ = false;      // the text ended at a zero byte
    bool ended_ = false;        // Next has returned false
    std::string_view text_;
    std::array<char, DataLineReadLength> carry_{}; // a line that spans two buffer fills
    DataFileCounts counts_;
};

// The fields of one line's text (its first DataLineReadLength characters at most, no line
// end), as the reader finds them; record.line is left 0.
DataRecord ParseDataLineText(std::string_view text);

// The six date and time fields of a line's text at their fixed positions (year, month, day,
// hour, minute, second), shortened where the text ends.
std::array<std::string_view, 6> DateTimeFieldTexts(std::string_view text);

// True when a file of these counts holds no logger data: some line held more than blanks, but
// none was a data line.
inline bool HoldsNoLoggerData(const DataFileCounts& counts) {
    return counts.dataLines == 0 && counts.lines > counts.blankLines;
}

} // namespace velkor
