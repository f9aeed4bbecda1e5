#include "tools/loggersim/LoggerSim.h"

#include "platform/DateTime.h"
#include "platform/PortNames.h"
#include "tools/loggersim/LoggerProtocol.h"
#include "tools/loggersim/PtyPort.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace velkor::sim {

namespace {

// A command line longer than this without a CR is noise; it is dropped.
constexpr std::size_t MaxCommandLength = 1024;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

LoggerSim::LoggerSim(LoggerState state, Faults faults)
    : state_(std::move(state)), faults_(std::move(faults)), clockReference_(Clock::now()) {}

LoggerSim::~LoggerSim() {
    stop();
}

void LoggerSim::start(int portNumber, const std::filesystem::path& portsFolder) {
    if (thread_.joinable())
        throw std::logic_error("the simulated logger is already running");
    auto pty = std::make_unique<PtyPair>();
    const std::filesystem::path folder = portsFolder.empty() ? DefaultPortsFolder() : portsFolder;
    auto link = std::make_unique<PortLink>(folder, portNumber, pty->devicePath());
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create a pipe");

    std::lock_guard lock(mutex_);
    pty_ = std::move(pty);
    link_ = std::move(link);
    devicePath_ = pty_->devicePath();
    linkPath_ = link_->path();
    comName_ = "COM" + std::to_string(portNumber);
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    stopping_ = false;
    partial_.clear();
    outputs_.clear();
    sentInFront_ = 0;
    blocksAnswered_ = 0;
    vanishing_ = vanished_ = false;
    if (faults_.holdPort)
        pty_->hold(true);
    advanceClock();
    thread_ = std::thread(&LoggerSim::serve, this);
}

void LoggerSim::stop() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake();
        thread_.join();
    }
    std::lock_guard lock(mutex_);
    pty_.reset();
    link_.reset();
    for (int* fd : {&wakeRead_, &wakeWrite_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void LoggerSim::removeLink() {
    std::lock_guard lock(mutex_);
    if (link_)
        link_->remove();
}

void LoggerSim::holdPort(bool held) {
    std::lock_guard lock(mutex_);
    if (pty_)
        pty_->hold(held);
}

bool LoggerSim::vanished() const {
    std::lock_guard lock(mutex_);
    return vanished_;
}

bool LoggerSim::running() const {
    std::lock_guard lock(mutex_);
    return pty_ != nullptr;
}

std::filesystem::path LoggerSim::devicePath() const {
    std::lock_guard lock(mutex_);
    return devicePath_;
}

std::filesystem::path LoggerSim::linkPath() const {
    std::lock_guard lock(mutex_);
    return linkPath_;
}

std::string LoggerSim::comName() const {
    std::lock_guard lock(mutex_);
    return comName_;
}

LoggerState LoggerSim::state() const {
    std::lock_guard lock(mutex_);
    LoggerState now = state_;
    if (now.clockRuns)
        now.clock +=
            std::chrono::duration<double>(Clock::now() - clockReference_).count() / SecondsPerDay;
    return now;
}

void LoggerSim::setState(LoggerState state) {
    std::lock_guard lock(mutex_);
    state_ = std::move(state);
    clockReference_ = Clock::now();
}

void LoggerSim::changeState(const std::function<void(LoggerState&)>& change) {
    std::lock_guard lock(mutex_);
    advanceClock();
    change(state_);
}

Faults LoggerSim::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void LoggerSim::setFaults(Faults faults) {
    std::lock_guard lock(mutex_);
    faults_ = std::move(faults);
}

std::vector<std::string> LoggerSim::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

void LoggerSim::clearReceived() {
    std::lock_guard lock(mutex_);
    received_.clear();
}

bool LoggerSim::waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return receivedChanged_.wait_for(lock, timeout, [&] { return received_.size() >= count; });
}

std::size_t LoggerSim::bytesSent() const {
    std::lock_guard lock(mutex_);
    return bytesSent_;
}

void LoggerSim::advanceClock() {
    const Clock::time_point now = Clock::now();
    if (state_.clockRuns)
        state_.clock +=
            std::chrono::duration<double>(now - clockReference_).count() / SecondsPerDay;
    clockReference_ = now;
}

void LoggerSim::wake() {
    if (wakeWrite_ >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
    }
}

void LoggerSim::serve() {
    const int master = pty_->master();
    bool waitingForRoom = false;
    char buffer[4096];
    for (;;) {
        int timeout = -1;
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            if (!waitingForRoom)
                timeout = msUntilNextOutput();
        }
        const auto masterEvents = static_cast<short>(POLLIN | (waitingForRoom ? POLLOUT : 0));
        pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {master, masterEvents, 0}};
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN) {
            while (::read(wakeRead_, buffer, sizeof buffer) > 0) {
            }
        }
        if (fds[1].revents & POLLIN) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0)
                handleInput(buffer, static_cast<std::size_t>(n));
        } else if (fds[1].revents & (POLLHUP | POLLERR)) {
            // Nobody on the device side (should not happen: PtyPair keeps it open).
            ::usleep(10000);
        }
        std::lock_guard lock(mutex_);
        waitingForRoom = !sendDueOutputs(master);
        if (vanishing_ && outputs_.empty()) {
            // Pulled out: the program's port hangs up and the name goes.
            pty_->close();
            if (link_)
                link_->remove();
            vanished_ = true;
            return;
        }
    }
}

