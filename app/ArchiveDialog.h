#pragma once
// "Archiwum..." of the chart menu: the archive's loggers, each with its label, period, sample
// count and last download; the user ticks up to eight and picks a period, then shows them on
// the chart or opens one as data.

#include "app/ChartView.h"
#include "archive/Archive.h"
#include "messages/Language.h"

#include <QDialog>
#include <QString>

#include <cstddef>
#include <string>
#include <vector>

class QDateTimeEdit;
class QPushButton;
class QTableWidget;

namespace velkor {

struct ArchiveChoice {
    enum class Action { Chart, OpenAsData };
    Action action = Action::Chart;
    std::vector<archive::LoggerSummary> loggers; // ticked, in the list's order
    archive::Period period;
};

// The archived loggers the chart shows in place of the data file's lines, for the analysis and
// the report of each.
struct ShownArchive {
    std::string location;                        // the archive
    archive::Period period;                      // as chosen in the dialog
    std::vector<archive::LoggerSummary> loggers; // in the order of their lines
    std::size_t showing = 0;                     // counts the showings from 1: each reads anew
};

// Why the archive failed, in `language`, with the database's own words in brackets.
QString ArchiveErrorReason(const archive::ArchiveError& e, Language language);
// "Nie można odczytać archiwum %1: why".
QString ArchiveUnreadableText(const std::string& location, const archive::ArchiveError& e,
                              Language language);

// The samples of the shown logger `logger` over the period shown, for its analysis and report.
// Raises InOutError with ArchiveUnreadableText when the archive cannot be read.
std::vector<analysis::Sample> ReadShownLogger(const ShownArchive& shown, const std::string& logger,
                                              Language language);

// The logger's label, or its identifier while it has none.
QString ArchivedLoggerName(const archive::LoggerSummary& logger);

class ArchiveDialog final : public QDialog {
    Q_OBJECT

public:
    ArchiveDialog(const std::vector<archive::LoggerSummary>& loggers, Language language,
                  QWidget* parent = nullptr);

    // Ticks or unticks the logger of row `row` (as the user's click does).
    void SetTicked(int row, bool ticked);
    ArchiveChoice Choice() const;
    QTableWidget& Table() const { return *table_; }
    QPushButton& ShowButton() const { return *show_; }
    QPushButton& OpenAsDataButton() const { return *openAsData_; }

private:
    void Update();

    std::vector<archive::LoggerSummary> loggers_;
    QTableWidget* table_ = nullptr;
    QDateTimeEdit* from_ = nullptr;
    QDateTimeEdit* to_ = nullptr;
    QPushButton* show_ = nullptr;
    QPushButton* openAsData_ = nullptr;
    ArchiveChoice::Action action_ = ArchiveChoice::Action::Chart;
};

} // namespace velkor
