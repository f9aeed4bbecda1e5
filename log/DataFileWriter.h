#pragma once
// Writes the data file line by line. Every line is handed to the operating system as it is
// appended (no buffering in the program), so a failing write (a full disk, for example) is
// raised at the record that fails. A failure the system only notices later is raised by Close.
// Errors are InOutError with the platform's message.

#include <cstdint>
#include <string>

namespace velkor {

class DataFileWriter {
public:
    DataFileWriter() = default;
    // Closes a file still open, ignoring errors (Close reports them).
    ~DataFileWriter();
    DataFileWriter(const DataFileWriter&) = delete;
    DataFileWriter& operator=(const DataFileWriter&) = delete;

    // Creates the file for writing, truncating an existing one.
    void Create(const std::string& fileName);
    // Writes the text as it stands. When the write fails, what reached the file of this text is
    // cut off again, so the file ends with the last whole line.
    void Append(const std::string& text);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::uint64_t written_ = 0;
};

} // namespace velkor
