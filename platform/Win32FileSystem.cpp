#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Win32Text.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <utility>

// Files are opened through the wide-character API and read and written as bytes: no text
// mode, so the data file's CR LF line ends are written as the writer gives them and files are
// byte-identical to those written on Linux.

namespace velkor {

namespace {

FileProblem ProblemOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return FileProblem::NotFound;
    case ERROR_ACCESS_DENIED:
        return FileProblem::AccessDenied;
    case ERROR_DIRECTORY:
        return FileProblem::IsFolder;
    case ERROR_CANT_RESOLVE_FILENAME:
        return FileProblem::LinkLoop;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileProblem::DiskFull;
    case ERROR_WRITE_PROTECT:
        return FileProblem::ReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileProblem::Busy;
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
        return FileProblem::NoDevice;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_IO_DEVICE:
        return FileProblem::InOut;
    default:
        return FileProblem::Other;
    }
}

[[noreturn]] void RaiseWin32(const std::string& path, DWORD error) {
    throw FileError(path, ProblemOf(error), Win32ErrorText(error));
}

[[noreturn]] void RaiseLastError(const std::string& path) {
    RaiseWin32(path, ::GetLastError());
}

HANDLE Handle(const FileHandle& file) {
    return reinterpret_cast<HANDLE>(file.Native());
}

FileHandle Adopt(HANDLE handle, const std::string& name) {
    return FileHandle(reinterpret_cast<std::intptr_t>(handle), name);
}

// One read or write call takes at most this much (DWORD counts).
constexpr std::size_t MaxChunk = 1u << 30;

} // namespace

FileHandle::~FileHandle() {
    if (IsOpen())
        ::CloseHandle(reinterpret_cast<HANDLE>(native_));
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (IsOpen())
            ::CloseHandle(reinterpret_cast<HANDLE>(native_));
        native_ = other.Release();
        name_ = std::move(other.name_);
    }
    return *this;
}

namespace files {

FileHandle OpenForReading(const std::string& path) {
    // Backup semantics let a folder open too, so that it is reported as not a regular file
    // rather than as "access denied".
    const HANDLE handle =
        ::CreateFileW(WideText(path).c_str(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        RaiseLastError(path);
    FileHandle file = Adopt(handle, path);
    // Pipes, consoles and devices (NUL, COM1) are not regular files; neither are folders.
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        throw NotRegularFileError(path);
    return file;
}

std::size_t Read(FileHandle& file, void* data, std::size_t count) {
    if (!file.IsOpen())
        RaiseWin32(file.Name(), ERROR_INVALID_HANDLE);
    DWORD got = 0;
    if (!::ReadFile(Handle(file), data, static_cast<DWORD>(std::min(count, MaxChunk)), &got,
                    nullptr))
        RaiseLastError(file.Name());
    return got;
}

std::uint64_t Size(FileHandle& file) {
    if (!file.IsOpen())
        RaiseWin32(file.Name(), ERROR_INVALID_HANDLE);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Handle(file), &size))
        RaiseLastError(file.Name());
    return static_cast<std::uint64_t>(size.QuadPart);
}

FileHandle CreateForWriting(const std::string& path) {
    const HANDLE handle = ::CreateFileW(WideText(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        RaiseLastError(path);
    return Adopt(handle, path);
}

void Write(FileHandle& file, const void* data, std::size_t count) {
    if (!file.IsOpen())
        RaiseWin32(file.Name(), ERROR_INVALID_HANDLE);
    const char* bytes = static_cast<const char*>(data);
    while (count > 0) {
        DWORD written = 0;
        if (!::WriteFile(Handle(file), bytes, static_cast<DWORD>(std::min(count, MaxChunk)),
                         &written, nullptr))
            RaiseLastError(file.Name());
        if (written == 0)
            RaiseWin32(file.Name(), ERROR_DISK_FULL);
        bytes += written;
        count -= written;
    }
}

bool Truncate(FileHandle& file, std::uint64_t size) noexcept {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(size);
    return file.IsOpen() && ::SetFilePointerEx(Handle(file), position, nullptr, FILE_BEGIN) &&
           ::SetEndOfFile(Handle(file));
}

void FlushToDisk(FileHandle& file) {
    if (!file.IsOpen())
        RaiseWin32(file.Name(), ERROR_INVALID_HANDLE);
    if (::FlushFileBuffers(Handle(file)))
        return;
    const DWORD error = ::GetLastError();
    // What cannot be flushed (a pipe, a console) has nothing to lose.
    if (error != ERROR_INVALID_FUNCTION && error != ERROR_INVALID_HANDLE)
        RaiseWin32(file.Name(), error);
}

void Close(FileHandle& file) {
    if (!file.IsOpen())
        return;
    // The handle is released even when closing reports an error; it must not be retried.
    if (!::CloseHandle(reinterpret_cast<HANDLE>(file.Release())))
        RaiseLastError(file.Name());
}

TemporaryFile CreateTemporaryBeside(const std::string& path) {
    // "dir\name" -> "dir\.name.tmp-XXXXXXXX": in the same folder, so that the replacement
    // happens in one step on one volume.
    const std::size_t slash = path.find_last_of("/\\");
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", random() ^ counter.fetch_add(1));
        std::string candidate = folder + "." + name + ".tmp-" + suffix;
        const HANDLE handle =
            ::CreateFileW(WideText(candidate).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            return {Adopt(handle, path), std::move(candidate)};
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            RaiseWin32(path, error);
    }
    RaiseWin32(path, ERROR_FILE_EXISTS);
}

void CheckReplaceable(const std::string& path) {
    // Asks for no access at all: only what the name is.
    const HANDLE handle = ::CreateFileW(
        WideText(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return;
        RaiseWin32(path, error);
    }
    FileHandle file = Adopt(handle, path);
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info))
        throw NotRegularFileError(path);
    // What Windows answers when a folder is opened for writing.
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RaiseWin32(path, ERROR_ACCESS_DENIED);
}

bool Remove(const std::string& path) noexcept {
    try {
        return ::DeleteFileW(WideText(path).c_str()) != 0;
    } catch (...) {
        return false;
    }
}

void Replace(const std::string& source, const std::string& target) {
    // Write-through: the move is on the disk when the call returns, like the data before it.
    if (!::MoveFileExW(WideText(source).c_str(), WideText(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        RaiseLastError(target);
}

} // namespace files

} // namespace velkor
