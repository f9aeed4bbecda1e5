#pragma once
// The operating-system side of a serial port, as the serial channel uses it. One open port is a
// SerialPort; a SerialPorts opens ports by their COM name ("COM0" to "COM255").
//
// Every call blocks until it is done. Failures that the channel tolerates are reported by the
// return values; lastError() gives the platform's message for the latest failure.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace velkor {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Recommended input and output queue sizes. May be refused.
    virtual bool setupQueues(std::uint32_t inputBytes, std::uint32_t outputBytes) = 0;
    // 115200 baud, 8 data bits, no parity, one stop bit, no flow control, DTR and RTS held
    // inactive. May be refused.
    virtual bool applyLineSettings() = 0;
    // Wait events: only "transmit queue empty". May be refused.
    virtual bool setTransmitEmptyEventMask() = 0;

    // Throws away whatever has been received but not read yet.
    virtual void discardInput() = 0;
    // Queues bytes for transmission; returns the number accepted.
    virtual std::size_t write(const std::uint8_t* data, std::size_t count) = 0;
    // Blocks until the transmit queue is empty. False when the wait fails (lastError() says why).
    virtual bool waitTransmitEmpty() = 0;
    // Blocks until bytes already queued for the port have been transmitted.
    virtual void flush() = 0;
    // Number of received bytes waiting; also clears a pending line-error condition. False when
    // the port's status cannot be queried (the device is gone, for example).
    virtual bool queuedBytes(std::uint32_t& count) = 0;
    // Copies up to count waiting bytes; returns the number copied.
    virtual std::size_t read(std::uint8_t* data, std::size_t count) = 0;

    virtual std::string lastError() const = 0;
    // True when the latest failure means the device itself is gone or broken (unplugged
    // adapter, hang-up, EIO), as opposed to a refused setting or a slow transmitter.
    virtual bool deviceLost() const { return false; }
};

// Why the latest SerialPorts::open returned null.
enum class OpenFailure {
    None,   // the latest open succeeded
    Absent, // the name resolves to nothing or the device does not exist
    Busy,   // another program holds the port
    Denied, // no permission
    Other   // not a serial port, or another error
};

class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    // Opens the port of that COM name for exclusive reading and writing. Null when it does not
    // exist, is in use or cannot be opened.
    virtual std::unique_ptr<SerialPort> open(const std::string& comName) = 0;
    // Why the latest open() returned null; None after one that succeeded.
    virtual OpenFailure lastOpenFailure() const { return OpenFailure::Absent; }
};

} // namespace velkor
