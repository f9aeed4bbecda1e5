#include "app/CommandLine.h"

#include "archive/Archive.h"

#include <QCommandLineParser>
#include <QSettings>
#include <QStandardPaths>

#include <optional>

#ifndef VELKOR_VERSION
#error "VELKOR_VERSION comes from the project's version in CMake"
#endif

namespace velkor {

namespace {

// The text of the language: Polish first, English second.
QString Pick(Language language, const char* polish, const char* english) {
    return QString::fromUtf8(language == Language::Polish ? polish : english);
}

std::optional<Language> LanguageNamed(const QString& name) {
    if (name == QLatin1String("pl"))
        return Language::Polish;
    if (name == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

// The language the texts are in while the line is still being read: the last valid --lang
// value, else the default. An error elsewhere on the line is then reported in it.
Language TextLanguage(const QStringList& arguments, Language defaultLanguage) {
    Language language = defaultLanguage;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--"))
            break;
        std::optional<Language> named;
        if (a == QLatin1String("--lang") && i + 1 < arguments.size())
            named = LanguageNamed(arguments[i + 1]);
        else if (a.startsWith(QLatin1String("--lang=")))
            named = LanguageNamed(a.mid(7));
        if (named)
            language = *named;
    }
    return language;
}

QString HelpText(Language language, Language defaultLanguage) {
    const QString fallback =
        defaultLanguage == Language::Polish ? QStringLiteral("pl") : QStringLiteral("en");
    return Pick(language,
                "Użycie: velkor [opcje] [plik]\n"
                "Ustawienia, pobieranie pomiarów, wykres i wydruk rejestratora temperatury\n"
                "i wilgotności.\n"
                "\n"
                "Opcje:\n"
                "  -h, --help         Wyświetla tę pomoc i kończy działanie.\n"
                "  -v, --version      Wyświetla wersję programu i kończy działanie.\n"
                "  --lang <język>     Język okna: pl (polski) albo en (angielski);\n"
                "                     domyślnie %1.\n"
                "  --archive <ścieżka>  Archiwum pobrań (plik SQLite); zapamiętywane.\n"
                "\n"
                "Argumenty:\n"
                "  plik               Plik danych wczytywany przy starcie tak, jak wczytuje\n"
                "                     go przycisk „Odczytaj z pliku”.\n",
                "Usage: velkor [options] [file]\n"
                "Settings, log download, chart and printout of the temperature and humidity\n"
                "logger.\n"
                "\n"
                "Options:\n"
                "  -h, --help         Show this help and exit.\n"
                "  -v, --version      Show the program's version and exit.\n"
                "  --lang <language>  The window's language: pl (Polish) or en (English);\n"
                "                     %1 by default.\n"
                "  --archive <path>   The archive of every download (a SQLite file); kept.\n"
                "\n"
                "Arguments:\n"
                "  file               A data file to load at start, as the \"Read from file\"\n"
                "                     button loads it.\n")
        .arg(fallback);
}

CommandLine Failure(Language language, const QString& error) {
    CommandLine line;
    line.action = CommandLine::Action::Fail;
    line.language = language;
    line.output = QStringLiteral("velkor: ") + error + QLatin1Char('\n') +
                  Pick(language, "Więcej informacji: velkor --help\n", "See: velkor --help\n");
    return line;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments, Language defaultLanguage) {
    const Language language = TextLanguage(arguments, defaultLanguage);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("lang"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(lang);
    const QCommandLineOption archive(QStringLiteral("archive"), QString(), QStringLiteral("path"));
    parser.addOption(archive);
    parser.addPositionalArgument(QStringLiteral("file"), QString());

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString name =
                (unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) +
                unknown.first();
            return Failure(
                language, Pick(language, "nieznana opcja „%1”.", "unknown option '%1'.").arg(name));
        }
        if (arguments.constLast() == QLatin1String("--lang"))
            return Failure(language, Pick(language, "po --lang brak języka (pl albo en).",
                                          "--lang needs a language (pl or en)."));
        return Failure(language, parser.errorText());
    }

    CommandLine line;
    line.language = language;
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::Help;
        line.output = HelpText(language, defaultLanguage);
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        line.output = QStringLiteral("velkor " VELKOR_VERSION "\n");
        return line;
    }
    if (parser.isSet(lang) && !LanguageNamed(parser.value(lang)))
        return Failure(language, Pick(language, "nieznany język „%1” (dostępne: pl, en).",
                                      "unknown language '%1' (choose pl or en).")
                                     .arg(parser.value(lang)));
    if (parser.isSet(archive))
        line.archive = parser.value(archive);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return Failure(language, Pick(language, "można podać tylko jeden plik danych.",
                                      "only one data file can be given."));
    if (!files.isEmpty())
        line.dataFile = files.first();
    return line;
}

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QString NoDisplayMessage(Language language) {
    return Pick(language,
                "velkor: okno potrzebuje ekranu, a nie ustawiono DISPLAY ani WAYLAND_DISPLAY; "
                "bez ekranu uruchom program na ekranie wirtualnym: xvfb-run velkor",
                "velkor: the window needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is "
                "set; without one, run it on a virtual display: xvfb-run velkor");
}

QString ArchiveLocation(const QString& given) {
    QSettings settings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/velkor/velkor.conf"),
                       QSettings::IniFormat);
    const QString key = QStringLiteral("archive/location");
    if (!given.isEmpty()) {
        settings.setValue(key,
                          QString::fromStdString(archive::LocationForDisplay(given.toStdString())));
        return given;
    }
    const QString kept = settings.value(key).toString();
    if (!kept.isEmpty())
        return kept;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/velkor/archive.sqlite");
}

} // namespace velkor
