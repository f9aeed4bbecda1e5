#pragma once
// What the simulated logger knows and how it misbehaves. Both are plain values: a test sets
// them up, hands them to a LoggerSim and reads them back.

#include "link/Commands.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velkor::sim {

// A date-time as a day count (see platform/DateTime.h); throws std::invalid_argument when the
// fields do not form a valid date and time.
double MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

struct LoggerState {
    // The N? reply, sent exactly as it stands (a real logger ends it with CR).
    std::string identification = "RTW01234\r";
    // T? and D?: the logger's clock as a day count. Set by T! (time of day) and D! (date).
    double clock = MakeDateTime(2024, 3, 1, 12, 0, 0);
    // When true the clock advances with real time, like the logger's own.
    bool clockRuns = false;
    // I? and I!: the measurement interval in seconds, 0 to 86399.
    int intervalSeconds = 600;
    // R? and R!: the date-time at which logging starts.
    double loggingStart = MakeDateTime(2024, 3, 1, 0, 0, 0);
    // S? and S!: the number of samples the logger is set to record.
    std::uint32_t sampleCount = 0;
    // U?: battery voltage in millivolts, 0 to 99999.
    int batteryMillivolts = 3650;
    // The log memory: record i of the log in slot i. G? answers slots past its end with the
    // bytes of erased memory, 0xFF. E! empties it.
    std::vector<cmd::LogRecord> records;
};

// Misbehaviour on demand. The reply faults (silent, delayMs, splitAt, extra, dripMs) apply to the
// replies of the commands that `commands` selects, as long as `times` allows.
struct Faults {
    // Each entry selects the commands that begin with it: "G?" every block request, "G?00002"
    // only block 2, "T!" the clock-time set command. Empty: every command.
    std::vector<std::string> commands;
    // How many more replies get the reply faults; negative: every one. Each reply that gets
    // them (also a suppressed one) counts one down.
    int times = -1;

    // No reply at all.
    bool silent = false;
    // The reply starts this many milliseconds late.
    int delayMs = 0;
    // When > 0: only the first splitAt bytes are sent, the rest splitPauseMs later.
    std::size_t splitAt = 0;
    int splitPauseMs = 0;
    // Bytes sent right after the reply.
    std::string extra;
    // When > 0: the reply goes out one byte every dripMs milliseconds (a slow adapter).
    int dripMs = 0;

    // Replies replaced whole, by command prefix as in `commands`; the longest matching prefix
    // wins. A replacement is still subject to the reply faults. An empty replacement means no
    // reply.
    std::map<std::string, std::string> replies;
    // The reply to T!, D!, I!, R! and S! ("OK\r", say), which the program never reads. Empty:
    // none, like the real logger as far as the program knows.
    std::string setCommandReply;

    // E!: the memory is erased and "E!OK" CR sent this many milliseconds after the command.
    int eraseDelayMs = 0;
    // E!: the erase never finishes: no confirmation, and the memory stays as it is.
    bool eraseNeverConfirms = false;

    // When >= 0: after answering this many block requests (G?), the device disappears at the
    // next one, like an adapter pulled out mid-download: no reply, the port hangs up and its
    // link goes.
    int vanishAfterBlocks = -1;
    // The port is held by another program from the start: the simulated logger locks its own
    // descriptor of the device side, so that opening the port for use fails as busy.
    bool holdPort = false;
};

} // namespace velkor::sim
