#pragma once
// The chart's menu, opened by a right-button click without a drag (press and release within
// 3 pixels; a right drag still pans): copy the chart, save it as an image, export its points to
// CSV, statistics of what is shown, the analysis of the data file and its PDF report, show the
// whole chart. With the hover readout it makes the layers the window puts over Chart1; neither
// changes what the chart paints or prints.

#include "app/ChartView.h"
#include "app/Texts.h"
#include "app/report/ReportAction.h"
#include "messages/Language.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class QMenu;

namespace velkor::chart {
class Chart;
class ChartOverlay;
class ChartWidget;
} // namespace velkor::chart

namespace velkor {

class AnalysisDialog;
class Dialogs;
struct ShownArchive;

// A press and its release this close (in both directions) make a click.
constexpr int MenuClickDistance = 3;

// The statistics box's text: the visible time range, then for each visible series its title,
// number of points, minimum and maximum each with its time, and mean, over that range.
QString StatisticsText(const chart::Chart& chart, Language language);

class ChartMenu final : public QObject {
    Q_OBJECT

public:
    // In order; Archive only when the window gave the menu a way to open the archive.
    enum class Entry { Copy, SaveImage, ExportCsv, Statistics, Analysis, Report, ShowAll, Archive };
    // Runs a menu action inside the window's error report.
    using Guard = std::function<void(const std::function<void()>&)>;

    // A child of `widget`, watching its mouse. `dataFile` names the file the chart shows.
    ChartMenu(chart::ChartWidget& widget, Dialogs& dialogs, Language language, Guard guard,
              std::function<std::string()> dataFile = {}, chart::ChartOverlay* readout = nullptr,
              std::function<void()> openArchive = {});

    // What the logger told at the download the data file comes from, for the report.
    void SetLoggerFacts(std::function<std::optional<report::LoggerFacts>()> facts) {
        loggerFacts_ = std::move(facts);
    }

    // The archived loggers the chart shows, or null while it shows the data file's lines. The
    // analysis and the report then cover one of those loggers, chosen in the analysis dialog.
    void SetArchiveView(std::function<const ShownArchive*()> archiveView) {
        archiveView_ = std::move(archiveView);
    }
    // The window calls this after the chart began or stopped showing archived loggers: the
    // readout takes the lines' units, and the analysis, if made, reads what is now shown.
    void ArchiveViewChanged();

    // The menu with its entries enabled as the chart now allows (all but Copy need points).
    QMenu& Menu();
    // The action of one entry, inside the guard.
    void Run(Entry entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CopyChart();
    void SaveImage();
    void ExportCsv();
    void ShowStatistics();
    void ShowAnalysis();
    void SaveReport();
    QString Text(RunText text) const { return TextOf(text, language_); }
    const ShownArchive* ArchiveView() const { return archiveView_ ? archiveView_() : nullptr; }

    chart::ChartWidget& widget_;
    Dialogs& dialogs_;
    Language language_;
    Guard guard_;
    QMenu* menu_ = nullptr;
    QPoint pressAt_;
    bool rightPressed_ = false;
    // The folders the save dialogs were last confirmed in (empty: the dialog's own choice).
    QString imageFolder_;
    QString csvFolder_;
    QString reportFolder_;
    std::function<std::optional<report::LoggerFacts>()> loggerFacts_;
    std::function<std::string()> dataFile_;
    chart::ChartOverlay* readout_;
    AnalysisDialog* analysis_ = nullptr; // made at its first use
    std::function<void()> openArchive_;
    std::function<const ShownArchive*()> archiveView_;
};

// The hover readout and the menu over the window's Chart1; returns the menu.
ChartMenu& AttachChartLayers(chart::ChartWidget& widget, Dialogs& dialogs, Language language,
                             ChartMenu::Guard guard, std::function<std::string()> dataFile = {},
                             std::function<void()> openArchive = {});

} // namespace velkor
