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
     "  summary                  statistics, limits, excursions and alarms of a data file\n"
     "\n"
     "Options of every command:\n"
     "  --lang en|pl             language of the messages (default: English)\n"
     "  -h, --help               help on the command\n"
     "\n"
     "velkor-cli --version       show the version\n"
     "\n"
     "Exit status: 0 done, 1 wrong usage, 2 no logger found, port error or lost device,\n"
     "3 finished but incomplete, 4 an excursion or alarm (summary --fail-on-excursion).\n",
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
     "  summary                  statystyka, zakresy, przekroczenia i alarmy pliku danych\n"
     "\n"
     "Opcje każdego polecenia:\n"
     "  --lang en|pl             język komunikatów (domyślnie angielski)\n"
     "  -h, --help               pomoc do polecenia\n"
     "\n"
     "velkor-cli --version       numer wersji\n"
     "\n"
     "Kod wyjścia: 0 wykonano, 1 błędne użycie, 2 nie znaleziono rejestratora, błąd portu\n"
     "lub utrata urządzenia, 3 zakończono, ale niekompletnie, 4 przekroczenie lub alarm\n"
     "(summary --fail-on-excursion).\n"},
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
     "Usage: velkor-cli download [--port COMn] [-o FILE]\n"
     "Downloads the measurement log into FILE (default: logger.txt), the same data file as\n"
     "the window's Read data. Ctrl+C stops after the current block, keeping what arrived.\n",
     "Użycie: velkor-cli download [--port COMn] [-o PLIK]\n"
     "Pobiera zapis pomiarów do PLIKU (domyślnie logger.txt), tego samego pliku danych, co\n"
     "przycisk Odczyt danych w oknie. Ctrl+C przerywa po bieżącym bloku, zachowując to, co\n"
     "już nadeszło.\n"},
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
     "Usage: velkor-cli erase [--port COMn] --yes\n"
     "Erases the logger's memory and waits for its confirmation. Nothing is done without\n"
     "--yes.\n",
     "Użycie: velkor-cli erase [--port COMn] --yes\n"
     "Kasuje pamięć rejestratora i czeka na jego potwierdzenie. Bez --yes nic nie robi.\n"},
    {Msg::CommandUsageExport,
     "Usage: velkor-cli export DATAFILE [-o FILE.csv]\n"
     "Writes the data file as CSV (default: DATAFILE with .csv): the header\n"
     "time,temperature_c,humidity_pct, then one row for every data line.\n",
     "Użycie: velkor-cli export PLIK_DANYCH [-o PLIK.csv]\n"
     "Zapisuje plik danych jako CSV (domyślnie PLIK_DANYCH z rozszerzeniem .csv): nagłówek\n"
     "time,temperature_c,humidity_pct, potem jeden wiersz na każdy wiersz danych.\n"},
    {Msg::CommandUsageSummary,
     "Usage: velkor-cli summary FILE [--profile NAME] [--low C] [--high C] [--hum-low P]\n"
     "    [--hum-high P] [--alarm RULE]... [--from \"yyyy-mm-dd hh:mm:ss\"] [--to \"...\"]\n"
     "    [--delta-h KJ_PER_MOL] [--no-humidity] [--fahrenheit] [--json] [--fail-on-excursion]\n"
     "Summarises every data line of FILE: interval and gaps, minimum, maximum, mean, standard\n"
     "deviation, mean kinetic temperature (MKT) and dew point, the time outside the limits,\n"
     "the excursions and the alarm rules.\n"
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
     "Użycie: velkor-cli summary PLIK [--profile NAZWA] [--low C] [--high C] [--hum-low P]\n"
     "    [--hum-high P] [--alarm REGUŁA]... [--from \"rrrr-mm-dd gg:mm:ss\"] [--to \"...\"]\n"
     "    [--delta-h KJ_NA_MOL] [--no-humidity] [--fahrenheit] [--json] [--fail-on-excursion]\n"
     "Podsumowuje wszystkie wiersze danych PLIKU: interwał i luki, minimum, maksimum, średnią,\n"
     "odchylenie standardowe, średnią temperaturę kinetyczną (MKT) i punkt rosy, czas poza\n"
     "zakresem, przekroczenia zakresu i reguły alarmowe.\n"
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
    {Msg::BadRule,
     "'{1}' is no alarm rule: write above|below,THRESHOLD,DELAY,single|cumulative, e.g. "
     "above,8,30m,single",
     "'{1}' nie jest regułą alarmową: należy pisać above|below,PRÓG,OPÓŹNIENIE,single|cumulative, "
     "np. above,8,30m,single"},
    {Msg::BadNumber, "'{1}' is no valid value for {2}", "'{1}' nie jest poprawną wartością {2}"},
    {Msg::BadProfile, "unknown profile '{1}' (2-8, 15-25, who-type1, who-type2 or custom)",
     "nieznany profil '{1}' (2-8, 15-25, who-type1, who-type2 albo custom)"},
    {Msg::LimitsInverted, "the low limit {1} is above the high limit {2}",
     "dolna granica {1} jest wyższa od górnej {2}"},
    {Msg::NoSamplesInPeriod, "No samples of {1} lie in the chosen period.",
     "Żadna próbka pliku {1} nie leży w wybranym okresie."},
    {Msg::SummaryFile, "File:", "Plik:"},
    {Msg::SummarySamples, "Samples:", "Próbki:"},
    {Msg::SummaryPeriod, "Period:", "Okres:"},
    {Msg::SummaryInterval, "Interval:", "Interwał:"},
    {Msg::SummaryGaps, "Gaps:", "Luki:"},
    {Msg::SummaryGap, "{1} to {2}, {3} missing", "od {1} do {2}, brak {3}"},
    {Msg::SummaryHeader, "Minimum|at|Maximum|at|Mean|SD|MKT",
     "Minimum|czas|Maksimum|czas|Średnia|Odch. std.|MKT"},
    {Msg::SummaryTemperature, "Temperature", "Temperatura"},
    {Msg::SummaryHumidity, "Humidity", "Wilgotność"},
    {Msg::SummaryDewPoint, "Dew point", "Punkt rosy"},
    {Msg::SummaryLimits, "Temperature range {1} to {2}:", "Zakres temperatury od {1} do {2}:"},
    {Msg::SummaryHumidityLimits, "Humidity range {1} to {2}:", "Zakres wilgotności od {1} do {2}:"},
    {Msg::SummaryTimeOutside, "below for {1}, above for {2}, excursions: {3}",
     "poniżej przez {1}, powyżej przez {2}, przekroczenia: {3}"},
    {Msg::SummaryExcursionHeader, "Start|End|Duration|Side|Extreme",
     "Początek|Koniec|Czas trwania|Strona|Wartość skrajna"},
    {Msg::SummaryAbove, "above", "powyżej"},
    {Msg::SummaryBelow, "below", "poniżej"},
    {Msg::SummaryAlarms, "Alarm rules:", "Reguły alarmowe:"},
    {Msg::SummaryFired, "ALARM at {1}, {2} at or beyond",
     "ALARM o {1}, łącznie {2} na progu lub za nim"},
    {Msg::SummaryNotFired, "OK, {1} at or beyond", "OK, łącznie {1} na progu lub za nim"},
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
