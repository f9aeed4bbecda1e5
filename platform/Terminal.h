#pragma once
// What the command-line tool needs of the terminal and the system clock, so that cli/ itself
// makes no system call: whether a stream is a terminal, the local time, and Ctrl+C.

namespace velkor {

// Makes the console show the program's UTF-8 text as such (Polish messages on a Windows
// console, whose own code page is another). Nothing to do elsewhere.
void UseUtf8Console();

// True when standard output (1) or standard error (2) is a terminal.
bool IsTerminal(int stdStream);

// This computer's local time now, as a day count (see DateTime.h), whole seconds.
double LocalNow();

// From now on the first Ctrl+C (or termination request) only raises a flag that
// InterruptRequested reports, and the program ends its work at the next safe point itself; a
// second one ends the program at once, as usual.
void CatchInterrupt();
bool InterruptRequested();

} // namespace velkor
