#include "app/ErrorReport.h"

#include "app/Texts.h"
#include "messages/ErrorText.h"
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
    // The catalogue's texts are UTF-8, as are the file names and system texts they hold.
    if (const std::optional<std::string> known = KnownErrorText(language, error))
        wording.message = QString::fromStdString(*known);
    else
        wording.message = QString::fromUtf8(error.what());

    if (const auto* where = dynamic_cast<const ErrorLocation*>(&error);
        where != nullptr && where->line > 0)
        wording.location = QFile::decodeName(where->file.c_str()) + QStringLiteral(", ") +
                           TextOf(Message::ErrorLine, language, {QString::number(where->line)});
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
