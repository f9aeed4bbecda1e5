#pragma once
// The language of every text the program shows, in the window and on the command line.

#include <cstdint>
#include <optional>
#include <string_view>

namespace velkor {

enum class Language { Polish, English };

// The build-time language switch: 0 selects Polish, any other value English.
constexpr Language LanguageFromSwitch(std::int32_t useEnglish) {
    return useEnglish != 0 ? Language::English : Language::Polish;
}

// The value of --lang: "pl" or "en"; nothing for any other text.
constexpr std::optional<Language> LanguageNamed(std::string_view name) {
    if (name == "pl")
        return Language::Polish;
    if (name == "en")
        return Language::English;
    return std::nullopt;
}

} // namespace velkor
