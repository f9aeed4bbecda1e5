#include "app/CommandLine.h"

#include "archive/Archive.h"
#include "velkor/Version.h"

#include <QCommandLineParser>
#include <QSettings>
#include <QStandardPaths>

#include <optional>

namespace velkor {

namespace {

// The text of the language: Polish first, English second.
QString Pick(Language language, const char* polish, const char* english) {
    return QString::fromUtf8(language == Language::Polish ? polish : english);
}

// Qt's own options (QGuiApplication, QApplication and the X11 platform), each as "-name" or
// "--name"; the ones that take a value take it as the next argument or after "=". They are only
// let through: QApplication reads and removes them.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption QtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"geometry", true},
    {"title", true},           {"icon", true},
    {"display", true},         {"name", true},
    {"session", true},         {"style", true},
    {"stylesheet", true},      {"reverse", false},
    {"widgetcount", false},    {"nograb", false},
    {"dograb", false},         {"sync", false},
    {"testability", false},
};

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

QString HelpText(Language language, Language buildDefault) {
    const QString fallback =
        buildDefault == Language::Polish ? QStringLiteral("pl") : QStringLiteral("en");
    return Pick(language,
                "Użycie: velkor [opcje] [plik]\n"
                "        velkor --report PLIK|--archive-logger ID -o RAPORT.pdf [opcje raportu]\n"
                "Ustawienia, pobieranie pomiarów, wykres i wydruk rejestratora temperatury\n"
                "i wilgotności.\n"
                "\n"
                "Opcje:\n"
                "  -h, --help         Wyświetla tę pomoc i kończy działanie.\n"
                "  -v, --version      Wyświetla wersję programu i kończy działanie.\n"
                "  --lang <język>     Język okna: pl (polski) albo en (angielski);\n"
                "                     domyślnie język z LC_ALL, LC_MESSAGES albo LANG,\n"
                "                     a bez nich %1.\n"
                "  Standardowe opcje Qt (-style, -platform, -display, -reverse…) trafiają\n"
                "  do Qt.\n"
                "  --archive <ścieżka>  Archiwum pobrań (plik SQLite); zapamiętywane.\n"
                "\n"
                "Argumenty:\n"
                "  plik               Plik danych wczytywany przy starcie tak, jak wczytuje\n"
                "                     go przycisk „Odczytaj z pliku”.\n"
                "\n"
                "Raport PDF bez okna (--report):\n"
                "  --report <plik>    Raport z pliku danych, zapisany w pliku -o.\n"
                "  --archive-logger <id>  Zamiast pliku: próbki rejestratora id z archiwum\n"
                "                     (--archive <ścieżka>: inne niż zapamiętane).\n"
                "  -o <raport.pdf>    Plik raportu.\n"
                "  --profile <nazwa>  2-8, 15-25, who-type1, who-type2 albo custom.\n"
                "  --low, --high <°C>  Zakres temperatury.\n"
                "  --hum-low, --hum-high <%>  Zakres wilgotności.\n"
                "  --alarm <reguła>   above|below,PRÓG_C,OPÓŹNIENIE,single|cumulative.\n"
                "  --from, --to <\"rrrr-mm-dd gg:mm:ss\">  Okres raportu.\n"
                "  --delta-h <kJ/mol>  Energia aktywacji do MKT.\n"
                "  --no-humidity      Bez wilgotności i punktu rosy.\n"
                "  --title <tekst>    Tytuł raportu.\n"
                "  --logger-id <id>   Identyfikator rejestratora w nagłówku.\n"
                "  Kody wyjścia: 0 gotowe, 1 błędne wywołanie, 2 brak danych albo błąd zapisu.\n",
                "Usage: velkor [options] [file]\n"
                "       velkor --report FILE|--archive-logger ID -o OUT.pdf [report options]\n"
                "Settings, log download, chart and printout of the temperature and humidity\n"
                "logger.\n"
                "\n"
                "Options:\n"
                "  -h, --help         Show this help and exit.\n"
                "  -v, --version      Show the program's version and exit.\n"
                "  --lang <language>  The window's language: pl (Polish) or en (English);\n"
                "                     by default the language of LC_ALL, LC_MESSAGES or\n"
                "                     LANG, and %1 without them.\n"
                "  Qt's standard options (-style, -platform, -display, -reverse...) go to\n"
                "  Qt.\n"
                "  --archive <path>   The archive of every download (a SQLite file); kept.\n"
                "\n"
                "Arguments:\n"
                "  file               A data file to load at start, as the \"Read from file\"\n"
                "                     button loads it.\n"
                "\n"
                "PDF report without a window (--report):\n"
                "  --report <file>    The report of a data file, written to the file of -o.\n"
                "  --archive-logger <id>  Instead of a file: logger id's archived samples\n"
                "                     (--archive <path>: another archive than the kept one).\n"
                "  -o <out.pdf>       The report file.\n"
                "  --profile <name>   2-8, 15-25, who-type1, who-type2 or custom.\n"
                "  --low, --high <°C>  Temperature limits.\n"
                "  --hum-low, --hum-high <%>  Humidity limits.\n"
                "  --alarm <rule>     above|below,THRESHOLD_C,DELAY,single|cumulative.\n"
                "  --from, --to <\"yyyy-mm-dd hh:mm:ss\">  The report's period.\n"
                "  --delta-h <kJ/mol>  Activation energy for the MKT.\n"
                "  --no-humidity      Leave out humidity and dew point.\n"
                "  --title <text>     The report's title.\n"
                "  --logger-id <id>   The logger's identifier in the header.\n"
                "  Exit status: 0 done, 1 wrong usage, 2 no data or a write error.\n")
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

CommandLine ParseCommandLine(const QStringList& arguments, Language defaultLanguage,
                             Language buildDefault) {
    const Language language = TextLanguage(arguments, defaultLanguage);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("lang"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(lang);
    for (const QtOption& option : QtOptions)
        parser.addOption(option.takesValue ? QCommandLineOption(QString::fromLatin1(option.name),
                                                                QString(), QStringLiteral("value"))
                                           : QCommandLineOption(QString::fromLatin1(option.name)));
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
        // What else fails to parse is an option given last without its value.
        return Failure(language, Pick(language, "po „%1” brak wartości.", "'%1' needs a value.")
                                     .arg(arguments.constLast()));
    }

    CommandLine line;
    line.language = language;
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::Help;
        line.output = HelpText(language, buildDefault);
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        line.output = QStringLiteral("velkor " VELKOR_VERSION "\n");
        return line;
    }
    for (const QString& value : parser.values(lang))
        if (!LanguageNamed(value))
            return Failure(language, Pick(language, "nieznany język „%1” (dostępne: pl, en).",
                                          "unknown language '%1' (choose pl or en).")
                                         .arg(value));
    line.platform = parser.value(QStringLiteral("platform"));
    line.display = parser.value(QStringLiteral("display"));
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

Language LanguageOfLocale(const QString& locale, Language buildDefault) {
    // "pl_PL.UTF-8@euro": the language is what comes before '_', '.' and '@'.
    const QString language = locale.section(QLatin1Char('.'), 0, 0)
                                 .section(QLatin1Char('@'), 0, 0)
                                 .section(QLatin1Char('_'), 0, 0);
    if (language.isEmpty() || language == QLatin1String("C") || language == QLatin1String("POSIX"))
        return buildDefault;
    return language == QLatin1String("pl") ? Language::Polish : Language::English;
}

Language EnvironmentLanguage(Language buildDefault) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return LanguageOfLocale(value, buildDefault);
    }
    return buildDefault;
}

QString NoDisplayMessage(Language language, const QString& tried) {
    if (!tried.isEmpty())
        return Pick(language,
                    "velkor: okno potrzebuje ekranu, a ekran %1 nie odpowiada; bez ekranu "
                    "uruchom program na ekranie wirtualnym: xvfb-run velkor",
                    "velkor: the window needs a display, and the display %1 does not answer; "
                    "without one, run it on a virtual display: xvfb-run velkor")
            .arg(tried);
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
