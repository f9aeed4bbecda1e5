// Connect (find the logger and read its settings), Save settings and Set clock. The exchanges
// with the logger are link/'s; these handlers put the results into the controls in the order
// in which the controls become usable.

#include "app/MainWindow.h"
#include "link/Session.h"
#include "link/WriteSettings.h"
#include "platform/DateTime.h"
#include "platform/Dialogs.h"

#include <QString>

#include <optional>
#include <string>

namespace velkor {

namespace {

const QString TimeFormat = QStringLiteral("HH:mm:ss");
const QString DateFormat = QStringLiteral("yyyy-MM-dd");

// The logger's reply exactly as it came, line end included; its bytes are taken one for one.
QString ReplyShown(const std::string& reply) {
    return QString::fromLatin1(reply.data(), static_cast<qsizetype>(reply.size()));
}

// Each query is followed by its pickers and the controls it makes usable, so that a query
// that fails to convert leaves enabled exactly what was read before it.
SessionResult ReadSettings(MainWindow& window, LoggerSession& session) {
    for (Control picker : {Control::DateTimePicker1, Control::DateTimePicker3,
                           Control::DateTimePicker5, Control::DateTimePicker7})
        window.SetPickerFormat(picker, TimeFormat);
    for (Control picker :
         {Control::DateTimePicker2, Control::DateTimePicker4, Control::DateTimePicker6})
        window.SetPickerFormat(picker, DateFormat);

    return session.ReadSettings([&window](SettingsStep step, const SettingsShown& shown) {
        switch (step) {
        case SettingsStep::ClockTime:
            window.SetPickerValue(Control::DateTimePicker7, shown.clockTime);
            window.OnClockTimeRead();
            break;
        case SettingsStep::ClockDate:
            window.SetPickerValue(Control::DateTimePicker6, shown.clockDate);
            window.OnClockDateRead();
            break;
        case SettingsStep::Interval:
            window.SetPickerValue(Control::DateTimePicker1, shown.interval);
            window.OnIntervalRead();
            break;
        case SettingsStep::LoggingStart:
            window.SetPickerValue(Control::DateTimePicker2, shown.start.date);
            window.SetPickerValue(Control::DateTimePicker3, shown.start.time);
            window.OnLoggingStartRead();
            break;
        case SettingsStep::LoggingEnd:
            window.SetPickerValue(Control::DateTimePicker4, shown.end);
            window.SetPickerValue(Control::DateTimePicker5, shown.end);
            window.OnLoggingEndRead();
            break;
        case SettingsStep::Battery:
            window.SetControlText(Control::Label1, window.Text(RunText::BatteryPrefix) +
                                                       QString::number(shown.batteryMillivolts) +
                                                       QStringLiteral("mV"));
            break;
        }
    });
}

} // namespace

void MainWindow::OdczytUstawienClick() {
    LoggerSession session(services_.link, services_.pause, services_.settings);
    const SessionResult found = session.Find();
    if (found.outcome != SessionOutcome::Found) {
        // A port another program holds is named, so the user knows where the logger may be.
        QString text = Text(RunText::NotFoundText);
        for (const std::string& port : found.busyPorts)
            text += u'\n' + Text(Message::PortBusy, {QString::fromStdString(port)});
        dialogs_.message(text, Text(RunText::NotFoundCaption));
        SetControlText(Control::Label9, Text(RunText::NotFoundStatus));
        return;
    }
    const QString shown = ReplyShown(found.reply);
    dialogs_.message(shown, Text(RunText::FoundCaption));
    SetControlText(Control::Label9, Text(RunText::FoundStatus));
    SetControlText(Control::Label7, Text(RunText::IdentifierPrefix) + shown);
    OnLoggerFound(found.humidity);

    const SessionResult read = ReadSettings(*this, session);
    switch (read.outcome) {
    case SessionOutcome::Found:
        OnSettingsRead();
        break;
    case SessionOutcome::Lost:
        OnDeviceLost();
        guard_.Report(Text(Message::DeviceLost, {QString::fromStdString(read.port),
                                                 QString::fromLocal8Bit(read.error.c_str())}));
        break;
    default:
        // A reply too short for its fields ends the click with the conversion error's text;
        // the controls enabled so far stay enabled and the port stays open.
        guard_.Report(QString::fromUtf8(read.error.c_str()));
        break;
    }
}

void MainWindow::ZapisUstawienClick() {
    SavedSettings saved;
    try {
        saved = SaveSettings(
            services_.link, services_.pause, services_.settings,
            PickerValue(Control::DateTimePicker1), PickerValue(Control::DateTimePicker2),
            PickerValue(Control::DateTimePicker3), PickerValue(Control::DateTimePicker4),
            PickerValue(Control::DateTimePicker5));
    } catch (const SettingsError& error) {
        // Nothing was sent: the pickers are the user's to correct.
        const Message text =
            error.Problem() == SettingsProblem::ZeroInterval ? Message::ZeroInterval
            : error.Problem() == SettingsProblem::EndTooSoon ? Message::EndTooSoon
                                                             : Message::EndBeforeStart;
        dialogs_.message(Text(text), Text(RunText::NotFoundCaption));
        return;
    }
    // The logger stores only so many samples: the user learns when logging will really end.
    if (saved.capped)
        dialogs_.message(
            Text(Message::SampleCountCapped,
                 {QString::number(MaxSampleCount),
                  QString::fromStdString(FormatDateTime("yyyy-mm-dd hh:nn:ss", saved.cappedEnd))}),
            Text(RunText::NotFoundCaption));
}

void MainWindow::Button1Click() {
    SetClock(services_.link, services_.pause, services_.settings,
             PickerValue(Control::DateTimePicker7), PickerValue(Control::DateTimePicker6));
}

} // namespace velkor
