#pragma once
// Writes the data file line by line. Every line is handed to the operating system as it is
// appended (no buffering in the program), so a failing write (a full disk, for example) is
// raised at the record that fails. A failure the system only notices later is raised by Close.
// Errors are InOutError with the platform's message.

#include "platform/FileSystem.h"

#include <cstdint>
#include <string>

namespace velkor {

class DataFileWriter {
public:
    DataFileWriter() = default;
    // Closes a file still open, ignoring errors (Close reports them).
    ~DataFileWriter() = default;
    DataFileWriter(const DataFileWriter&) = delete;
    DataFileWriter& operator=(const DataFileWriter&) = delete;

    // Creates the file for writing, truncating an existing one.
    void Create(const std::string& fileName);
    // Creates a new file of a unique name beside `target` (same folder), for a file that is to
    // replace `target` once it is complete. Path() names it.
    void CreateTemporaryBeside(const std::string& target);
    // Writes the text as it stands. When the write fails, what reached the file of this text is
    // cut off again, so the file ends with the last whole line.
    void Append(const std::string& text);
    // Makes what was written reach the disk.
    void FlushToDisk();
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }
    const std::string& Path() const { return path_; }
    // Bytes written so far.
    std::uint64_t Written() const { return written_; }

private:
    FileHandle file_;
    std::string path_;
    std::uint64_t written_ = 0;
};

} // namespace velkor
