#include "app/report/ReportCommand.h"

#include "app/ArchiveDialog.h"
#include "app/CommandLine.h"
#include "app/report/ReportPdf.h"
#include "app/report/ReportSummary.h"
#include "archive/Archive.h"
#include "platform/DateTimeText.h"
#include "platform/Errors.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>

namespace velkor::report {

namespace {

QString Pick(Language language, const char* polish, const char* english) {
    return QString::fromUtf8(language == Language::Polish ? polish : english);
}

void Print(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

// A usage error: exit status 1.
struct UsageError {
    QString text;
};

struct ReportCommandLine {
    QString dataFile;
    QString archiveLogger; // instead of a data file: this logger's archived samples
    QString archive;       // --archive; empty: the window's
    QString output;
    analysis::Options options;
    ReportRequest request;
};

class Parser {
public:
    explicit Parser(Language language) : language_(language) {}

    ReportCommandLine Parse(const QStringList& arguments) {
        QCommandLineParser p;
        p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        const QCommandLineOption report(QStringLiteral("report"), {}, QStringLiteral("file"));
        const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                        QStringLiteral("pdf"));
        const QCommandLineOption profile(QStringLiteral("profile"), {}, QStringLiteral("name"));
        const QCommandLineOption low(QStringLiteral("low"), {}, QStringLiteral("c"));
        const QCommandLineOption high(QStringLiteral("high"), {}, QStringLiteral("c"));
        const QCommandLineOption humLow(QStringLiteral("hum-low"), {}, QStringLiteral("p"));
        const QCommandLineOption humHigh(QStringLiteral("hum-high"), {}, QStringLiteral("p"));
        const QCommandLineOption alarm(QStringLiteral("alarm"), {}, QStringLiteral("rule"));
        const QCommandLineOption from(QStringLiteral("from"), {}, QStringLiteral("time"));
        const QCommandLineOption to(QStringLiteral("to"), {}, QStringLiteral("time"));
        const QCommandLineOption deltaH(QStringLiteral("delta-h"), {}, QStringLiteral("kj"));
        const QCommandLineOption noHumidity(QStringLiteral("no-humidity"));
        const QCommandLineOption lang(QStringLiteral("lang"), {}, QStringLiteral("lang"));
        const QCommandLineOption title(QStringLiteral("title"), {}, QStringLiteral("text"));
        const QCommandLineOption loggerId(QStringLiteral("logger-id"), {}, QStringLiteral("id"));
        const QCommandLineOption archiveLogger(QStringLiteral("archive-logger"), {},
                                               QStringLiteral("id"));
        const QCommandLineOption archive(QStringLiteral("archive"), {}, QStringLiteral("path"));
        p.addOptions({report, output, profile, low, high, humLow, humHigh, alarm, from, to, deltaH,
                      noHumidity, lang, title, loggerId, archiveLogger, archive});
        // "--report --archive-logger ID": --report without a file of its own.
        QStringList given = arguments;
        for (qsizetype i = 1; i < given.size(); ++i)
            if (given[i] == QLatin1String("--report") &&
                (i + 1 == given.size() || given[i + 1].startsWith(QLatin1String("--"))))
                given[i] = QStringLiteral("--report=");
        if (!p.parse(given)) {
            const QStringList unknown = p.unknownOptionNames();
            if (!unknown.isEmpty())
                Fail("nieznana opcja „%1”.", "unknown option '%1'.", unknown.first());
            Fail("%1", "%1", p.errorText());
        }
        if (!p.positionalArguments().isEmpty())
            Fail("nieoczekiwany argument „%1”.", "unexpected argument '%1'.",
                 p.positionalArguments().first());
        ReportCommandLine line;
        line.dataFile = p.value(report);
        line.output = p.value(output);
        line.archiveLogger = p.value(archiveLogger);
        line.archive = p.value(archive);
        if (!line.dataFile.isEmpty() && p.isSet(archiveLogger))
            Fail("podaj PLIK albo --archive-logger ID, nie oba naraz.",
                 "give either FILE or --archive-logger ID, not both.");
        if (line.dataFile.isEmpty() && line.archiveLogger.isEmpty())
            Fail("po --report brak pliku danych.", "--report needs a data file.");
        if (line.output.isEmpty())
            Fail("brak pliku raportu: -o PLIK.pdf.", "no report file given: -o FILE.pdf.");
        if (p.isSet(lang)) {
            const auto named = LanguageNamed(p.value(lang).toStdString());
            if (!named)
                Fail("nieznany język „%1” (dostępne: pl, en).",
                     "unknown language '%1' (choose pl or en).", p.value(lang));
            language_ = *named;
        }
        analysis::Options& o = line.options;
        if (p.isSet(profile)) {
            const auto named = analysis::ProfileByName(p.value(profile).toStdString());
            if (!named)
                Fail("nieznany profil „%1”.", "unknown profile '%1'.", p.value(profile));
            o.profile = *named;
        }
        o.profile.limits = RangeOption(p, low, high, o.profile.limits);
        o.profile.humidityLimits = RangeOption(p, humLow, humHigh, o.profile.humidityLimits);
        for (const QString& text : p.values(alarm)) {
            const auto rule = analysis::ParseAlarmRule(text.toStdString());
            if (!rule)
                Fail("niepoprawna reguła alarmu „%1” (np. above,8,30m,single).",
                     "invalid alarm rule '%1' (e.g. above,8,30m,single).", text);
            o.profile.rules.push_back(*rule);
        }
        if (p.isSet(from))
            o.from = TimeOption(p.value(from));
        if (p.isSet(to))
            o.to = TimeOption(p.value(to));
        if (p.isSet(deltaH)) {
            o.deltaH = NumberOption(QStringLiteral("--delta-h"), p.value(deltaH));
            if (!(o.deltaH > 0))
                Fail("--delta-h musi być większe od zera.", "--delta-h must be above zero.");
        }
        o.humidity = !p.isSet(noHumidity);
        line.request.dataFile = line.dataFile;
        line.request.language = language_;
        line.request.title = p.value(title);
        line.request.loggerId = p.isSet(archiveLogger) ? line.archiveLogger : p.value(loggerId);
        return line;
    }

    Language language() const { return language_; }

private:
    [[noreturn]] void Fail(const char* polish, const char* english, const QString& arg = {}) {
        QString text = Pick(language_, polish, english);
        throw UsageError{arg.isNull() ? text : text.arg(arg)};
    }

    double NumberOption(const QString& name, const QString& text) {
        bool ok = false;
        const double v = QString(text).replace(u',', u'.').toDouble(&ok);
        if (!ok || !std::isfinite(v))
            throw UsageError{
                Pick(language_, "%1: „%2” nie jest liczbą.", "%1: '%2' is not a number.")
                    .arg(name, text)};
        return v;
    }

    // The range of two options, each overriding its side of `preset`.
    std::optional<analysis::Range> RangeOption(const QCommandLineParser& p,
                                               const QCommandLineOption& low,
                                               const QCommandLineOption& high,
                                               std::optional<analysis::Range> preset) {
        if (!p.isSet(low) && !p.isSet(high))
            return preset;
        const QString lowName = QStringLiteral("--") + low.names().first();
        const QString highName = QStringLiteral("--") + high.names().first();
        if (!preset && !(p.isSet(low) && p.isSet(high)))
            throw UsageError{Pick(language_, "%1 i %2 podaje się razem.", "%1 and %2 go together.")
                                 .arg(lowName, highName)};
        analysis::Range r = preset.value_or(analysis::Range{});
        if (p.isSet(low))
            r.low = NumberOption(lowName, p.value(low));
        if (p.isSet(high))
            r.high = NumberOption(highName, p.value(high));
        if (r.low > r.high)
            throw UsageError{Pick(language_, "%1 jest większe niż %2.", "%1 is above %2.")
                                 .arg(lowName, highName)};
        return r;
    }

    double TimeOption(const QString& text) {
        const auto t = ParseDateTimeText(text.toStdString());
        if (!t)
            Fail("niepoprawny czas „%1” (rrrr-mm-dd gg:mm:ss).",
                 "invalid time '%1' (yyyy-mm-dd hh:mm:ss).", text);
        return *t;
    }

    Language language_;
};

// Writes the report: exit 0, or 2 after saying `noData` (a period without samples) or why the
// PDF could not be written.
int Write(const ReportData& data, const QString& output, const QString& noData) {
    if (data.samples == 0) {
        Print(noData);
        return 2;
    }
    try {
        WriteReport(data, output);
    } catch (const InOutError& e) {
        Print(QStringLiteral("velkor: ") + QString::fromLocal8Bit(e.what()) + u'\n');
        return 2;
    }
    return 0;
}

// The report of a logger's archived samples in the period of --from and --to.
int ArchiveReport(ReportCommandLine& line, Language language) {
    const QString location = line.archive.isEmpty() ? ArchiveLocation({}) : line.archive;
    line.request.archive =
        QString::fromStdString(archive::LocationForDisplay(location.toStdString()));
    auto unreadable = [&](const QString& reason) {
        Print(Pick(language, "velkor: nie można odczytać archiwum %1: %2\n",
                   "velkor: cannot read the archive %1: %2\n")
                  .arg(line.request.archive, reason));
        return 2;
    };
    // Read only: an archive that is not there is not made.
    if (archive::ArchiveMissing(location.toStdString()))
        return unreadable(QString::fromStdString(MessageText(language, Message::ArchiveMissing)));
    std::vector<analysis::Sample> samples;
    try {
        samples = archive::ReadAnalysisSamples(*archive::OpenArchive(location.toStdString()),
                                               line.archiveLogger.toStdString(), line.options.from,
                                               line.options.to);
    } catch (const archive::ArchiveError& e) {
        return unreadable(ArchiveErrorReason(e, language));
    }
    const ReportData data = MakeReportData(samples, {}, line.options, line.request);
    return Write(
        data, line.output,
        Pick(language,
             "velkor: archiwum %1 nie ma w okresie raportu żadnej próbki rejestratora %2.\n",
             "velkor: the archive %1 holds no samples of the logger %2 in the report's "
             "period.\n")
            .arg(line.request.archive, line.archiveLogger));
}

QString UsageHint(Language language) {
    return Pick(language,
                "Użycie: velkor --report PLIK|--archive-logger ID -o RAPORT.pdf [opcje analizy]\n",
                "Usage: velkor --report FILE|--archive-logger ID -o REPORT.pdf [analysis "
                "options]\n");
}

} // namespace

bool IsReportCommand(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], "--report") == 0 || std::strncmp(argv[i], "--report=", 9) == 0)
            return true;
    }
    return false;
}

