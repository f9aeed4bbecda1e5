#include "platform/PosixSerial.h"

#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace velkor {

namespace {

// How long one write may wait for room in the transmit queue before it gives up. At 115200
// baud a whole command leaves in well under a millisecond; only a stalled device waits this
// long.
constexpr int WriteRoomTimeoutMs = 1000;

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

OpenFailure OpenFailureOf(int error) {
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTDIR:
    case ELOOP:
        return OpenFailure::Absent;
    case EBUSY:
        return OpenFailure::Busy;
    case EACCES:
    case EPERM:
        return OpenFailure::Denied;
    default:
        return OpenFailure::Other;
    }
}

class PosixSerialPort final : public SerialPort {
public:
    explicit PosixSerialPort(int fd) : fd_(fd) {}

    ~PosixSerialPort() override {
        // The exclusive flag lives on the device, not on this descriptor: clear it so that the
        // next open (a second scan, another program) is not refused.
        ::ioctl(fd_, TIOCNXCL);
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }

    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    // Linux sizes its tty queues itself.
    bool setupQueues(std::uint32_t, std::uint32_t) override { return true; }

    bool applyLineSettings() override {
        termios tio{};
        if (::tcgetattr(fd_, &tio) != 0)
            return fail(errno);
        ::cfmakeraw(&tio);
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
        tio.c_cflag |= CS8 | CLOCAL | CREAD;
        tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
        // A read returns at once with what is waiting, possibly nothing.
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        ::cfsetispeed(&tio, B115200);
        ::cfsetospeed(&tio, B115200);
        const bool applied = ::tcsetattr(fd_, TCSANOW, &tio) == 0;
        const int error = errno;
        // DTR and RTS held inactive. Pseudo-terminals have no modem lines and refuse this.
        int lines = TIOCM_DTR | TIOCM_RTS;
        ::ioctl(fd_, TIOCMBIC, &lines);
        return applied || fail(error);
    }

    // The wait for an empty transmit queue is tcdrain; there is no event mask to set.
    bool setTransmitEmptyEventMask() override { return true; }

    void discardInput() override {
        ::tcflush(fd_, TCIFLUSH);
        // Whatever still reaches the queue after the flush (a pseudo-terminal hands bytes over
        // asynchronously) is read and dropped, so that nothing older than the next command is
        // left.
        std::uint8_t scrap[256];
        for (int round = 0; round < 64; ++round) {
            int waiting = 0;
            if (::ioctl(fd_, FIONREAD, &waiting) != 0 || waiting <= 0)
                break;
            if (::read(fd_, scrap, sizeof scrap) <= 0)
                break;
        }
    }

    std::size_t write(const std::uint8_t* data, std::size_t count) override {
        writeError_ = 0;
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::write(fd_, data + done, count - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                pollfd p{fd_, POLLOUT, 0};
                const int ready = ::poll(&p, 1, WriteRoomTimeoutMs);
                if (ready > 0 && !(p.revents & (POLLERR | POLLHUP | POLLNVAL)))
                    continue;
                writeError_ = ready == 0 ? ETIMEDOUT : EIO;
            } else {
                writeError_ = n < 0 ? errno : EIO;
            }
            fail(writeError_);
            break;
        }
        return done;
    }

    bool waitTransmitEmpty() override {
        // A write that failed (the device is gone, for example) cannot be waited for.
        if (writeError_ != 0)
            return fail(writeError_);
        if (hungUp())
            return fail(EIO);
        while (::tcdrain(fd_) != 0) {
            if (errno != EINTR)
                return fail(errno);
        }
        return true;
    }

    void flush() override {
        while (::tcdrain(fd_) != 0 && errno == EINTR) {
        }
    }

    bool queuedBytes(std::uint32_t& count) override {
        count = 0;
        if (hungUp())
            return fail(EIO);
        int waiting = 0;
        if (::ioctl(fd_, FIONREAD, &waiting) != 0)
            return fail(errno);
        count = waiting > 0 ? static_cast<std::uint32_t>(waiting) : 0;
        return true;
    }

    std::size_t read(std::uint8_t* data, std::size_t count) override {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::read(fd_, data + done, count - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                fail(errno);
            break; // nothing more waiting
        }
        return done;
    }

    std::string lastError() const override { return ErrorText(lastError_ ? lastError_ : EIO); }

    bool deviceLost() const override { return lost_; }

private:
    // True when the device has hung up: an unplugged adapter, or the far end of a
    // pseudo-terminal closed.
    bool hungUp() const {
        pollfd p{fd_, POLLIN, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
    }

    bool fail(int error) {
        lastError_ = error;
        // The errors of a device that went away (an unplugged USB adapter gives EIO or ENODEV,
        // a closed pseudo-terminal EIO). A lost device does not come back on this descriptor.
        if (error == EIO || error == ENXIO || error == ENODEV || error == EPIPE || error == EBADF)
            lost_ = true;
        return false;
    }

    int fd_;
    int lastError_ = 0;
    bool lost_ = false;
    int writeError_ = 0;
};

} // namespace

PosixSerialPorts::PosixSerialPorts(PortLocations where)
    : PosixSerialPorts(std::move(where), std::cerr) {}

PosixSerialPorts::PosixSerialPorts(PortLocations where, std::ostream& warnings)
    : where_(std::move(where)), warnings_(warnings) {}

std::unique_ptr<SerialPort> PosixSerialPorts::open(const std::string& comName) {
    const std::optional<fs::path> device = ResolveComName(comName, where_);
    if (!device) {
        lastFailure_ = OpenFailure::Absent;
        return nullptr;
    }
    return openDevice(*device);
}

std::unique_ptr<SerialPort> PosixSerialPorts::openDevice(const fs::path& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        lastFailure_ = OpenFailureOf(error);
        if (error == EACCES || error == EPERM)
            warnPermission(device, error);
        return nullptr;
    }
    // Only terminals are serial ports; a ports folder entry may point anywhere.
    if (!::isatty(fd)) {
        ::close(fd);
        lastFailure_ = OpenFailure::Other;
        return nullptr;
    }
    // The lock keeps out every other process that locks the device, root included; TIOCEXCL
    // keeps out unprivileged processes that do not lock (their open fails with EBUSY).
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        lastFailure_ = error == EWOULDBLOCK ? OpenFailure::Busy : OpenFailure::Other;
        return nullptr;
    }
    ::ioctl(fd, TIOCEXCL);
    lastFailure_ = OpenFailure::None;
    return std::make_unique<PosixSerialPort>(fd);
}

void PosixSerialPorts::warnPermission(const fs::path& device, int error) {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(device, ec);
    const fs::path& shown = ec ? device : real;
    if (!warned_.insert(shown).second)
        return;
    warnings_ << "velkor: cannot open serial port " << shown.string() << " (" << ErrorText(error)
              << "); add your user to the 'dialout' group (sudo usermod -aG dialout $USER) and "
                 "log in again\n"
              << std::flush;
}

} // namespace velkor
