#include "app/DisplayCheck.h"

#include <QStringList>
#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <future>
#include <memory>
#include <thread>
#endif

#include <optional>

namespace velkor {

namespace {

using Clock = std::chrono::steady_clock;

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)

// Runs `answers` on a thread of its own and waits for it until `deadline`. A connection that
// hangs is left behind on its thread: the program ends soon after, saying there is no display.
template <class Check> bool AnswersBy(Clock::time_point deadline, Check answers) {
    auto task = std::make_shared<std::packaged_task<bool()>>(std::move(answers));
    std::future<bool> result = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    return result.wait_until(deadline) == std::future_status::ready && result.get();
}

// libxcb, loaded when needed, as the xcb platform plugin uses it: the same display name
// parsing, the same Xauthority. Without it Qt cannot use X11 either.
struct Xcb {
    void* (*connect)(const char*, int*) = nullptr;
    int (*hasError)(void*) = nullptr;
    void (*disconnect)(void*) = nullptr;
};

std::optional<Xcb> LoadXcb() {
    void* library = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::nullopt;
    Xcb xcb;
    xcb.connect = reinterpret_cast<void* (*)(const char*, int*)>(dlsym(library, "xcb_connect"));
    xcb.hasError = reinterpret_cast<int (*)(void*)>(dlsym(library, "xcb_connection_has_error"));
    xcb.disconnect = reinterpret_cast<void (*)(void*)>(dlsym(library, "xcb_disconnect"));
    if (!xcb.connect || !xcb.hasError || !xcb.disconnect)
        return std::nullopt;
    return xcb;
}

bool XServerAnswers(const QByteArray& display, Clock::time_point deadline) {
    const std::optional<Xcb> xcb = LoadXcb();
    if (!xcb)
        return false;
    return AnswersBy(deadline, [xcb = *xcb, display] {
        int screen = 0;
        void* connection = xcb.connect(display.constData(), &screen);
        // xcb_connect never returns null; a failed connection carries its error.
        const bool answered = xcb.hasError(connection) == 0;
        xcb.disconnect(connection);
        return answered;
    });
}

// A Wayland compositor listens on a socket in XDG_RUNTIME_DIR (or at the absolute path given).
bool WaylandAnswers(const QString& name, Clock::time_point deadline) {
    const QByteArray path =
        (name.startsWith(QLatin1Char('/'))
             ? name
             : qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + name)
            .toLocal8Bit();
    sockaddr_un address{};
    if (path.startsWith('/') == false || path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return AnswersBy(deadline, [address] {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        const bool connected =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        close(fd);
        return connected;
    });
}

#endif

} // namespace

DisplayCheck CheckDisplay(const QString& platformOption, const QString& displayOption,
                          std::chrono::milliseconds timeout) {
    const QString platforms =
        !platformOption.isEmpty()
            ? platformOption
            : qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("xcb;wayland"));
    DisplayCheck check;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const Clock::time_point deadline = Clock::now() + timeout;
    for (const QString& entry : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString platform = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (platform == QLatin1String("xcb")) {
            const QString display =
                !displayOption.isEmpty() ? displayOption : qEnvironmentVariable("DISPLAY");
            if (display.isEmpty())
                continue;
            if (XServerAnswers(display.toLocal8Bit(), deadline))
                return {true, {}};
            if (check.tried.isEmpty())
                check.tried = (!displayOption.isEmpty() ? QStringLiteral("-display ")
                                                        : QStringLiteral("DISPLAY=")) +
                              display;
        } else if (platform.startsWith(QLatin1String("wayland"))) {
            const QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
            if (display.isEmpty())
                continue;
            if (WaylandAnswers(display, deadline))
                return {true, {}};
            if (check.tried.isEmpty())
                check.tried = QStringLiteral("WAYLAND_DISPLAY=") + display;
        } else {
            // offscreen, minimal, vnc, eglfs, linuxfb...: no display server to ask.
            return {true, {}};
        }
    }
    return check;
#else
    Q_UNUSED(platforms);
    Q_UNUSED(displayOption);
    Q_UNUSED(timeout);
    check.usable = true;
    return check;
#endif
}

} // namespace velkor