int RunReportCommand(int argc, char* argv[], Language defaultLanguage) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // The language of the messages: the last valid --lang, also when the line has errors.
    Language language = defaultLanguage;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == QLatin1String("--lang"))
            language = LanguageNamed(arguments[i + 1].toStdString()).value_or(language);
    Parser parser(language);
    ReportCommandLine line;
    try {
        line = parser.Parse(arguments);
    } catch (const UsageError& e) {
        Print(QStringLiteral("velkor: ") + e.text + u'\n' + UsageHint(parser.language()));
        return 1;
    }
    language = parser.language();

    // No display is needed or used: the report is drawn offscreen whatever the session has.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (!line.archiveLogger.isEmpty())
        return ArchiveReport(line, language);
    analysis::FileSamples file;
    try {
        file = ReadSortedSamples(line.dataFile);
    } catch (const NoLoggerDataError&) {
        file = {};
    } catch (const std::exception& e) {
        Print(Pick(language, "velkor: nie można odczytać pliku %1: %2\n",
                   "velkor: cannot read the file %1: %2\n")
                  .arg(line.dataFile, QString::fromLocal8Bit(e.what())));
        return 2;
    }
    const ReportData data = MakeReportData(file.samples, file.facts, line.options, line.request);
    return Write(data, line.output,
                 Pick(language,
                      "velkor: plik %1 nie zawiera danych rejestratora z okresu raportu.\n",
                      "velkor: the file %1 holds no logger data of the report's period.\n")
                     .arg(line.dataFile));
}

} // namespace velkor::report
