#pragma once
// Reads a text file line by line the way the data file loader needs it: a line ends at CR LF,
// at a bare LF or at a bare CR, and only the first characters of a long line are kept. Only a
// regular file is opened, and opening never blocks (NotRegularFileError for a FIFO, a device, a
// folder). Errors are InOutError with the platform's message.

#include "platform/FileSystem.h"

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
    bool IsOpen() const { return file_.IsOpen(); }
    // The first bytes of the file (up to count), read ahead without consuming them. Only
    // before the first ReadLine or SkipLine.
    std::string_view Peek(std::size_t count);

    // True when no byte is left.
    bool AtEnd();
    // Reads up to maxChars (at most MaxLineText) characters of the line's text and skips the
    // rest of the line. The view stays valid until the next call.
    std::string_view ReadLine(std::size_t maxChars);
    void SkipLine();

private:
    bool Refill();
    // After a line's CR: a LF right behind it belongs to the same line end.
    void SkipLineFeedAfterCarriageReturn();

    FileHandle file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::array<char, MaxLineText> text_{};
};

} // namespace velkor
