#include "archive/postgres/PgUrl.h"

#include <algorithm>
#include <cctype>

namespace velkor::archive {
namespace {

constexpr std::string_view Schemes[] = {"postgresql://", "postgres://"};

std::size_t SchemeLength(std::string_view url) {
    for (std::string_view scheme : Schemes)
        if (url.substr(0, scheme.size()) == scheme) // libpq compares them case-sensitively
            return scheme.size();
    return 0;
}

// The pieces of a URL that hold a password, located the way libpq's URI parser finds them: the
// user part runs to the first '@' met before any '/', its password follows the first ':';
// parameters follow the first '?' and are separated by '&'.
struct Parts {
    std::size_t passwordBegin = 0, passwordEnd = 0; // ":password", empty when there is none
    std::size_t query = std::string_view::npos;     // the '?'
};

Parts Split(std::string_view url) {
    Parts parts;
    const std::size_t start = SchemeLength(url);
    const std::size_t at = url.find_first_of("@/", start);
    if (at != std::string_view::npos && url[at] == '@') {
        const std::size_t colon = url.find(':', start);
        if (colon < at)
            parts.passwordBegin = colon, parts.passwordEnd = at;
    }
    parts.query = url.find('?', start);
    return parts;
}

std::vector<std::string_view> Parameters(std::string_view url, const Parts& parts) {
    std::vector<std::string_view> parameters;
    if (parts.query == std::string_view::npos)
        return parameters;
    for (std::size_t p = parts.query + 1; p <= url.size();) {
        std::size_t next = url.find('&', p);
        if (next == std::string_view::npos)
            next = url.size();
        parameters.push_back(url.substr(p, next - p));
        p = next + 1;
    }
    return parameters;
}

constexpr std::string_view PasswordKey = "password=";

bool IsPassword(std::string_view parameter) {
    return parameter.substr(0, PasswordKey.size()) == PasswordKey;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

bool IsPostgresUrl(std::string_view archive) {
    return SchemeLength(archive) != 0;
}

std::string WithoutPassword(std::string_view url) {
    if (!IsPostgresUrl(url))
        return std::string(url);
    const Parts parts = Split(url);
    std::string out(url.substr(0, std::min(parts.query, url.size())));
    if (parts.passwordEnd > parts.passwordBegin && parts.passwordEnd <= out.size())
        out.erase(parts.passwordBegin, parts.passwordEnd - parts.passwordBegin);
    std::string query;
    for (std::string_view parameter : Parameters(url, parts))
        if (!IsPassword(parameter))
            (query += query.empty() ? "" : "&") += parameter;
    if (!query.empty())
        out += "?" + query;
    return out;
}

std::vector<std::string> PasswordsIn(std::string_view url) {
    std::vector<std::string_view> raw;
    if (!IsPostgresUrl(url))
        return {};
    const Parts parts = Split(url);
    if (parts.passwordEnd > parts.passwordBegin)
        raw.push_back(
            url.substr(parts.passwordBegin + 1, parts.passwordEnd - parts.passwordBegin - 1));
    for (std::string_view parameter : Parameters(url, parts))
        if (IsPassword(parameter))
            raw.push_back(parameter.substr(PasswordKey.size()));
    std::vector<std::string> passwords;
    for (std::string_view password : raw) {
        passwords.emplace_back(password);
        passwords.push_back(PercentDecoded(password));
    }
    return passwords;
}

std::string Redacted(std::string text, const std::vector<std::string>& secrets) {
    for (const std::string& secret : secrets) {
        if (secret.empty())
            continue;
        for (std::size_t p = text.find(secret); p != std::string::npos;
             p = text.find(secret, p + 3))
            text.replace(p, secret.size(), "***");
    }
    return text;
}

} // namespace velkor::archive
