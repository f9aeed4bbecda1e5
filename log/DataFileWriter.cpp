#include "log/DataFileWriter.h"

#include "platform/Errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velkor {

namespace {

[[noreturn]] void RaiseErrno(int error) {
    throw InOutError(std::strerror(error));
}

} // namespace

DataFileWriter::~DataFileWriter() {
    if (fd_ >= 0)
        ::close(fd_);
}

void DataFileWriter::Create(const std::string& fileName) {
    if (fd_ >= 0)
        Close();
    int fd = -1;
    do
        fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        RaiseErrno(errno);
    fd_ = fd;
    written_ = 0;
}

void DataFileWriter::Append(const std::string& text) {
    if (fd_ < 0)
        RaiseErrno(EBADF);
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            // Leave no half line behind. Devices cannot be cut; that failure is of no interest.
            if (::ftruncate(fd_, static_cast<off_t>(written_)) != 0)
                errno = 0;
            RaiseErrno(error);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    written_ += text.size();
}

void DataFileWriter::Close() {
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    // The descriptor is released even when close reports an error; it must not be retried.
    if (::close(fd) != 0 && errno != EINTR)
        RaiseErrno(errno);
}

} // namespace velkor
