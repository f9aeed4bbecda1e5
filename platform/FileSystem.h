#pragma once
// The file calls of the data file layer, in one small seam: reading without blocking, writing
// unbuffered, flushing to disk, temporary files and atomic replacement. Every failure raises
// InOutError whose what() is the system's error text ("No space left on device"). This file has
// a POSIX implementation; a Win32 one can sit behind the same declarations.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velkor {

// An open file. Move-only; a handle still open when destroyed is closed, errors ignored.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(std::intptr_t native) : native_(native) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : native_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return native_ != Invalid; }
    // The descriptor (POSIX) or HANDLE (Win32) value.
    std::intptr_t Native() const { return native_; }
    std::intptr_t Release() noexcept {
        const std::intptr_t n = native_;
        native_ = Invalid;
        return n;
    }

    static constexpr std::intptr_t Invalid = -1;

private:
    std::intptr_t native_ = Invalid;
};

namespace files {

// Opens an existing file for reading. Opening never blocks (a FIFO with no writer, a device),
// and only a regular file is accepted: anything else raises NotRegularFileError.
FileHandle OpenForReading(const std::string& path);
// Reads up to count bytes; 0 at the end of the file.
std::size_t Read(FileHandle& file, void* data, std::size_t count);
// The open file's size in bytes now.
std::uint64_t Size(FileHandle& file);

// Creates a file for writing, truncating an existing one.
FileHandle CreateForWriting(const std::string& path);
// Writes all count bytes, unbuffered. A short write raises with "No space left on device".
void Write(FileHandle& file, const void* data, std::size_t count);
// Cuts the file to size bytes. False when the file cannot be cut (a device).
bool Truncate(FileHandle& file, std::uint64_t size) noexcept;
// Makes what was written reach the disk.
void FlushToDisk(FileHandle& file);
// Closes the file; the handle is released even when the system reports an error.
void Close(FileHandle& file);

// A new file of a unique name in the folder of `path`, created for writing.
struct TemporaryFile {
    FileHandle file;
    std::string path;
};
TemporaryFile CreateTemporaryBeside(const std::string& path);

// Raises what replacing `path` by another file would run into, changing nothing: "Is a
// directory" for a folder, NotRegularFileError for another special file. Nothing for a
// regular file or a name that does not exist yet.
void CheckReplaceable(const std::string& path);

// Removes a file; false when it could not be removed (or did not exist).
bool Remove(const std::string& path) noexcept;
// Replaces `target` by `source` in one step: afterwards `target` names what `source` held,
// and `source` is gone. On failure both stay as they were. A target that exists and is not a
// regular file (a device, a FIFO, a folder) raises NotRegularFileError.
void Replace(const std::string& source, const std::string& target);

} // namespace files

} // namespace velkor
