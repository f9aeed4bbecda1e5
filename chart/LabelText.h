#pragma once
// Label texts: numbers with a format pattern such as "#,##0.###", date-times with a date-time
// pattern, and the splitting of a text into lines at its blanks.

#include <QString>
#include <QStringList>

namespace velkor::chart {

struct NumberSeparators {
    QChar decimal = u'.';
    QChar thousands = u',';
};

// Formats with a number pattern: '0' a digit always shown, '#' a digit shown when needed,
// ',' in the integer part groups thousands, '.' starts the decimals. Characters before the
// first and after the last placeholder are copied as they stand. Rounds to the decimals the
// pattern allows; a value that rounds to zero shows no minus sign.
QString FormatNumber(double value, const QString& pattern, const NumberSeparators& sep = {});

struct LabelTextSettings {
    bool dateTime = false;
    QString dateTimeFormat;             // empty: the short date or time format
    QString valuesFormat = "#,##0.###"; // for plain numbers
    NumberSeparators separators;
    bool multiLine = false;
};

// The text of a label for value v of an axis whose range is `range`. A date-time before
// 1899-12-30 has no text.
QString LabelText(double v, double range, const LabelTextSettings& s);

// The lines of a label: a text with k line breaks (character 13, or 10) has k + 1 lines.
QStringList LabelLines(const QString& text);

} // namespace velkor::chart
