#include "cli/CommandTable.h"

#include "cli/ArchiveCommands.h"
#include "cli/Commands.h"

#include <algorithm>

namespace velkor::cli {

namespace {

const OptionSpec Port{"port", 0, true};
const OptionSpec Output{"output", 'o', true};
const OptionSpec Quiet{"quiet", 'q', false};
const OptionSpec Json{"json", 0, false};
const OptionSpec ArchivePath{"archive", 0, true};

// One row per command: adding a command adds a row here and its handler in Commands.h.
const std::vector<CommandRow> Rows = {
    {"ports",
     {Json, Quiet},
     {},
     nullptr,
     {"list COM names and the devices they resolve to",
      "lista nazw COM i urządzeń, którym odpowiadają"},
     {"Usage: velkor-cli ports [--json] [-q]\n"
      "Lists the COM names that resolve to a device, and the device of each; --json as one\n"
      "JSON array.\n",
      "Użycie: velkor-cli ports [--json] [-q]\n"
      "Wypisuje nazwy COM, którym odpowiada urządzenie, i urządzenie każdej z nich; z --json\n"
      "jako jedną tablicę JSON.\n"},
     RunPorts},
    {"info",
     {Port, {"json", 0, false}},
     {},
     nullptr,
     {"show the logger's settings", "ustawienia rejestratora"},
     {"Usage: velkor-cli info [--port COMn] [--json]\n"
      "Shows the logger's settings, one \"key: value\" line each, or one JSON object.\n"
      "Without --port the ports are scanned and the first logger found is used.\n",
      "Użycie: velkor-cli info [--port COMn] [--json]\n"
      "Wypisuje ustawienia rejestratora, po jednym wierszu \"klucz: wartość\", albo jeden\n"
      "obiekt JSON. Bez --port przeszukuje porty i używa pierwszego znalezionego rejestratora.\n"},
     RunInfo},
    {"download",
     {Port, Output, Quiet, Json, ArchivePath, {"no-archive", 0, false}},
     {},
     nullptr,
     {"download the measurement log into a data file", "pobranie zapisu pomiarów do pliku danych"},
     {"Usage: velkor-cli download [--port COMn] [-o FILE|-] [-q] [--json]\n"
      "           [--archive PATH | --no-archive]\n"
      "Downloads the measurement log into FILE (default: logger.txt), the same data file as\n"
      "the window's Read data; -o - writes it to standard output. Ctrl+C stops after the\n"
      "current block, keeping what arrived. -q, --quiet: no progress and no summary;\n"
      "--json: the summary as one JSON object (on standard error with -o -).\n"
      "Then the download goes into the archive too (see velkor-cli archive --help).\n",
      "Użycie: velkor-cli download [--port COMn] [-o PLIK|-] [-q] [--json]\n"
      "           [--archive ŚCIEŻKA | --no-archive]\n"
      "Pobiera zapis pomiarów do PLIKU (domyślnie logger.txt), tego samego pliku danych, co\n"
      "przycisk Odczyt danych w oknie; -o - wypisuje go na standardowe wyjście. Ctrl+C\n"
      "przerywa po bieżącym bloku, zachowując to, co już nadeszło. -q, --quiet: bez postępu\n"
      "i podsumowania; --json: podsumowanie jako obiekt JSON (z -o - na standardowe wyjście\n"
      "błędów). Potem pobranie trafia też do archiwum (zob. velkor-cli archive --help).\n"},
     RunDownload},
    {"set-clock",
     {Port, {"time", 0, true}},
     {},
     nullptr,
     {"set the logger's clock", "ustawienie zegara rejestratora"},
     {"Usage: velkor-cli set-clock [--port COMn] [--time \"yyyy-mm-dd hh:mm:ss\"]\n"
      "Sets the logger's clock (default: this computer's local time).\n",
      "Użycie: velkor-cli set-clock [--port COMn] [--time \"rrrr-mm-dd gg:mm:ss\"]\n"
      "Ustawia zegar rejestratora (domyślnie na czas lokalny tego komputera).\n"},
     RunSetClock},
    {"configure",
     {Port, {"interval", 0, true}, {"start", 0, true}, {"end", 0, true}},
     {"interval", "start", "end"},
     nullptr,
     {"set the interval, the start and the end of logging",
      "ustawienie interwału, początku i końca rejestracji"},
     {"Usage: velkor-cli configure [--port COMn] --interval hh:mm:ss\n"
      "           --start \"yyyy-mm-dd hh:mm:ss\" --end \"yyyy-mm-dd hh:mm:ss\"\n"
      "Sets the measurement interval and the start and end of logging.\n",
      "Użycie: velkor-cli configure [--port COMn] --interval gg:mm:ss\n"
      "           --start \"rrrr-mm-dd gg:mm:ss\" --end \"rrrr-mm-dd gg:mm:ss\"\n"
      "Ustawia interwał pomiarów oraz początek i koniec rejestracji.\n"},
     RunConfigure},
    {"erase",
     {Port, {"yes", 0, false}, ArchivePath, {"force", 0, false}},
     {},
     nullptr,
     {"erase the logger's memory", "skasowanie pamięci rejestratora"},
     {"Usage: velkor-cli erase [--port COMn] --yes [--force] [--archive PATH]\n"
      "Erases the logger's memory and waits for its confirmation. Nothing is done without\n"
      "--yes. It refuses (exit 6) while the logger holds samples the archive lacks;\n"
      "--force erases anyway.\n",
      "Użycie: velkor-cli erase [--port COMn] --yes [--force] [--archive ŚCIEŻKA]\n"
      "Kasuje pamięć rejestratora i czeka na jego potwierdzenie. Bez --yes nic nie robi.\n"
      "Odmawia (kod 6), dopóki rejestrator ma próbki, których brak w archiwum; --force\n"
      "kasuje mimo to.\n"},
     RunErase},
    {"export",
     {Output, {"dialect", 0, true}, Quiet, Json},
     {},
     "DATAFILE",
     {"convert a data file to CSV", "zamiana pliku danych na CSV"},
     {"Usage: velkor-cli export DATAFILE [-o FILE.csv|-] [--dialect rfc|pl] [-q] [--json]\n"
      "Writes the data file as CSV (default: DATAFILE with .csv; -o -: standard output): the\n"
      "header time,temperature_c,humidity_pct, then one row for every data line, values with\n"
      "one decimal. --dialect rfc (the default): \",\" and a decimal point; --dialect pl: \";\",\n"
      "a decimal comma and a UTF-8 byte-order mark, as a Polish spreadsheet opens it.\n"
      "-q, --quiet: no summary; --json: the summary as one JSON object.\n",
      "Użycie: velkor-cli export PLIK_DANYCH [-o PLIK.csv|-] [--dialect rfc|pl] [-q] [--json]\n"
      "Zapisuje plik danych jako CSV (domyślnie PLIK_DANYCH z rozszerzeniem .csv; -o -:\n"
      "standardowe wyjście): nagłówek time,temperature_c,humidity_pct, potem jeden wiersz na\n"
      "każdy wiersz danych, wartości z jednym miejscem po przecinku. --dialect rfc\n"
      "(domyślnie): \",\" i kropka dziesiętna; --dialect pl: \";\", przecinek dziesiętny\n"
      "i znacznik BOM UTF-8, tak jak otwiera go polski arkusz kalkulacyjny. -q, --quiet: bez\n"
      "podsumowania; --json: podsumowanie jako obiekt JSON.\n"},
     RunExport},
    // archive COMMAND [FILE | ID TEXT]: each subcommand checks its own operands.
    {"archive",
     {ArchivePath,
      {"json", 0, false},
      {"logger", 0, true},
      {"from", 0, true},
      {"to", 0, true},
      {"output", 'o', true},
      {"format", 0, true},
      {"download", 0, true}},
     {},
     "COMMAND",
     {"every download kept per logger: list, export, import...",
      "wszystkie pobrania według rejestratorów: lista, eksport..."},
     {"Usage: velkor-cli archive COMMAND [--archive PATH]\n"
      "  list [--json]                      the loggers: label, period, samples, last download\n"
      "  export --logger ID [--from T] [--to T] [-o FILE|-] [--format data|csv]\n"
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
      "  export --logger ID [--from T] [--to T] [-o PLIK|-] [--format data|csv]\n"
      "                                     próbki jednego rejestratora (T: rrrr-mm-dd "
      "[gg:mm:ss])\n"
      "  import PLIK --logger ID            plik danych do archiwum\n"
      "  label ID TEKST                     nazywa rejestrator\n"
      "  check                              sprawdzenie spójności i liczby\n"
      "  downloads --logger ID              pobrania i importy z ich numerami\n"
      "  remove --download N                usuwa pobranie z archiwum\n"
      "  copy ŹRÓDŁO CEL                    kopiuje archiwum do innego; ponownie nic nie dodaje\n"
      "Każde pobranie trafia też do archiwum (download --no-archive je pomija). Archiwum to\n"
      "ŚCIEŻKA, inaczej to ustawione w oknie, inaczej ~/.local/share/velkor/archive.sqlite.\n"
      "ŚCIEŻKA może wskazywać serwer PostgreSQL: postgresql://[użytkownik@]host[:port]/baza.\n"},
     RunArchive,
     2},
    {"summary",
     {{"profile", 0, true},
      {"low", 0, true},
      {"high", 0, true},
      {"hum-low", 0, true},
      {"hum-high", 0, true},
      {"alarm", 0, true, true},
      {"from", 0, true},
      {"to", 0, true},
      {"delta-h", 0, true},
      {"no-humidity", 0, false},
      {"fahrenheit", 0, false},
      {"json", 0, false},
      {"fail-on-excursion", 0, false},
      {"archive-logger", 0, true},
      ArchivePath},
     {},
     "FILE",
     {"statistics, limits, excursions and alarms of a data file",
      "statystyka, zakresy, przekroczenia i alarmy pliku danych"},
     {"Usage: velkor-cli summary FILE|--archive-logger ID [--archive PATH] [--profile NAME]\n"
      "    [--low C] [--high C] [--hum-low P]\n"
      "    [--hum-high P] [--alarm RULE]... [--from \"yyyy-mm-dd hh:mm:ss\"] [--to \"...\"]\n"
      "    [--delta-h KJ_PER_MOL] [--no-humidity] [--fahrenheit] [--json] [--fail-on-excursion]\n"
      "Summarises every data line of FILE: interval and gaps, minimum, maximum, mean, standard\n"
      "deviation, mean kinetic temperature (MKT) and dew point, the time outside the limits,\n"
      "the excursions and the alarm rules.\n"
      "  --archive-logger ID instead of FILE: the archived samples of logger ID (with --from\n"
      "                      and --to: of that period); --archive PATH as for velkor-cli archive\n"
      "  --profile NAME      2-8, 15-25, who-type1, who-type2 or custom\n"
      "  --low, --high       temperature limits in °C (override the profile's)\n"
      "  --hum-low, --hum-high  humidity limits in %\n"
      "  --alarm RULE        above|below,THRESHOLD_C,DELAY,single|cumulative with DELAY as N,\n"
      "                      Ns, Nm or Nh, e.g. above,8,30m,single (adds to the profile's)\n"
      "  --from, --to        the period, both ends included\n"
      "  --delta-h           activation energy for the MKT (default 83.144 kJ/mol)\n"
      "  --no-humidity       leave out humidity and dew point\n"
      "  --fahrenheit        temperatures of the text output in °F (JSON stays in °C)\n"
      "  --json              the summary as JSON\n"
      "  --fail-on-excursion exit 4 when there is an excursion or an alarm rule fired\n",
      "Użycie: velkor-cli summary PLIK|--archive-logger ID [--archive ŚCIEŻKA]\n"
      "    [--profile NAZWA] [--low C] [--high C] [--hum-low P]\n"
      "    [--hum-high P] [--alarm REGUŁA]... [--from \"rrrr-mm-dd gg:mm:ss\"] [--to \"...\"]\n"
      "    [--delta-h KJ_NA_MOL] [--no-humidity] [--fahrenheit] [--json] [--fail-on-excursion]\n"
      "Podsumowuje wszystkie wiersze danych PLIKU: interwał i luki, minimum, maksimum, średnią,\n"
      "odchylenie standardowe, średnią temperaturę kinetyczną (MKT) i punkt rosy, czas poza\n"
      "zakresem, przekroczenia zakresu i reguły alarmowe.\n"
      "  --archive-logger ID zamiast PLIKU: próbki rejestratora ID z archiwum (z --from i --to:\n"
      "                      z tego okresu); --archive ŚCIEŻKA jak w velkor-cli archive\n"
      "  --profile NAZWA     2-8, 15-25, who-type1, who-type2 albo custom\n"
      "  --low, --high       zakres temperatury w °C (zastępuje zakres profilu)\n"
      "  --hum-low, --hum-high  zakres wilgotności w %\n"
      "  --alarm REGUŁA      above|below,PRÓG_C,OPÓŹNIENIE,single|cumulative, OPÓŹNIENIE jako\n"
      "                      N, Ns, Nm albo Nh, np. above,8,30m,single (dodaje się do profilu)\n"
      "  --from, --to        okres, oba końce włącznie\n"
      "  --delta-h           energia aktywacji do MKT (domyślnie 83,144 kJ/mol)\n"
      "  --no-humidity       bez wilgotności i punktu rosy\n"
      "  --fahrenheit        temperatury w tekście w °F (JSON zostaje w °C)\n"
      "  --json              podsumowanie w formacie JSON\n"
      "  --fail-on-excursion kod wyjścia 4, gdy zakres przekroczono albo reguła zadziałała\n"},
     RunSummary,
     0,
     "archive-logger"},
};

} // namespace

std::string Bilingual::In(Language language) const {
    return language == Language::Polish ? polish : english;
}

std::span<const CommandRow> CommandTable() {
    return Rows;
}

const CommandRow* FindCommand(std::string_view name) {
    const auto it = std::find_if(Rows.begin(), Rows.end(),
                                 [&](const CommandRow& row) { return name == row.name; });
    return it == Rows.end() ? nullptr : &*it;
}

std::string GeneralUsage(Language language) {
    std::string text = Text(language, Msg::UsageHead);
    for (const CommandRow& row : Rows) {
        std::string name = std::string("  ") + row.name;
        name.resize(std::max<std::size_t>(name.size() + 1, 27), ' ');
        text += name + row.summary.In(language) + '\n';
    }
    return text + Text(language, Msg::UsageTail);
}

} // namespace velkor::cli
