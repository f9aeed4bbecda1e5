#include "cli/Texts.h"

#include "platform/TextEscape.h"

#include <span>
#include <vector>

namespace velkor::cli {

namespace {

struct Entry {
    Msg msg;
    const char* english;
    const char* polish;
};

const Entry Entries[] = {
    {Msg::UsageHead, "Usage: velkor-cli COMMAND [OPTIONS]\n\nCommands:\n",
     "Użycie: velkor-cli POLECENIE [OPCJE]\n\nPolecenia:\n"},
    {Msg::UsageTail,
     "\n"
     "Options of every command:\n"
     "  --lang en|pl             language of the messages (default: English)\n"
     "  -h, --help               help on the command\n"
     "\n"
     "velkor-cli --version       show the version\n"
     "\n"
     "Exit status: 0 done, 1 wrong usage, 2 no logger, a port error, a lost device, an\n"
     "unreadable file or no data, 3 finished but incomplete, 4 an excursion (with\n"
     "--fail-on-excursion), 5 data file written but not archived, 6 erase refused (samples\n"
     "not archived). When several apply: 1, 2, 6, 5, 4, 3, in this order.\n",
     "\n"
     "Opcje każdego polecenia:\n"
     "  --lang en|pl             język komunikatów (domyślnie angielski)\n"
     "  -h, --help               pomoc do polecenia\n"
     "\n"
     "velkor-cli --version       numer wersji\n"
     "\n"
     "Kod wyjścia: 0 wykonano, 1 błędne użycie, 2 brak rejestratora, błąd portu, utrata\n"
     "urządzenia, nieczytelny plik lub brak danych, 3 zakończono, ale niekompletnie,\n"
     "4 przekroczenie (z --fail-on-excursion), 5 plik danych zapisany, ale nie w archiwum,\n"
     "6 kasowanie odmówione (próbki nie są w archiwum). Gdy pasuje kilka: 1, 2, 6, 5, 4, 3,\n"
     "w tej kolejności.\n"},
    {Msg::SeeHelp, "Try 'velkor-cli --help'.", "Pomoc: 'velkor-cli --help'."},
    {Msg::UnknownCommand, "unknown command '%1'", "nieznane polecenie '%1'"},
    {Msg::UnknownOption, "unknown option '%1' for '%2'", "nieznana opcja '%1' polecenia '%2'"},
    {Msg::MissingValue, "option '%1' needs a value", "opcja '%1' wymaga wartości"},
    {Msg::UnexpectedArgument, "unexpected argument '%1'", "nieoczekiwany argument '%1'"},
    {Msg::MissingArgument, "'%1' needs %2", "'%1' wymaga %2"},
    {Msg::BadLanguage, "unknown language '%1' (en or pl)", "nieznany język '%1' (en lub pl)"},
    {Msg::BadDialect, "unknown CSV dialect '%1' (rfc or pl)",
     "nieznany rodzaj CSV '%1' (rfc lub pl)"},
    {Msg::BadPortName, "'%1' is no port name (COM0 to COM255)",
     "'%1' nie jest nazwą portu (COM0 do COM255)"},
    {Msg::BadDateTime, "'%1' is no date and time of the form yyyy-mm-dd hh:mm:ss",
     "'%1' nie jest datą i godziną w postaci rrrr-mm-dd gg:mm:ss"},
    {Msg::BadInterval, "'%1' is no interval of the form hh:mm:ss",
     "'%1' nie jest interwałem w postaci gg:mm:ss"},
    {Msg::NoPorts, "No COM name resolves to a device.",
     "Żadnej nazwie COM nie odpowiada urządzenie."},
    {Msg::NoLogger, "No logger found.", "Nie znaleziono rejestratora."},
    {Msg::BusyPorts, "In use by another program: %1.", "Zajęte przez inny program: %1."},
    {Msg::PortAbsent, "%1 does not exist.", "Port %1 nie istnieje."},
    {Msg::PortDenied, "No permission to open %1 (is the user in the dialout group?).",
     "Brak uprawnień do otwarcia portu %1 (czy użytkownik należy do grupy dialout?)."},
    {Msg::PortCannotOpen, "%1 cannot be opened.", "Nie można otworzyć portu %1."},
    {Msg::NotALogger, "No logger answers on %1.", "Na porcie %1 nie odpowiada rejestrator."},
    {Msg::ReplyUnreadable, "The logger's reply could not be read: %1",
     "Nie udało się odczytać odpowiedzi rejestratora: %1"},
    {Msg::Failed, "Error: %1", "Błąd: %1"},
    {Msg::Configured, "Logger set: every %1 from %2 to %3, %4 {4:sample|samples}.",
     "Ustawiono rejestrator: co %1 od %2 do %3, %4 {4:próbka|próbki|próbek}."},
    {Msg::ClockSet, "Clock set to %1.", "Zegar ustawiony na %1."},
    {Msg::EraseNeedsYes, "erase deletes every measurement in the logger; confirm with --yes",
     "erase usuwa wszystkie pomiary z rejestratora; potwierdź opcją --yes"},
    {Msg::Erasing, "Erasing", "Kasowanie"},
    {Msg::Erased, "Memory erased.", "Pamięć skasowana."},
    {Msg::NotErased, "The logger did not confirm the erase.",
     "Rejestrator nie potwierdził skasowania pamięci."},
    {Msg::DownloadSummary, "%1 of %2 {2:sample|samples} written to %3",
     "Zapisano %1 z %2 {2:próbki|próbek|próbek} do %3"},
    {Msg::Remaining, "%1 left", "zostało %1"},
    {Msg::Exported, "%1 {1:row|rows} written to %2",
     "Zapisano %1 {1:wiersz|wiersze|wierszy} do %2"},
    {Msg::BadLinesLeftOut, "Bad lines left out: %1, the first is line %2.",
     "Pominięto błędne wiersze: %1, pierwszy z nich to wiersz %2."},
    {Msg::FileLineError, "%1, line %2: %3", "%1, wiersz %2: %3"},
    {Msg::ArchiveNotBuilt, "This build of velkor-cli has no archive.",
     "Ta wersja velkor-cli nie ma archiwum."},
    {Msg::ArchiveRemoved,
     "Download %1 removed: samples removed: %2, kept (held by other downloads): %3.",
     "Usunięto pobranie %1: usunięte próbki: %2, zachowane (są w innych pobraniach): %3."},
    {Msg::ArchiveDamagedReport, "The archive %1 is damaged:", "Archiwum %1 jest uszkodzone:"},
    {Msg::ArchiveCheckCounts,
     "The archive %1 is intact: schema version %2, loggers: %3, downloads: %4, samples: %5, "
     "conflicting: %6, erases: %7.",
     "Archiwum %1 jest nieuszkodzone: wersja schematu %2, rejestratory: %3, pobrania: %4, "
     "próbki: %5, sprzeczne: %6, kasowania: %7."},
    {Msg::ArchiveListHeader, "logger\tlabel\tfirst\tlast\tsamples\tlast download",
     "rejestrator\tetykieta\tpierwsza\tostatnia\tpróbki\tostatnie pobranie"},
    {Msg::ArchiveDownloadsHeader,
     "number\tkind\tstored\tprogram\tport or file\treceived\texpected\tcomplete\tnew\talready "
     "there\tconflicting\tsha256",
     "numer\trodzaj\tzapisane\tprogram\tport lub plik\todebrane\toczekiwane\tkompletne\tnowe\tjuż "
     "zapisane\tsprzeczne\tsha256"},
    {Msg::EraseRefused,
     "Not erased: the logger holds samples the archive lacks (samples outside the archive: "
     "%1). Download them first, or erase anyway with --force.",
     "Nie skasowano: rejestrator ma próbki, których brak w archiwum (próbek spoza archiwum: "
     "%1). Najpierw je pobierz albo skasuj mimo to z --force."},
    {Msg::BadFormat, "'%1' is no format (data or csv)", "'%1' to nie format (data lub csv)"},
    {Msg::BadDownloadNumber, "'%1' is no download number", "'%1' to nie numer pobrania"},
    {Msg::CsvIsDataFile, "%1 is the data file itself; name another CSV file with -o.",
     "%1 to sam plik danych; podaj inną nazwę pliku CSV w opcji -o."},
    {Msg::BadRule,
     "'%1' is no alarm rule: write above|below,THRESHOLD,DELAY,single|cumulative, e.g. "
     "above,8,30m,single",
     "'%1' nie jest regułą alarmową: należy pisać above|below,PRÓG,OPÓŹNIENIE,single|cumulative, "
     "np. above,8,30m,single"},
    {Msg::BadNumber, "'%1' is no valid value for %2", "'%1' nie jest poprawną wartością %2"},
    {Msg::BadProfile, "unknown profile '%1' (2-8, 15-25, who-type1, who-type2 or custom)",
     "nieznany profil '%1' (2-8, 15-25, who-type1, who-type2 albo custom)"},
    {Msg::LimitsInverted, "the low limit %1 is above the high limit %2",
     "dolna granica %1 jest wyższa od górnej %2"},
    {Msg::NoSamplesInPeriod, "No samples of %1 lie in the chosen period.",
     "Żadna próbka pliku %1 nie leży w wybranym okresie."},
    {Msg::SummaryFile, "File:", "Plik:"},
    {Msg::SummaryLogger, "Logger:", "Rejestrator:"},
    {Msg::SummaryArchive, "Archive:", "Archiwum:"},
    {Msg::FileOrArchiveLogger, "give either FILE or --archive-logger ID, not both",
     "podaj PLIK albo --archive-logger ID, nie oba naraz"},
    {Msg::NoArchivedSamples,
     "The archive %1 holds no samples of the logger %2 in the chosen period.",
     "Archiwum %1 nie ma w wybranym okresie żadnej próbki rejestratora %2."},
    {Msg::SummarySamples, "Samples:", "Próbki:"},
    {Msg::SummaryPeriod, "Period:", "Okres:"},
    {Msg::SummaryInterval, "Interval:", "Interwał:"},
    {Msg::SummaryGaps, "Gaps:", "Luki:"},
    {Msg::SummaryGap, "%1 to %2, %3 missing", "od %1 do %2, brak %3"},
    {Msg::SummaryHeader, "Minimum|at|Maximum|at|Mean|SD|MKT",
     "Minimum|czas|Maksimum|czas|Średnia|Odch. std.|MKT"},
    {Msg::SummaryLimits, "Temperature range %1 to %2:", "Zakres temperatury od %1 do %2:"},
    {Msg::SummaryHumidityLimits, "Humidity range %1 to %2:", "Zakres wilgotności od %1 do %2:"},
    {Msg::SummaryTimeOutside, "below for %1, above for %2, excursions: %3",
     "poniżej przez %1, powyżej przez %2, przekroczenia: %3"},
    {Msg::SummaryExcursionHeader, "Start|End|Duration|Side|Extreme",
     "Początek|Koniec|Czas trwania|Strona|Wartość skrajna"},
    {Msg::SummaryAlarms, "Alarm rules:", "Reguły alarmowe:"},
    {Msg::SummaryFired, "ALARM at %1, %2 at or beyond",
     "ALARM o %1, łącznie %2 na progu lub za nim"},
    {Msg::SummaryNotFired, "OK, %1 at or beyond", "OK, łącznie %1 na progu lub za nim"},
    {Msg::ArchiveCopied,
     "Copied: downloads: %1, new samples: %2, erases: %3; downloads already there: %4.",
     "Skopiowano: pobrania: %1, nowe próbki: %2, kasowania: %3; pobrania już zapisane: %4."},
};

// An argument may carry bytes of the logger, of a file or of the command line: control bytes
// and broken UTF-8 must not reach the terminal as they are.
std::vector<std::string> Escaped(std::initializer_list<std::string> args) {
    std::vector<std::string> escaped;
    escaped.reserve(args.size());
    for (const std::string& arg : args)
        escaped.push_back(EscapeForMessage(arg));
    return escaped;
}

} // namespace

std::string Text(Language language, Msg msg, std::initializer_list<std::string> args) {
    for (const Entry& e : Entries)
        if (e.msg == msg)
            return FormatMessage(language == Language::Polish ? e.polish : e.english, language,
                                 Escaped(args));
    return {};
}

std::string Text(Language language, Message message, std::initializer_list<std::string> args) {
    return FormatMessage(MessagePattern(language, message), language, Escaped(args));
}

} // namespace velkor::cli
