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

[[noreturn]] void RaiseWin32(DWORD error) {
    throw InOutError(Win32ErrorText(error));
}

[[noreturn]] void RaiseLastError() {
    RaiseWin32(::GetLastError());
}

HANDLE Handle(const FileHandle& file) {
    return reinterpret_cast<HANDLE>(file.Native());
}

FileHandle Adopt(HANDLE handle) {
    return FileHandle(reinterpret_cast<std::intptr_t>(handle));
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
        RaiseLastError();
    FileHandle file = Adopt(handle);
    // Pipes, consoles and devices (NUL, COM1) are not regular files; neither are folders.
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        throw NotRegularFileError(path);
    return file;
}

std::size_t Read(FileHandle& file, void* data, std::size_t count) {
    if (!file.IsOpen())
        RaiseWin32(ERROR_INVALID_HANDLE);
    DWORD got = 0;
    if (!::ReadFile(Handle(file), data, static_cast<DWORD>(std::min(count, MaxChunk)), &got,
                    nullptr))
        RaiseLastError();
    return got;
}

std::uint64_t Size(FileHandle& file) {
    if (!file.IsOpen())
        RaiseWin32(ERROR_INVALID_HANDLE);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Handle(file), &size))
        RaiseLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

FileHandle CreateForWriting(const std::string& path) {
    const HANDLE handle = ::CreateFileW(WideText(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        RaiseLastError();
    return Adopt(handle);
}

void Write(FileHandle& file, const void* data, std::size_t count) {
    if (!file.IsOpen())
        RaiseWin32(ERROR_INVALID_HANDLE);
    const char* bytes = static_cast<const char*>(data);
    while (count > 0) {
        DWORD written = 0;
        if (!::WriteFile(Handle(file), bytes, static_cast<DWORD>(std::min(count, MaxChunk)),
                         &written, nullptr))
            RaiseLastError();
        if (written == 0)
            RaiseWin32(ERROR_DISK_FULL);
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
        RaiseWin32(ERROR_INVALID_HANDLE);
    if (::FlushFileBuffers(Handle(file)))
        return;
    const DWORD error = ::GetLastError();
    // What cannot be flushed (a pipe, a console) has nothing to lose.
    if (error != ERROR_INVALID_FUNCTION && error != ERROR_INVALID_HANDLE)
        RaiseWin32(error);
}

void Close(FileHandle& file) {
    if (!file.IsOpen())
        return;
    // The handle is released even when closing reports an error; it must not be retried.
    if (!::CloseHandle(reinterpret_cast<HANDLE>(file.Release())))
        RaiseLastError();
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
            return {Adopt(handle), std::move(candidate)};
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            RaiseWin32(error);
    }
    RaiseWin32(ERROR_FILE_EXISTS);
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
        RaiseWin32(error);
    }
    FileHandle file = Adopt(handle);
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info))
        throw NotRegularFileError(path);
    // What Windows answers when a folder is opened for writing.
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RaiseWin32(ERROR_ACCESS_DENIED);
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
        RaiseLastError();
}

} // namespace files

} // namespace velkor
