#include "app/ErrorReport.h"

#include "app/Texts.h"
#include "log/DataFileReader.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <exception>

namespace velkor {

QString ErrorReportText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

QString ApplicationTitle(const QString& programPath) {
    QString name = programPath.mid(programPath.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString RunningApplicationTitle() {
    if (QCoreApplication::instance() == nullptr)
        return {};
    QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty() && !QCoreApplication::arguments().isEmpty())
        path = QCoreApplication::arguments().first();
    return ApplicationTitle(path);
}

ErrorWording WordError(const std::exception& error, Language language) {
    ErrorWording wording;
    // File names are in the file system's encoding, the system's texts in the locale's.
    if (const auto* lost = dynamic_cast<const LostDeviceError*>(&error))
        wording.message = TextOf(RunText::DeviceLost, language)
                              .arg(QString::fromStdString(lost->PortName()),
                                   QString::fromLocal8Bit(lost->SystemText()));
    else if (const auto* special = dynamic_cast<const NotRegularFileError*>(&error))
        wording.message = TextOf(RunText::NotRegularFile, language)
                              .arg(QFile::decodeName(special->fileName().c_str()));
    else if (const auto* empty = dynamic_cast<const NoLoggerDataError*>(&error))
        wording.message = TextOf(RunText::NoLoggerData, language)
                              .arg(QFile::decodeName(empty->fileName().c_str()));
    else if (const auto* shrank = dynamic_cast<const DataFileShrankError*>(&error))
        wording.message = TextOf(RunText::FileShrank, language)
                              .arg(QFile::decodeName(shrank->fileName().c_str()));
    else
        wording.message = QString::fromUtf8(error.what());

    if (const auto* where = dynamic_cast<const ErrorLocation*>(&error);
        where != nullptr && where->line > 0)
        wording.location = QFile::decodeName(where->file.c_str()) + QStringLiteral(", ") +
                           TextOf(RunText::ErrorLine, language).arg(where->line);
    return wording;
}

void HandlerGuard::Run(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& error) {
        try {
            const ErrorWording wording = WordError(error, language_);
            Report(wording.message, wording.location);
        } catch (...) {
            Report(QString::fromUtf8(error.what()));
        }
    } catch (...) {
        Report(QStringLiteral("Unknown error"));
    }
}

void HandlerGuard::Report(const QString& message, const QString& secondLine) noexcept {
    // The report itself must not throw into the event loop either; if even showing the box
    // fails there is nothing left to tell the user with.
    try {
        QString text = ErrorReportText(message);
        if (!secondLine.isEmpty())
            text += u'\n' + secondLine;
        dialogs_.error(text, title_);
    } catch (...) {
    }
}

} // namespace velkor
