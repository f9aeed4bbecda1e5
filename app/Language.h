#pragma once
// The language of the window's texts. The program is built for one of them (UseEnglish.h);
// tests build windows in both.

#include <cstdint>

namespace velkor {

enum class Language { Polish, English };

// The language switch: 0 selects Polish, any other value English.
constexpr Language LanguageFromSwitch(std::int32_t useEnglish) {
    return useEnglish != 0 ? Language::English : Language::Polish;
}

} // namespace velkor
