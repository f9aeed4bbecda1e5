// The operations through which the handlers read and change the controls, and the state
// changes of the window.

#include "app/MainWindow.h"
#include "app/PickerValues.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace velkor {

void MainWindow::SetControlEnabled(Control control, bool enabled) {
    Widget(control)->setEnabled(enabled);
}

void MainWindow::SetControlVisible(Control control, bool visible) {
    Widget(control)->setVisible(visible);
    FitToControls();
}

bool MainWindow::IsControlEnabled(Control control) const {
    return Widget(control)->isEnabled();
}

bool MainWindow::IsControlVisible(Control control) const {
    return !Widget(control)->isHidden();
}

void MainWindow::SetControlText(Control control, const QString& text) {
    switch (LayoutOf(control).kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
        static_cast<QAbstractButton*>(Widget(control))->setText(text);
        return;
    case ControlKind::Label:
        Label(control)->setText(text);
        FitLabel(control);
        FitToControls();
        return;
    default:
        throw std::invalid_argument(std::string(LayoutOf(control).name) + " has no text");
    }
}

QString MainWindow::ControlText(Control control) const {
    switch (LayoutOf(control).kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
        return static_cast<QAbstractButton*>(Widget(control))->text();
    case ControlKind::Label:
        return Label(control)->text();
    default:
        throw std::invalid_argument(std::string(LayoutOf(control).name) + " has no text");
    }
}

void MainWindow::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}

bool MainWindow::IsChecked(Control control) const {
    return CheckBox(control)->isChecked();
}

void MainWindow::SetPickerValue(Control picker, double dayCount) {
    QDateTimeEdit* edit = Picker(picker);
    // A value that is not a number leaves the picker as it is; a date beyond the picker's range
    // shows the nearest date it can show.
    if (LayoutOf(picker).kind == ControlKind::DatePicker) {
        if (const auto date = DateFromDayCount(dayCount, edit->minimumDate(), edit->maximumDate()))
            edit->setDate(*date);
    } else if (const auto time = TimeFromDayCount(dayCount)) {
        edit->setTime(*time);
    }
}

double MainWindow::PickerValue(Control picker) const {
    const QDateTimeEdit* edit = Picker(picker);
    if (LayoutOf(picker).kind == ControlKind::DatePicker)
        return DayCountFromDate(edit->date());
    return DayCountFromTime(edit->time());
}

void MainWindow::SetPickerFormat(Control picker, const QString& format) {
    Picker(picker)->setDisplayFormat(format);
}

QString MainWindow::PickerFormat(Control picker) const {
    return Picker(picker)->displayFormat();
}

void MainWindow::SetProgressMaximum(int maximum) {
    progressMaximum_ = std::max(maximum, 0);
    // Qt draws a range of 0 to 0 as a busy indicator; an empty range shows an empty bar here.
    Progress()->setRange(0, std::max(progressMaximum_, 1));
    SetProgressPosition(progressPosition_);
}

void MainWindow::SetProgressPosition(int position) {
    progressPosition_ = position;
    QProgressBar* bar = Progress();
    bar->setValue(std::clamp(position, 0, progressMaximum_));
    // The download takes no events while it runs; draw the bar now.
    if (bar->isVisible())
        bar->repaint();
}

void MainWindow::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void MainWindow::OnLoggerFound(bool humidity) {
    SetControlEnabled(Control::OdczytUstawien, false);
    if (!humidity) {
        SetControlEnabled(Control::CheckBox1, false);
        SetControlEnabled(Control::CheckBox2, false);
        SetSeriesActive(Series::Series2, false);
    }
}

void MainWindow::OnClockTimeRead() {
    SetControlEnabled(Control::DateTimePicker7, true);
}

void MainWindow::OnClockDateRead() {
    SetControlEnabled(Control::DateTimePicker6, true);
    SetControlEnabled(Control::Button1, true);
}

void MainWindow::OnIntervalRead() {
    SetControlEnabled(Control::DateTimePicker1, true);
}

void MainWindow::OnLoggingStartRead() {
    SetControlEnabled(Control::DateTimePicker2, true);
    SetControlEnabled(Control::DateTimePicker3, true);
}

void MainWindow::OnLoggingEndRead() {
    SetControlEnabled(Control::DateTimePicker4, true);
    SetControlEnabled(Control::DateTimePicker5, true);
}

void MainWindow::OnSettingsRead() {
    SetControlEnabled(Control::Button7, true);
    SetControlEnabled(Control::Button8, true);
    SetControlEnabled(Control::ZapisUstawien, true);
}

void MainWindow::OnDownloadStarts(int maximum) {
    SetControlVisible(Control::ProgressBar1, true);
    SetProgressMaximum(maximum);
}

void MainWindow::OnDownloadFinished() {
    SetControlVisible(Control::ProgressBar1, false);
    SetControlEnabled(Control::Button3, true);
    SetControlEnabled(Control::Button4, true);
    SetControlEnabled(Control::Button5, true);
    SetControlEnabled(Control::Button6, true);
    SetControlEnabled(Control::Button7, false);
}

void MainWindow::OnFileLoaded() {
    SetControlEnabled(Control::Button3, true);
    SetControlEnabled(Control::Button4, true);
    SetControlEnabled(Control::Button5, true);
}

void MainWindow::OnEraseConfirmed() {
    SetControlVisible(Control::ProgressBar1, true);
    SetProgressMaximum(200);
}

void MainWindow::OnEraseFinished() {
    SetControlVisible(Control::ProgressBar1, false);
}

void MainWindow::OnDeviceLost() {
    services_.link.ClosePort();
    SetControlEnabled(Control::OdczytUstawien, true);
    for (Control control :
         {Control::Button1, Control::Button7, Control::Button8, Control::ZapisUstawien,
          Control::DateTimePicker1, Control::DateTimePicker2, Control::DateTimePicker3,
          Control::DateTimePicker4, Control::DateTimePicker5, Control::DateTimePicker6,
          Control::DateTimePicker7})
        SetControlEnabled(control, false);
    SetControlText(Control::Label9, TextOf(TextTarget::Label9, language_));
}

} // namespace velkor
