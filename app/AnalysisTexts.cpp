#include "app/AnalysisTexts.h"

#include "messages/Messages.h"

#include <array>
#include <utility>

namespace velkor {

namespace {

struct Entry {
    AnalysisText text;
    const char* polish;
    const char* english;
};

constexpr std::array<Entry, 45> AnalysisTable{{
    {AnalysisText::Caption, "Analiza i alarmy", "Analysis and alarms"},
    {AnalysisText::Profile, "Profil:", "Profile:"},
    {AnalysisText::Logger, "Rejestrator:", "Logger:"},
    {AnalysisText::ProfileCustom, "własny", "custom"},
    {AnalysisText::TemperatureRange, "Zakres temperatury", "Temperature range"},
    {AnalysisText::HumidityRange, "Zakres wilgotności", "Humidity range"},
    {AnalysisText::Low, "od", "from"},
    {AnalysisText::High, "do", "to"},
    {AnalysisText::Rules, "Reguły alarmowe", "Alarm rules"},
    {AnalysisText::Single, "jednorazowo", "single"},
    {AnalysisText::Cumulative, "łącznie", "cumulative"},
    {AnalysisText::DelayMinutes, "opóźnienie w minutach", "delay in minutes"},
    {AnalysisText::DeltaH, "ΔH (kJ/mol):", "ΔH (kJ/mol):"},
    {AnalysisText::Period, "Okres:", "Period:"},
    {AnalysisText::WholeData, "całe dane", "whole data"},
    {AnalysisText::VisibleRange, "widoczny zakres", "visible range"},
    {AnalysisText::Unit, "Jednostka:", "Unit:"},
    {AnalysisText::ShowOnChart, "Pokaż na wykresie", "Show on chart"},
    {AnalysisText::Quantity, "Wielkość", "Quantity"},
    {AnalysisText::Minimum, "Minimum", "Minimum"},
    {AnalysisText::MinimumTime, "Czas minimum", "Time of minimum"},
    {AnalysisText::Maximum, "Maksimum", "Maximum"},
    {AnalysisText::MaximumTime, "Czas maksimum", "Time of maximum"},
    {AnalysisText::Mean, "Średnia", "Mean"},
    {AnalysisText::Deviation, "Odchylenie std.", "Std. deviation"},
    {AnalysisText::Mkt, "MKT", "MKT"},
    {AnalysisText::Excursions, "Przekroczenia zakresu", "Excursions"},
    {AnalysisText::Start, "Początek", "Start"},
    {AnalysisText::End, "Koniec", "End"},
    {AnalysisText::Duration, "Czas trwania", "Duration"},
    {AnalysisText::Side, "Strona", "Side"},
    {AnalysisText::Extreme, "Wartość skrajna", "Extreme"},
    {AnalysisText::Alarms, "Alarmy", "Alarms"},
    {AnalysisText::Rule, "Reguła", "Rule"},
    {AnalysisText::FiredAt, "Zadziałała", "Fired at"},
    {AnalysisText::Verdict, "Wynik", "Verdict"},
    {AnalysisText::Ok, "OK", "OK"},
    {AnalysisText::Alarm, "ALARM", "ALARM"},
    {AnalysisText::Overview, "Próbki: %1, od %2 do %3, interwał %4 s, luki: %5, duplikaty: %6",
     "Samples: %1, from %2 to %3, interval %4 s, gaps: %5, duplicates: %6"},
    {AnalysisText::TimeOutside, "Temperatura poniżej zakresu: %1, powyżej zakresu: %2",
     "Temperature below range: %1, above range: %2"},
    {AnalysisText::HumidityTime, "Wilgotność poniżej zakresu: %1, powyżej zakresu: %2",
     "Humidity below range: %1, above range: %2"},
    {AnalysisText::NoData, "Brak danych do analizy.", "No data to analyse."},
    {AnalysisText::ReadFailed, "Nie można odczytać pliku %1: %2", "Cannot read the file %1: %2"},
    {AnalysisText::BadLines, "Pominięte błędne wiersze: %1 (pierwszy: wiersz %2)",
     "Bad lines left out: %1 (the first: line %2)"},
    {AnalysisText::Close, "Zamknij", "Close"},
}};

} // namespace

QString TextOf(AnalysisText text, Language language) {
    // The words velkor-cli summary shows too come from the shared catalogue.
    constexpr std::pair<AnalysisText, Message> Shared[] = {
        {AnalysisText::Temperature, Message::Temperature},
        {AnalysisText::Humidity, Message::Humidity},
        {AnalysisText::DewPoint, Message::DewPoint},
        {AnalysisText::Above, Message::Above},
        {AnalysisText::Below, Message::Below},
    };
    for (const auto& [own, shared] : Shared)
        if (own == text)
            return QString::fromStdString(MessageText(language, shared));
    for (const Entry& entry : AnalysisTable)
        if (entry.text == text)
            return QString::fromUtf8(language == Language::English ? entry.english : entry.polish);
    return {};
}

QString DurationText(long long seconds) {
    const long long hours = seconds / 3600;
    const long long minutes = seconds % 3600 / 60;
    const long long rest = seconds % 60;
    QString text;
    if (hours > 0)
        text = QStringLiteral("%1 h %2 min").arg(hours).arg(minutes, 2, 10, QChar(u'0'));
    else if (minutes > 0)
        text = QStringLiteral("%1 min").arg(minutes);
    if (rest > 0 || text.isEmpty())
        text +=
            (text.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("%1 s").arg(rest);
    return text;
}

} // namespace velkor
