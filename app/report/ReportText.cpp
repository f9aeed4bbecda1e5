#include "app/report/ReportText.h"

#include "analysis/SummaryJson.h"
#include "messages/Messages.h"
#include "platform/DateTime.h"

#include <QStringList>

#include <array>
#include <cmath>

namespace velkor::report {

namespace {

struct WordText {
    Word word;
    const char* polish;
    const char* english;
};

constexpr std::array Words = {
    WordText{Word::DefaultTitle, "Raport temperatury i wilgotności",
             "Temperature and humidity report"},
    WordText{Word::Logger, "Rejestrator", "Logger"},
    WordText{Word::DataFile, "Plik danych", "Data file"},
    WordText{Word::Sha256, "SHA-256", "SHA-256"},
    WordText{Word::Period, "Okres", "Period"},
    WordText{Word::Samples, "Liczba próbek", "Samples"},
    WordText{Word::BadLines, "Pominięte wiersze", "Lines left out"},
    WordText{Word::BadLinesValue, "błędne: %1, pierwszy: wiersz %2",
             "unreadable: %1, the first: line %2"},
    WordText{Word::Interval, "Interwał", "Interval"},
    WordText{Word::GeneratedAt, "Wygenerowano", "Generated at"},
    WordText{Word::Program, "Program", "Program"},
    WordText{Word::LoggerSection, "Dane z rejestratora", "Reported by the logger"},
    WordText{Word::Battery, "Bateria", "Battery"},
    WordText{Word::LoggerInterval, "Interwał pomiarów", "Measurement interval"},
    WordText{Word::LoggingStart, "Początek rejestracji", "Logging start"},
    WordText{Word::LoggerSamples, "Liczba próbek w pamięci", "Samples in memory"},
    WordText{Word::SummarySection, "Podsumowanie", "Summary"},
    WordText{Word::Quantity, "Wielkość", "Quantity"},
    WordText{Word::Minimum, "Min", "Min"},
    WordText{Word::MinimumTime, "Czas min", "Min time"},
    WordText{Word::Maximum, "Maks", "Max"},
    WordText{Word::MaximumTime, "Czas maks", "Max time"},
    WordText{Word::Mean, "Średnia", "Mean"},
    WordText{Word::Sd, "SD", "SD"},
    WordText{Word::Temperature, "Temperatura [°C]", "Temperature [°C]"},
    WordText{Word::Humidity, "Wilgotność [%]", "Humidity [%]"},
    WordText{Word::DewPoint, "Punkt rosy [°C]", "Dew point [°C]"},
    WordText{Word::Mkt, "Średnia temperatura kinetyczna (MKT): %1 °C (ΔH = %2 kJ/mol)",
             "Mean kinetic temperature (MKT): %1 °C (ΔH = %2 kJ/mol)"},
    WordText{Word::Gaps, "Przerwy w zapisie: %1, brakujący czas: %2",
             "Gaps in the record: %1, missing time: %2"},
    WordText{Word::NoGaps, "Przerwy w zapisie: brak", "Gaps in the record: none"},
    WordText{Word::LimitsSection, "Limity i alarmy", "Limits and alarms"},
    WordText{Word::Range, "Zakres temperatury: %1 … %2 °C", "Temperature range: %1 … %2 °C"},
    WordText{Word::HumidityRange, "Zakres wilgotności: %1 … %2 %", "Humidity range: %1 … %2 %"},
    WordText{Word::TimeBelow, "czas poniżej: %1", "time below: %1"},
    WordText{Word::TimeAbove, "czas powyżej: %1", "time above: %1"},
    WordText{Word::NoLimits, "Nie ustawiono limitów ani reguł alarmowych.",
             "No limits and no alarm rules were set."},
    WordText{Word::Rule, "Reguła", "Rule"},
    WordText{Word::TimeBeyond, "Czas poza progiem", "Time beyond"},
    WordText{Word::FiredAt, "Alarm o", "Fired at"},
    WordText{Word::State, "Stan", "State"},
    WordText{Word::Verdict, "Ocena okresu:", "Verdict of the period:"},
    WordText{Word::Pass, "ZGODNY", "PASS"},
    WordText{Word::Fail, "NIEZGODNY", "FAIL"},
    WordText{Word::ChartSection, "Wykres", "Chart"},
    WordText{Word::LowLimit, "Dolny limit", "Low limit"},
    WordText{Word::HighLimit, "Górny limit", "High limit"},
    WordText{Word::ExcursionsSection, "Przekroczenia", "Excursions"},
    WordText{Word::NoExcursions, "Brak przekroczeń.", "No excursions."},
    WordText{Word::Start, "Początek", "Start"},
    WordText{Word::End, "Koniec", "End"},
    WordText{Word::Duration, "Czas trwania", "Duration"},
    WordText{Word::Side, "Strona", "Side"},
    WordText{Word::Extreme, "Wartość skrajna", "Extreme"},
    WordText{Word::DailySection, "Zestawienie dzienne (temperatura)", "Daily table (temperature)"},
    WordText{Word::DayColumn, "Dzień", "Day"},
    WordText{Word::OutOfRange, "Poza zakresem", "Out of range"},
    WordText{Word::GapsSection, "Przerwy w zapisie", "Gaps in the record"},
    WordText{Word::GapAfter, "Ostatni odczyt przed", "Last reading before"},
    WordText{Word::GapBefore, "Pierwszy odczyt po", "First reading after"},
    WordText{Word::Missing, "Brakujący czas", "Missing time"},
    WordText{Word::More, "i %1 więcej", "and %1 more"},
    WordText{Word::Signatures, "Podpisy", "Signatures"},
    WordText{Word::PreparedBy, "Sporządził", "Prepared by"},
    WordText{Word::ApprovedBy, "Zatwierdził", "Approved by"},
    WordText{Word::Name, "Imię i nazwisko", "Name"},
    WordText{Word::Date, "Data", "Date"},
    WordText{Word::Signature, "Podpis", "Signature"},
    WordText{Word::Page, "Strona %1 z %2", "Page %1 of %2"},
    WordText{Word::Subject, "Raport okresu %1 – %2 z pliku %3",
             "Report of the period %1 – %2 from the file %3"},
    WordText{Word::WriteFailed, "Nie można zapisać raportu w pliku %1",
             "Cannot write the report to the file %1"},
    WordText{Word::MenuEntry, "Raport PDF...", "PDF report..."},
    WordText{Word::SaveFilter, "Dokument PDF|*.pdf", "PDF document|*.pdf"},
    WordText{Word::SaveName, "raport.pdf", "report.pdf"},
    WordText{Word::Archive, "Archiwum", "Archive"},
    WordText{Word::ArchiveSubject, "Raport okresu %1 – %2 rejestratora %3 z archiwum",
             "Report of the period %1 – %2 of the logger %3 from the archive"},
    WordText{Word::ArchiveNoSamples,
             "Archiwum %1 nie ma w okresie raportu żadnej próbki rejestratora %2",
             "The archive %1 holds no samples of the logger %2 in the report's period"},
};

} // namespace

QString WordOf(Word word, Language language) {
    // The sides of a limit are the analysis's words, from the shared catalogue.
    if (word == Word::Above || word == Word::Below)
        return QString::fromStdString(
            MessageText(language, word == Word::Above ? Message::Above : Message::Below));
    for (const WordText& w : Words)
        if (w.word == word)
            return QString::fromUtf8(language == Language::Polish ? w.polish : w.english);
    return {};
}

QString NumberText(double value, Language language) {
    // Rounded as the summary's JSON rounds, from the shortest decimal form.
    double rounded = analysis::RoundHalfAway(value, 2);
    if (rounded == 0)
        rounded = 0; // no "-0.00"
    QString text = QString::number(rounded, 'f', 2);
    if (language == Language::Polish)
        text.replace(u'.', u',');
    return text;
}

QString TimeText(double dateTime) {
    return QString::fromStdString(FormatDateTime("yyyy-mm-dd hh:nn:ss", dateTime));
}

QString DayText(double dateTime) {
    return QString::fromStdString(FormatDateTime("yyyy-mm-dd", dateTime));
}

QString DurationText(std::int64_t seconds) {
    if (seconds <= 0)
        return QStringLiteral("0 s");
    const std::int64_t parts[] = {seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60,
                                  seconds % 60};
    const char* units[] = {"d", "h", "min", "s"};
    QStringList text;
    for (int k = 0; k < 4; ++k)
        if (parts[k] != 0)
            text << QString::number(parts[k]) + u' ' + QLatin1String(units[k]);
    return text.join(u' ');
}

} // namespace velkor::report
