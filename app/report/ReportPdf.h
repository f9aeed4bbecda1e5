#pragma once
// The PDF report of one analysed period: A4 portrait PDF/A-1b with the header, the summary, the
// limits and alarms with the period's verdict, the chart, the excursions, the daily table, the
// gaps and the signature fields, a footer with the page number and the file name on every page.

#include "app/report/ReportData.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class QIODevice;

namespace velkor::report {

// The excursion and gap tables stop after this many rows, followed by "and N more".
constexpr std::size_t MaxTableRows = 200;

// The XMP packet of a report: the PDF/A-1b identification and the document's title, author
// (the program), subject, creator tool, producer and creation date.
QByteArray ReportXmp(const ReportData& data, const QDateTime& created);

// Writes the report to `device` (open for writing). Returns the number of pages. Raises
// InOutError naming `name` when the PDF cannot be written.
int WriteReport(const ReportData& data, QIODevice& device, const QString& name);
// The same into the file `fileName`, replaced when it exists.
int WriteReport(const ReportData& data, const QString& fileName);

} // namespace velkor::report
