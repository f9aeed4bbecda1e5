// Connect (find the logger and read its settings), Save settings and Set clock. The exchanges
// with the logger are link/'s; these handlers put the results into the controls in the order
// in which the controls become usable.

#include "app/MainWindow.h"
#include "link/Commands.h"
#include "link/Connect.h"
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
void ReadSettings(MainWindow& window) {
    SerialLink& link = window.Service().link;
    Pause& pause = window.Service().pause;
    LoggerSettings& settings = window.Service().settings;

    for (Control picker : {Control::DateTimePicker1, Control::DateTimePicker3,
                           Control::DateTimePicker5, Control::DateTimePicker7})
        window.SetPickerFormat(picker, TimeFormat);
    for (Control picker :
         {Control::DateTimePicker2, Control::DateTimePicker4, Control::DateTimePicker6})
        window.SetPickerFormat(picker, DateFormat);
    UseLoggerDateTimeFormats();

    window.SetPickerValue(Control::DateTimePicker7, ReadClockTime(link, pause, settings));
    window.OnClockTimeRead();

    window.SetPickerValue(Control::DateTimePicker6, ReadClockDate(link, pause, settings));
    window.OnClockDateRead();

    window.SetPickerValue(Control::DateTimePicker1, ReadInterval(link, pause, settings));
    window.OnIntervalRead();

    const StartShown start = ReadLoggingStart(link, pause, settings);
    window.SetPickerValue(Control::DateTimePicker2, start.date);
    window.SetPickerValue(Control::DateTimePicker3, start.time);
    window.OnLoggingStartRead();

    const double end = ReadSampleCountAndEnd(link, pause, settings);
    window.SetPickerValue(Control::DateTimePicker4, end);
    window.SetPickerValue(Control::DateTimePicker5, end);
    window.OnLoggingEndRead();

    const std::int32_t millivolts = ReadBattery(link, pause, settings);
    window.SetControlText(Control::Label1, window.Text(RunText::BatteryPrefix) +
                                               QString::number(millivolts) + QStringLiteral("mV"));

    window.OnSettingsRead();
}

} // namespace

void MainWindow::OdczytUstawienClick() {
    SerialLink& link = services_.link;
    const ScanResult scan = ScanForLogger(link, services_.pause);
    const std::optional<std::string>& reply = scan.reply;
    if (reply) {
        const QString shown = ReplyShown(*reply);
        dialogs_.message(shown, Text(RunText::FoundCaption));
        SetControlText(Control::Label9, Text(RunText::FoundStatus));
        SetControlText(Control::Label7, Text(RunText::IdentifierPrefix) + shown);
        services_.settings.Identifier = IdentifierOf(*reply);
        OnLoggerFound(cmd::HasHumidity(services_.settings.Identifier));
        ReadSettings(*this);
    } else {
        // A port another program holds is named, so the user knows where the logger may be.
        QString text = Text(RunText::NotFoundText);
        for (const std::string& port : scan.busyPorts)
            text += u'\n' + Text(Message::PortBusy, {QString::fromStdString(port)});
        dialogs_.message(text, Text(RunText::NotFoundCaption));
        SetControlText(Control::Label9, Text(RunText::NotFoundStatus));
    }
    // Not reached when a query failed to convert: that error ends the click.
    link.ClearBuffers();
}

void MainWindow::ZapisUstawienClick() {
    try {
        SaveSettings(services_.link, services_.pause, services_.settings,
                     PickerValue(Control::DateTimePicker1), PickerValue(Control::DateTimePicker2),
                     PickerValue(Control::DateTimePicker3), PickerValue(Control::DateTimePicker4),
                     PickerValue(Control::DateTimePicker5));
    } catch (const SettingsError& error) {
        // Nothing was sent: the pickers are the user's to correct.
        dialogs_.message(Text(error.Problem() == SettingsProblem::ZeroInterval
                                  ? Message::ZeroInterval
                                  : Message::EndBeforeStart),
                         Text(RunText::NotFoundCaption));
    }
}

void MainWindow::Button1Click() {
    SetClock(services_.link, services_.pause, services_.settings,
             PickerValue(Control::DateTimePicker7), PickerValue(Control::DateTimePicker6));
}

} // namespace velkor
