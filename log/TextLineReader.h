#pragma once
// Reads a text file line by line the way the data file loader needs it: a line's text ends at
// CR or LF, the line itself at LF (so CR LF and a bare LF both end a line), and only the first
// characters of a long line are kept. Errors are InOutError with the platform's message.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

class TextLineReader {
public:
    static constexpr std::size_t MaxLineText = 64;

    TextLineReader() = default;
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    void Open(const std::string& fileName);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // True when no byte is left.
    bool AtEnd();
    // Reads up to maxChars (at most MaxLineText) characters of the line's text and skips the
    // rest of the line. The view stays valid until the next call.
    std::string_view ReadLine(std::size_t maxChars);
    void SkipLine();

private:
    bool Refill();

    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::array<char, MaxLineText> text_{};
};

} // namespace velkor
