#include "analysis/FileSamples.h"

#include "log/DataFileLoader.h"
#include "log/TextLineReader.h"
#include "platform/Errors.h"

namespace velkor::analysis {

FileSamples ReadFileSamples(const std::string& fileName) {
    FileSamples result;
    TextLineReader reader;
    reader.Open(fileName);
    std::size_t line = 0;
    while (!reader.AtEnd()) {
        ++line;
        std::string_view text = reader.ReadLine(DataLineReadLength);
        DataLineValues values;
        try {
            values = ParseDataLine(text);
        } catch (const ConvertError&) {
            values.validDateTime = false;
        }
        if (!values.validDateTime || !values.hasTemperature || !values.hasHumidity) {
            if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
                if (result.facts.badLines++ == 0) {
                    result.facts.firstBadLine = line;
                }
            }
            continue;
        }
        result.samples.push_back({values.dateTime, values.temperature, values.humidity});
        if (line <= 2) {
            ++result.fromFirstTwoLines;
        }
    }
    return result;
}

} // namespace velkor::analysis
