#include "log/DataFileLoader.h"

#include "log/DataFileReader.h"
#include "log/NumberSyntax.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"

namespace velkor {

namespace {

// What the chart takes of a line with a valid date and time.
DataLineValues ChartValues(const DataRecord& r) {
    DataLineValues values;
    values.validDateTime = true;
    values.dateTime = r.dateTime;
    values.hasTemperature = r.hasTemperature && ToSingle(r.temperature, values.temperature);
    values.hasHumidity = r.hasHumidity && ToSingle(r.humidity, values.humidity);
    return values;
}

} // namespace

DataLineValues ParseDataLine(std::string_view text) {
    const DataRecord r = ParseDataLineText(text);
    if (r.hasDateTime)
        return ChartValues(r);
    // Fields that are not integers: the conversion of the first of them says so.
    for (const std::string_view field : DateTimeFieldTexts(text))
        StrToInt(std::string(field));
    return {};
}

std::size_t LoadDataFile(DataFileState& dataFile, const std::string& fileName, PlotSink& plot,
                         const std::function<void()>& onLoaded) {
    UseLoggerDateTimeFormats();
    dataFile.DataFileName = fileName;
    plot.ClearSeries();

    // The chart's own rule for an empty load applies (below), not the reader's: lines 1 and 2
    // never count.
    DataFileReader reader(fileName, IfNoData::Accept);
    DataRecord record;
    // The first two lines are consumed without being used.
    reader.Next(record) && reader.Next(record);

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
        while (reader.Next(record)) {
            plot.SetBottomAxisAutomatic();
            ++lines;
            const DataLineValues v =
                record.hasDateTime ? ChartValues(record) : ParseDataLine(reader.LineText());
            dataLines = dataLines || record.kind != LineKind::NotData ||
                        reader.LineText().find_first_not_of(" \t") != std::string_view::npos;
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
        throw LocatedConvertError(e.what(), {fileName, record.line});
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
