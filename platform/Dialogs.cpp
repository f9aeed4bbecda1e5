#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace velkor {

// Qt finds the configuration folder from XDG_CONFIG_HOME each time it is asked.
std::unique_ptr<QSettings> ProgramSettings() {
    return std::make_unique<QSettings>(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/velkor/velkor.conf"),
        QSettings::IniFormat);
}

namespace {

const QString FolderKey = QStringLiteral("dialogs/lastFolder");

// "Text Files|*.txt|All Files|*.*" becomes "Text Files (*.txt);;All Files (*)". "*.*" is
// written "*": a save dialog gives the typed name the extension of the filter picked, and
// would make "logger.*" of "logger.txt".
QString QtFilter(const QString& filter) {
    if (filter.isEmpty())
        return {};
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        out << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return out.join(";;");
}

// The extension a name without one gets under a filter: "txt" for "Text Files (*.txt)",
// none for "All Files (*)".
QString SuffixOf(const QString& qtFilter) {
    const qsizetype open = qtFilter.lastIndexOf(u'(');
    const qsizetype close = qtFilter.lastIndexOf(u')');
    const QStringList patterns =
        open >= 0 && close > open
            ? qtFilter.mid(open + 1, close - open - 1).split(u' ', Qt::SkipEmptyParts)
            : QStringList();
    if (patterns.isEmpty() || !patterns.first().startsWith(QLatin1String("*.")))
        return {};
    const QString suffix = patterns.first().mid(2);
    return suffix.contains(u'*') || suffix.contains(u'?') ? QString() : suffix;
}

bool RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const FileDialogOptions& options,
                   QString& fileName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmReplace);
    dialog.setSizeGripEnabled(true);
    // The remembered folder; a preset name with a folder of its own (one chosen earlier in this
    // run) then opens in that folder instead.
    const QString folder = RememberedFolder();
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!options.filter.isEmpty())
        dialog.setNameFilter(QtFilter(options.filter));
    if (!options.presetName.isEmpty())
        dialog.selectFile(options.presetName);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setDefaultSuffix(SuffixOf(dialog.selectedNameFilter()));
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOf(filter)); });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first();
    if (options.chosenFilter)
        *options.chosenFilter = static_cast<int>(
            std::max<qsizetype>(0, dialog.nameFilters().indexOf(dialog.selectedNameFilter())));
    RememberFolder(fileName);
    return true;
}

int RunBox(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& caption,
           QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, caption, QString(), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setText(BoxText(text));
    return box.exec();
}

bool IsLineEndCr(const QString& text, qsizetype i) {
    return text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] == u'\n');
}

} // namespace

QString BoxText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool control = c < 0x20 || (c >= 0x7f && c <= 0x9f);
        if (!control || c == u'\n' || c == u'\t' || IsLineEndCr(text, i))
            shown += text[i];
        else
            shown += QStringLiteral("\\x%1").arg(static_cast<int>(c), 2, 16, QChar(u'0'));
    }
    return shown;
}

QString RememberedFolder() {
    const QString folder = ProgramSettings()->value(FolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolder(const QString& chosenFile) {
    ProgramSettings()->setValue(FolderKey, QFileInfo(chosenFile).absolutePath());
}

void QtDialogs::message(const QString& text, const QString& caption) {
    RunBox(parent_, QMessageBox::NoIcon, text, caption, QMessageBox::Ok);
}

bool QtDialogs::askYesNo(const QString& text, const QString& caption) {
    return RunBox(parent_, QMessageBox::NoIcon, text, caption,
                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtDialogs::error(const QString& text, const QString& caption) {
    RunBox(parent_, QMessageBox::Critical, text, caption, QMessageBox::Ok);
}

bool QtDialogs::openFile(const FileDialogOptions& options, QString& fileName) {
    if (!nextOpenFile_.isEmpty()) {
        fileName = std::exchange(nextOpenFile_, QString());
        return true;
    }
    return RunFileDialog(parent_, QFileDialog::AcceptOpen, options, fileName);
}

bool QtDialogs::saveFile(const FileDialogOptions& options, QString& fileName) {
    return RunFileDialog(parent_, QFileDialog::AcceptSave, options, fileName);
}

bool QtDialogs::print(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace velkor
