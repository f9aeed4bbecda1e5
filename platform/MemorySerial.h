#pragma once
// In-memory serial ports for tests: a test decides which COM names exist and how each port
// answers what is written to it.

#include "platform/SerialDevice.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace velkor {

// The far end of one in-memory port: what was written to it, and the bytes it has sent that
// wait to be read.
class MemoryLine {
public:
    // Every write, as one chunk each.
    std::vector<std::string> writes;
    // Received bytes not read yet.
    std::deque<std::uint8_t> input;
    // Called after each write with the bytes written; typically pushes a reply into input.
    std::function<void(const std::string& written, MemoryLine& line)> onWrite;
    // How many of the next waits for an empty transmit queue fail.
    int failingTransmitWaits = 0;
    // When set, the status query and the transmit wait fail and the port reports its device
    // lost (an unplugged adapter).
    bool gone = false;
    // When set, opening the port fails as if another program held it.
    bool busy = false;
    // Number of times the port was opened and closed.
    int opens = 0;
    int closes = 0;
    bool isOpen = false;

    void send(const std::string& bytes);
    void send(const std::vector<std::uint8_t>& bytes);
    // All writes joined.
    std::string written() const;
};

class MemorySerialPorts final : public SerialPorts {
public:
    // Makes a port of that name exist and returns its far end.
    MemoryLine& add(const std::string& comName);
    MemoryLine* find(const std::string& comName);

    std::unique_ptr<SerialPort> open(const std::string& comName) override;
    OpenFailure lastOpenFailure() const override { return lastOpenFailure_; }

    // Every name that open() was asked for, in order.
    std::vector<std::string> openAttempts;

private:
    std::map<std::string, MemoryLine> lines_;
    OpenFailure lastOpenFailure_ = OpenFailure::None;
};

} // namespace velkor
