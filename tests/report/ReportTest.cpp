// The report as its reader sees it: the text pdftotext extracts (numbers equal to the summary's,
// the verdict, a footer on every page, the excursion table's limit), the PDF/A metadata
// pdfinfo shows and the fonts pdffonts lists; and the exit statuses of the headless mode.

#include "analysis/Summary.h"
#include "analysis/SummaryJson.h"
#include "archive/Archive.h"
#include "log/DataLine.h"
#include "platform/DateTime.h"
#include "platform/DateTimeText.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace velkor::report {
namespace {

struct ProcessRun {
    int status = -1;
    QString out;
    QString err;
};

ProcessRun Execute(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The headless mode must need no display.
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

ProcessRun Velkor(const QStringList& arguments) {
    return Execute(QStringLiteral(VELKOR_BINARY), arguments);
}

// A week of readings every 5 minutes from 2025-03-03 00:00, the temperature of `celsius(i)`.
enum class Data { Steady, Fridge, Spiky };

double Celsius(Data data, int i) {
    const double base = 5 + 1.5 * std::sin(i / 40.0);
    switch (data) {
    case Data::Steady:
        return base;
    case Data::Fridge: // a door left open each day for an hour, a freezing night on day 5
        if (i % 288 >= 100 && i % 288 < 112)
            return 9.5 + (i % 288 - 100) * 0.1;
        if (i / 288 == 5 && i % 288 < 24)
            return -1.2;
        return base;
    case Data::Spiky: // one reading above the range every half hour
        return i % 6 == 0 ? 8.6 : base;
    }
    return base;
}

std::vector<analysis::Sample> WriteWeek(const QString& fileName, Data data) {
    double start = 0;
    EXPECT_TRUE(TryEncodeDate(2025, 3, 3, start));
    std::string text = "Nr\tData\tTemperatura\tWilgotnosc\r\n";
    std::vector<analysis::Sample> samples;
    for (int i = 0; i < 7 * 288; ++i) {
        if (data == Data::Fridge && i >= 900 && i < 936)
            continue; // three hours missing
        if (data == Data::Fridge && i == 50)
            text += "51\t2025-03-03 04:10:00\t+00x.5\t45.0\r\n"; // line 52: unreadable
        const double t = start + i * 300 * OneSecond;
        const int tenths = static_cast<int>(std::lround(Celsius(data, i) * 10));
        const int humidity = 450 + (i % 97);
        const DateParts d = DecodeDate(t);
        const TimeParts h = DecodeTime(t);
        text +=
            DataLine(i + 1, d.year, d.month, d.day, h.hour, h.minute, h.second, tenths, humidity);
        samples.push_back({t, tenths / 10.0, humidity / 10.0});
    }
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return samples;
}

QString Number(double value, bool polish) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", analysis::RoundHalfAway(value, 2) + 0.0);
    QString s = QString::fromLatin1(text);
    if (s == QLatin1String("-0.00"))
        s = QStringLiteral("0.00");
    return polish ? s.replace(u'.', u',') : s;
}

QString Time(double t) {
    return QString::fromStdString(analysis::TimeText(t));
}

// Each quantity's numbers as the summary gives them.
QStringList SummaryTexts(const analysis::Summary& s, bool polish) {
    QStringList texts{QString::number(s.samples), Number(*s.mkt, polish)};
    for (const analysis::Statistics* q : {&s.temperature, &s.humidity, &s.dewPoint})
        texts << Number(q->min, polish) << Time(q->minTime) << Number(q->max, polish)
              << Time(q->maxTime) << Number(q->mean, polish) << Number(*q->sd, polish);
    return texts;
}

QString Sha256(const QString& fileName) {
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromLatin1(
        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
}

// The text without the line that holds `generated`.
QString WithoutLine(const QString& text, const QString& generated) {
    QStringList lines = text.split(u'\n');
    lines.removeIf([&](const QString& l) { return l.contains(generated); });
    return lines.join(u'\n');
}

struct ReportCase {
    const char* name;
    Data data;
    const char* language;
    QStringList options;
    const char* verdict;
    int excursions; // rows the excursion table lists; -1 for no limits
    const char* more;
    const char* badLines; // the header's count of unreadable lines; empty: none
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportText : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportText, HoldsTheSummaryVerdictFootersAndPdfaMetadata) {
    const ReportCase& c = GetParam();
    const bool polish = QLatin1String(c.language) == QLatin1String("pl");
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("chłodnia.txt"));
    const QString pdf = dir.filePath(QStringLiteral("raport.pdf"));
    std::vector<analysis::Sample> samples = WriteWeek(data, c.data);

    const QStringList arguments =
        QStringList{QStringLiteral("--report"), data,
                    QStringLiteral("-o"),       pdf,
                    QStringLiteral("--lang"),   QLatin1String(c.language)} +
        c.options;
    const ProcessRun run = Velkor(arguments);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString text =
        Execute(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .out;

    // The numbers of the same samples summarised with the same options.
    analysis::Options options;
    if (c.excursions >= 0)
        options.profile = *analysis::ProfileByName("2-8");
    for (qsizetype i = 0; i + 1 < c.options.size(); ++i)
        if (c.options[i] == QLatin1String("--alarm"))
            options.profile.rules.push_back(
                *analysis::ParseAlarmRule(c.options[i + 1].toStdString()));
    const analysis::Summary summary = analysis::Summarize(samples, options);
    for (const QString& expected : SummaryTexts(summary, polish))
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    EXPECT_TRUE(text.contains(Sha256(data)));
    EXPECT_TRUE(text.contains(QLatin1String(c.verdict)));
    if (c.badLines[0] != '\0') {
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.badLines))) << c.badLines;
    }
    if (summary.limits) {
        const auto& excursions = summary.limits->excursions;
        ASSERT_EQ(static_cast<int>(std::min<std::size_t>(excursions.size(), 200)), c.excursions);
        for (int i = 0; i < c.excursions; ++i)
            EXPECT_TRUE(text.contains(Time(excursions[i].start))) << i;
        if (c.more[0] != '\0')
            EXPECT_TRUE(text.contains(QString::fromUtf8(c.more)));
        else
            EXPECT_EQ(excursions.size(), static_cast<std::size_t>(c.excursions));
    }

    // Every page ends with its number and the file's name.
    QStringList pages = text.split(u'\f');
    pages.removeAll(QString());
    ASSERT_GE(pages.size(), 2);
    for (qsizetype n = 0; n < pages.size(); ++n) {
        const QString footer =
            (polish ? QStringLiteral("Strona %1 z %2") : QStringLiteral("Page %1 of %2"))
                .arg(n + 1)
                .arg(pages.size());
        EXPECT_TRUE(pages[n].contains(footer)) << footer.toStdString();
        EXPECT_TRUE(pages[n].contains(QStringLiteral("chłodnia.txt")));
    }

    const QString meta = Execute(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf}).out;
    EXPECT_TRUE(meta.contains(QStringLiteral("<pdfaid:part>1</pdfaid:part>")));
    EXPECT_TRUE(meta.contains(QStringLiteral("<pdfaid:conformance>B</pdfaid:conformance>")));
    EXPECT_TRUE(meta.contains(QStringLiteral("<dc:creator><rdf:Seq><rdf:li>velkor ")));
    EXPECT_TRUE(meta.contains(QStringLiteral("chłodnia.txt</rdf:li>"))); // the subject

    const QStringList fonts =
        Execute(QStringLiteral("pdffonts"), {pdf}).out.split(u'\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_FALSE(fonts.isEmpty());
    for (const QString& font : fonts) {
        const QStringList columns = font.split(u' ', Qt::SkipEmptyParts);
        EXPECT_EQ(columns.value(columns.size() - 5), QStringLiteral("yes")) << font.toStdString();
    }

    // The same input gives the same text, but for the time it was made.
    ASSERT_EQ(Velkor(arguments).status, 0);
    const QString again =
        Execute(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .out;
    const QString generated = polish ? QStringLiteral("Wygenerowano") : QStringLiteral("Generated");
    EXPECT_EQ(WithoutLine(again, generated), WithoutLine(text, generated));
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ReportText,
    ::testing::Values(
        ReportCase{"FridgePolish",
                   Data::Fridge,
                   "pl",
                   {"--profile", "2-8", "--alarm", "above,8,30m,single"},
                   "NIEZGODNY",
                   8,
                   "",
                   "błędne: 1, pierwszy: wiersz 52"},
        ReportCase{"FridgeEnglish",
                   Data::Fridge,
                   "en",
                   {"--low", "2", "--high", "8", "--alarm", "above,8,30m,single"},
                   "FAIL",
                   8,
                   "",
                   "unreadable: 1, the first: line 52"},
        ReportCase{"SteadyPolish", Data::Steady, "pl", {"--profile", "2-8"}, "ZGODNY", 0, "", ""},
        ReportCase{"SteadyEnglishNoLimits", Data::Steady, "en", {}, "PASS", -1, "", ""},
        ReportCase{"SpikyEnglish",
                   Data::Spiky,
                   "en",
                   {"--profile", "2-8"},
                   "FAIL",
                   200,
                   "and 136 more",
                   ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct ExitCase {
    const char* name;
    QStringList arguments; // DATA and OUT stand for the data file and the report
    const char* content;   // of the data file; nullptr: no file
    int status;
    bool namesFile; // the message names the data file
};

void PrintTo(const ExitCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ReportExit, TellsUsageAndUnreadableData) {
    const ExitCase& c = GetParam();
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("dane.txt"));
    const QString pdf = dir.filePath(QStringLiteral("raport.pdf"));
    if (c.content) {
        QFile file(data);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
    }
    QStringList arguments = c.arguments;
    arguments.replaceInStrings(QStringLiteral("DATA"), data);
    arguments.replaceInStrings(QStringLiteral("OUT"), pdf);
    const ProcessRun run = Velkor(arguments);
    EXPECT_EQ(run.status, c.status) << run.err.toStdString();
    EXPECT_EQ(run.err.contains(data), c.namesFile) << run.err.toStdString();
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));
}

const char* const OneLine = "N\tD\tT\tW\r\n1\t2025-03-03 10:00:00\t+005.0\t45.0\r\n";

INSTANTIATE_TEST_SUITE_P(
    Statuses, ReportExit,
    ::testing::Values(
        ExitCase{"NoOutput", {"--report", "DATA"}, OneLine, 1, false},
        ExitCase{"NoFile", {"-o", "OUT", "--report"}, OneLine, 1, false},
        ExitCase{
            "BadRule", {"--report", "DATA", "-o", "OUT", "--alarm", "above,8"}, OneLine, 1, false},
        ExitCase{"LowAboveHigh",
                 {"--report", "DATA", "-o", "OUT", "--low", "9", "--high", "8"},
                 OneLine,
                 1,
                 false},
        ExitCase{"Missing", {"--report", "DATA", "-o", "OUT"}, nullptr, 2, true},
        ExitCase{"NoLoggerData", {"--report", "DATA", "-o", "OUT"}, "just text\r\n", 2, true},
        ExitCase{"Empty", {"--report", "DATA", "-o", "OUT"}, "", 2, true},
        ExitCase{"PeriodWithoutData",
                 {"--report", "DATA", "-o", "OUT", "--from", "2026-01-01 00:00:00"},
                 OneLine,
                 2,
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

// A logger's archived samples stand in for a data file: the same numbers, and the header names
// the logger and the archive instead of a file and its SHA-256.
struct ArchiveCase {
    const char* name;
    QStringList arguments; // DATA, ARCHIVE and OUT stand for the data file, archive and report
    QStringList period;    // --from and --to, also given to the summary
    int status;
    const char* said; // a part of standard error; empty for none
};

void PrintTo(const ArchiveCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportFromArchive : public ::testing::TestWithParam<ArchiveCase> {};

TEST_P(ReportFromArchive, SummarisesTheLoggersSamples) {
    const ArchiveCase& c = GetParam();
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("dane.txt"));
    const QString location = dir.filePath(QStringLiteral("archive.sqlite"));
    const QString pdf = dir.filePath(QStringLiteral("raport.pdf"));
    const std::vector<analysis::Sample> samples = WriteWeek(data, Data::Fridge);
    std::vector<archive::Sample> archived;
    for (const analysis::Sample& s : samples)
        archived.push_back({archive::FromDayCount(s.time),
                            static_cast<std::int32_t>(std::lround(s.celsius * 10)),
                            static_cast<std::int32_t>(std::lround(s.humidity * 10))});
    archive::OpenArchive(location.toStdString())
        ->Store({"RTW01234", true}, archive::DownloadMeta{}, archived);

    QStringList arguments = c.arguments + c.period;
    arguments.replaceInStrings(QStringLiteral("DATA"), data);
    arguments.replaceInStrings(QStringLiteral("ARCHIVE"), location);
    arguments.replaceInStrings(QStringLiteral("OUT"), pdf);
    const ProcessRun run = Velkor(arguments);
    EXPECT_EQ(run.status, c.status) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.said))) << run.err.toStdString();
    if (c.status != 0) {
        EXPECT_FALSE(QFile::exists(pdf));
        EXPECT_FALSE(QFile::exists(location + QStringLiteral(".typo")));
        return;
    }
    const QString text =
        Execute(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .out;
    analysis::Options options;
    for (qsizetype i = 0; i + 1 < c.period.size(); i += 2)
        (c.period[i] == QLatin1String("--from") ? options.from : options.to) =
            ParseDateTimeText(c.period[i + 1].toStdString());
    for (const QString& expected : SummaryTexts(analysis::Summarize(samples, options), false))
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    for (const QString& field : {QStringLiteral("Logger"), QStringLiteral("RTW01234"),
                                 QStringLiteral("Archive"), location})
        EXPECT_TRUE(text.contains(field)) << field.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("SHA-256")));
    EXPECT_FALSE(text.contains(QStringLiteral("dane.txt")));
}

