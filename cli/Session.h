#pragma once
// Reaching the logger: the port named with --port, or the first logger the scan finds, and
// its settings read exactly as the window's Connect reads them.

#include "cli/Cli.h"
#include "link/Connect.h"
#include "link/LoggerSettings.h"
#include "link/SerialLink.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace velkor::cli {

// A command that cannot go on: the message for stderr and the exit code.
class Failure : public std::runtime_error {
public:
    Failure(int exitCode, const std::string& message)
        : std::runtime_error(message), code_(exitCode) {}
    int Code() const { return code_; }

private:
    int code_;
};

// What Connect shows of the settings: the values of the pickers and labels, which are the
// logger's values or, where a reply did not convert, the window's fallbacks.
struct SettingsShown {
    double clockDate = 0, clockTime = 0;
    double interval = 0;
    StartShown start;
    double end = 0;
    std::uint32_t samples = 0;
    std::int32_t batteryMillivolts = 0;
};

class Session {
public:
    explicit Session(Context& context) : context_(context), link_(context.services.ports) {}

    // Opens the port of --port (a COM name) and checks with N? that a logger answers there,
    // or scans as Connect does. Raises Failure (exit 2) when no logger is found.
    void Open(const std::optional<std::string>& port);
    // Connect's query sequence after the logger was found; the receive buffer is cleared
    // afterwards as Connect does.
    SettingsShown ReadSettings();

    SerialLink& Link() { return link_; }
    LoggerSettings& Settings() { return settings_; }
    const std::string& PortName() const { return portName_; }
    // The identification reply without its line end.
    std::string Identification() const;

private:
    Context& context_;
    SerialLink link_;
    LoggerSettings settings_;
    std::string reply_;
    std::string portName_;
};

} // namespace velkor::cli
