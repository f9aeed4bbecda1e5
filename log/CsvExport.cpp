#include "log/CsvExport.h"

#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

#include <charconv>
#include <system_error>

namespace velkor {

namespace {

std::string NumberField(std::optional<double> value) {
    if (!value)
        return {};
    // Room for the longest fixed-point text of a double (about 330 characters).
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, *value, std::chars_format::fixed);
    std::string field(text, result.ec == std::errc() ? result.ptr : text);
    // Whole numbers keep a decimal point too, like every value of the data file.
    if (field.find('.') == std::string::npos)
        field += ".0";
    return field;
}

// Rows collected and written in blocks.
class CsvOut {
public:
    CsvOut(FileHandle& file, const std::string& name) : file_(file), name_(name) {}
    void Line(const std::string& text) {
        block_ += text;
        block_ += "\r\n";
        if (block_.size() >= BlockSize)
            Flush();
    }
    void Flush() {
        try {
            files::Write(file_, block_.data(), block_.size());
        } catch (const InOutError& e) {
            throw InOutError(name_ + ": " + e.what());
        }
        block_.clear();
    }

private:
    static constexpr std::size_t BlockSize = 64 * 1024;
    FileHandle& file_;
    const std::string& name_;
    std::string block_;
};

} // namespace

std::string CsvRow(double dateTime, std::optional<double> temperature,
                   std::optional<double> humidity) {
    return FormatDateTime("yyyy-mm-dd hh:nn:ss", dateTime) + ',' + NumberField(temperature) + ',' +
           NumberField(humidity);
}

CsvExportResult ExportDataFileToCsv(const std::string& dataFile, const std::string& csvFile) {
    // The data file first: a FIFO or device is refused before anything is created.
    DataFileReader reader(dataFile);
    files::TemporaryFile out;
    try {
        files::CheckReplaceable(csvFile);
        out = files::CreateTemporaryBeside(csvFile);
    } catch (const NotRegularFileError&) {
        throw;
    } catch (const InOutError& e) {
        throw InOutError(csvFile + ": " + e.what());
    }
    CsvExportResult result;
    try {
        CsvOut csv(out.file, csvFile);
        csv.Line(CsvHeader);
        DataRecord r;
        while (reader.NextData(r)) {
            csv.Line(CsvRow(r.dateTime, r.temperature, r.humidity));
            ++result.rows;
        }
        result.counts = reader.Counts();
        reader.Close();
        csv.Flush();
        try {
            files::FlushToDisk(out.file);
            files::Close(out.file);
            files::Replace(out.path, csvFile);
        } catch (const NotRegularFileError&) {
            throw;
        } catch (const InOutError& e) {
            throw InOutError(csvFile + ": " + e.what());
        }
    } catch (...) {
        out.file = FileHandle();
        files::Remove(out.path);
        throw;
    }
    return result;
}

} // namespace velkor
