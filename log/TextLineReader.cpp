#include "log/TextLineReader.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velkor {

namespace {

constexpr std::size_t BufferSize = 256 * 1024;

[[noreturn]] void RaiseErrno(int error) {
    throw InOutError(std::strerror(error));
}

} // namespace

TextLineReader::~TextLineReader() {
    Close();
}

void TextLineReader::Open(const std::string& fileName) {
    Close();
    int fd = -1;
    do
        fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        RaiseErrno(errno);
    fd_ = fd;
    buffer_.resize(BufferSize);
    pos_ = end_ = 0;
}

void TextLineReader::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    pos_ = end_ = 0;
}

bool TextLineReader::Refill() {
    if (fd_ < 0)
        return false;
    ssize_t n = 0;
    do
        n = ::read(fd_, buffer_.data(), buffer_.size());
    while (n < 0 && errno == EINTR);
    if (n < 0)
        RaiseErrno(errno);
    pos_ = 0;
    end_ = static_cast<std::size_t>(n);
    return n > 0;
}

bool TextLineReader::AtEnd() {
    return pos_ == end_ && !Refill();
}

std::string_view TextLineReader::ReadLine(std::size_t maxChars) {
    maxChars = std::min(maxChars, MaxLineText);
    std::size_t length = 0;
    while (length < maxChars) {
        if (pos_ == end_ && !Refill())
            return {text_.data(), length};
        const char c = buffer_[pos_];
        if (c == '\r' || c == '\n')
            break;
        text_[length++] = c;
        ++pos_;
    }
    SkipLine();
    return {text_.data(), length};
}

void TextLineReader::SkipLine() {
    for (;;) {
        if (pos_ == end_ && !Refill())
            return;
        const void* lf = std::memchr(buffer_.data() + pos_, '\n', end_ - pos_);
        if (lf) {
            pos_ = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.data()) + 1;
            return;
        }
        pos_ = end_;
    }
}

} // namespace velkor
