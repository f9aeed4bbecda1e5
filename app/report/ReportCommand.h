#pragma once
// The headless report: `velkor --report FILE -o OUT.pdf [analysis options]`. It runs on Qt's
// offscreen platform, needs no display and shows no window.

#include "messages/Language.h"

namespace velkor::report {

// Whether the command line asks for a report: --report before any "--".
bool IsReportCommand(int argc, char* argv[]);

// Writes the report and returns the exit status: 0 done, 1 wrong usage, 2 a data file that
// cannot be read or holds no data, or a report that cannot be written (the message names the
// file). Messages go to standard error in the language of --lang, else `defaultLanguage`.
int RunReportCommand(int argc, char* argv[], Language defaultLanguage);

} // namespace velkor::report
