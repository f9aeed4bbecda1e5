#include "app/AnalysisDialog.h"

#include "app/AnalysisLayer.h"
#include "app/ArchiveDialog.h"
#include "app/ChartView.h"
#include "chart/ChartOverlay.h"
#include "chart/ChartReadout.h"
#include "chart/ChartWidget.h"
#include "chart/LabelText.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace velkor {

namespace {

constexpr int CheckMilliseconds = 250;
const QString Celsius = QStringLiteral("°C");
const QString Fahrenheit = QStringLiteral("°F");

QDoubleSpinBox* Spin(double minimum, double maximum, int decimals, const QString& suffix) {
    auto* spin = new QDoubleSpinBox;
    spin->setRange(minimum, maximum);
    spin->setDecimals(decimals);
    spin->setSingleStep(decimals > 0 ? 0.5 : 1);
    spin->setSuffix(suffix);
    return spin;
}

QTableWidget* Table(const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void SetRow(QTableWidget& table, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column)
        table.setItem(row, column, new QTableWidgetItem(cells[column]));
}

QString TimeText(double time) {
    return chart::ReadoutTimeText(time);
}

} // namespace

AnalysisDialog::AnalysisDialog(chart::ChartWidget& widget, chart::ChartOverlay* readout,
                               Language language, std::function<std::string()> dataFile,
                               std::function<const ShownArchive*()> archived)
    : QDialog(widget.window()), widget_(widget), readout_(readout), language_(language),
      dataFile_(std::move(dataFile)), archived_(std::move(archived)),
      settings_(LoadAnalysisSettings()), layer_(new AnalysisLayer(widget)),
      timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("AnalysisDialog"));
    setWindowTitle(Text(AnalysisText::Caption));
    setModal(false);
    Build();
    ShowSettings();
    connect(timer_, &QTimer::timeout, this, &AnalysisDialog::CheckForChanges);
    timer_->start(CheckMilliseconds);
}

AnalysisDialog::~AnalysisDialog() {
    delete layer_;
}

