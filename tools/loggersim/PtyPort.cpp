#include "tools/loggersim/PtyPort.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/file.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace velkor::sim {

namespace {

[[noreturn]] void Fail(const std::string& what, int error) {
    throw std::runtime_error(what + ": " + std::generic_category().message(error));
}

bool IsPtyDevice(const fs::path& target) {
    const std::string text = target.string();
    return text.rfind("/dev/pts/", 0) == 0;
}

} // namespace

PtyPair::PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0)
        Fail("cannot open a pseudo-terminal", errno);
    char name[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        const int error = errno;
        close();
        Fail("cannot set up the pseudo-terminal", error);
    }
    device_ = name;
    keeper_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (keeper_ < 0) {
        const int error = errno;
        close();
        Fail("cannot open " + device_.string(), error);
    }
    // Raw from the start: no echo of the program's commands, no CR to LF translation of the
    // replies, before the program sets the line up itself.
    termios tio{};
    if (::tcgetattr(keeper_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B115200);
        ::cfsetospeed(&tio, B115200);
        ::tcsetattr(keeper_, TCSANOW, &tio);
    }
}

PtyPair::~PtyPair() {
    close();
}

void PtyPair::close() {
    if (master_ >= 0)
        ::close(master_);
    if (keeper_ >= 0)
        ::close(keeper_);
    master_ = keeper_ = -1;
}

bool PtyPair::hold(bool held) {
    return keeper_ >= 0 && ::flock(keeper_, (held ? LOCK_EX : LOCK_UN) | LOCK_NB) == 0;
}

PortLink::PortLink(const fs::path& portsFolder, int portNumber, const fs::path& device)
    : link_(portsFolder / ("COM" + std::to_string(portNumber))), device_(device) {
    std::error_code ec;
    if (portsFolder.empty())
        throw std::runtime_error("no ports folder: set XDG_CONFIG_HOME or HOME");
    fs::create_directories(portsFolder, ec);
    if (ec)
        throw std::runtime_error("cannot create " + portsFolder.string() + ": " + ec.message());

    const fs::file_status existing = fs::symlink_status(link_, ec);
    if (fs::exists(existing)) {
        const fs::path target = fs::is_symlink(existing) ? fs::read_symlink(link_, ec) : fs::path{};
        if (target.empty() || !IsPtyDevice(target))
            throw std::runtime_error(link_.string() + " already names another port; choose " +
                                     "another port number");
    }
    // Made under a temporary name and renamed over, so the name never points nowhere.
    const fs::path temporary = link_.string() + ".new" + std::to_string(::getpid());
    fs::remove(temporary, ec);
    fs::create_symlink(device_, temporary, ec);
    if (!ec)
        fs::rename(temporary, link_, ec);
    if (ec) {
        fs::remove(temporary, ec);
        throw std::runtime_error("cannot link " + link_.string() + " to " + device_.string() +
                                 ": " + ec.message());
    }
    present_ = true;
}

PortLink::~PortLink() {
    remove();
}

void PortLink::remove() {
    if (!present_)
        return;
    present_ = false;
    std::error_code ec;
    if (fs::read_symlink(link_, ec) == device_ && !ec)
        fs::remove(link_, ec);
}

} // namespace velkor::sim
