#include "platform/MemorySerial.h"

#include <algorithm>

namespace velkor {

void MemoryLine::send(const std::string& bytes) {
    input.insert(input.end(), bytes.begin(), bytes.end());
}

void MemoryLine::send(const std::vector<std::uint8_t>& bytes) {
    input.insert(input.end(), bytes.begin(), bytes.end());
}

std::string MemoryLine::written() const {
    std::string all;
    for (const auto& w : writes)
        all += w;
    return all;
}

namespace {

class MemoryPort final : public SerialPort {
public:
    explicit MemoryPort(MemoryLine& line) : line_(line) {
        line_.isOpen = true;
        ++line_.opens;
    }
    ~MemoryPort() override {
        line_.isOpen = false;
        ++line_.closes;
    }

    bool setupQueues(std::uint32_t, std::uint32_t) override { return true; }
    bool applyLineSettings() override { return true; }
    bool setTransmitEmptyEventMask() override { return true; }
    void discardInput() override { line_.input.clear(); }

    std::size_t write(const std::uint8_t* data, std::size_t count) override {
        std::string bytes(reinterpret_cast<const char*>(data), count);
        line_.writes.push_back(bytes);
        if (line_.onWrite)
            line_.onWrite(bytes, line_);
        return count;
    }

    bool waitTransmitEmpty() override {
        if (line_.gone)
            return false;
        if (line_.failingTransmitWaits > 0) {
            --line_.failingTransmitWaits;
            return false;
        }
        return true;
    }

    void flush() override {}

    bool queuedBytes(std::uint32_t& count) override {
        if (line_.gone) {
            count = 0;
            return false;
        }
        count = static_cast<std::uint32_t>(line_.input.size());
        return true;
    }

    std::size_t read(std::uint8_t* data, std::size_t count) override {
        const std::size_t n = std::min(count, line_.input.size());
        std::copy_n(line_.input.begin(), n, data);
        line_.input.erase(line_.input.begin(), line_.input.begin() + static_cast<long>(n));
        return n;
    }

    std::string lastError() const override {
        return line_.gone ? "Input/output error" : "The wait for the transmitter failed";
    }

    bool deviceLost() const override { return line_.gone; }

private:
    MemoryLine& line_;
};

} // namespace

MemoryLine& MemorySerialPorts::add(const std::string& comName) {
    return lines_[comName];
}

MemoryLine* MemorySerialPorts::find(const std::string& comName) {
    auto it = lines_.find(comName);
    return it == lines_.end() ? nullptr : &it->second;
}

std::unique_ptr<SerialPort> MemorySerialPorts::open(const std::string& comName) {
    openAttempts.push_back(comName);
    MemoryLine* line = find(comName);
    if (!line) {
        lastOpenFailure_ = OpenFailure::Absent;
        return nullptr;
    }
    if (line->isOpen || line->busy) {
        lastOpenFailure_ = OpenFailure::Busy;
        return nullptr;
    }
    lastOpenFailure_ = OpenFailure::None;
    return std::make_unique<MemoryPort>(*line);
}

} // namespace velkor
