#pragma once
// The application's error report. Every click handler runs inside HandlerGuard::Run: whatever
// it throws ends the handler and is shown in a box with the stop icon and an OK button; the
// event loop goes on. Nothing ever propagates into Qt.

#include "messages/Language.h"

#include <QString>

#include <exception>
#include <functional>
#include <utility>

namespace velkor {

class Dialogs;

// The message as the report shows it: a "." is appended when the last character's code is
// above that of "." (a letter or a digit), not after ".", "!" or a blank.
QString ErrorReportText(const QString& message);

// The application's title from the program file's path: the file name without its directory
// and without everything from its first "." on, every character after the first in lower case.
QString ApplicationTitle(const QString& programPath);

// The title of the running program (from the application's file path, or argv[0]).
QString RunningApplicationTitle();

// What the report says of an error: the window's own wording for the faults it knows (a lost
// device, a loaded name that is no regular file or holds no logger data), the error's message
// otherwise; and for an error found on a line of a file, the file name and the line number.
struct ErrorWording {
    QString message;
    QString location; // "dane.txt, wiersz 4"; empty when the error has no line
};
ErrorWording WordError(const std::exception& error, Language language);

class HandlerGuard {
public:
    HandlerGuard(Dialogs& dialogs, QString title, Language language = Language::Polish)
        : dialogs_(dialogs), title_(std::move(title)), language_(language) {}

    // Runs the handler; an exception it throws is reported and swallowed.
    void Run(const std::function<void()>& handler) noexcept;
    // Shows the report for a message (the "." rule applies to it), with an optional second
    // line after it.
    void Report(const QString& message, const QString& secondLine = {}) noexcept;

    const QString& Title() const { return title_; }

private:
    Dialogs& dialogs_;
    QString title_;
    Language language_;
};

} // namespace velkor
