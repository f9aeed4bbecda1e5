#pragma once
// "Analiza i alarmy..." ("Analysis and alarms..."): the profile, limits, alarm rules, ΔH,
// period and unit; the statistics with the MKT, the excursions (selecting one zooms the
// chart to it) and the alarm verdicts. The numbers come from the data file through the
// reader (every data line), never from the chart's points. The dialog is modeless: with the
// visible range as the period it follows zooms and pans, checked on a timer, never while the
// chart paints. It also owns what the analysis puts on the chart: the limit lines and shaded
// excursions, the dew-point series and the °F display.
//
// While the chart shows archived loggers instead of the data file's lines, the dialog analyses
// one of them, chosen in its "Rejestrator:" list, with its samples read from the archive over
// the period shown; the dew-point series then stays as the window left it.

#include "analysis/FileSamples.h"
#include "app/AnalysisSettings.h"
#include "app/AnalysisTexts.h"
#include "messages/Language.h"

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace velkor::chart {
class ChartOverlay;
class ChartWidget;
} // namespace velkor::chart

namespace velkor {

class AnalysisLayer;
struct ShownArchive;

class AnalysisDialog final : public QDialog {
    Q_OBJECT

public:
    // `dataFile` gives the name of the file the chart shows (empty: none); `archived` the
    // archived loggers shown instead (null, or no function: none).
    AnalysisDialog(chart::ChartWidget& widget, chart::ChartOverlay* readout, Language language,
                   std::function<std::string()> dataFile,
                   std::function<const ShownArchive*()> archived = {});
    ~AnalysisDialog() override;

    const AnalysisSettings& Settings() const { return settings_; }
    // Sets the controls (and so the analysis) as a user would.
    void SetSettings(const AnalysisSettings& settings);
    // Reads the file (or the archived logger) again if it changed, and summarises the chosen
    // period.
    void Recompute();
    // What the timer does: recomputes when the file, the archived logger shown or, for the
    // visible range, the range changed.
    void CheckForChanges();
    // The identifier of the archived logger analysed; empty while the chart shows the data
    // file's lines.
    std::string ArchivedLogger();
    // Chooses the archived logger of list row `row` (as the user's choice does).
    void ChooseLogger(int row);
    QComboBox& LoggerList() const { return *logger_; }
    // Zooms the chart to excursion `row` of the list.
    void ZoomToExcursion(int row);

    const std::optional<analysis::Summary>& Result() const { return summary_; }
    QString Message() const;
    QTableWidget& StatisticsTable() const { return *statistics_; }
    QTableWidget& ExcursionTable() const { return *excursions_; }
    QTableWidget& AlarmTable() const { return *alarms_; }
    AnalysisLayer& Layer() const { return *layer_; }

private:
    void Build();
    void ShowSettings();
    void ReadControls();
    void OnProfileChosen();
    void OnEdited();
    const ShownArchive* Shown() const { return archived_ ? archived_() : nullptr; }
    // Fills the logger list from the loggers shown, keeping the choice while it is among them.
    void ListLoggers();
    // What the analysis would read now: the file with its size and time, or the logger of
    // this showing of the archive.
    struct Stamp {
        std::string name;
        long long size = -1;
        qint64 modified = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp CurrentStamp() const;
    bool LoadSource();
    void ReadArchived(const ShownArchive& shown);
    void ShowResult();
    void UpdateChart();
    QString Text(AnalysisText text) const { return TextOf(text, language_); }
    QString Temperature(double celsius) const;
    QString Number(double value, int decimals) const;

    chart::ChartWidget& widget_;
    chart::ChartOverlay* readout_;
    Language language_;
    std::function<std::string()> dataFile_;
    std::function<const ShownArchive*()> archived_;
    AnalysisSettings settings_;
    AnalysisLayer* layer_;
    QTimer* timer_;
    bool showing_ = false;       // the controls are being set from the settings
    std::size_t loggersFor_ = 0; // the showing of the archive the logger list holds
    std::string chosenLogger_;   // kept over showings while it is among the loggers

    // The file or archived logger read last, its readings sorted by time.
    struct Source {
        Stamp stamp;
        analysis::FileSamples file;
        std::vector<std::pair<double, double>> dewPoints; // time, °C; the chart's lines
    };
    Source source_;
    QString error_;
    std::optional<analysis::Summary> summary_;
    double shownFrom_ = 0, shownTo_ = 0; // the range last summarised
    std::size_t dewPointsFor_ = 0;       // 1 + the file generation the dew series holds
    std::size_t generation_ = 0;

    QComboBox* profile_ = nullptr;
    QLabel* loggerLabel_ = nullptr;
    QComboBox* logger_ = nullptr;
    QGroupBox* limitsBox_ = nullptr;
    QDoubleSpinBox* low_ = nullptr;
    QDoubleSpinBox* high_ = nullptr;
    QGroupBox* humidityBox_ = nullptr;
    QDoubleSpinBox* humidityLow_ = nullptr;
    QDoubleSpinBox* humidityHigh_ = nullptr;
    struct RuleControls {
        QCheckBox* on;
        QComboBox* side;
        QDoubleSpinBox* threshold;
        QSpinBox* delay; // minutes
        QComboBox* mode;
    };
    std::array<RuleControls, analysis::MaxCustomRules> rules_{};
    QDoubleSpinBox* deltaH_ = nullptr;
    QRadioButton* whole_ = nullptr;
    QRadioButton* visible_ = nullptr;
    QRadioButton* celsius_ = nullptr;
    QRadioButton* fahrenheit_ = nullptr;
    QCheckBox* showOnChart_ = nullptr;
    QCheckBox* dewPoint_ = nullptr;
    QLabel* overview_ = nullptr;
    QTableWidget* statistics_ = nullptr;
    QLabel* outside_ = nullptr;
    QTableWidget* excursions_ = nullptr;
    QTableWidget* alarms_ = nullptr;
};

} // namespace velkor
