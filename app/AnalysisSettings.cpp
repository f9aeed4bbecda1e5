#include "app/AnalysisSettings.h"

#include "platform/Dialogs.h"

#include <QSettings>

#include <cmath>

namespace velkor {

namespace {

const QString Group = QStringLiteral("analysis/");

QString Key(const char* name) {
    return Group + QLatin1String(name);
}

} // namespace

AnalysisSettings LoadAnalysisSettings() {
    AnalysisSettings s;
    const std::unique_ptr<QSettings> file = ProgramSettings();
    const QString profile = file->value(Key("profile"), s.profile).toString();
    if (analysis::ProfileByName(profile.toStdString()))
        s.profile = profile;
    auto number = [&](const char* name, double fallback) {
        bool ok = false;
        const double v = file->value(Key(name), fallback).toDouble(&ok);
        return ok && std::isfinite(v) ? v : fallback;
    };
    auto flag = [&](const char* name, bool fallback) {
        return file->value(Key(name), fallback).toBool();
    };
    s.limitsOn = flag("limits", s.limitsOn);
    s.limits = {number("low", s.limits.low), number("high", s.limits.high)};
    s.humidityOn = flag("humidityLimits", s.humidityOn);
    s.humidity = {number("humidityLow", s.humidity.low), number("humidityHigh", s.humidity.high)};
    for (std::size_t i = 0; i < s.rules.size(); ++i) {
        // Written by hand without quotes, the INI format reads a rule as a list at its commas.
        const QVariant value = file->value(Group + QStringLiteral("rule%1").arg(i + 1));
        const QString text = value.typeId() == QMetaType::QStringList
                                 ? value.toStringList().join(u',')
                                 : value.toString();
        // "off:" before a rule that is kept but not used.
        const bool on = !text.startsWith(QStringLiteral("off:"));
        const auto rule = analysis::ParseAlarmRule((on ? text : text.mid(4)).toStdString());
        if (rule)
            s.rules[i] = {on, *rule};
    }
    const double deltaH = number("deltaH", s.deltaH);
    s.deltaH = deltaH > 0 ? deltaH : analysis::DefaultDeltaH;
    s.visibleOnly = flag("visibleOnly", s.visibleOnly);
    s.fahrenheit = flag("fahrenheit", s.fahrenheit);
    s.showOnChart = flag("showOnChart", s.showOnChart);
    s.dewPoint = flag("dewPoint", s.dewPoint);
    return s;
}

void SaveAnalysisSettings(const AnalysisSettings& s) {
    const std::unique_ptr<QSettings> file = ProgramSettings();
    file->setValue(Key("profile"), s.profile);
    file->setValue(Key("limits"), s.limitsOn);
    file->setValue(Key("low"), s.limits.low);
    file->setValue(Key("high"), s.limits.high);
    file->setValue(Key("humidityLimits"), s.humidityOn);
    file->setValue(Key("humidityLow"), s.humidity.low);
    file->setValue(Key("humidityHigh"), s.humidity.high);
    for (std::size_t i = 0; i < s.rules.size(); ++i)
        file->setValue(Group + QStringLiteral("rule%1").arg(i + 1),
                       (s.rules[i].on ? QString() : QStringLiteral("off:")) +
                           QString::fromStdString(analysis::AlarmRuleText(s.rules[i].rule)));
    file->setValue(Key("deltaH"), s.deltaH);
    file->setValue(Key("visibleOnly"), s.visibleOnly);
    file->setValue(Key("fahrenheit"), s.fahrenheit);
    file->setValue(Key("showOnChart"), s.showOnChart);
    file->setValue(Key("dewPoint"), s.dewPoint);
}

void ApplyProfile(AnalysisSettings& settings, const QString& name) {
    const auto profile = analysis::ProfileByName(name.toStdString());
    const QString custom =
        QString::fromLatin1(analysis::CustomProfileName.data(), analysis::CustomProfileName.size());
    settings.profile = profile ? name : custom;
    if (!profile || name == custom)
        return;
    settings.limitsOn = profile->limits.has_value();
    if (profile->limits)
        settings.limits = *profile->limits;
    for (std::size_t i = 0; i < settings.rules.size(); ++i) {
        settings.rules[i].on = i < profile->rules.size();
        if (i < profile->rules.size())
            settings.rules[i].rule = profile->rules[i];
    }
}

analysis::Options OptionsOf(const AnalysisSettings& settings) {
    analysis::Options options;
    if (settings.limitsOn)
        options.profile.limits = settings.limits;
    if (settings.humidityOn)
        options.profile.humidityLimits = settings.humidity;
    for (const AnalysisRuleRow& row : settings.rules)
        if (row.on)
            options.profile.rules.push_back(row.rule);
    options.deltaH = settings.deltaH;
    return options;
}

} // namespace velkor
