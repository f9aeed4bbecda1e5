#include "log/DataFileWriter.h"

#include "platform/Errors.h"

namespace velkor {

void DataFileWriter::Create(const std::string& fileName) {
    if (IsOpen())
        Close();
    file_ = files::CreateForWriting(fileName);
    path_ = fileName;
    written_ = 0;
}

void DataFileWriter::CreateTemporaryBeside(const std::string& target) {
    if (IsOpen())
        Close();
    files::TemporaryFile temporary = files::CreateTemporaryBeside(target);
    file_ = std::move(temporary.file);
    path_ = std::move(temporary.path);
    written_ = 0;
}

void DataFileWriter::Append(const std::string& text) {
    try {
        files::Write(file_, text.data(), text.size());
    } catch (const InOutError&) {
        // Leave no half line behind. Devices cannot be cut; that failure is of no interest.
        files::Truncate(file_, written_);
        throw;
    }
    written_ += text.size();
}

void DataFileWriter::FlushToDisk() {
    files::FlushToDisk(file_);
}

void DataFileWriter::Close() {
    files::Close(file_);
}

} // namespace velkor
