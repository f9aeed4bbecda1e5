#include "link/SerialLink.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cstring>

namespace velkor {

bool SerialLink::OpenPort(int portNumber) {
    ClosePort();
    portName_ = "COM" + std::to_string(portNumber);
    port_ = ports_.open(portName_);
    if (!port_) {
        lastOpenFailure_ = ports_.lastOpenFailure();
        if (lastOpenFailure_ == OpenFailure::None)
            lastOpenFailure_ = OpenFailure::Other;
        return false;
    }
    lastOpenFailure_ = OpenFailure::None;
    // A port that refuses a setting is used with the settings it has.
    port_->setupQueues(256, 64);
    port_->applyLineSettings();
    port_->setTransmitEmptyEventMask();
    return true;
}

void SerialLink::ClosePort() {
    port_.reset();
}

void SerialLink::SetCommand(const std::string& command) {
    const std::size_t n = std::min(command.size(), SendBufferSize - 1);
    std::memcpy(SendBuffer.data(), command.data(), n);
    SendBuffer[n] = 0;
}

bool SerialLink::WriteCommand(std::size_t count) {
    port_->write(SendBuffer.data(), count);
    return port_->waitTransmitEmpty();
}

void SerialLink::SendCommand() {
    if (!port_)
        throw InOutError("No serial port is open");
    const auto* end = std::find(SendBuffer.begin(), SendBuffer.end(), std::uint8_t{0});
    const auto count = static_cast<std::size_t>(end - SendBuffer.begin());
    for (int attempt = 0; attempt < MaxSendAttempts; ++attempt) {
        port_->flush();
        port_->discardInput();
        if (WriteCommand(count))
            return;
        if (port_->deviceLost())
            RaiseLost();
    }
    throw InOutError(port_->lastError());
}

bool SerialLink::ReadReply(std::size_t maxBytes) {
    QueuedBytes = 0;
    if (!port_)
        return false;
    std::uint32_t waiting = 0;
    if (!port_->queuedBytes(waiting)) {
        if (port_->deviceLost())
            RaiseLost();
        return false;
    }
    QueuedBytes = waiting;
    if (QueuedBytes == 0)
        return false;
    const std::size_t n =
        std::min({maxBytes, static_cast<std::size_t>(QueuedBytes), ReceiveBufferSize});
    port_->read(ReceiveBuffer.data(), n);
    if (port_->deviceLost())
        RaiseLost();
    return true;
}

std::size_t SerialLink::ReadMore(std::size_t offset) {
    if (!port_ || offset >= ReceiveBufferSize)
        return 0;
    std::uint32_t waiting = 0;
    if (!port_->queuedBytes(waiting)) {
        if (port_->deviceLost())
            RaiseLost();
        return 0;
    }
    const std::size_t n = std::min(static_cast<std::size_t>(waiting), ReceiveBufferSize - offset);
    const std::size_t copied = n == 0 ? 0 : port_->read(ReceiveBuffer.data() + offset, n);
    if (port_->deviceLost())
        RaiseLost();
    return copied;
}

void SerialLink::RaiseLost() const {
    throw LostDeviceError(portName_, port_->lastError());
}

void SerialLink::ClearBuffers() {
    SendBuffer.fill(0);
    std::fill_n(ReceiveBuffer.begin(), ClearedReceiveBytes, std::uint8_t{0});
}

void SerialLink::SanitiseReply() {
    for (std::size_t i = 2; i < ReceiveBufferSize; ++i)
        if (ReceiveBuffer[i] < '0' || ReceiveBuffer[i] > '9')
            ReceiveBuffer[i] = '0';
}

std::string SerialLink::ReplyText() const {
    const auto* end = std::find(ReceiveBuffer.begin(), ReceiveBuffer.end(), std::uint8_t{0});
    return std::string(ReceiveBuffer.begin(), end);
}

} // namespace velkor
