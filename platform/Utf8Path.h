#pragma once
// File names are UTF-8 strings throughout the program. A std::filesystem::path made from a
// char string takes the system's code page on Windows, which mangles every other character;
// these conversions keep UTF-8 on every system (on Linux they change nothing).

#include <filesystem>
#include <string>

namespace velkor {

inline std::filesystem::path Utf8Path(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

inline std::string Utf8Name(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace velkor
