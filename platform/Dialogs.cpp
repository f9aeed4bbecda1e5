#include "platform/Dialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <memory>
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

// Qt's own save dialog gives the typed name the extension of a filter the user picks, so that
// "All Files (*.*)" turns "logger.txt" into "logger.*". The name is taken just before the
// filter changes and put back once the dialog has rewritten it. A native dialog has neither
// child and is left alone.
void KeepNameAcrossFilters(QFileDialog& dialog) {
    auto* filters = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (filters == nullptr || name == nullptr)
        return;
    auto kept = std::make_shared<QString>(name->text());
    // A pick emits currentIndexChanged before activated, on which the dialog rewrites the name.
    QObject::connect(filters, &QComboBox::currentIndexChanged, name,
                     [name, kept] { *kept = name->text(); });
    QObject::connect(filters, &QComboBox::activated, name, [name, kept] {
        if (name->text() != *kept)
            name->setText(*kept);
    });
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
    if (mode == QFileDialog::AcceptSave)
        KeepNameAcrossFilters(dialog);
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