void AnalysisDialog::Build() {
    auto* settings = new QVBoxLayout;
    auto* top = new QGridLayout;
    profile_ = new QComboBox;
    for (const std::string& name : analysis::ProfileNames())
        profile_->addItem(name == analysis::CustomProfileName ? Text(AnalysisText::ProfileCustom)
                                                              : QString::fromStdString(name),
                          QString::fromStdString(name));
    loggerLabel_ = new QLabel(Text(AnalysisText::Logger));
    logger_ = new QComboBox;
    loggerLabel_->setVisible(false);
    logger_->setVisible(false);
    top->addWidget(loggerLabel_, 0, 0);
    top->addWidget(logger_, 0, 1);
    top->addWidget(new QLabel(Text(AnalysisText::Profile)), 1, 0);
    top->addWidget(profile_, 1, 1);
    deltaH_ = Spin(1, 1000, 3, QString());
    top->addWidget(new QLabel(Text(AnalysisText::DeltaH)), 2, 0);
    top->addWidget(deltaH_, 2, 1);
    settings->addLayout(top);

    auto range = [&](AnalysisText title, QDoubleSpinBox*& low, QDoubleSpinBox*& high,
                     double minimum, double maximum, const QString& unit) {
        auto* box = new QGroupBox(Text(title));
        box->setCheckable(true);
        auto* row = new QHBoxLayout(box);
        low = Spin(minimum, maximum, 1, u' ' + unit);
        high = Spin(minimum, maximum, 1, u' ' + unit);
        row->addWidget(new QLabel(Text(AnalysisText::Low)));
        row->addWidget(low);
        row->addWidget(new QLabel(Text(AnalysisText::High)));
        row->addWidget(high);
        settings->addWidget(box);
        return box;
    };
    limitsBox_ = range(AnalysisText::TemperatureRange, low_, high_, -200, 200, Celsius);
    humidityBox_ = range(AnalysisText::HumidityRange, humidityLow_, humidityHigh_, 0, 100,
                         QStringLiteral("%"));

    auto* rulesBox = new QGroupBox(Text(AnalysisText::Rules));
    auto* grid = new QGridLayout(rulesBox);
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        RuleControls& r = rules_[i];
        r.on = new QCheckBox;
        r.side = new QComboBox;
        r.side->addItems({Text(AnalysisText::Above), Text(AnalysisText::Below)});
        r.threshold = Spin(-200, 200, 1, u' ' + Celsius);
        r.delay = new QSpinBox;
        r.delay->setRange(0, 60 * 24 * 366);
        r.delay->setSuffix(QStringLiteral(" min"));
        r.delay->setToolTip(Text(AnalysisText::DelayMinutes));
        r.mode = new QComboBox;
        r.mode->addItems({Text(AnalysisText::Single), Text(AnalysisText::Cumulative)});
        const int row = static_cast<int>(i);
        grid->addWidget(r.on, row, 0);
        grid->addWidget(r.side, row, 1);
        grid->addWidget(r.threshold, row, 2);
        grid->addWidget(r.delay, row, 3);
        grid->addWidget(r.mode, row, 4);
    }
    settings->addWidget(rulesBox);

    auto* choices = new QGridLayout;
    whole_ = new QRadioButton(Text(AnalysisText::WholeData));
    visible_ = new QRadioButton(Text(AnalysisText::VisibleRange));
    auto* period = new QWidget; // each pair of radio buttons is exclusive within its parent
    auto* periodRow = new QHBoxLayout(period);
    periodRow->setContentsMargins(0, 0, 0, 0);
    periodRow->addWidget(whole_);
    periodRow->addWidget(visible_);
    celsius_ = new QRadioButton(Celsius);
    fahrenheit_ = new QRadioButton(Fahrenheit);
    auto* unit = new QWidget;
    auto* unitRow = new QHBoxLayout(unit);
    unitRow->setContentsMargins(0, 0, 0, 0);
    unitRow->addWidget(celsius_);
    unitRow->addWidget(fahrenheit_);
    choices->addWidget(new QLabel(Text(AnalysisText::Period)), 0, 0);
    choices->addWidget(period, 0, 1);
    choices->addWidget(new QLabel(Text(AnalysisText::Unit)), 1, 0);
    choices->addWidget(unit, 1, 1);
    settings->addLayout(choices);
    showOnChart_ = new QCheckBox(Text(AnalysisText::ShowOnChart));
    dewPoint_ = new QCheckBox(Text(AnalysisText::DewPoint));
    settings->addWidget(showOnChart_);
    settings->addWidget(dewPoint_);
    settings->addStretch();

    auto* results = new QVBoxLayout;
    overview_ = new QLabel;
    overview_->setWordWrap(true);
    results->addWidget(overview_);
    statistics_ = Table({Text(AnalysisText::Quantity), Text(AnalysisText::Minimum),
                         Text(AnalysisText::MinimumTime), Text(AnalysisText::Maximum),
                         Text(AnalysisText::MaximumTime), Text(AnalysisText::Mean),
                         Text(AnalysisText::Deviation), Text(AnalysisText::Mkt)});
    statistics_->setSelectionMode(QAbstractItemView::NoSelection);
    statistics_->setMaximumHeight(statistics_->verticalHeader()->defaultSectionSize() * 4 + 8);
    results->addWidget(statistics_);
    outside_ = new QLabel;
    outside_->setWordWrap(true);
    results->addWidget(outside_);
    results->addWidget(new QLabel(Text(AnalysisText::Excursions)));
    excursions_ =
        Table({Text(AnalysisText::Start), Text(AnalysisText::End), Text(AnalysisText::Duration),
               Text(AnalysisText::Side), Text(AnalysisText::Extreme)});
    results->addWidget(excursions_, 2);
    results->addWidget(new QLabel(Text(AnalysisText::Alarms)));
    alarms_ =
        Table({Text(AnalysisText::Rule), Text(AnalysisText::FiredAt), Text(AnalysisText::Verdict)});
    alarms_->setSelectionMode(QAbstractItemView::NoSelection);
    results->addWidget(alarms_, 2);

    auto* columns = new QHBoxLayout;
    columns->addLayout(settings);
    columns->addLayout(results, 1);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(Text(AnalysisText::Close), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addWidget(buttons);
    resize(1240, 600);

    connect(profile_, &QComboBox::currentIndexChanged, this, &AnalysisDialog::OnProfileChosen);
    connect(logger_, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (showing_ || row < 0)
            return;
        chosenLogger_ = logger_->itemData(row).toString().toStdString();
        Recompute();
    });
    // Limits and rules of one's own make the profile the custom one.
    auto custom = [this] {
        if (showing_)
            return;
        showing_ = true;
        profile_->setCurrentIndex(profile_->count() - 1);
        showing_ = false;
        OnEdited();
    };
    for (QGroupBox* box : {limitsBox_, humidityBox_})
        connect(box, &QGroupBox::toggled, this, custom);
    for (QDoubleSpinBox* spin : {low_, high_, humidityLow_, humidityHigh_})
        connect(spin, &QDoubleSpinBox::valueChanged, this, custom);
    for (RuleControls& r : rules_) {
        connect(r.on, &QCheckBox::toggled, this, custom);
        connect(r.side, &QComboBox::currentIndexChanged, this, custom);
        connect(r.threshold, &QDoubleSpinBox::valueChanged, this, custom);
        connect(r.delay, &QSpinBox::valueChanged, this, custom);
        connect(r.mode, &QComboBox::currentIndexChanged, this, custom);
    }
    connect(deltaH_, &QDoubleSpinBox::valueChanged, this, &AnalysisDialog::OnEdited);
    for (QRadioButton* radio : {whole_, visible_, celsius_, fahrenheit_})
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                OnEdited();
        });
    for (QCheckBox* box : {showOnChart_, dewPoint_})
        connect(box, &QCheckBox::toggled, this, &AnalysisDialog::OnEdited);
    connect(excursions_, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<QTableWidgetItem*> selected = excursions_->selectedItems();
        if (!selected.isEmpty())
            ZoomToExcursion(selected.front()->row());
    });
}

