#pragma once
// The program's command line: help and version in the window's language, the language itself
// (--lang pl|en) and an optional data file to load at start. Read before any window exists, so
// that --help and --version work without a display.

#include "app/Language.h"

#include <QString>
#include <QStringList>

namespace velkor {

struct CommandLine {
    enum class Action { Run, Help, Version, Fail };
    Action action = Action::Run;
    Language language = Language::Polish;
    // The data file named on the command line, as given; empty for none.
    QString dataFile;
    // --archive: the archive to use from now on; empty when not given.
    QString archive;
    // What to print: the help text (Help), "velkor 1.1.0" (Version), the error lines (Fail).
    QString output;
};

// `arguments` starts with the program's name. The help and error texts are in the language
// chosen with --lang, else in defaultLanguage.
CommandLine ParseCommandLine(const QStringList& arguments, Language defaultLanguage);

// The archive the window uses: `given` (then kept in velkor.conf as "archive/location", a
// server URL without its password), else the one kept there, else
// $XDG_DATA_HOME/velkor/archive.sqlite.
QString ArchiveLocation(const QString& given);

// Whether Qt has a display to show the window on: DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM
// is set.
bool HasDisplay();

// The one line printed when there is none, with how to run the program on a virtual display.
QString NoDisplayMessage(Language language);

} // namespace velkor
