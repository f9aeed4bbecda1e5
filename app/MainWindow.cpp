#include "app/MainWindow.h"

#include "app/ArchiveDialog.h"
#include "app/ChartMenu.h"
#include "app/ChartView.h"
#include "chart/ChartWidget.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTimeEdit>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace velkor {

namespace {

const QDate PickerStartDate(2000, 1, 1);

// The interval picker starts at one minute, the other time pickers at midnight.
QTime PickerStartTime(Control control) {
    return control == Control::DateTimePicker1 ? QTime(0, 1, 0) : QTime(0, 0, 0);
}

Control ControlOf(TextTarget target) {
    switch (target) {
    case TextTarget::Button1:
        return Control::Button1;
    case TextTarget::Button3:
        return Control::Button3;
    case TextTarget::Button4:
        return Control::Button4;
    case TextTarget::Button5:
        return Control::Button5;
    case TextTarget::Button6:
        return Control::Button6;
    case TextTarget::Button7:
        return Control::Button7;
    case TextTarget::Button8:
        return Control::Button8;
    case TextTarget::CheckBox1:
        return Control::CheckBox1;
    case TextTarget::CheckBox2:
        return Control::CheckBox2;
    case TextTarget::Label1:
        return Control::Label1;
    case TextTarget::Label2:
        return Control::Label2;
    case TextTarget::Label3:
        return Control::Label3;
    case TextTarget::Label4:
        return Control::Label4;
    case TextTarget::Label5:
        return Control::Label5;
    case TextTarget::Label6:
        return Control::Label6;
    case TextTarget::Label7:
        return Control::Label7;
    case TextTarget::Label8:
        return Control::Label8;
    case TextTarget::Label9:
        return Control::Label9;
    case TextTarget::OdczytUstawien:
        return Control::OdczytUstawien;
    case TextTarget::ZapisUstawien:
        return Control::ZapisUstawien;
    case TextTarget::Caption:
    case TextTarget::ChartTitle:
    case TextTarget::Series1Title:
    case TextTarget::Series2Title:
        break;
    }
    return Control::Chart1; // not reached for the targets of the window's controls
}

} // namespace

QFont WindowFont() {
    // "Liberation Sans" has the metrics of Arial; at 11 pixels its label widths come within a
    // few pixels of the layout's.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    return font;
}

MainWindow::MainWindow(Dialogs& dialogs, const Services& services, Language language,
                       QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), services_(services), language_(language),
      guard_(dialogs, RunningApplicationTitle(), language) {
    setObjectName(QStringLiteral("Form1"));
    setFont(WindowFont());
    CreateControls();
    for (const auto& entry : ControlTexts())
        ApplyText(entry.target, QString::fromUtf8(entry.polish));
    ApplyProgramStart();
    // The English texts replace the layout's before the window is first shown.
    if (language_ == Language::English)
        for (const auto& entry : ControlTexts())
            ApplyText(entry.target, QString::fromUtf8(entry.english));
    ConnectHandlers();
    CreateShortcuts();
    // A data file dropped from a file manager loads as with Odczytaj z pliku.
    setAcceptDrops(true);
    built_ = true;
    FitAllLabels();
    FitToControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls() {
    for (const ControlLayout& layout : ControlLayouts()) {
        QWidget* widget = nullptr;
        switch (layout.kind) {
        case ControlKind::Chart:
            widget = CreateChartView(this, language_);
            AttachChartLayers(
                *static_cast<chart::ChartWidget*>(widget), dialogs_, language_,
                [this](const std::function<void()>& h) { RunGuarded(h); },
                [this] { return services_.dataFile.DataFileName; },
                [this] { RunGuarded([this] { ArchiveClick(); }); })
                .SetLoggerFacts([this] {
                    return report::DownloadedLoggerFacts(services_.dataFile.DataFileName,
                                                         services_.settings);
                });
            static_cast<chart::ChartWidget*>(widget)->findChild<ChartMenu*>()->SetArchiveView(
                [this] { return shownArchive_.get(); });
            break;
        case ControlKind::Button:
            widget = new QPushButton(this);
            break;
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(this);
            box->setChecked(true);
            widget = box;
            break;
        }
        case ControlKind::DatePicker: {
            auto* picker = new QDateEdit(this);
            picker->setCalendarPopup(true);
            // The layout's value as the layout shows it, not in the locale's format.
            picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
            picker->setDate(PickerStartDate);
            widget = picker;
            break;
        }
        case ControlKind::TimePicker: {
            auto* picker = new QTimeEdit(this);
            picker->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
            picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
            picker->setTime(PickerStartTime(layout.control));
            widget = picker;
            break;
        }
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(this);
            bar->setTextVisible(false);
            bar->setFocusPolicy(Qt::NoFocus);
            widget = bar;
            break;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(this);
            // Texts written at run time come from the logger; never read them as markup.
            label->setTextFormat(Qt::PlainText);
            label->setFocusPolicy(Qt::NoFocus);
            widget = label;
            break;
        }
        }
        widget->setObjectName(QString::fromLatin1(layout.name));
        widget->setGeometry(layout.left, layout.top, layout.width, layout.height);
        widget->installEventFilter(this);
        controls_[Index(layout.control)] = widget;
    }

    QFont statusFont = WindowFont();
    statusFont.setBold(true);
    QLabel* status = Label(Control::Label9);
    status->setFont(statusFont);
    QPalette palette = status->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    status->setPalette(palette);

    // Tab order: the order of Control up to the progress bar.
    for (int i = 0; i < Index(Control::ProgressBar1); ++i)
        setTabOrder(controls_[i], controls_[i + 1]);
}

