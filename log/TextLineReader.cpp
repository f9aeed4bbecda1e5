#include "log/TextLineReader.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cstring>

namespace velkor {

namespace {

constexpr std::size_t BufferSize = 256 * 1024;

} // namespace

TextLineReader::~TextLineReader() {
    Close();
}

void TextLineReader::Open(const std::string& fileName) {
    Close();
    file_ = files::OpenForReading(fileName);
    buffer_.resize(BufferSize);
    pos_ = end_ = 0;
}

void TextLineReader::Close() {
    file_ = FileHandle();
    pos_ = end_ = 0;
}

bool TextLineReader::Refill() {
    if (!file_.IsOpen())
        return false;
    const std::size_t n = files::Read(file_, buffer_.data(), buffer_.size());
    pos_ = 0;
    end_ = n;
    return n > 0;
}

std::string_view TextLineReader::Peek(std::size_t count) {
    if (pos_ == end_)
        Refill();
    return {buffer_.data() + pos_, std::min(count, end_ - pos_)};
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
        const auto begin = buffer_.begin() + static_cast<long>(pos_);
        const auto stop = buffer_.begin() + static_cast<long>(end_);
        const auto found = std::find_if(begin, stop, [](char c) { return c == '\r' || c == '\n'; });
        if (found == stop) {
            pos_ = end_;
            continue;
        }
        pos_ = static_cast<std::size_t>(found - buffer_.begin()) + 1;
        if (*found == '\r')
            SkipLineFeedAfterCarriageReturn();
        return;
    }
}

void TextLineReader::SkipLineFeedAfterCarriageReturn() {
    if (pos_ == end_ && !Refill())
        return;
    if (buffer_[pos_] == '\n')
        ++pos_;
}

} // namespace velkor
