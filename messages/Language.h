#pragma once
// The language of every text the program shows, in the window and on the command line.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
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

// The language of a command line: the last valid --lang value ("--lang pl", "--lang=en") before
// a "--", else the fallback. A wrong value is left for the parser to report in this language.
inline Language LanguageOfArguments(std::span<const std::string> args, Language fallback) {
    Language language = fallback;
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        std::optional<Language> named;
        if (args[i] == "--lang" && i + 1 < args.size())
            named = LanguageNamed(args[i + 1]);
        else if (args[i].starts_with("--lang="))
            named = LanguageNamed(std::string_view(args[i]).substr(7));
        if (named)
            language = *named;
    }
    return language;
}

} // namespace velkor