void MainWindow::ApplyText(TextTarget target, const QString& text) {
    switch (target) {
    case TextTarget::Caption:
        SetCaption(text);
        break;
    case TextTarget::ChartTitle:
        SetChartTitle(text);
        break;
    case TextTarget::Series1Title:
        SetSeriesTitle(Series::Series1, text);
        break;
    case TextTarget::Series2Title:
        SetSeriesTitle(Series::Series2, text);
        break;
    default:
        SetControlText(ControlOf(target), text);
        break;
    }
}

void MainWindow::ApplyProgramStart() {
    for (Control control :
         {Control::Button1, Control::Button3, Control::Button4, Control::Button5, Control::Button7,
          Control::Button8, Control::ZapisUstawien, Control::DateTimePicker1,
          Control::DateTimePicker2, Control::DateTimePicker3, Control::DateTimePicker4,
          Control::DateTimePicker5, Control::DateTimePicker6, Control::DateTimePicker7})
        SetControlEnabled(control, false);
    SetControlVisible(Control::Button5, false);
    SetProgressMaximum(600);
    SetProgressPosition(0);
}

void MainWindow::FitLabel(Control label) {
    QLabel* widget = Label(label);
    const QSize hint = widget->sizeHint();
    widget->resize(hint.width(), std::max(LayoutOf(label).height, hint.height()));
}

void MainWindow::FitAllLabels() {
    for (const ControlLayout& layout : ControlLayouts())
        if (layout.kind == ControlKind::Label)
            FitLabel(layout.control);
}

QSize MainWindow::AutomaticSize() const {
    int right = 0;
    int bottom = 0;
    for (const ControlLayout& layout : ControlLayouts()) {
        const QWidget* widget = Widget(layout.control);
        if (widget->isHidden())
            continue;
        // Labels are as large as their text; the rest as the table says.
        const QSize size =
            layout.kind == ControlKind::Label ? widget->size() : QSize(layout.width, layout.height);
        right = std::max(right, layout.left + size.width());
        bottom = std::max(bottom, layout.top + size.height());
    }
    return {right, bottom};
}

void MainWindow::FitToControls() {
    if (!built_ || fitting_)
        return;
    fitting_ = true;
    const QSize automatic = AutomaticSize();
    setMinimumSize(automatic);
    const QSize target = enlarged_ ? size().expandedTo(automatic) : automatic;
    if (size() != target)
        resize(target);
    PlaceControls();
    fitting_ = false;
}

void MainWindow::PlaceControls() {
    const ControlLayout& chart = LayoutOf(Control::Chart1);
    const int chartRight = chart.left + chart.width;
    const int chartBottom = chart.top + chart.height;
    const QSize automatic = AutomaticSize();
    const int dx = std::max(0, width() - automatic.width());
    const int dy = std::max(0, height() - automatic.height());
    const bool wasFitting = fitting_;
    fitting_ = true;
    for (const ControlLayout& layout : ControlLayouts()) {
        QWidget* widget = Widget(layout.control);
        const QSize size =
            layout.kind == ControlKind::Label ? widget->size() : QSize(layout.width, layout.height);
        const bool chartItself = layout.control == Control::Chart1;
        const bool stretches = chartItself || layout.control == Control::ProgressBar1;
        QRect place(layout.left, layout.top, size.width(), size.height());
        if (layout.left >= chartRight)
            place.translate(dx, 0);
        if (layout.top >= chartBottom)
            place.translate(0, dy);
        if (stretches)
            place.setWidth(size.width() + dx);
        if (chartItself)
            place.setHeight(size.height() + dy);
        if (widget->geometry() != place)
            widget->setGeometry(place);
    }
    fitting_ = wasFitting;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!built_)
        return;
    // Any size other than the automatic one is the user's (the window manager's maximise
    // included); the automatic size itself puts the window back to following it.
    if (!fitting_)
        enlarged_ = size() != AutomaticSize();
    PlaceControls();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Move:
    case QEvent::Resize:
        FitToControls();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool MainWindow::event(QEvent* event) {
    // A label whose text was set directly asks its parent for a new layout.
    if (event->type() == QEvent::LayoutRequest) {
        FitAllLabels();
        FitToControls();
    }
    return QWidget::event(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!placed_ && isWindow()) {
        placed_ = true;
        // The frame is known here on some platforms and not yet on others; centre what is known.
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() -
                 QRect(QPoint(0, 0), frameGeometry().size()).center());
    }
    QWidget::showEvent(event);
}

QDateTimeEdit* MainWindow::Picker(Control control) const {
    const ControlKind kind = LayoutOf(control).kind;
    if (kind != ControlKind::DatePicker && kind != ControlKind::TimePicker)
        throw std::invalid_argument(std::string(LayoutOf(control).name) + " is not a picker");
    return static_cast<QDateTimeEdit*>(Widget(control));
}

QLabel* MainWindow::Label(Control control) const {
    if (LayoutOf(control).kind != ControlKind::Label)
        throw std::invalid_argument(std::string(LayoutOf(control).name) + " is not a label");
    return static_cast<QLabel*>(Widget(control));
}

QCheckBox* MainWindow::CheckBox(Control control) const {
    if (LayoutOf(control).kind != ControlKind::CheckBox)
        throw std::invalid_argument(std::string(LayoutOf(control).name) + " is not a check box");
    return static_cast<QCheckBox*>(Widget(control));
}

QProgressBar* MainWindow::Progress() const {
    return static_cast<QProgressBar*>(Widget(Control::ProgressBar1));
}

} // namespace velkor
