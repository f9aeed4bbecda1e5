#include "cli/Texts.h"

#include <span>

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
     "Exit status: 0 done, 1 wrong usage, 2 no logger found, port error or lost device,\n"
     "3 finished but incomplete.\n",
     "\n"
     "Opcje każdego polecenia:\n"
     "  --lang en|pl             język komunikatów (domyślnie angielski)\n"
     "  -h, --help               pomoc do polecenia\n"
     "\n"
     "velkor-cli --version       numer wersji\n"
     "\n"
     "Kod wyjścia: 0 wykonano, 1 błędne użycie, 2 nie znaleziono rejestratora, błąd portu\n"
     "lub utrata urządzenia, 3 zakończono, ale niekompletnie.\n"},
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
};

} // namespace

std::string Text(Language language, Msg msg, std::initializer_list<std::string> args) {
    for (const Entry& e : Entries)
        if (e.msg == msg)
            return FormatMessage(language == Language::Polish ? e.polish : e.english, language,
                                 std::span(args.begin(), args.size()));
    return {};
}

std::string Text(Language language, Message message, std::initializer_list<std::string> args) {
    return MessageText(language, message, args);
}

} // namespace velkor::cli
