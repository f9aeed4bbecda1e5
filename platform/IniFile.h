#pragma once
// Reads one value of an INI file as Qt's QSettings writes it (the window's velkor.conf), so
// that velkor-cli, which has no Qt, finds the window's settings.

#include <optional>
#include <string>

namespace velkor {

// The value of `key` in `[section]`, unquoted and unescaped; nothing when the file, the section
// or the key is missing. A key of the general section is looked for under "[General]".
std::optional<std::string> ReadIniValue(const std::string& fileName, const std::string& section,
                                        const std::string& key);

// The window's settings file: $XDG_CONFIG_HOME/velkor/velkor.conf, or ~/.config/velkor/velkor.conf
// when the variable is unset or empty. Empty when neither variable is set.
std::string ProgramSettingsFile();

} // namespace velkor
