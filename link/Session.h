#pragma once
// The logger session: reaching the logger (the scan of the COM names, or one named port), its
// identification, and the reading of all its settings, query by query. Both front ends go
// through it; they only word its outcomes.
//
//     LoggerSession session(link, pause, settings);
//     SessionResult found = session.Find();            // or session.Open("COM3")
//     if (found.outcome == SessionOutcome::Found)
//         session.ReadSettings([&](SettingsStep step, const SettingsShown& shown) { ... });

#include "link/Connect.h"
#include "link/LoggerSettings.h"
#include "link/SerialLink.h"
#include "platform/Pause.h"
#include "platform/SerialDevice.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velkor {

enum class SessionOutcome {
    Found,         // the logger answered (Find, Open); all settings were read (ReadSettings)
    NotFound,      // no logger answers: no port at all, silent ports, a port that did not open
    Busy,          // no logger found, and another program holds a port where it may be
    Lost,          // the device went away while it was asked
    ProtocolError, // a reply too short to hold its fields
};

struct SessionResult {
    SessionOutcome outcome = SessionOutcome::NotFound;
    // Found: the logger's port. Open: the port named. Lost: the port that went away.
    std::string port;
    // Ports held by another program, in scan order, each once (Busy).
    std::vector<std::string> busyPorts;
    // Open: why the named port did not open (None when it opened but no logger answered).
    OpenFailure openFailure = OpenFailure::None;
    // Found: the identification reply as it came, line end included.
    std::string reply;
    // Found: whether the logger also measures humidity.
    bool humidity = false;
    // Lost: the system's error text. ProtocolError: the conversion error's text.
    std::string error;
};

// What Connect shows of the settings: the logger's values or, where a reply did not convert,
// the window's fallbacks.
struct SettingsShown {
    double clockTime = FallbackTime;
    double clockDate = FallbackDate;
    double interval = FallbackTime;
    StartShown start;
    double end = 0;
    std::uint32_t samples = 0;
    std::int32_t batteryMillivolts = 0;
};

// The six queries, in the order they are made.
enum class SettingsStep { ClockTime, ClockDate, Interval, LoggingStart, LoggingEnd, Battery };

// Called after each query with what it read, so that a front end shows each value as soon as
// it arrives.
using SettingsCallback = std::function<void(SettingsStep, const SettingsShown&)>;

class LoggerSession {
public:
    LoggerSession(SerialLink& link, Pause& pause, LoggerSettings& settings)
        : link_(link), pause_(pause), settings_(settings) {}

    // The scan of FindLogger. Found: the port stays open and Identifier is set. Otherwise the
    // receive buffer is cleared, as Connect does after a failed scan.
    SessionResult Find();
    // The named port only ("COM0" to "COM255"), with the same N? step as the scan.
    SessionResult Open(const std::string& comName);

    // T?, D?, I?, R?, S?, U? after the logger was found, each followed by the callback; then
    // the receive buffer is cleared. A reply too short for its fields ends the reading there
    // (ProtocolError, the buffer is left as it is); a lost device ends it as Lost.
    SessionResult ReadSettings(const SettingsCallback& afterQuery = {});
    const SettingsShown& Shown() const { return shown_; }

private:
    SessionResult Identified(SessionResult result, std::string reply);

    SerialLink& link_;
    Pause& pause_;
    LoggerSettings& settings_;
    SettingsShown shown_;
};

} // namespace velkor
