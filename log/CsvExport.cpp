#include "log/CsvExport.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace velkor {

namespace {

// Rows collected and written in blocks.
class CsvOut {
public:
    CsvOut(FileHandle& file, const std::string& name) : file_(file), name_(name) {}
    // The byte-order mark and the header, as CsvStart gives them.
    void Start(const std::string& text) { block_ += text; }
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

// Every row of the data file, each handed to `line` as it is read.
template <class Line>
CsvExportResult ConvertRows(DataFileReader& reader, const CsvDialect& dialect, Line&& line) {
    CsvExportResult result;
    DataRecord r;
    while (reader.NextData(r)) {
        line(CsvLine(dialect, r.dateTime, r.temperature, r.humidity));
        ++result.rows;
    }
    result.counts = reader.Counts();
    reader.Close();
    return result;
}

} // namespace

CsvExportResult ExportDataFileToStream(const std::string& dataFile, std::ostream& out,
                                       const std::string& outName, const CsvDialect& dialect) {
    DataFileReader reader(dataFile);
    std::string block = CsvStart(dialect);
    const auto flush = [&] {
        if (!out.write(block.data(), static_cast<std::streamsize>(block.size())))
            throw InOutError(outName + ": write error");
        block.clear();
    };
    const CsvExportResult result = ConvertRows(reader, dialect, [&](const std::string& row) {
        block += row;
        block += "\r\n";
        if (block.size() >= 64 * 1024)
            flush();
    });
    flush();
    if (!out.flush())
        throw InOutError(outName + ": write error");
    return result;
}

CsvExportResult ExportDataFileToCsv(const std::string& dataFile, const std::string& csvFile,
                                    const CsvDialect& dialect) {
    // The data file first: a FIFO or device is refused before anything is created.
    DataFileReader reader(dataFile);
    std::error_code error;
    if (std::filesystem::equivalent(Utf8Path(dataFile), Utf8Path(csvFile), error))
        throw CsvOntoDataFileError(csvFile);
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
        csv.Start(CsvStart(dialect));
        result = ConvertRows(reader, dialect, [&csv](const std::string& row) { csv.Line(row); });
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
