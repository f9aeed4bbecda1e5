#include "app/Texts.h"

#include <array>
#include <string>
#include <vector>

namespace velkor {

namespace {

constexpr std::array<ControlText, 24> Table{{
    {TextTarget::Caption, "Velkor", "Velkor"},
    {TextTarget::Button1, "Uaktualnij datę i czas", "Update Time&Date"},
    {TextTarget::Button3, "Zapisz w pliku", "Save in file"},
    {TextTarget::Button4, "Drukuj wykres", "Print chart"},
    {TextTarget::Button5, "Drukuj raport", "Print report"},
    {TextTarget::Button6, "Odczytaj z pliku", "Read from file"},
    {TextTarget::Button7, "Wczytaj dane", "Read data"},
    {TextTarget::Button8, "Kasuj dane", "Erase memory"},
    {TextTarget::CheckBox1, "Temperatura", "Temperature"},
    {TextTarget::CheckBox2, "Wilgotność", "Humidity"},
    {TextTarget::Label1, "Napięcie baterii", "Battery voltage"},
    {TextTarget::Label2, "Data", "Date"},
    {TextTarget::Label4, "Początek rejestracji", "Logging Start"},
    {TextTarget::Label5, "Koniec rejestracji", "Logging End"},
    {TextTarget::Label6, "Okres pomiaru", "Measure Interval"},
    {TextTarget::Label7, "Identyfikator:", "ID"},
    {TextTarget::Label3, "Czas", "Time"},
    {TextTarget::OdczytUstawien, "Polącz", "Connect"},
    {TextTarget::ZapisUstawien, "Zapisz ustawienia", "Save settings"},
    {TextTarget::ChartTitle, "Wykres temperatury", "Chart"},
    {TextTarget::Series1Title, "Temperatura", "Temperature"},
    {TextTarget::Series2Title, "Wilgotność", "Humidity"},
    {TextTarget::Label9, "Brak komunikacji !", "Offline"},
    {TextTarget::Label8, "TARVI v1.27", "TARVI v1.27"},
}};

struct RunTextEntry {
    RunText text;
    const char* polish;
    const char* english;
};

// The captions keep their blanks before the colon as the logger's users know them.
constexpr std::array<RunTextEntry, 37> RunTable{{
    {RunText::BatteryPrefix, "Napięcie baterii: ", "Battery voltage: "},
    {RunText::FoundCaption, "Znaleziono urządzenie  :", "Found Device   :"},
    {RunText::FoundStatus, "Znaleziono", "Found"},
    {RunText::IdentifierPrefix, "Identyfikator: ", "Identyfier: "},
    {RunText::NotFoundCaption, "UWAGA !", "Attention !"},
    {RunText::NotFoundText, "Urządzenie nie odpowiada !", "Device not responding !"},
    {RunText::NotFoundStatus, "Brak odpowiedzi !", "No responing !"},
    {RunText::EraseAskCaption, "Kasowanie pamięci", "Kasowanie pamięci"},
    {RunText::EraseAskText, "Czy na pewno?", "Czy na pewno?"},
    {RunText::EraseResultCaption, "Status pamięci  :", "Memory status  :"},
    {RunText::Erased, "Skasowana", "Erased"},
    {RunText::NotErased, "Nie skasowana", "Not erased"},
    {RunText::ReplaceAsk, "Plik %1 już istnieje. Czy chcesz go zastąpić?",
     "%1 already exists. Do you want to replace it?"},
    {RunText::ChartCopy, "Kopiuj wykres", "Copy chart"},
    {RunText::ChartSaveImage, "Zapisz wykres jako obraz...", "Save chart as image..."},
    {RunText::ChartExportCsv, "Eksportuj dane do CSV...", "Export data to CSV..."},
    {RunText::ChartStatistics, "Statystyka...", "Statistics..."},
    {RunText::ChartAnalysis, "Analiza i alarmy...", "Analysis and alarms..."},
    {RunText::ChartShowAll, "Pokaż cały wykres", "Show whole chart"},
    {RunText::ChartImageFilter, "Obraz PNG|*.png|Obraz SVG|*.svg|Dokument PDF|*.pdf",
     "PNG image|*.png|SVG image|*.svg|PDF document|*.pdf"},
    {RunText::ChartImageName, "wykres", "chart"},
    {RunText::ChartCsvFilter, "Pliki CSV|*.csv|Wszystkie pliki|*.*",
     "CSV files|*.csv|All files|*.*"},
    {RunText::ChartCsvName, "dane.csv", "data.csv"},
    {RunText::StatisticsCaption, "Statystyka", "Statistics"},
    {RunText::StatisticsRange, "Zakres: ", "Range: "},
    {RunText::StatisticsCount, "Liczba punktów", "Number of points"},
    {RunText::StatisticsMinimum, "Minimum", "Minimum"},
    {RunText::StatisticsMaximum, "Maksimum", "Maximum"},
    {RunText::StatisticsMean, "Średnia", "Mean"},
    {RunText::ChartSaveFailed, "Nie można zapisać pliku ", "Cannot write the file "},
    {RunText::ArchiveOutsideLine, "Uwaga: próbek spoza archiwum: %1.",
     "Uwaga: próbek spoza archiwum: %1."},
    {RunText::ArchiveEraseFailed, "Kasowania nie zapisano w archiwum %1: %2",
     "The erase was not recorded in the archive %1: %2"},
    {RunText::ChartArchive, "Archiwum...", "Archive..."},
    {RunText::ArchiveEmpty, "Archiwum %1 jest puste.", "The archive %1 is empty."},
    {RunText::ArchiveTemperature, "%1: temperatura", "%1: temperature"},
    {RunText::ArchiveHumidity, "%1: wilgotność", "%1: humidity"},
}};

QString Choose(const char* polish, const char* english, Language language) {
    return QString::fromUtf8(language == Language::English ? english : polish);
}

} // namespace

std::span<const ControlText> ControlTexts() {
    return Table;
}

QString TextOf(TextTarget target, Language language) {
    for (const ControlText& entry : Table)
        if (entry.target == target)
            return Choose(entry.polish, entry.english, language);
    return {};
}

QString TextOf(RunText text, Language language) {
    for (const RunTextEntry& entry : RunTable)
        if (entry.text == text)
            return Choose(entry.polish, entry.english, language);
    return {};
}

QString TextOf(Message message, Language language, std::initializer_list<QString> args) {
    std::vector<std::string> values;
    for (const QString& arg : args)
        values.push_back(arg.toStdString());
    return QString::fromStdString(
        FormatMessage(MessagePattern(language, message), language, values));
}

} // namespace velkor