void AnalysisDialog::ShowSettings() {
    showing_ = true;
    const AnalysisSettings& s = settings_;
    profile_->setCurrentIndex(std::max(0, profile_->findData(s.profile)));
    limitsBox_->setChecked(s.limitsOn);
    low_->setValue(s.limits.low);
    high_->setValue(s.limits.high);
    humidityBox_->setChecked(s.humidityOn);
    humidityLow_->setValue(s.humidity.low);
    humidityHigh_->setValue(s.humidity.high);
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        const AnalysisRuleRow& row = s.rules[i];
        rules_[i].on->setChecked(row.on);
        rules_[i].side->setCurrentIndex(row.rule.side == analysis::Side::Above ? 0 : 1);
        rules_[i].threshold->setValue(row.rule.threshold);
        rules_[i].delay->setValue(static_cast<int>(row.rule.delaySeconds / 60));
        rules_[i].mode->setCurrentIndex(row.rule.mode == analysis::RuleMode::Single ? 0 : 1);
    }
    deltaH_->setValue(s.deltaH);
    (s.visibleOnly ? visible_ : whole_)->setChecked(true);
    (s.fahrenheit ? fahrenheit_ : celsius_)->setChecked(true);
    showOnChart_->setChecked(s.showOnChart);
    dewPoint_->setChecked(s.dewPoint);
    showing_ = false;
}

void AnalysisDialog::ReadControls() {
    AnalysisSettings& s = settings_;
    s.profile = profile_->currentData().toString();
    s.limitsOn = limitsBox_->isChecked();
    s.limits = {low_->value(), high_->value()};
    s.humidityOn = humidityBox_->isChecked();
    s.humidity = {humidityLow_->value(), humidityHigh_->value()};
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        const RuleControls& r = rules_[i];
        s.rules[i].on = r.on->isChecked();
        s.rules[i].rule = {r.side->currentIndex() == 0 ? analysis::Side::Above
                                                       : analysis::Side::Below,
                           r.threshold->value(), std::int64_t{r.delay->value()} * 60,
                           r.mode->currentIndex() == 0 ? analysis::RuleMode::Single
                                                       : analysis::RuleMode::Cumulative};
    }
    s.deltaH = deltaH_->value();
    s.visibleOnly = visible_->isChecked();
    s.fahrenheit = fahrenheit_->isChecked();
    s.showOnChart = showOnChart_->isChecked();
    s.dewPoint = dewPoint_->isChecked();
}

