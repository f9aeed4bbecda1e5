#pragma once
// The text of a PDF as its reader sees it, through poppler's pdftotext.

#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

namespace velkor::testing {

inline QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(30000));
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace velkor::testing
