#pragma once
// The one serial channel to the logger: the open port, the command to send and the latest
// reply. Every exchange is: place a command in SendBuffer, SendCommand, wait 100 ms (the
// caller's), ReadReply.

#include "platform/SerialDevice.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace velkor {

class SerialLink {
public:
    static constexpr std::size_t SendBufferSize = 68;
    static constexpr std::size_t ReceiveBufferSize = 512;
    // ClearBuffers clears only this many bytes of the receive buffer.
    static constexpr std::size_t ClearedReceiveBytes = 257;
    // A command whose transmit wait fails is written at most this many times in all.
    static constexpr int MaxSendAttempts = 3;

    explicit SerialLink(SerialPorts& ports) : ports_(ports) {}

    // Opens "COM" + n (n 0..255) with the logger's line settings. False when the port does not
    // exist or cannot be opened. A port opened earlier is closed first.
    bool OpenPort(int portNumber);
    void ClosePort();
    bool IsOpen() const { return port_ != nullptr; }
    // "COM3" of the open port, "" when none is open.
    std::string PortName() const { return port_ ? portName_ : std::string(); }

    // Places a command: its bytes, then one zero byte. Longer than 67 bytes is cut.
    void SetCommand(const std::string& command);
    // Transmits the bytes of SendBuffer before its first zero byte. Bytes waiting in the input
    // queue are discarded first: they can only be unread replies to earlier commands or the late
    // tail of one, and read as the next reply they would be taken for it. Raises InOutError with
    // the platform's message when the transmit wait fails MaxSendAttempts times, or when no port
    // is open; LostDeviceError at once when the device is gone.
    void SendCommand();
    bool WriteCommand(std::size_t count);
    // Copies up to maxBytes waiting bytes to the start of ReceiveBuffer. False, with the buffer
    // untouched, when nothing is waiting. Raises LostDeviceError when the device is gone.
    bool ReadReply(std::size_t maxBytes = ReceiveBufferSize);
    // Appends the bytes waiting to ReceiveBuffer at offset, as many as fit; returns how many
    // were copied. QueuedBytes is left alone. Raises LostDeviceError when the device is gone.
    std::size_t ReadMore(std::size_t offset);
    // Why the latest OpenPort failed (OpenFailure::None after one that succeeded).
    OpenFailure LastOpenFailure() const { return lastOpenFailure_; }
    void ClearBuffers();
    // Every byte from offset 2 on that is not an ASCII digit becomes "0".
    void SanitiseReply();
    // Bytes of ReceiveBuffer up to the first zero byte (all 512 when there is none).
    std::string ReplyText() const;

    std::array<std::uint8_t, SendBufferSize> SendBuffer{};
    std::array<std::uint8_t, ReceiveBufferSize> ReceiveBuffer{};
    std::uint32_t QueuedBytes = 0;

private:
    SerialPorts& ports_;
    std::unique_ptr<SerialPort> port_;
    [[noreturn]] void RaiseLost() const;

    std::string portName_;
    OpenFailure lastOpenFailure_ = OpenFailure::None;
};

} // namespace velkor
