#include "cli/Json.h"

#include <cstdio>

namespace velkor::cli {

namespace {

// The length of the valid UTF-8 sequence starting at text[i], 0 if there is none.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    // No overlong forms, no surrogates, nothing above U+10FFFF.
    const unsigned char second = byte(i + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
        return 0;
    return length;
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            json += c;
        } else if (const std::size_t length = byte >= 0x80 ? Utf8Length(text, i) : 0) {
            json.append(text.substr(i, length));
            i += length;
            continue;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        }
        ++i;
    }
    return json + '"';
}

JsonObject& JsonObject::Member(const char* key, const std::string& value) {
    if (!members_.empty())
        members_ += ", ";
    members_ += JsonString(key) + ": " + value;
    return *this;
}

JsonObject& JsonObject::String(const char* key, std::string_view value) {
    return Member(key, JsonString(value));
}

JsonObject& JsonObject::Number(const char* key, std::uint64_t value) {
    return Member(key, std::to_string(value));
}

JsonObject& JsonObject::Bool(const char* key, bool value) {
    return Member(key, value ? "true" : "false");
}

JsonObject& JsonObject::Null(const char* key) {
    return Member(key, "null");
}

JsonObject& JsonObject::Object(const char* key, const JsonObject& value) {
    return Member(key, value.Text());
}

} // namespace velkor::cli