void AnalysisDialog::OnProfileChosen() {
    if (showing_)
        return;
    ReadControls();
    ApplyProfile(settings_, profile_->currentData().toString());
    ShowSettings();
    SaveAnalysisSettings(settings_);
    Recompute();
}

void AnalysisDialog::OnEdited() {
    if (showing_)
        return;
    ReadControls();
    SaveAnalysisSettings(settings_);
    Recompute();
}

void AnalysisDialog::SetSettings(const AnalysisSettings& settings) {
    settings_ = settings;
    ShowSettings();
    SaveAnalysisSettings(settings_);
    Recompute();
}

void AnalysisDialog::ListLoggers() {
    const ShownArchive* shown = Shown();
    loggerLabel_->setVisible(shown != nullptr);
    logger_->setVisible(shown != nullptr);
    if (!shown) {
        loggersFor_ = 0;
        return;
    }
    if (loggersFor_ == shown->showing)
        return;
    loggersFor_ = shown->showing;
    showing_ = true;
    logger_->clear();
    for (const archive::LoggerSummary& logger : shown->loggers)
        logger_->addItem(ArchivedLoggerName(logger), QString::fromStdString(logger.id));
    const int kept = logger_->findData(QString::fromStdString(chosenLogger_));
    logger_->setCurrentIndex(std::max(0, kept));
    showing_ = false;
}

std::string AnalysisDialog::ArchivedLogger() {
    ListLoggers();
    return Shown() && logger_->currentIndex() >= 0 ? logger_->currentData().toString().toStdString()
                                                   : std::string();
}

void AnalysisDialog::ChooseLogger(int row) {
    ListLoggers();
    logger_->setCurrentIndex(row);
}

AnalysisDialog::Stamp AnalysisDialog::CurrentStamp() const {
    if (const ShownArchive* shown = Shown()) {
        // Never a file's name: the archive's showing and the logger.
        const QString id = logger_->currentData().toString();
        return {QStringLiteral("\n%1\n%2").arg(shown->showing).arg(id).toStdString(), -1, 0};
    }
    const std::string name = dataFile_();
    const QFileInfo info(QString::fromStdString(name));
    return {name, info.exists() ? info.size() : -1,
            info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0};
}

void AnalysisDialog::ReadArchived(const ShownArchive& shown) {
    const std::string logger = logger_->currentData().toString().toStdString();
    try {
        source_.file.samples = ReadShownLogger(shown, logger, language_);
    } catch (const InOutError& e) {
        error_ = QString::fromStdString(e.what());
    }
}

bool AnalysisDialog::LoadSource() {
    ListLoggers();
    const ShownArchive* shown = Shown();
    if (!shown && dataFile_().empty()) {
        source_ = Source{};
        error_ = Text(AnalysisText::NoData);
        return false;
    }
    if (const Stamp stamp = CurrentStamp(); stamp != source_.stamp) {
        source_ = Source{stamp, {}, {}};
        error_.clear();
        ++generation_;
        if (shown) {
            // The window shows the loggers' lines itself: no dew-point line of the analysis.
            ReadArchived(*shown);
        } else {
            const std::string& name = stamp.name;
            try {
                source_.file = analysis::ReadFileSamples(name);
            } catch (const std::exception& e) {
                error_ = Text(AnalysisText::ReadFailed)
                             .arg(QString::fromStdString(name), QString::fromUtf8(e.what()));
            }
            // The dew-point series as the chart shows the file: lines 1 and 2 left out.
            const std::vector<analysis::Sample>& samples = source_.file.samples;
            for (std::size_t i = source_.file.fromFirstTwoLines; i < samples.size(); ++i)
                if (auto dew = analysis::DewPoint(samples[i].celsius, samples[i].humidity))
                    source_.dewPoints.emplace_back(samples[i].time, *dew);
        }
        // Sorted once here, so that each recompute only summarises.
        std::stable_sort(
            source_.file.samples.begin(), source_.file.samples.end(),
            [](const analysis::Sample& a, const analysis::Sample& b) { return a.time < b.time; });
    }
    if (!error_.isEmpty())
        return false;
    if (source_.file.samples.empty()) {
        error_ = Text(AnalysisText::NoData);
        return false;
    }
    return true;
}