void LoggerSim::handleInput(const char* data, std::size_t count) {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < count; ++i) {
        partial_ += data[i];
        if (data[i] == cmd::CR) {
            received_.push_back(partial_);
            receivedChanged_.notify_all();
            std::string command = partial_.substr(0, partial_.size() - 1);
            partial_.clear();
            // Line noise ahead of a command (a stray LF or zero byte) is not part of it.
            command.erase(0, command.find_first_not_of(std::string("\n\0 ", 3)));
            handleCommand(command);
        } else if (partial_.size() > MaxCommandLength) {
            partial_.clear();
        }
    }
}

void LoggerSim::handleCommand(const std::string& command) {
    if (vanishing_)
        return;
    if (StartsWith(command, "G?") && faults_.vanishAfterBlocks >= 0 &&
        blocksAnswered_++ >= faults_.vanishAfterBlocks) {
        vanishing_ = true;
        return;
    }
    advanceClock();
    const Answer answer = AnswerCommand(command, state_);
    const Clock::time_point now = Clock::now();
    switch (answer.kind) {
    case Answer::Kind::Query:
        queueReply(command, answer.reply, now);
        break;
    case Answer::Kind::Set:
        queueReply(command, faults_.setCommandReply, now);
        break;
    case Answer::Kind::Erase:
        if (!faults_.eraseNeverConfirms)
            queueReply(command, EraseConfirmation,
                       now + std::chrono::milliseconds(faults_.eraseDelayMs),
                       [](LoggerState& state) { state.records.clear(); });
        break;
    case Answer::Kind::Unknown:
        queueReply(command, {}, now);
        break;
    }
}

void LoggerSim::queueReply(const std::string& command, std::string reply, Clock::time_point due,
                           std::function<void(LoggerState&)> action) {
    // A replacement reply: the longest matching prefix wins.
    std::size_t longest = 0;
    for (const auto& [prefix, replacement] : faults_.replies) {
        if (StartsWith(command, prefix) && prefix.size() >= longest) {
            longest = prefix.size();
            reply = replacement;
        }
    }

    const bool selected =
        faults_.commands.empty() ||
        std::any_of(faults_.commands.begin(), faults_.commands.end(),
                    [&](const std::string& prefix) { return StartsWith(command, prefix); });
    const bool faulty = selected && faults_.times != 0;
    if (reply.empty() && !action && !(faulty && !faults_.extra.empty()))
        return; // nothing to send and nothing to count

    if (!faulty) {
        queue(due, std::move(reply), std::move(action));
        return;
    }
    if (faults_.times > 0)
        --faults_.times;
    if (faults_.silent) {
        if (action)
            queue(due, {}, std::move(action));
        return;
    }
    due += std::chrono::milliseconds(faults_.delayMs);
    reply += faults_.extra;
    if (faults_.dripMs > 0 && !reply.empty()) {
        for (std::size_t i = 0; i < reply.size(); ++i) {
            queue(due + std::chrono::milliseconds(faults_.dripMs * static_cast<long>(i)),
                  reply.substr(i, 1), i == 0 ? std::move(action) : nullptr);
        }
        return;
    }
    if (faults_.splitAt > 0 && faults_.splitAt < reply.size()) {
        queue(due, reply.substr(0, faults_.splitAt), std::move(action));
        queue(due + std::chrono::milliseconds(faults_.splitPauseMs), reply.substr(faults_.splitAt));
        return;
    }
    queue(due, std::move(reply), std::move(action));
}

void LoggerSim::queue(Clock::time_point due, std::string bytes,
                      std::function<void(LoggerState&)> action) {
    // The logger sends one reply after the other: a late reply holds back the ones after it.
    if (!outputs_.empty())
        due = std::max(due, outputs_.back().due);
    outputs_.push_back({due, std::move(bytes), std::move(action)});
}

int LoggerSim::msUntilNextOutput() const {
    if (outputs_.empty())
        return -1;
    const auto wait = outputs_.front().due - Clock::now();
    if (wait <= Clock::duration::zero())
        return 0;
    // Rounded up, so that the wait does not end just before the output is due.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
}

bool LoggerSim::sendDueOutputs(int master) {
    while (!outputs_.empty() && outputs_.front().due <= Clock::now()) {
        Output& output = outputs_.front();
        if (output.action) {
            advanceClock();
            output.action(state_);
            output.action = nullptr;
        }
        while (sentInFront_ < output.bytes.size()) {
            const ssize_t n = ::write(master, output.bytes.data() + sentInFront_,
                                      output.bytes.size() - sentInFront_);
            if (n > 0) {
                sentInFront_ += static_cast<std::size_t>(n);
                bytesSent_ += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                return false; // the program is not reading; go on when there is room
            } else {
                break; // the bytes cannot be sent; drop them
            }
        }
        outputs_.pop_front();
        sentInFront_ = 0;
    }
    return true;
}

} // namespace velkor::sim
