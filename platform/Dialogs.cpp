#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace velkor {

namespace {

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
    if (!options.filter.isEmpty())
        dialog.setNameFilter(QtFilter(options.filter));
    if (!options.presetName.isEmpty())
        dialog.selectFile(options.presetName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first();
    return true;
}

} // namespace

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