void AnalysisDialog::Recompute() {
    error_.clear();
    if (!LoadSource()) {
        summary_.reset();
    } else {
        analysis::Options options = OptionsOf(settings_);
        const chart::ChartAxis& time = widget_.Chart().BottomAxis();
        shownFrom_ = time.Minimum();
        shownTo_ = time.Maximum();
        if (settings_.visibleOnly) {
            options.from = shownFrom_;
            options.to = shownTo_;
        }
        summary_ = analysis::SummarizeSorted(source_.file.samples, options);
    }
    ShowResult();
    UpdateChart();
}

void AnalysisDialog::CheckForChanges() {
    if (!isVisible() && !settings_.showOnChart && !settings_.dewPoint)
        return;
    ListLoggers();
    const chart::ChartAxis& time = widget_.Chart().BottomAxis();
    const bool rangeChanged = time.Minimum() != shownFrom_ || time.Maximum() != shownTo_;
    if (CurrentStamp() != source_.stamp || (settings_.visibleOnly && rangeChanged))
        Recompute();
    else if (!Shown() && settings_.dewPoint && HasDewPointSeries(widget_.Chart()) &&
             widget_.Chart().Series(DewPointSeries).Count() == 0 && !source_.dewPoints.empty())
        UpdateChart(); // the window loaded the file again, which emptied the series
}

void AnalysisDialog::ZoomToExcursion(int row) {
    if (!summary_ || !summary_->limits || row < 0 ||
        row >= static_cast<int>(summary_->limits->excursions.size()))
        return;
    const analysis::Excursion& e = summary_->limits->excursions[static_cast<std::size_t>(row)];
    const double interval = static_cast<double>(summary_->intervalSeconds) / SecondsPerDay;
    // Some time around it, so that one sees how it began and ended.
    const double margin = std::max(10 * interval, (e.end - e.start) / 2);
    widget_.ZoomScroll().ZoomTimeRange(widget_, e.start - margin, e.end + margin);
}

QString AnalysisDialog::Number(double value, int decimals) const {
    return chart::FormatNumber(value,
                               decimals == 1 ? QStringLiteral("0.0") : QStringLiteral("0.00"),
                               widget_.Chart().Separators());
}

QString AnalysisDialog::Temperature(double celsius) const {
    return Number(settings_.fahrenheit ? analysis::ToFahrenheit(celsius) : celsius, 2) + u' ' +
           (settings_.fahrenheit ? Fahrenheit : Celsius);
}

QString AnalysisDialog::Message() const {
    QString text = error_;
    if (error_.isEmpty() && source_.file.facts.badLines > 0)
        text = Text(AnalysisText::BadLines)
                   .arg(source_.file.facts.badLines)
                   .arg(source_.file.facts.firstBadLine);
    return text;
}

