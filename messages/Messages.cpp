#include "messages/Messages.h"

#include <array>
#include <charconv>
#include <utility>

namespace velkor {

namespace {

struct Entry {
    Message message;
    const char* polish;
    const char* english;
};

constexpr std::array<Entry, 44> Table{{
    {Message::PortBusy, "Port %1 jest zajęty przez inny program.",
     "Port %1 is in use by another program."},
    {Message::DeviceLost, "Utracono połączenie z rejestratorem na porcie %1 (%2).",
     "Lost the connection to the logger on port %1 (%2)."},
    {Message::EndBeforeStart, "Koniec rejestracji jest wcześniejszy niż jej początek.",
     "The logging end is earlier than its start."},
    {Message::ZeroInterval, "Okres pomiaru musi być dłuższy od zera.",
     "The measurement interval must be longer than zero."},
    {Message::EndTooSoon,
     "Koniec rejestracji musi przypadać co najmniej jeden okres pomiaru po jej początku.",
     "The logging end must lie at least one measurement interval after its start."},
    {Message::SampleCountCapped,
     "Rejestrator zapisze najwyżej %1 próbek: rejestracja skończy się %2.",
     "The logger stores at most %1 samples: logging will end at %2."},
    {Message::NoSamplesReceived,
     "Nie odebrano żadnego pomiaru. Poprzedni plik %1 pozostał bez zmian.",
     "No samples were received. The previous %1 is unchanged."},
    {Message::LoggerStopped,
     "Rejestrator przestał odpowiadać. Odebrano %1 z %2 {2:pomiaru|pomiarów|pomiarów} i zapisano "
     "je w pliku %3.",
     "The logger stopped answering. %1 of %2 {2:sample|samples} were received and saved in %3."},
    {Message::DownloadCancelled,
     "Odczyt przerwany. Odebrano %1 z %2 {2:pomiaru|pomiarów|pomiarów} i zapisano je w pliku %3.",
     "Download cancelled. %1 of %2 {2:sample|samples} were received and saved in %3."},
    {Message::ReplyCut,
     "Rejestrator przerywał przesyłanie danych, także na ponowną prośbę. Odebrano %1 z %2 "
     "{2:pomiaru|pomiarów|pomiarów} i zapisano je w pliku %3.",
     "The logger kept breaking off its data, also when asked again. %1 of %2 "
     "{2:sample|samples} were received and saved in %3."},
    {Message::NoLoggerData, "Plik %1 nie zawiera danych rejestratora.",
     "File %1 holds no logger data."},
    {Message::NotRegularFile, "%1 nie jest zwykłym plikiem.", "%1 is not a regular file."},
    {Message::FileShrank, "Plik %1 skrócił się w trakcie odczytu.",
     "File %1 got shorter while it was read."},
    {Message::FileError, "Plik %1: %2.", "File %1: %2."},
    {Message::ErrorLine, "wiersz %1", "line %1"},
    {Message::FileNotFound, "nie ma takiego pliku ani folderu", "no such file or folder"},
    {Message::FileAccessDenied, "brak uprawnień", "permission denied"},
    {Message::FileIsFolder, "to jest folder", "it is a folder"},
    {Message::FileLinkLoop, "zbyt wiele poziomów dowiązań symbolicznych",
     "too many levels of symbolic links"},
    {Message::FileDiskFull, "brak miejsca na dysku", "no space left on the disk"},
    {Message::FileReadOnly, "system plików jest tylko do odczytu", "the file system is read-only"},
    {Message::FileBusy, "plik jest używany przez inny program",
     "the file is in use by another program"},
    {Message::FileNoDevice, "urządzenie nie istnieje", "no such device"},
    {Message::FileInOut, "błąd wejścia/wyjścia", "input/output error"},
    {Message::Temperature, "Temperatura", "Temperature"},
    {Message::Humidity, "Wilgotność", "Humidity"},
    {Message::DewPoint, "Punkt rosy", "Dew point"},
    {Message::Above, "powyżej", "above"},
    {Message::Below, "poniżej", "below"},
    {Message::ArchiveSummary, "Archiwum: nowe próbki: %1, już zapisane: %2, sprzeczne: %3.",
     "Archive: new samples: %1, already there: %2, conflicting: %3."},
    {Message::ArchiveFailed, "Nie udało się zapisać archiwum %1: %2",
     "The archive %1 could not be written: %2"},
    {Message::ArchiveUnreadable, "Nie można odczytać archiwum %1: %2",
     "The archive %1 cannot be read: %2"},
    {Message::ArchiveNoLogger, "archiwum nie zawiera rejestratora %1",
     "the archive holds no logger %1"},
    {Message::ArchiveNoDownload, "archiwum nie zawiera pobrania %1",
     "the archive holds no download %1"},
    {Message::ArchiveMissing, "nie ma takiego pliku", "there is no such file"},
    {Message::ArchiveNotAnArchive, "plik nie jest archiwum tego programu",
     "the file is not an archive of this program"},
    {Message::ArchiveDamaged, "jest uszkodzone", "it is damaged"},
    {Message::ArchiveBusy, "inny program je blokuje", "another program keeps it locked"},
    {Message::ArchiveFull, "dysk jest pełny", "the disk is full"},
    {Message::ArchiveReadOnly, "jest tylko do odczytu", "it is read-only"},
    {Message::ArchiveCannotOpen, "nie można go otworzyć ani utworzyć",
     "it cannot be opened or created"},
    {Message::ArchiveNewer, "zapisała je nowsza wersja programu",
     "a newer version of the program wrote it"},
    {Message::ArchiveLoginRefused, "serwer odrzucił logowanie", "the server refused the login"},
    {Message::ArchiveKindNotBuilt, "ta wersja programu nie obsługuje takiego archiwum",
     "this build cannot use such an archive"},
}};

bool IsArgumentDigit(char c) {
    return c >= '1' && c <= '9';
}

// The form of {N:a|b|c} that agrees with the number in the argument.
std::string_view ChooseForm(std::string_view forms, Language language, const std::string& number) {
    long long n = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), n);
    const bool isNumber = error == std::errc() && end == number.data() + number.size();
    std::size_t index = 0;
    if (language == Language::Polish)
        index = isNumber ? static_cast<std::size_t>(PolishPluralForm(n)) : 2;
    else
        index = isNumber && n == 1 ? 0 : 1;
    for (; index > 0; --index) {
        const std::size_t bar = forms.find('|');
        if (bar == std::string_view::npos)
            break;
        forms.remove_prefix(bar + 1);
    }
    return forms.substr(0, forms.find('|'));
}

} // namespace

