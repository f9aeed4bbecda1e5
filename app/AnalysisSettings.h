#pragma once
// What the analysis dialog is set to, kept in velkor.conf (group "analysis").

#include "analysis/Summary.h"

#include <QString>
#include <array>

namespace velkor {

struct AnalysisRuleRow {
    bool on = false;
    analysis::AlarmRule rule;
};

struct AnalysisSettings {
    QString profile = QStringLiteral("2-8"); // a preset's name or "custom"
    bool limitsOn = true;
    analysis::Range limits{2, 8}; // °C
    bool humidityOn = false;
    analysis::Range humidity{30, 70}; // %
    std::array<AnalysisRuleRow, analysis::MaxCustomRules> rules{};
    double deltaH = analysis::DefaultDeltaH;
    bool visibleOnly = false;
    bool fahrenheit = false;
    bool showOnChart = false;
    bool dewPoint = false;
};

AnalysisSettings LoadAnalysisSettings();
void SaveAnalysisSettings(const AnalysisSettings& settings);

// Sets the limits and rules of a preset; nothing changes for "custom" or an unknown name.
void ApplyProfile(AnalysisSettings& settings, const QString& name);

// The summary's options for these settings (the whole period).
analysis::Options OptionsOf(const AnalysisSettings& settings);

} // namespace velkor
