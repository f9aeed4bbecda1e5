#include "app/ChartMenu.h"

#include "app/AnalysisDialog.h"
#include "app/ArchiveDialog.h"
#include "app/ChartCsv.h"
#include "app/ChartImage.h"
#include "app/ChartView.h"
#include "app/report/ReportText.h"
#include "chart/ChartOverlay.h"
#include "chart/ChartReadout.h"
#include "chart/ChartWidget.h"
#include "chart/SeriesStatistics.h"
#include "log/Sinks.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <array>
#include <cstdlib>

namespace velkor {

namespace {

QString EntryText(ChartMenu::Entry entry, Language language) {
    switch (entry) {
    case ChartMenu::Entry::Copy:
        return TextOf(RunText::ChartCopy, language);
    case ChartMenu::Entry::SaveImage:
        return TextOf(RunText::ChartSaveImage, language);
    case ChartMenu::Entry::ExportCsv:
        return TextOf(RunText::ChartExportCsv, language);
    case ChartMenu::Entry::Statistics:
        return TextOf(RunText::ChartStatistics, language);
    case ChartMenu::Entry::Analysis:
        return TextOf(RunText::ChartAnalysis, language);
    case ChartMenu::Entry::Report:
        return report::WordOf(report::Word::MenuEntry, language);
    case ChartMenu::Entry::Archive:
        return TextOf(RunText::ChartArchive, language);
    case ChartMenu::Entry::ShowAll:
        break;
    }
    return TextOf(RunText::ChartShowAll, language);
}

constexpr int EntryCount = static_cast<int>(ChartMenu::Entry::ShowAll) + 1;

bool HasPoints(const chart::Chart& chart) {
    for (std::size_t i = 0; i < chart.SeriesCount(); ++i)
        if (chart.Series(i).Count() > 0)
            return true;
    return false;
}

QString Value(const chart::Chart& chart, double v, const char* pattern, std::size_t series) {
    QString text = chart::FormatNumber(v, QLatin1String(pattern), chart.Separators());
    const QString unit = SeriesUnit(chart, series);
    return unit.isEmpty() ? text : text + u' ' + unit;
}

// The dialog proposes `name` in `folder` (the dialog's own folder while none was chosen).
QString Proposed(const QString& folder, const QString& name) {
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

} // namespace

QString StatisticsText(const chart::Chart& chart, Language language) {
    const chart::ChartAxis& time = chart.BottomAxis();
    QStringList lines{TextOf(RunText::StatisticsRange, language) +
                      chart::ReadoutTimeText(time.Minimum()) + QStringLiteral(" – ") +
                      chart::ReadoutTimeText(time.Maximum())};
    for (std::size_t i = 0; i < chart.SeriesCount(); ++i) {
        const chart::LineSeries& s = chart.Series(i);
        if (!s.Active())
            continue;
        const chart::ChartAxis& axis = chart::TimeAxisOf(chart, s);
        const chart::SeriesStatistics st = chart::StatisticsInRange(
            s.XValues().Values(), s.YValues().Values(), axis.Minimum(), axis.Maximum());
        lines << QString() << (s.Title().isEmpty() ? s.Name() : s.Title());
        lines << TextOf(RunText::StatisticsCount, language) + QStringLiteral(": ") +
                     QString::number(st.count);
        if (st.count == 0)
            continue;
        lines << TextOf(RunText::StatisticsMinimum, language) + QStringLiteral(": ") +
                     Value(chart, st.minimum, "0.0", i) + QStringLiteral(" (") +
                     chart::ReadoutTimeText(st.minimumTime) + u')';
        lines << TextOf(RunText::StatisticsMaximum, language) + QStringLiteral(": ") +
                     Value(chart, st.maximum, "0.0", i) + QStringLiteral(" (") +
                     chart::ReadoutTimeText(st.maximumTime) + u')';
        lines << TextOf(RunText::StatisticsMean, language) + QStringLiteral(": ") +
                     Value(chart, st.mean, "0.00", i);
    }
    return lines.join(u'\n');
}

ChartMenu::ChartMenu(chart::ChartWidget& widget, Dialogs& dialogs, Language language, Guard guard,
                     std::function<std::string()> dataFile, chart::ChartOverlay* readout,
                     std::function<void()> openArchive)
    : QObject(&widget), widget_(widget), dialogs_(dialogs), language_(language),
      guard_(std::move(guard)), dataFile_(std::move(dataFile)), readout_(readout),
      openArchive_(std::move(openArchive)) {
    widget_.installEventFilter(this);
}

QMenu& ChartMenu::Menu() {
    if (!menu_) {
        menu_ = new QMenu(&widget_);
        menu_->setObjectName(QStringLiteral("ChartMenu"));
        for (int k = 0; k < EntryCount; ++k) {
            const Entry entry = static_cast<Entry>(k);
            menu_->addAction(EntryText(entry, language_), this, [this, entry] { Run(entry); });
        }
        if (openArchive_)
            menu_->addAction(Text(RunText::ChartArchive), this, [this] { Run(Entry::Archive); });
    }
    const bool points = HasPoints(widget_.Chart());
    const QList<QAction*> actions = menu_->actions();
    // Archiwum... needs no points.
    for (qsizetype k = 1; k < actions.size() && k < EntryCount; ++k)
        actions[k]->setEnabled(points);
    const qsizetype report = static_cast<qsizetype>(Entry::Report);
    actions[report]->setEnabled(points && (ArchiveView() || (dataFile_ && !dataFile_().empty())));
    return *menu_;
}

void ChartMenu::Run(Entry entry) {
    guard_([this, entry] {
        switch (entry) {
        case Entry::Copy:
            CopyChart();
            break;
        case Entry::SaveImage:
            SaveImage();
            break;
        case Entry::ExportCsv:
            ExportCsv();
            break;
        case Entry::Statistics:
            ShowStatistics();
            break;
        case Entry::Analysis:
            ShowAnalysis();
            break;
        case Entry::Report:
            SaveReport();
            break;
        case Entry::ShowAll:
            widget_.ZoomScroll().ResetZoom(widget_);
            break;
        case Entry::Archive:
            if (openArchive_)
                openArchive_();
            break;
        }
    });
}

void ChartMenu::CopyChart() {
    QApplication::clipboard()->setImage(ChartImage(widget_));
    widget_.update();
}

void ChartMenu::SaveImage() {
    int filter = 0;
    FileDialogOptions options;
    options.presetName = Proposed(imageFolder_, Text(RunText::ChartImageName));
    options.filter = Text(RunText::ChartImageFilter);
    options.chosenFilter = &filter;
    QString fileName;
    if (!dialogs_.saveFile(options, fileName))
        return;
    imageFolder_ = QFileInfo(fileName).absolutePath();
    const ImageFormat format = FormatOfName(fileName, static_cast<ImageFormat>(filter));
    SaveChartImage(widget_, WithSuffix(fileName, format), format, Text(RunText::ChartSaveFailed));
}

void ChartMenu::ExportCsv() {
    FileDialogOptions options;
    options.presetName = Proposed(csvFolder_, Text(RunText::ChartCsvName));
    options.filter = Text(RunText::ChartCsvFilter);
    QString fileName;
    if (!dialogs_.saveFile(options, fileName))
        return;
    csvFolder_ = QFileInfo(fileName).absolutePath();
    ExportChartCsv(widget_.Chart(), CsvDialectOf(language_), fileName,
                   Text(RunText::ChartSaveFailed));
}

void ChartMenu::SaveReport() {
    // The analysis dialog's settings and period, as it shows them or last saved them.
    const AnalysisSettings settings = analysis_ ? analysis_->Settings() : LoadAnalysisSettings();
    analysis::Options options = OptionsOf(settings);
    if (settings.visibleOnly) {
        const chart::ChartAxis& time = widget_.Chart().BottomAxis();
        options.from = time.Minimum();
        options.to = time.Maximum();
    }
    if (const ShownArchive* shown = ArchiveView()) {
        // The logger the analysis dialog shows; the first one before the dialog was opened.
        std::string logger = analysis_ ? analysis_->ArchivedLogger() : std::string();
        if (logger.empty() && !shown->loggers.empty())
            logger = shown->loggers.front().id;
        report::SaveArchiveReport(dialogs_, language_, *shown, logger, options, reportFolder_);
        return;
    }
    const std::string file = dataFile_ ? dataFile_() : std::string();
    if (file.empty())
        return;
    report::SaveReport(dialogs_, language_, file, options,
                       loggerFacts_ ? loggerFacts_() : std::nullopt, reportFolder_);
}

void ChartMenu::ShowStatistics() {
    dialogs_.message(StatisticsText(widget_.Chart(), language_), Text(RunText::StatisticsCaption));
}

void ChartMenu::ArchiveViewChanged() {
    if (readout_)
        SetReadoutUnits(*readout_, widget_.Chart());
    if (analysis_)
        analysis_->CheckForChanges();
}

void ChartMenu::ShowAnalysis() {
    if (!analysis_)
        analysis_ = new AnalysisDialog(
            widget_, readout_, language_, dataFile_ ? dataFile_ : [] { return std::string(); },
            archiveView_);
    analysis_->Recompute();
    analysis_->show();
    analysis_->raise();
    analysis_->activateWindow();
}

bool ChartMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &widget_)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        const auto& e = static_cast<QMouseEvent&>(*event);
        rightPressed_ = e.button() == Qt::RightButton;
        pressAt_ = e.position().toPoint();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto& e = static_cast<QMouseEvent&>(*event);
        const QPoint at = e.position().toPoint();
        if (rightPressed_ && e.button() == Qt::RightButton &&
            std::abs(at.x() - pressAt_.x()) <= MenuClickDistance &&
            std::abs(at.y() - pressAt_.y()) <= MenuClickDistance)
            // Shown after the release has reached the panning, which then ends.
            Menu().popup(widget_.mapToGlobal(at));
        rightPressed_ = false;
    }
    return false;
}

ChartMenu& AttachChartLayers(chart::ChartWidget& widget, Dialogs& dialogs, Language language,
                             ChartMenu::Guard guard, std::function<std::string()> dataFile,
                             std::function<void()> openArchive) {
    auto* readout = new chart::ChartOverlay(widget);
    SetReadoutUnits(*readout, widget.Chart());
    return *new ChartMenu(widget, dialogs, language, std::move(guard), std::move(dataFile), readout,
                          std::move(openArchive));
}

} // namespace velkor