const QStringList FromArchive{"--report",  "--archive-logger", "RTW01234",
                              "--archive", "ARCHIVE",          "-o",
                              "OUT",       "--lang",           "en"};

INSTANTIATE_TEST_SUITE_P(
    Loggers, ReportFromArchive,
    ::testing::Values(ArchiveCase{"Everything", FromArchive, {}, 0, ""},
                      ArchiveCase{"APeriod",
                                  FromArchive,
                                  {"--from", "2025-03-04 00:00:00", "--to", "2025-03-05 12:00:00"},
                                  0,
                                  ""},
                      ArchiveCase{"FileAndLogger",
                                  {"--report", "DATA", "--archive-logger", "RTW01234", "-o", "OUT",
                                   "--lang", "en"},
                                  {},
                                  1,
                                  "either FILE or --archive-logger"},
                      ArchiveCase{"UnknownLogger",
                                  {"--report", "--archive-logger", "RTW99999", "--archive",
                                   "ARCHIVE", "-o", "OUT", "--lang", "en"},
                                  {},
                                  2,
                                  "no samples of the logger RTW99999"},
                      // Read only: a mistyped archive is said to be missing, not made.
                      ArchiveCase{"MissingArchive",
                                  {"--report", "--archive-logger", "RTW01234", "--archive",
                                   "ARCHIVE.typo", "-o", "OUT", "--lang", "en"},
                                  {},
                                  2,
                                  "archive.sqlite.typo: there is no such file"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace velkor::report

int main(int argc, char* argv[]) {
    velkor::testing::UseTemporaryHome();
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
