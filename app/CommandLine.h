#pragma once
// The program's command line: help and version in the window's language, the language itself
// (--lang pl|en, else the environment's locale) and an optional data file to load at start. Qt's
// own options (-style, -platform, -display, -reverse...) are taken and left for QApplication.
// Read before any window exists, so that --help and --version work without a display.

#include "messages/Language.h"

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
    // The values of Qt's -platform and -display, empty when not given: the display check asks
    // what Qt will open.
    QString platform;
    QString display;
};

// `arguments` starts with the program's name. The language is that of the last --lang, else
// defaultLanguage (the environment's); the help and error texts are in it. The help names
// buildDefault as the language when the environment names none.
CommandLine ParseCommandLine(const QStringList& arguments, Language defaultLanguage,
                             Language buildDefault);

// The language of a locale name as LC_ALL, LC_MESSAGES and LANG give it: "pl", "pl_PL.UTF-8"...
// give Polish, any other language English, and none, "C" or "POSIX" (with or without an
// encoding) `buildDefault`.
Language LanguageOfLocale(const QString& locale, Language buildDefault);

// The archive the window uses: `given` (then kept in velkor.conf as "archive/location", a
// server URL without its password), else the one kept there, else
// $XDG_DATA_HOME/velkor/archive.sqlite.
QString ArchiveLocation(const QString& given);

// The language of this process's environment: the first of LC_ALL, LC_MESSAGES and LANG that is
// set and not empty, read by LanguageOfLocale.
Language EnvironmentLanguage(Language buildDefault);

// The one line printed when there is no display, with how to run the program on a virtual
// display. `tried` names the display that did not answer; empty when none was set.
QString NoDisplayMessage(Language language, const QString& tried = {});

} // namespace velkor
