#include "app/ErrorReport.h"

#include "platform/Dialogs.h"

#include <QCoreApplication>
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

void HandlerGuard::Run(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& error) {
        Report(QString::fromUtf8(error.what()));
    } catch (...) {
        Report(QStringLiteral("Unknown error"));
    }
}

void HandlerGuard::Report(const QString& message) noexcept {
    // The report itself must not throw into the event loop either; if even showing the box
    // fails there is nothing left to tell the user with.
    try {
        dialogs_.error(ErrorReportText(message), title_);
    } catch (...) {
    }
}

} // namespace velkor
