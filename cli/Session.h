#pragma once
// Reaching the logger from the command line: the port named with --port, or the first logger
// the scan finds, and its settings read exactly as the window's Connect reads them. The work is
// link/'s LoggerSession; here its outcomes become messages and exit codes.

#include "cli/Cli.h"
#include "link/LoggerSettings.h"
#include "link/SerialLink.h"
#include "link/Session.h"

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

class Session {
public:
    explicit Session(Context& context)
        : context_(context), link_(context.services.ports),
          session_(link_, context.services.pause, settings_) {}

    // Opens the port of --port (a COM name) and checks with N? that a logger answers there,
    // or scans as Connect does. Raises Failure when no logger is found.
    void Open(const std::optional<std::string>& port);
    // Connect's query sequence after the logger was found. Raises Failure when the device is
    // lost or a reply cannot be read.
    const SettingsShown& ReadSettings();

    SerialLink& Link() { return link_; }
    LoggerSettings& Settings() { return settings_; }
    const std::string& PortName() const { return found_.port; }
    bool Humidity() const { return found_.humidity; }
    // The identification reply without its line end.
    std::string Identification() const;

private:
    [[noreturn]] void Fail(const SessionResult& result) const;

    Context& context_;
    SerialLink link_;
    LoggerSettings settings_;
    LoggerSession session_;
    SessionResult found_;
};

} // namespace velkor::cli