int PolishPluralForm(long long n) {
    const long long tens = n < 0 ? -n % 100 : n % 100;
    if (n == 1)
        return 0;
    if (tens % 10 >= 2 && tens % 10 <= 4 && (tens < 12 || tens > 14))
        return 1;
    return 2;
}

std::string FormatMessage(std::string_view pattern, Language language,
                          std::span<const std::string> args) {
    auto argument = [&](char digit) -> const std::string& {
        static const std::string none;
        const auto n = static_cast<std::size_t>(digit - '1');
        return n < args.size() ? args[n] : none;
    };
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && IsArgumentDigit(pattern[i + 1])) {
            text += argument(pattern[++i]);
            continue;
        }
        if (c == '{' && i + 2 < pattern.size() && IsArgumentDigit(pattern[i + 1]) &&
            pattern[i + 2] == ':') {
            const std::size_t close = pattern.find('}', i);
            if (close != std::string_view::npos) {
                text += ChooseForm(pattern.substr(i + 3, close - i - 3), language,
                                   argument(pattern[i + 1]));
                i = close;
                continue;
            }
        }
        text += c;
    }
    return text;
}

const char* MessagePattern(Language language, Message message) {
    for (const Entry& entry : Table)
        if (entry.message == message)
            return language == Language::Polish ? entry.polish : entry.english;
    return "";
}

std::string MessageText(Language language, Message message,
                        std::initializer_list<std::string> args) {
    return FormatMessage(MessagePattern(language, message), language,
                         std::span(args.begin(), args.size()));
}

} // namespace velkor
