#include "platform/TextEscape.h"

#include <cstdint>

namespace velkor {

namespace {

// Length of the well-formed UTF-8 character at bytes[i] (2 to 4), or 0 when there is none.
std::size_t Utf8Length(std::string_view bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
    const std::uint8_t lead = at(i);
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xbf; // allowed range of the second byte
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0)
            low = 0xa0; // no overlong forms
        if (lead == 0xed)
            high = 0x9f; // no surrogates
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0)
            low = 0x90;
        if (lead == 0xf4)
            high = 0x8f; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > bytes.size() || at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xbf)
            return 0;
    return length;
}

} // namespace

std::string EscapeForMessage(std::string_view bytes) {
    static constexpr char Hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<std::uint8_t>(bytes[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t length = c >= 0x80 ? Utf8Length(bytes, i) : 0) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            out += "\\x";
            out += Hex[c >> 4];
            out += Hex[c & 0xf];
            ++i;
        }
    }
    return out;
}

} // namespace velkor
