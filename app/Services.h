#pragma once
// What the window's handlers work with besides the controls: the one serial channel, what is
// known of the logger, the 100 ms waits, the name of the current data file and the archive. All of
// them live as long as the program runs; main creates them once, tests their own.

#include "link/LoggerSettings.h"
#include "link/SerialLink.h"
#include "log/DataFileState.h"
#include "platform/Pause.h"

#include <string>

namespace velkor {

struct Services {
    SerialLink& link;
    LoggerSettings& settings;
    Pause& pause;
    DataFileState& dataFile;
    // Where every download and erase is recorded (a SQLite path or a server URL); empty: the
    // archive is left out.
    std::string archive = {};
};

} // namespace velkor
