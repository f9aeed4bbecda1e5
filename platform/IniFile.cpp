#include "platform/IniFile.h"

#include "platform/Utf8Path.h"

#include <cctype>
#include <cstdlib>
#include <fstream>

namespace velkor {

namespace {

std::string Trim(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return {};
    }
    const auto end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// QSettings quotes a value that holds a separator or leading and trailing blanks, escapes
// backslash and quote, writes control characters as \n, \t... or \xHHHH, and doubles a
// leading "@".
std::string Unescape(const std::string& raw) {
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c != '\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const char e = raw[++i];
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '0':
            out += '\0';
            break;
        case 'x': {
            unsigned code = 0;
            std::size_t n = 0;
            while (n < 4 && i + 1 < raw.size() &&
                   std::isxdigit(static_cast<unsigned char>(raw[i + 1]))) {
                code = code * 16 +
                       static_cast<unsigned>(std::stoi(std::string(1, raw[++i]), nullptr, 16));
                ++n;
            }
            AppendUtf8(out, code);
            break;
        }
        default:
            out += e;
        }
    }
    if (out.starts_with("@@")) {
        out.erase(0, 1);
    }
    return out;
}

// The value's text without a comment (";" outside quotes) and the blanks around it.
std::string WithoutComment(const std::string& raw) {
    bool quoted = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\') {
            ++i;
        } else if (raw[i] == '"') {
            quoted = !quoted;
        } else if (raw[i] == ';' && !quoted) {
            return Trim(raw.substr(0, i));
        }
    }
    return Trim(raw);
}

} // namespace

std::optional<std::string> ReadIniValue(const std::string& fileName, const std::string& section,
                                        const std::string& key) {
    std::ifstream in(Utf8Path(fileName), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string line;
    std::string current = "General";
    std::optional<std::string> found;
    while (std::getline(in, line)) {
        const auto text = Trim(line);
        if (text.empty() || text[0] == ';' || text[0] == '#') {
            continue;
        }
        if (text.front() == '[' && text.back() == ']') {
            current = text.substr(1, text.size() - 2);
            continue;
        }
        const auto eq = text.find('=');
        if (eq == std::string::npos || current != section) {
            continue;
        }
        if (Trim(text.substr(0, eq)) == key) {
            found = Unescape(WithoutComment(text.substr(eq + 1)));
        }
    }
    return found;
}

std::string ProgramSettingsFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config != '\0') {
        return std::string(config) + "/velkor/velkor.conf";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return std::string(home) + "/.config/velkor/velkor.conf";
    }
    return {};
}

} // namespace velkor
