#include "log/DataFileLoader.h"

#include "log/NumberSyntax.h"
#include "log/TextLineReader.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"

namespace velkor {

namespace {

// Characters at 1-based position first, count of them, fewer where the text ends.
std::string_view Field(std::string_view text, std::size_t first, std::size_t count) {
    if (first > text.size())
        return {};
    return text.substr(first - 1, count);
}

// The fields are short digit strings almost always; anything else takes the general
// conversion with its error report.
int FieldToInt(std::string_view field) {
    if (!field.empty() && field.size() <= 4) {
        int value = 0;
        for (const char c : field) {
            if (c < '0' || c > '9')
                return StrToInt(std::string(field));
            value = value * 10 + (c - '0');
        }
        return value;
    }
    return StrToInt(std::string(field));
}

// How much of the start of a file is looked at to tell text from other data.
constexpr std::size_t SniffBytes = 4096;

// False for what is surely no data file: UTF-16 or UTF-32 (a byte order mark, or the zero bytes
// of their characters), or binary data (zero bytes, or many control characters).
bool LooksLikeText(std::string_view start) {
    const auto startsWith = [&](std::string_view prefix) {
        return start.substr(0, prefix.size()) == prefix;
    };
    if (startsWith("\xFF\xFE") || startsWith("\xFE\xFF"))
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

} // namespace

DataLineValues ParseDataLine(std::string_view text) {
    std::size_t k = 10;
    for (std::size_t p = 2; p <= 9 && p <= text.size(); ++p) {
        if (text[p - 1] == '\t') {
            k = p;
            break;
        }
    }
    const int year = FieldToInt(Field(text, k + 1, 4));
    const int month = FieldToInt(Field(text, k + 6, 2));
    const int day = FieldToInt(Field(text, k + 9, 2));
    const int hour = FieldToInt(Field(text, k + 12, 2));
    const int minute = FieldToInt(Field(text, k + 15, 2));
    const int second = FieldToInt(Field(text, k + 18, 2));

    DataLineValues values;
    values.validDateTime =
        TryEncodeDateTime(year, month, day, hour, minute, second, 0, values.dateTime);
    if (!values.validDateTime)
        return values;
    values.hasTemperature = ParseSingle(Field(text, k + 21, 6), values.temperature);
    values.hasHumidity = ParseSingle(Field(text, k + 28, 5), values.humidity);
    return values;
}

std::size_t LoadDataFile(DataFileState& dataFile, const std::string& fileName, PlotSink& plot,
                         const std::function<void()>& onLoaded) {
    UseLoggerDateTimeFormats();
    dataFile.DataFileName = fileName;
    plot.ClearSeries();

    TextLineReader reader;
    try {
        reader.Open(fileName);
        if (!LooksLikeText(reader.Peek(SniffBytes)))
            throw NoLoggerDataError(fileName);
    } catch (const NotRegularFileError&) {
        throw;
    } catch (const NoLoggerDataError&) {
        throw;
    } catch (const FileError& e) {
        throw LocatedFileError(e, {fileName, 0});
    } catch (const InOutError& e) {
        throw LocatedInOutError(e.what(), {fileName, 0});
    }
    // The file's line being read, 1-based, for the location of an error.
    std::size_t lineNumber = 1;
    try {
        reader.ReadLine(DataLineReadLength);
        lineNumber = 2;
        reader.SkipLine();
    } catch (const FileError& e) {
        throw LocatedFileError(e, {fileName, lineNumber});
    } catch (const InOutError& e) {
        throw LocatedInOutError(e.what(), {fileName, lineNumber});
    }

    // From here on the window's buttons are enabled and the file closed whatever happens.
    auto finish = [&] {
        if (onLoaded)
            onLoaded();
        reader.Close();
    };
    std::size_t lines = 0;
    bool dataLines = false; // a line with more than blanks
    bool points = false;
    try {
        while (!reader.AtEnd()) {
            lineNumber = lines + 3;
            plot.SetBottomAxisAutomatic();
            const std::string_view text = reader.ReadLine(DataLineReadLength);
            ++lines;
            dataLines = dataLines || text.find_first_not_of(" \t") != std::string_view::npos;
            const DataLineValues v = ParseDataLine(text);
            if (!v.validDateTime)
                continue;
            if (v.hasTemperature)
                plot.AddPoint(TemperatureSeries, v.dateTime, v.temperature, DefaultPointColor);
            if (v.hasHumidity)
                plot.AddPoint(HumiditySeries, v.dateTime, v.humidity, DefaultPointColor);
            points = points || v.hasTemperature || v.hasHumidity;
        }
    } catch (const ConvertError& e) {
        finish();
        throw LocatedConvertError(e.what(), {fileName, lineNumber});
    } catch (const FileError& e) {
        finish();
        throw LocatedFileError(e, {fileName, lineNumber});
    } catch (const InOutError& e) {
        finish();
        throw LocatedInOutError(e.what(), {fileName, lineNumber});
    } catch (...) {
        finish();
        throw;
    }
    finish();
    if (dataLines && !points)
        throw NoLoggerDataError(fileName);
    return lines;
}

} // namespace velkor
