#pragma once
// The program's only window, Form1. It builds every control from the control table, carries the
// texts of one language, and offers the operations through which the click handlers read and
// change the controls. Only the state operations (On...) change which controls are enabled or
// visible.
//
// Its automatic size is the bounding rectangle of the visible controls at their places in the
// table; a window at that size follows it as controls show, hide or resize. The user may enlarge
// the window: the chart then grows, the controls right of and below it keep their distance to
// the right and bottom edges, the progress bar stretches with the width, and the window keeps its
// size (never less than the automatic one) when the automatic size changes.

#include "app/ControlTable.h"
#include "app/ErrorReport.h"
#include "app/Services.h"
#include "app/Texts.h"
#include "messages/Language.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QFont;
class QDateTimeEdit;
class QLabel;
class QPrinter;
class QProgressBar;

namespace velkor::chart {
class ChartWidget;
} // namespace velkor::chart

namespace velkor::archive {
class Archive;
} // namespace velkor::archive

namespace velkor {

class ArchiveDialog;
struct ArchiveChoice;
struct ShownArchive;
class Dialogs;
struct DownloadResult;

enum class Series { Series1, Series2 };

// The font of the window and of every control that names no other: the nearest match on this
// platform to an 8-point sans serif of 11 pixels character height at 96 pixels per inch.
QFont WindowFont();

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // The services are the program's one set; the window keeps references to them.
    MainWindow(Dialogs& dialogs, const Services& services, Language language,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    Language CurrentLanguage() const { return language_; }
    bool English() const { return language_ == Language::English; }
    // A run-time text in the window's language.
    QString Text(RunText text) const { return TextOf(text, language_); }
    QString Text(Message message, std::initializer_list<QString> args = {}) const {
        return TextOf(message, language_, args);
    }
    Dialogs& Dialog() { return dialogs_; }
    // The serial channel, the logger's settings, the pause and the data file state.
    const Services& Service() const { return services_; }

    // --- Generic operations on the controls -------------------------------------------------
    void SetControlEnabled(Control control, bool enabled);
    void SetControlVisible(Control control, bool visible);
    bool IsControlEnabled(Control control) const;
    // Whether the control is shown within the window (true before the window is first shown).
    bool IsControlVisible(Control control) const;
    // Text of a button, check box or label (a label resizes to it, the window follows).
    void SetControlText(Control control, const QString& text);
    QString ControlText(Control control) const;
    void SetCaption(const QString& caption);
    bool IsChecked(Control control) const;

    // Pickers: a date picker holds the date of a day count, a time picker its time of day.
    void SetPickerValue(Control picker, double dayCount);
    double PickerValue(Control picker) const;
    // The display format in the pickers' pattern language ("HH:mm:ss", "yyyy-MM-dd").
    void SetPickerFormat(Control picker, const QString& format);
    QString PickerFormat(Control picker) const;

    // The progress bar's minimum stays 0. The position is drawn at once; a position above the
    // maximum shows a full bar.
    void SetProgressMaximum(int maximum);
    void SetProgressPosition(int position);
    int ProgressMaximum() const { return progressMaximum_; }
    int ProgressPosition() const { return progressPosition_; }

    // Lets the window handle the events that are waiting, then returns.
    void ProcessPendingEvents();

    // --- The chart (ChartHandlers.cpp) ------------------------------------------------------
    chart::ChartWidget& Chart1() const;
    // The title's one line.
    QString ChartTitle() const;
    void SetChartTitle(const QString& title);
    QString SeriesTitle(Series series) const;
    void SetSeriesTitle(Series series, const QString& title);
    bool SeriesActive(Series series) const;
    // The points stay; an inactive series is neither drawn nor listed in the legend.
    void SetSeriesActive(Series series, bool active);
    // Removes all points of the series.
    void EmptySeries(Series series);
    // Adds a point in time order with an empty label; the colour 0x20000000 draws it in the
    // series colour. Returns its index. Only marks the chart for redrawing.
    int AddPoint(Series series, double x, double y, std::uint32_t color);
    // The time axis takes its range from the data again, ending a zoom or scroll of it.
    void SetBottomAxisAutomatic();

    // --- State changes ------------------------------------------------------------------
    // Connect found the logger: Connect disabled; without a humidity channel both check boxes
    // are disabled (they stay ticked) and Series2 becomes inactive.
    void OnLoggerFound(bool humidity);
    // As the settings are read, in this order.
    void OnClockTimeRead();    // DateTimePicker7
    void OnClockDateRead();    // DateTimePicker6, Button1
    void OnIntervalRead();     // DateTimePicker1
    void OnLoggingStartRead(); // DateTimePicker2, DateTimePicker3
    void OnLoggingEndRead();   // DateTimePicker4, DateTimePicker5
    void OnSettingsRead();     // Button7, Button8, ZapisUstawien
    // Progress bar shown with this maximum (the sample count divided by 25).
    void OnDownloadStarts(int maximum);
    // Progress bar hidden; Button3, Button4, Button5 (stays hidden), Button6 enabled; Button7
    // disabled.
    void OnDownloadFinished();
    // Button3, Button4, Button5 (stays hidden) enabled.
    void OnFileLoaded();
    // Progress bar shown with maximum 200.
    void OnEraseConfirmed();
    // Progress bar hidden (also when the erase was declined).
    void OnEraseFinished();
    // The logger's port went away: the port is closed and the window is back to its
    // not-connected state (Connect enabled; Set clock, Read data, Erase, Save settings and the
    // pickers disabled; Label9 as at start). The chart and the other buttons stay as they are.
    void OnDeviceLost();

    // --- Operations that let the window take events (the download, the erase wait) ----------
    // While a ControlLock holds the window, Esc and the close button only ask the running
    // operation to stop; a close asked for meanwhile is carried out when the handler has ended.
    void SetBusy(bool busy);
    bool Busy() const { return busy_; }
    // Esc or the close button since the operation began.
    bool StopRequested() const { return stopRequested_; }
    bool CloseRequested() const { return closeRequested_; }

    // --- Handlers -----------------------------------------------------------------------
    // Runs a handler inside the application's error report. A lost device brings the window
    // back to its not-connected state before the report; a close asked for while the handler
    // ran closes the window when it has ended.
    void RunGuarded(const std::function<void()>& handler) noexcept;
    const HandlerGuard& Guard() const { return guard_; }

    // Loads a data file as Odczytaj z pliku does once its dialog has given the name: a file
    // dropped on the window. Runs inside RunGuarded like the handlers.
    void LoadFile(const QString& fileName);

    // Bound to the clicks of their controls, each inside RunGuarded. Button5 has none.
    void OdczytUstawienClick();
    void ZapisUstawienClick();
    void Button1Click();
    void Button7Click();
    void Button6Click();
    void Button3Click();
    void Button8Click();
    void Button4Click();
    void CheckBox1Click();
    void CheckBox2Click();

    // The widget of a control (object name = component name).
    QWidget* Widget(Control control) const { return controls_[Index(control)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static int Index(Control control) { return static_cast<int>(control); }
    void CreateControls();
    void ApplyText(TextTarget target, const QString& text);
    void ApplyProgramStart();
    void ConnectHandlers();
    // Ctrl+O, Ctrl+S, Ctrl+P for the buttons, Ctrl+Q to close, Shift+F10 and the menu key for
    // the chart's menu.
    void CreateShortcuts();
    void FitLabel(Control label);
    void FitAllLabels();
    // The bounding rectangle of the visible controls at their places in the table, from the
    // top-left corner.
    QSize AutomaticSize() const;
    // The window follows the automatic size, unless enlarged; then the controls are placed.
    void FitToControls();
    // Every control placed for the window's present size.
    void PlaceControls();
    QDateTimeEdit* Picker(Control control) const;
    QLabel* Label(Control control) const;
    QCheckBox* CheckBox(Control control) const;
    QProgressBar* Progress() const;
    // The controls and the box after a download that returned (LogHandlers.cpp); `archived`
    // is the archive's line (empty without an archive), `archiveFailed` whether it says that
    // the archive could not be written.
    void ShowDownloadEnd(const DownloadResult& result, const QString& archived, bool archiveFailed);
    // The archive (ArchiveHandlers.cpp), each doing nothing without one. Stores the download
    // whose data file is written; returns the line for the end message.
    QString ArchiveDownload(const DownloadResult& result, bool complete, bool& failed);
    // What the logger holds by its settings and clock that the archive lacks.
    std::int64_t SamplesOutsideArchive();
    // Records the erase; returns why it could not be recorded, or nothing.
    QString RecordErase(bool confirmed);

public:
    // --- The archive on the chart (ArchiveHandlers.cpp) --------------------------------------
    // The chart menu's "Archiwum...": the dialog, then the ticked loggers on the chart, each as
    // its own temperature and humidity line, or one logger's period opened as data.
    void ArchiveClick();
    // Runs the dialog; exec() unless a test scripts it. True: the user chose an action.
    std::function<bool(ArchiveDialog&)> runArchiveDialog;
    // Whether the chart shows archived loggers instead of Series1 and Series2.
    bool ArchiveView() const { return shownArchive_ != nullptr; }
    // Back to the specified chart: the archived loggers' lines emptied and hidden, Series1 and
    // Series2 shown as they were. Done first by Read data and Read from file.
    void LeaveArchiveView();

private:
    void ShowArchiveChart(archive::Archive& archive, const ArchiveChoice& choice);
    // LeaveArchiveView without telling the chart menu, for a new showing.
    void RestoreDataFileLines();
    void OpenArchiveAsData(archive::Archive& archive, const ArchiveChoice& choice);
    std::unique_ptr<ShownArchive> shownArchive_; // null: the data file's lines are shown
    std::size_t archiveShowings_ = 0;
    std::array<bool, 2> activeBeforeArchive_{};
    bool dewPointBeforeArchive_ = false;
    bool dewPointActiveBeforeArchive_ = false;

    Dialogs& dialogs_;
    Services services_;
    Language language_;
    HandlerGuard guard_;
    std::array<QWidget*, ControlCount> controls_{};
    // Kept for the run, so that the print dialog shows the choices made the last time.
    std::unique_ptr<QPrinter> printer_;
    // The names chosen last in the open and the save dialog.
    QString openFileName_;
    QString saveFileName_ = QStringLiteral("logger.txt");
    int progressMaximum_ = 600;
    int progressPosition_ = 0;
    bool built_ = false;
    bool placed_ = false;
    // The user made the window larger than its automatic size.
    bool enlarged_ = false;
    // Set while FitToControls moves and resizes, whose events must not start it again.
    bool fitting_ = false;
    bool busy_ = false;
    bool stopRequested_ = false;
    bool closeRequested_ = false;
};

} // namespace velkor
