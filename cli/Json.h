#pragma once
// The JSON that --json prints: one object per line, keys in a fixed order. Texts from files and
// the logger are escaped with JSON's own escapes: control characters, DEL and bytes that are no
// UTF-8 become \uXXXX (a stray byte its own value); valid UTF-8 passes as it is.

#include <cstdint>
#include <string>
#include <string_view>

namespace velkor::cli {

// `text` as a JSON string, quotes included.
std::string JsonString(std::string_view text);

class JsonObject {
public:
    JsonObject& String(const char* key, std::string_view value);
    JsonObject& Number(const char* key, std::uint64_t value);
    JsonObject& Bool(const char* key, bool value);
    JsonObject& Null(const char* key);
    // A nested object.
    JsonObject& Object(const char* key, const JsonObject& value);
    // The object: {"key": value, ...}, no line end.
    std::string Text() const { return "{" + members_ + "}"; }

private:
    JsonObject& Member(const char* key, const std::string& value);
    std::string members_;
};

} // namespace velkor::cli