void AnalysisDialog::ShowResult() {
    statistics_->setRowCount(0);
    excursions_->setRowCount(0);
    alarms_->setRowCount(0);
    outside_->clear();
    if (!summary_ || summary_->samples == 0) {
        overview_->setText(error_.isEmpty() ? Text(AnalysisText::NoData) : error_);
        return;
    }
    const analysis::Summary& s = *summary_;
    QString overview = Text(AnalysisText::Overview)
                           .arg(s.samples)
                           .arg(TimeText(s.first), TimeText(s.last))
                           .arg(s.intervalSeconds)
                           .arg(s.gaps.size())
                           .arg(s.duplicates);
    if (const QString message = Message(); !message.isEmpty())
        overview += u'\n' + message;
    overview_->setText(overview);

    auto statistics = [&](AnalysisText name, const analysis::Statistics& st, bool temperature,
                          const QString& mkt) {
        auto value = [&](double v) {
            return temperature ? Temperature(v) : Number(v, 2) + QStringLiteral(" %");
        };
        auto spread = [&](double v) {
            return Number(temperature && settings_.fahrenheit ? v * 1.8 : v, 2);
        };
        const int row = statistics_->rowCount();
        statistics_->insertRow(row);
        if (st.count == 0) {
            SetRow(*statistics_, row, {Text(name)});
            return;
        }
        SetRow(*statistics_, row,
               {Text(name), value(st.min), TimeText(st.minTime), value(st.max),
                TimeText(st.maxTime), value(st.mean), st.sd ? spread(*st.sd) : QString(), mkt});
    };
    statistics(AnalysisText::Temperature, s.temperature, true,
               s.mkt ? Temperature(*s.mkt) : QString());
    if (s.hasHumidity) {
        statistics(AnalysisText::Humidity, s.humidity, false, {});
        statistics(AnalysisText::DewPoint, s.dewPoint, true, {});
    }

    QStringList outside;
    if (s.limits)
        outside << Text(AnalysisText::TimeOutside)
                       .arg(DurationText(s.limits->timeBelowSeconds),
                            DurationText(s.limits->timeAboveSeconds));
    if (s.humidityLimits)
        outside << Text(AnalysisText::HumidityTime)
                       .arg(DurationText(s.humidityLimits->timeBelowSeconds),
                            DurationText(s.humidityLimits->timeAboveSeconds));
    outside_->setText(outside.join(u'\n'));
    if (s.limits) {
        for (const analysis::Excursion& e : s.limits->excursions) {
            const int row = excursions_->rowCount();
            excursions_->insertRow(row);
            SetRow(
                *excursions_, row,
                {TimeText(e.start), TimeText(e.end), DurationText(e.durationSeconds),
                 Text(e.side == analysis::Side::Above ? AnalysisText::Above : AnalysisText::Below),
                 Temperature(e.extreme)});
        }
    }
    for (const analysis::AlarmResult& alarm : s.alarms) {
        const analysis::AlarmRule& r = alarm.rule;
        const QString rule =
            QStringLiteral("%1 %2, %3, %4")
                .arg(Text(r.side == analysis::Side::Above ? AnalysisText::Above
                                                          : AnalysisText::Below),
                     Temperature(r.threshold), DurationText(r.delaySeconds),
                     Text(r.mode == analysis::RuleMode::Single ? AnalysisText::Single
                                                               : AnalysisText::Cumulative));
        const int row = alarms_->rowCount();
        alarms_->insertRow(row);
        SetRow(*alarms_, row,
               {rule, alarm.at ? TimeText(*alarm.at) : QString(),
                Text(alarm.triggered ? AnalysisText::Alarm : AnalysisText::Ok)});
        QTableWidgetItem* verdict = alarms_->item(row, 2);
        verdict->setBackground(alarm.triggered ? QColor(200, 0, 0) : QColor(0, 150, 0));
        verdict->setForeground(Qt::white);
        verdict->setTextAlignment(Qt::AlignCenter);
        QFont bold = verdict->font();
        bold.setBold(true);
        verdict->setFont(bold);
    }
}

void AnalysisDialog::UpdateChart() {
    chart::Chart& chart = widget_.Chart();
    if (Shown()) {
        // The dew point's place stays as the window keeps it while the loggers are shown.
    } else if (settings_.dewPoint) {
        chart::LineSeries& series = AddDewPointSeries(chart, language_);
        if (dewPointsFor_ != generation_ + 1 || series.Count() == 0) {
            series.Clear();
            // As the chart shows the file: lines 1 and 2 left out.
            for (const auto& [time, dew] : source_.dewPoints)
                series.AddXY(time, dew);
            dewPointsFor_ = generation_ + 1;
        }
    } else {
        RemoveDewPointSeries(chart);
        dewPointsFor_ = 0;
    }
    SetFahrenheit(chart, settings_.fahrenheit);
    if (readout_)
        SetReadoutUnits(*readout_, chart);
    AnalysisMarks marks;
    if (summary_ && summary_->limits) {
        auto shown = [&](double celsius) {
            return settings_.fahrenheit ? analysis::ToFahrenheit(celsius) : celsius;
        };
        marks.limits = analysis::Range{shown(summary_->limits->range.low),
                                       shown(summary_->limits->range.high)};
        for (const analysis::Excursion& e : summary_->limits->excursions)
            marks.bands.push_back({e.start, e.end, e.side});
        marks.halfInterval = static_cast<double>(summary_->intervalSeconds) / 2 / SecondsPerDay;
    }
    layer_->SetMarks(std::move(marks));
    layer_->SetShown(settings_.showOnChart);
}

} // namespace velkor
