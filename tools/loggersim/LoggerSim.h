#pragma once
// The simulated logger: answers the logger protocol on a pseudo-terminal that the program finds
// as "COMn" through its ports folder.
//
// A test sets up a LoggerState (and Faults), starts the logger on a port number in a (temporary)
// ports folder, talks to it through the real serial layer, and reads back what it received and
// what its state became. All accessors may be called from any thread while it runs.
//
//     sim::LoggerSim logger(state);
//     logger.start(3, tempDir / "velkor" / "ports");   // COM3
//     ... SerialLink over PosixSerialPorts, with XDG_CONFIG_HOME = tempDir ...
//     logger.received();   // {"N?\r", "T?\r", ...}
//     logger.stop();       // also done by the destructor; removes the link

#include "tools/loggersim/LoggerState.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velkor::sim {

class PtyPair;
class PortLink;

class LoggerSim {
public:
    explicit LoggerSim(LoggerState state = {}, Faults faults = {});
    ~LoggerSim();
    LoggerSim(const LoggerSim&) = delete;
    LoggerSim& operator=(const LoggerSim&) = delete;

    // Opens a pseudo-terminal, links its device side as "COM<portNumber>" in portsFolder (empty:
    // the default ports folder of the COM name resolution) and starts answering. Throws
    // std::runtime_error when the port cannot be set up; throws std::logic_error when running.
    void start(int portNumber, const std::filesystem::path& portsFolder = {});
    // Stops answering, closes the pseudo-terminal and removes the link. Safe to call twice.
    void stop();
    // The device disappears mid-run, like an unplugged adapter: the same as stop(), and a
    // program holding the port open sees it hang up.
    void unplug() { stop(); }
    // Only the link goes; the device keeps answering a program that already has it open.
    void removeLink();
    // Another program takes (true) or leaves (false) the port: while held, opening it fails as
    // busy. Faults::holdPort holds it from the start.
    void holdPort(bool held);
    // True once the device vanished by Faults::vanishAfterBlocks.
    bool vanished() const;
    bool running() const;

    // While running (and after, until the next start): the device path (/dev/pts/N), the link
    // and its name ("COM3").
    std::filesystem::path devicePath() const;
    std::filesystem::path linkPath() const;
    std::string comName() const;

    LoggerState state() const;
    void setState(LoggerState state);
    void changeState(const std::function<void(LoggerState&)>& change);
    Faults faults() const;
    void setFaults(Faults faults);

    // Every command received, in order, with its CR.
    std::vector<std::string> received() const;
    void clearReceived();
    // Waits until at least `count` commands have been received; false on time-out.
    bool waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;
    // Number of bytes sent to the program so far.
    std::size_t bytesSent() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Output {
        Clock::time_point due;
        std::string bytes;
        // Runs (under the lock) when the output is due, before its bytes go out.
        std::function<void(LoggerState&)> action;
    };

    void serve();
    void handleInput(const char* data, std::size_t count);
    void handleCommand(const std::string& command);
    void queueReply(const std::string& command, std::string reply, Clock::time_point due,
                    std::function<void(LoggerState&)> action = {});
    void queue(Clock::time_point due, std::string bytes,
               std::function<void(LoggerState&)> action = {});
    bool sendDueOutputs(int master);
    int msUntilNextOutput() const;
    void advanceClock();
    void wake();

    mutable std::mutex mutex_;
    mutable std::condition_variable receivedChanged_;
    LoggerState state_;
    Faults faults_;
    Clock::time_point clockReference_;
    std::vector<std::string> received_;
    std::string partial_;
    std::deque<Output> outputs_;
    std::size_t sentInFront_ = 0; // bytes of outputs_.front() already written
    std::size_t bytesSent_ = 0;

    std::unique_ptr<PtyPair> pty_;
    std::unique_ptr<PortLink> link_;
    std::filesystem::path devicePath_, linkPath_;
    std::string comName_;
    int wakeRead_ = -1, wakeWrite_ = -1;
    bool stopping_ = false;
    // Block requests answered so far, for Faults::vanishAfterBlocks.
    int blocksAnswered_ = 0;
    bool vanishing_ = false;
    bool vanished_ = false;
    std::thread thread_;
};

} // namespace velkor::sim
