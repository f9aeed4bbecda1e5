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
    reader.Open(fileName);
    reader.ReadLine(DataLineReadLength);
    reader.SkipLine();

    // From here on the window's buttons are enabled and the file closed whatever happens.
    auto finish = [&] {
        if (onLoaded)
            onLoaded();
        reader.Close();
    };
    std::size_t lines = 0;
    try {
        while (!reader.AtEnd()) {
            plot.SetBottomAxisAutomatic();
            const std::string_view text = reader.ReadLine(DataLineReadLength);
            ++lines;
            const DataLineValues v = ParseDataLine(text);
            if (!v.validDateTime)
                continue;
            if (v.hasTemperature)
                plot.AddPoint(TemperatureSeries, v.dateTime, v.temperature, DefaultPointColor);
            if (v.hasHumidity)
                plot.AddPoint(HumiditySeries, v.dateTime, v.humidity, DefaultPointColor);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return lines;
}

} // namespace velkor
