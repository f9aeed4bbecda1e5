#include "cli/Texts.h"

#include <vector>

namespace velkor::cli {

namespace {

struct Entry {
    Msg msg;
    const char* english;
    const char* polish;
};

const Entry Entries[] = {
    {Msg::Usage,
     "Usage: velkor-cli COMMAND [OPTIONS]\n"
     "\n"
     "Commands:\n"
     "  ports                    list COM names and the devices they resolve to\n"
     "  info                     show the logger's settings\n"
     "  download                 download the measurement log into a data file\n"
     "  set-clock                set the logger's clock\n"
     "  configure                set the interval, the start and the end of logging\n"
     "  erase                    erase the logger's memory\n"
     "  export                   convert a data file to CSV\n"
     "  archive                  every download kept per logger: list, export, import...\n"
     "\n"
     "Options of every command:\n"
     "  --lang en|pl             language of the messages (default: English)\n"
     "  -h, --help               help on the command\n"
     "\n"
     "velkor-cli --version       show the version\n"
     "\n"
     "Exit status: 0 done, 1 wrong usage, 2 no logger found, port error or lost device,\n"
     "3 finished but incomplete, 5 data file written but not archived, 6 erase refused:\n"
     "the logger holds samples the archive lacks.\n",
     "Użycie: velkor-cli POLECENIE [OPCJE]\n"
     "\n"
     "Polecenia:\n"
     "  ports                    lista nazw COM i urządzeń, którym odpowiadają\n"
     "  info                     ustawienia rejestratora\n"
     "  download                 pobranie zapisu pomiarów do pliku danych\n"
     "  set-clock                ustawienie zegara rejestratora\n"
     "  configure                ustawienie interwału, początku i końca rejestracji\n"
     "  erase                    skasowanie pamięci rejestratora\n"
     "  export                   zamiana pliku danych na CSV\n"
     "  archive                  wszystkie pobrania według rejestratorów: lista, eksport...\n"
     "\n"
     "Opcje każdego polecenia:\n"
     "  --lang en|pl             język komunikatów (domyślnie angielski)\n"
     "  -h, --help               pomoc do polecenia\n"
     "\n"
     "velkor-cli --version       numer wersji\n"
     "\n"
     "Kod wyjścia: 0 wykonano, 1 błędne użycie, 2 nie znaleziono rejestratora, błąd portu\n"
     "lub utrata urządzenia, 3 zakończono, ale niekompletnie, 5 plik danych zapisany, ale\n"
     "nie zarchiwizowany, 6 odmowa kasowania: rejestrator ma próbki, których brak w archiwum.\n"},
    {Msg::CommandUsagePorts,
     "Usage: velkor-cli ports\n"
     "Lists the COM names that resolve to a device, and the device of each.\n",
     "Użycie: velkor-cli ports\n"
     "Wypisuje nazwy COM, którym odpowiada urządzenie, i urządzenie każdej z nich.\n"},
    {Msg::CommandUsageInfo,
     "Usage: velkor-cli info [--port COMn] [--json]\n"
     "Shows the logger's settings, one \"key: value\" line each, or one JSON object.\n"
     "Without --port the ports are scanned and the first logger found is used.\n",
     "Użycie: velkor-cli info [--port COMn] [--json]\n"
     "Wypisuje ustawienia rejestratora, po jednym wierszu \"klucz: wartość\", albo jeden\n"
     "obiekt JSON. Bez --port przeszukuje porty i używa pierwszego znalezionego rejestratora.\n"},
    {Msg::CommandUsageDownload,
     "Usage: velkor-cli download [--port COMn] [-o FILE] [--archive PATH | --no-archive]\n"
     "Downloads the measurement log into FILE (default: logger.txt), the same data file as\n"
     "the window's Read data. Ctrl+C stops after the current block, keeping what arrived.\n"
     "Then the download goes into the archive too (see velkor-cli archive --help).\n",
     "Użycie: velkor-cli download [--port COMn] [-o PLIK] [--archive ŚCIEŻKA | --no-archive]\n"
     "Pobiera zapis pomiarów do PLIKU (domyślnie logger.txt), tego samego pliku danych, co\n"
     "przycisk Odczyt danych w oknie. Ctrl+C przerywa po bieżącym bloku, zachowując to, co\n"
     "już nadeszło. Potem pobranie trafia też do archiwum (zob. velkor-cli archive --help).\n"},
    {Msg::CommandUsageSetClock,
     "Usage: velkor-cli set-clock [--port COMn] [--time \"yyyy-mm-dd hh:mm:ss\"]\n"
     "Sets the logger's clock (default: this computer's local time).\n",
     "Użycie: velkor-cli set-clock [--port COMn] [--time \"rrrr-mm-dd gg:mm:ss\"]\n"
     "Ustawia zegar rejestratora (domyślnie na czas lokalny tego komputera).\n"},
    {Msg::CommandUsageConfigure,
     "Usage: velkor-cli configure [--port COMn] --interval hh:mm:ss\n"
     "           --start \"yyyy-mm-dd hh:mm:ss\" --end \"yyyy-mm-dd hh:mm:ss\"\n"
     "Sets the measurement interval and the start and end of logging.\n",
     "Użycie: velkor-cli configure [--port COMn] --interval gg:mm:ss\n"
     "           --start \"rrrr-mm-dd gg:mm:ss\" --end \"rrrr-mm-dd gg:mm:ss\"\n"
     "Ustawia interwał pomiarów oraz początek i koniec rejestracji.\n"},
    {Msg::CommandUsageErase,
     "Usage: velkor-cli erase [--port COMn] --yes [--force] [--archive PATH]\n"
     "Erases the logger's memory and waits for its confirmation. Nothing is done without\n"
     "--yes. It refuses (exit 6) while the logger holds samples the archive lacks;\n"
     "--force erases anyway.\n",
     "Użycie: velkor-cli erase [--port COMn] --yes [--force] [--archive ŚCIEŻKA]\n"
     "Kasuje pamięć rejestratora i czeka na jego potwierdzenie. Bez --yes nic nie robi.\n"
     "Odmawia (kod 6), dopóki rejestrator ma próbki, których brak w archiwum; --force\n"
     "kasuje mimo to.\n"},
    {Msg::CommandUsageExport,
     "Usage: velkor-cli export DATAFILE [-o FILE.csv]\n"
     "Writes the data file as CSV (default: DATAFILE with .csv): the header\n"
     "time,temperature_c,humidity_pct, then one row for every data line.\n",
     "Użycie: velkor-cli export PLIK_DANYCH [-o PLIK.csv]\n"
     "Zapisuje plik danych jako CSV (domyślnie PLIK_DANYCH z rozszerzeniem .csv): nagłówek\n"
     "time,temperature_c,humidity_pct, potem jeden wiersz na każdy wiersz danych.\n"},
    {Msg::CommandUsageArchive,
     "Usage: velkor-cli archive COMMAND [--archive PATH]\n"
     "  list [--json]                      the loggers: label, period, samples, last download\n"
     "  export --logger ID [--from T] [--to T] [-o FILE] [--format data|csv]\n"
     "                                     one logger's samples (T: yyyy-mm-dd [hh:mm:ss])\n"
     "  import FILE --logger ID            a data file into the archive\n"
     "  label ID TEXT                      names a logger\n"
     "  check                              integrity check and counts\n"
     "  downloads --logger ID              the downloads and imports, with their numbers\n"
     "  remove --download N                takes a download out again\n"
     "  copy SOURCE DEST                   one archive into another; again adds nothing\n"
     "Every download is archived too (download --no-archive leaves it out). The archive is\n"
     "PATH, else the one set in the window, else ~/.local/share/velkor/archive.sqlite.\n"
     "PATH may be a PostgreSQL server: postgresql://[user@]host[:port]/database.\n",
     "Użycie: velkor-cli archive POLECENIE [--archive ŚCIEŻKA]\n"
     "  list [--json]                      rejestratory: etykieta, okres, próbki, ostatnie "
     "pobranie\n"
     "  export --logger ID [--from T] [--to T] [-o PLIK] [--format data|csv]\n"
     "                                     próbki jednego rejestratora (T: rrrr-mm-dd [gg:mm:ss])\n"
     "  import PLIK --logger ID            plik danych do archiwum\n"
     "  label ID TEKST                     nazywa rejestrator\n"
     "  check                              sprawdzenie spójności i liczby\n"
     "  downloads --logger ID              pobrania i importy z ich numerami\n"
     "  remove --download N                usuwa pobranie z archiwum\n"
     "  copy ŹRÓDŁO CEL                    kopiuje archiwum do innego; ponownie nic nie dodaje\n"
     "Każde pobranie trafia też do archiwum (download --no-archive je pomija). Archiwum to\n"
     "ŚCIEŻKA, inaczej to ustawione w oknie, inaczej ~/.local/share/velkor/archive.sqlite.\n"
     "ŚCIEŻKA może wskazywać serwer PostgreSQL: postgresql://[użytkownik@]host[:port]/baza.\n"},
    {Msg::SeeHelp, "Try 'velkor-cli --help'.", "Pomoc: 'velkor-cli --help'."},
    {Msg::UnknownCommand, "unknown command '{1}'", "nieznane polecenie '{1}'"},
    {Msg::UnknownOption, "unknown option '{1}' for '{2}'", "nieznana opcja '{1}' polecenia '{2}'"},
    {Msg::MissingValue, "option '{1}' needs a value", "opcja '{1}' wymaga wartości"},
    {Msg::UnexpectedArgument, "unexpected argument '{1}'", "nieoczekiwany argument '{1}'"},
    {Msg::MissingArgument, "'{1}' needs {2}", "'{1}' wymaga {2}"},
    {Msg::BadLanguage, "unknown language '{1}' (en or pl)", "nieznany język '{1}' (en lub pl)"},
    {Msg::BadPortName, "'{1}' is no port name (COM0 to COM255)",
     "'{1}' nie jest nazwą portu (COM0 do COM255)"},
    {Msg::BadDateTime, "'{1}' is no date and time of the form yyyy-mm-dd hh:mm:ss",
     "'{1}' nie jest datą i godziną w postaci rrrr-mm-dd gg:mm:ss"},
    {Msg::BadInterval, "'{1}' is no interval of the form hh:mm:ss",
     "'{1}' nie jest interwałem w postaci gg:mm:ss"},
    {Msg::NoPorts, "No COM name resolves to a device.",
     "Żadnej nazwie COM nie odpowiada urządzenie."},
    {Msg::NoLogger, "No logger found.", "Nie znaleziono rejestratora."},
    {Msg::BusyPorts, "In use by another program: {1}.", "Zajęte przez inny program: {1}."},
    {Msg::PortAbsent, "{1} does not exist.", "Port {1} nie istnieje."},
    {Msg::PortBusy, "{1} is in use by another program.",
     "Port {1} jest zajęty przez inny program."},
    {Msg::PortDenied, "No permission to open {1} (is the user in the dialout group?).",
     "Brak uprawnień do otwarcia portu {1} (czy użytkownik należy do grupy dialout?)."},
    {Msg::PortCannotOpen, "{1} cannot be opened.", "Nie można otworzyć portu {1}."},
    {Msg::NotALogger, "No logger answers on {1}.", "Na porcie {1} nie odpowiada rejestrator."},
    {Msg::DeviceLost, "The device on {1} was lost: {2}", "Utracono urządzenie na porcie {1}: {2}"},
    {Msg::ReplyUnreadable, "The logger's reply could not be read: {1}",
     "Nie udało się odczytać odpowiedzi rejestratora: {1}"},
    {Msg::Failed, "Error: {1}", "Błąd: {1}"},
    {Msg::ZeroInterval, "The interval must be longer than 00:00:00.",
     "Interwał musi być dłuższy niż 00:00:00."},
    {Msg::EndBeforeStart, "The end of logging is before its start.",
     "Koniec rejestracji przypada przed jej początkiem."},
    {Msg::Configured, "Logger set: every {1} from {2} to {3}, {4} samples.",
     "Ustawiono rejestrator: co {1} od {2} do {3}, próbek: {4}."},
    {Msg::ClockSet, "Clock set to {1}.", "Zegar ustawiony na {1}."},
    {Msg::EraseNeedsYes, "erase deletes every measurement in the logger; confirm with --yes",
     "erase usuwa wszystkie pomiary z rejestratora; potwierdź opcją --yes"},
    {Msg::Erasing, "Erasing", "Kasowanie"},
    {Msg::Erased, "Memory erased.", "Pamięć skasowana."},
    {Msg::NotErased, "The logger did not confirm the erase.",
     "Rejestrator nie potwierdził skasowania pamięci."},
    {Msg::DownloadSummary, "{1} of {2} samples written to {3}", "Zapisano {1} z {2} próbek do {3}"},
    {Msg::FileUnchanged, "No samples arrived; {1} was left as it was.",
     "Nie nadeszła żadna próbka; plik {1} pozostał bez zmian."},
    {Msg::LoggerSilent, "The logger stopped answering.", "Rejestrator przestał odpowiadać."},
    {Msg::DownloadCancelled, "Download cancelled.", "Pobieranie przerwane."},
    {Msg::Remaining, "{1} left", "zostało {1}"},
    {Msg::Exported, "{1} rows written to {2}", "Zapisano wierszy: {1} do {2}"},
    {Msg::BadLinesLeftOut, "Bad lines left out: {1}, the first is line {2}.",
     "Pominięto błędne wiersze: {1}, pierwszy z nich to wiersz {2}."},
    {Msg::NoLoggerData, "File {1} holds no logger data.",
     "Plik {1} nie zawiera danych rejestratora."},
    {Msg::NotRegularFile, "{1} is not a regular file.", "{1} nie jest zwykłym plikiem."},
    {Msg::FileShrank, "File {1} got shorter while it was read.",
     "Plik {1} skrócił się w trakcie odczytu."},
    {Msg::FileLineError, "{1}, line {2}: {3}", "{1}, wiersz {2}: {3}"},
    {Msg::ArchiveSummary, "Archive: new samples: {1}, already there: {2}, conflicting: {3}.",
     "Archiwum: nowe próbki: {1}, już zapisane: {2}, sprzeczne: {3}."},
    {Msg::ArchiveFailed, "The archive {1} could not be written: {2}",
     "Nie udało się zapisać archiwum {1}: {2}"},
    {Msg::ArchiveUnreadable, "The archive {1} cannot be read: {2}",
     "Nie można odczytać archiwum {1}: {2}"},
    {Msg::ArchiveNotAnArchive, "the file is not an archive of this program",
     "plik nie jest archiwum tego programu"},
    {Msg::ArchiveDamaged, "it is damaged", "jest uszkodzone"},
    {Msg::ArchiveBusy, "another program keeps it locked", "inny program je blokuje"},
    {Msg::ArchiveFull, "the disk is full", "dysk jest pełny"},
    {Msg::ArchiveReadOnly, "it is read-only", "jest tylko do odczytu"},
    {Msg::ArchiveCannotOpen, "it cannot be opened or created",
     "nie można go otworzyć ani utworzyć"},
    {Msg::ArchiveNewer, "a newer version of the program wrote it",
     "zapisała je nowsza wersja programu"},
    {Msg::ArchiveLoginRefused, "the server refused the login", "serwer odrzucił logowanie"},
    {Msg::ArchiveKindNotBuilt, "this build cannot use such an archive",
     "ta wersja programu nie obsługuje takiego archiwum"},
    {Msg::ArchiveNotBuilt, "This build of velkor-cli has no archive.",
     "Ta wersja velkor-cli nie ma archiwum."},
    {Msg::ArchiveNoLogger, "the archive holds no logger {1}",
     "archiwum nie zawiera rejestratora {1}"},
    {Msg::ArchiveNoDownload, "the archive holds no download {1}",
     "archiwum nie zawiera pobrania {1}"},
    {Msg::ArchiveRemoved,
     "Download {1} removed: samples removed: {2}, kept (held by other "
     "downloads): {3}.",
     "Usunięto pobranie {1}: usunięte próbki: {2}, zachowane (są w innych pobraniach): {3}."},
    {Msg::ArchiveDamagedReport, "The archive {1} is damaged:", "Archiwum {1} jest uszkodzone:"},
    {Msg::ArchiveCheckCounts,
     "The archive {1} is intact: schema version {2}, loggers: {3}, downloads: {4}, samples: "
     "{5}, conflicting: {6}, erases: {7}.",
     "Archiwum {1} jest nieuszkodzone: wersja schematu {2}, rejestratory: {3}, pobrania: {4}, "
     "próbki: {5}, sprzeczne: {6}, kasowania: {7}."},
    {Msg::ArchiveListHeader, "logger\tlabel\tfirst\tlast\tsamples\tlast download",
     "rejestrator\tetykieta\tpierwsza\tostatnia\tpróbki\tostatnie pobranie"},
    {Msg::ArchiveDownloadsHeader,
     "number\tkind\tstored\tprogram\tport or file\treceived\texpected\tcomplete\tnew\talready "
     "there\tconflicting\tsha256",
     "numer\trodzaj\tzapisane\tprogram\tport lub plik\todebrane\toczekiwane\tkompletne\tnowe\tjuż "
     "zapisane\tsprzeczne\tsha256"},
    {Msg::EraseRefused,
     "Not erased: the logger holds samples the archive lacks (samples outside the archive: "
     "{1}). Download them first, or erase anyway with --force.",
     "Nie skasowano: rejestrator ma próbki, których brak w archiwum (próbek spoza archiwum: "
     "{1}). Najpierw je pobierz albo skasuj mimo to z --force."},
    {Msg::BadFormat, "'{1}' is no format (data or csv)", "'{1}' to nie format (data lub csv)"},
    {Msg::BadDownloadNumber, "'{1}' is no download number", "'{1}' to nie numer pobrania"},
    {Msg::ArchiveCopied,
     "Copied: downloads: {1}, new samples: {2}, erases: {3}; downloads already there: {4}.",
     "Skopiowano: pobrania: {1}, nowe próbki: {2}, kasowania: {3}; pobrania już zapisane: {4}."},
    {Msg::ArchiveMissing, "there is no such file", "nie ma takiego pliku"},
};

} // namespace

std::string Text(Lang lang, Msg msg, std::initializer_list<std::string> args) {
    std::string pattern;
    for (const Entry& e : Entries)
        if (e.msg == msg)
            pattern = lang == Lang::Polish ? e.polish : e.english;
    const std::vector<std::string> values(args);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
            pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            text += n < values.size() ? values[n] : std::string();
            i += 2;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace velkor::cli
