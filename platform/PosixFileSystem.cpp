#include "platform/FileSystem.h"

#include "platform/Errors.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace velkor {

namespace {

[[noreturn]] void RaiseErrno(int error) {
    throw InOutError(std::strerror(error));
}

int Fd(const FileHandle& file) {
    return static_cast<int>(file.Native());
}

} // namespace

FileHandle::~FileHandle() {
    if (IsOpen())
        ::close(static_cast<int>(native_));
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (IsOpen())
            ::close(static_cast<int>(native_));
        native_ = other.Release();
    }
    return *this;
}

namespace files {

FileHandle OpenForReading(const std::string& path) {
    int fd = -1;
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for one forever.
    do
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        RaiseErrno(errno);
    FileHandle file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        RaiseErrno(errno);
    if (!S_ISREG(st.st_mode))
        throw NotRegularFileError(path);
    // Reads of a regular file never block; the flag is cleared only for tidiness.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return file;
}

std::size_t Read(FileHandle& file, void* data, std::size_t count) {
    if (!file.IsOpen())
        RaiseErrno(EBADF);
    ssize_t n = 0;
    do
        n = ::read(Fd(file), data, count);
    while (n < 0 && errno == EINTR);
    if (n < 0)
        RaiseErrno(errno);
    return static_cast<std::size_t>(n);
}

std::uint64_t Size(FileHandle& file) {
    struct stat st {};
    if (!file.IsOpen())
        RaiseErrno(EBADF);
    if (::fstat(Fd(file), &st) != 0)
        RaiseErrno(errno);
    return static_cast<std::uint64_t>(st.st_size);
}

FileHandle CreateForWriting(const std::string& path) {
    int fd = -1;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        RaiseErrno(errno);
    return FileHandle(fd);
}

void Write(FileHandle& file, const void* data, std::size_t count) {
    if (!file.IsOpen())
        RaiseErrno(EBADF);
    const char* bytes = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t n = ::write(Fd(file), bytes, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            RaiseErrno(n < 0 ? errno : ENOSPC);
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
}

bool Truncate(FileHandle& file, std::uint64_t size) noexcept {
    return file.IsOpen() && ::ftruncate(Fd(file), static_cast<off_t>(size)) == 0;
}

void FlushToDisk(FileHandle& file) {
    if (!file.IsOpen())
        RaiseErrno(EBADF);
    while (::fsync(Fd(file)) != 0) {
        // Files that cannot be synced (a pipe, some special file systems) have nothing to lose.
        if (errno == EINVAL || errno == EROFS)
            return;
        if (errno != EINTR)
            RaiseErrno(errno);
    }
}

void Close(FileHandle& file) {
    if (!file.IsOpen())
        return;
    // The descriptor is released even when close reports an error; it must not be retried.
    if (::close(static_cast<int>(file.Release())) != 0 && errno != EINTR)
        RaiseErrno(errno);
}

TemporaryFile CreateTemporaryBeside(const std::string& path) {
    // "dir/name" -> "dir/.name.tmp-XXXXXXXX": hidden, in the same folder, so that a rename
    // replaces the file in one step. O_EXCL with mode 0666 gives the file the permissions any
    // file the user creates gets (umask applied), unlike mkstemp's 0600.
    const std::size_t slash = path.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", random() ^ counter.fetch_add(1));
        std::string candidate = folder + "." + name + ".tmp-" + suffix;
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return {FileHandle(fd), std::move(candidate)};
        if (errno != EEXIST && errno != EINTR)
            RaiseErrno(errno);
    }
    RaiseErrno(EEXIST);
}

void CheckReplaceable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return;
        RaiseErrno(errno);
    }
    if (S_ISDIR(st.st_mode))
        RaiseErrno(EISDIR);
    if (!S_ISREG(st.st_mode))
        throw NotRegularFileError(path);
}

bool Remove(const std::string& path) noexcept {
    return ::unlink(path.c_str()) == 0;
}

void Replace(const std::string& source, const std::string& target) {
    // Only a file takes the place of a file: a device or FIFO of that name is left alone.
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        throw NotRegularFileError(target);
    if (::rename(source.c_str(), target.c_str()) != 0)
        RaiseErrno(errno);
}

} // namespace files

} // namespace velkor
