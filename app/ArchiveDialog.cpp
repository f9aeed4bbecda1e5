#include "app/ArchiveDialog.h"

#include "platform/DateTime.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <optional>

namespace velkor {

namespace {

QString DialogText(Language language, const char* polish, const char* english) {
    return QString::fromUtf8(language == Language::English ? english : polish);
}

QString LoggerTime(archive::LoggerSeconds s) {
    return QString::fromStdString(FormatDateTime("yyyy-mm-dd hh:nn", archive::ToDayCount(s)));
}

// The logger's clock knows no zone: its seconds are shown as they stand, as UTC.
QDateTime DateTimeOf(archive::LoggerSeconds s) {
    return QDateTime::fromSecsSinceEpoch(s, Qt::UTC);
}

} // namespace

ArchiveDialog::ArchiveDialog(const std::vector<archive::LoggerSummary>& loggers, Language language,
                             QWidget* parent)
    : QDialog(parent), loggers_(loggers) {
    setObjectName(QStringLiteral("ArchiveDialog"));
    setWindowTitle(DialogText(language, "Archiwum", "Archive"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(DialogText(language, "Rejestratory w archiwum (najwyżej 8 naraz):",
                                            "Loggers in the archive (at most 8 at once):"),
                                 this));

    table_ = new QTableWidget(static_cast<int>(loggers_.size()), 4, this);
    table_->setHorizontalHeaderLabels({DialogText(language, "Rejestrator", "Logger"),
                                       DialogText(language, "Okres", "Period"),
                                       DialogText(language, "Próbki", "Samples"),
                                       DialogText(language, "Ostatnie pobranie", "Last download")});
    table_->verticalHeader()->hide();
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < table_->rowCount(); ++row) {
        const auto& l = loggers_[static_cast<std::size_t>(row)];
        const QString id = QString::fromStdString(l.id);
        auto* name = new QTableWidgetItem(l.label.empty() ? id
                                                          : QString::fromStdString(l.label) +
                                                                QStringLiteral(" (") + id + u')');
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        name->setCheckState(Qt::Unchecked);
        table_->setItem(row, 0, name);
        table_->setItem(row, 1,
                        new QTableWidgetItem(l.first
                                                 ? LoggerTime(*l.first) + QStringLiteral(" – ") +
                                                       LoggerTime(*l.last)
                                                 : QStringLiteral("–")));
        table_->setItem(row, 2, new QTableWidgetItem(QString::number(l.samples)));
        table_->setItem(row, 3,
                        new QTableWidgetItem(l.lastDownload ? LoggerTime(*l.lastDownload) +
                                                                  QStringLiteral(" UTC")
                                                            : QStringLiteral("–")));
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    connect(table_, &QTableWidget::itemChanged, this, [this] { Update(); });

    auto* period = new QFormLayout;
    from_ = new QDateTimeEdit(this);
    to_ = new QDateTimeEdit(this);
    for (QDateTimeEdit* edit : {from_, to_}) {
        edit->setTimeSpec(Qt::UTC);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        edit->setCalendarPopup(true);
    }
    period->addRow(DialogText(language, "Od:", "From:"), from_);
    period->addRow(DialogText(language, "Do:", "To:"), to_);
    layout->addLayout(period);

    auto* buttons = new QDialogButtonBox(this);
    show_ = buttons->addButton(DialogText(language, "Pokaż na wykresie", "Show on the chart"),
                               QDialogButtonBox::AcceptRole);
    openAsData_ = buttons->addButton(DialogText(language, "Otwórz jako dane", "Open as data"),
                                     QDialogButtonBox::AcceptRole);
    buttons->addButton(DialogText(language, "Anuluj", "Cancel"), QDialogButtonBox::RejectRole);
    connect(show_, &QPushButton::clicked, this, [this] {
        action_ = ArchiveChoice::Action::Chart;
        accept();
    });
    connect(openAsData_, &QPushButton::clicked, this, [this] {
        action_ = ArchiveChoice::Action::OpenAsData;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 360);
    Update();
}

void ArchiveDialog::SetTicked(int row, bool ticked) {
    table_->item(row, 0)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

ArchiveChoice ArchiveDialog::Choice() const {
    ArchiveChoice choice;
    choice.action = action_;
    for (int row = 0; row < table_->rowCount(); ++row)
        if (table_->item(row, 0)->checkState() == Qt::Checked)
            choice.loggers.push_back(loggers_[static_cast<std::size_t>(row)]);
    choice.period = {from_->dateTime().toSecsSinceEpoch(), to_->dateTime().toSecsSinceEpoch()};
    return choice;
}

// The period follows the ticked loggers (all they hold); at most eight can be ticked, and one
// can be opened as data.
void ArchiveDialog::Update() {
    int ticked = 0;
    std::optional<archive::LoggerSeconds> first, last;
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, 0)->checkState() != Qt::Checked)
            continue;
        ++ticked;
        const auto& l = loggers_[static_cast<std::size_t>(row)];
        if (l.first && (!first || *l.first < *first))
            first = l.first;
        if (l.last && (!last || *l.last > *last))
            last = l.last;
    }
    const QSignalBlocker block(table_);
    for (int row = 0; row < table_->rowCount(); ++row) {
        QTableWidgetItem* item = table_->item(row, 0);
        const bool can = item->checkState() == Qt::Checked || ticked < MaxArchiveLoggers;
        item->setFlags(can ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::ItemIsUserCheckable);
    }
    if (first && last) {
        from_->setDateTime(DateTimeOf(*first));
        to_->setDateTime(DateTimeOf(*last));
    }
    show_->setEnabled(ticked > 0);
    openAsData_->setEnabled(ticked == 1);
}

} // namespace velkor
