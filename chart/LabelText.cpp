#include "chart/LabelText.h"

#include "platform/DateTime.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace velkor::chart {

namespace {

struct NumberPattern {
    QString prefix, suffix;
    int minIntDigits = 0;
    bool grouping = false;
    int minDecimals = 0;
    int maxDecimals = 0;
};

NumberPattern ParsePattern(const QString& pattern) {
    NumberPattern p;
    auto isPlaceholder = [](QChar c) { return c == u'0' || c == u'#'; };
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (isPlaceholder(pattern[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    if (first < 0) {
        p.prefix = pattern;
        return p;
    }
    p.prefix = pattern.left(first);
    p.suffix = pattern.mid(last + 1);
    bool decimals = false;
    for (qsizetype i = first; i <= last; ++i) {
        const QChar c = pattern[i];
        if (c == u'.') {
            decimals = true;
        } else if (c == u',' && !decimals) {
            p.grouping = true;
        } else if (c == u'0') {
            if (decimals) {
                ++p.minDecimals;
                ++p.maxDecimals;
            } else {
                ++p.minIntDigits;
            }
        } else if (c == u'#' && decimals) {
            ++p.maxDecimals;
        }
    }
    return p;
}

} // namespace

QString FormatNumber(double value, const QString& pattern, const NumberSeparators& sep) {
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN") : value > 0 ? "INF" : "-INF";
    const NumberPattern p = ParsePattern(pattern);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", p.maxDecimals, std::fabs(value));
    std::string digits(buf);
    std::string intPart = digits, frac;
    if (const auto dot = digits.find('.'); dot != std::string::npos) {
        intPart = digits.substr(0, dot);
        frac = digits.substr(dot + 1);
    }
    while (static_cast<int>(frac.size()) > p.minDecimals && !frac.empty() && frac.back() == '0')
        frac.pop_back();
    // Leading zeros beyond what the pattern asks for go.
    std::size_t lead = 0;
    while (lead + 1 < intPart.size() && intPart[lead] == '0')
        ++lead;
    intPart.erase(0, lead);
    if (intPart == "0" && p.minIntDigits == 0)
        intPart.clear();
    while (static_cast<int>(intPart.size()) < p.minIntDigits)
        intPart.insert(intPart.begin(), '0');
    const bool zero = intPart.find_first_not_of('0') == std::string::npos &&
                      frac.find_first_not_of('0') == std::string::npos;

    QString out = p.prefix;
    if (value < 0 && !zero)
        out += u'-';
    const int n = static_cast<int>(intPart.size());
    for (int i = 0; i < n; ++i) {
        if (p.grouping && i > 0 && (n - i) % 3 == 0)
            out += sep.thousands;
        out += QChar(intPart[i]);
    }
    if (!frac.empty()) {
        out += sep.decimal;
        out += QString::fromLatin1(frac.data(), static_cast<qsizetype>(frac.size()));
    }
    if (intPart.empty() && frac.empty())
        out += u'0';
    out += p.suffix;
    return out;
}

QString LabelText(double v, double range, const LabelTextSettings& s) {
    QString text;
    if (s.dateTime) {
        if (v < 0)
            return {};
        std::string format = s.dateTimeFormat.toStdString();
        if (format.empty()) {
            const DateTimeFormats& f = ProcessDateTimeFormats();
            format = range > 1 ? f.shortDate : f.shortTime;
        }
        // Label values are reached by adding steps, so one may lie a hair before midnight;
        // FormatDateTime shows such a value as the midnight it stands for.
        text = QString::fromStdString(FormatDateTime(format, v));
    } else {
        text = FormatNumber(v, s.valuesFormat, s.separators);
    }
    if (s.multiLine)
        text.replace(u' ', QChar(13));
    return text;
}

QStringList LabelLines(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    t.replace(QChar(10), QChar(13));
    return t.split(QChar(13));
}

} // namespace velkor::chart
