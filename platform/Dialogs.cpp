#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>

#include <utility>

namespace velkor {

namespace {

const QString FolderKey = QStringLiteral("dialogs/lastFolder");

// Qt finds the configuration folder from XDG_CONFIG_HOME each time it is asked.
QSettings ProgramSettings() {
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/velkor/velkor.conf"),
                     QSettings::IniFormat);
}

// "Text Files|*.txt|All Files|*.*" becomes "Text Files (*.txt);;All Files (*.*)".
QString QtFilter(const QString& filter) {
    if (filter.isEmpty())
        return {};
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return out.join(";;");
}

bool RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const FileDialogOptions& options,
                   QString& fileName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first();
    RememberFolder(fileName);
    return true;
}

} // namespace

QString RememberedFolder() {
    const QString folder = ProgramSettings().value(FolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolder(const QString& chosenFile) {
    ProgramSettings().setValue(FolderKey, QFileInfo(chosenFile).absolutePath());
}

void QtDialogs::message(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::askYesNo(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::error(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent_);
    box.exec();
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
