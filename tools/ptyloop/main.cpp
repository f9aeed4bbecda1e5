// ptyloop: a loopback serial device on a pseudo-terminal. Every byte the program sends to the
// device side comes back to it. Prints the device path, then echoes until it is stopped; the
// Windows check maps the device as a COM port in its Wine prefix for the serial port tests.

#include "tools/loggersim/PtyPort.h"

#include <cerrno>
#include <iostream>
#include <poll.h>
#include <unistd.h>

int main() {
    try {
        velkor::sim::PtyPair pty;
        std::cout << pty.devicePath().string() << std::endl;
        char buffer[4096];
        for (;;) {
            pollfd p{pty.master(), POLLIN, 0};
            if (::poll(&p, 1, -1) < 0 && errno != EINTR)
                return 1;
            const ssize_t n = ::read(pty.master(), buffer, sizeof buffer);
            for (ssize_t done = 0; n > 0 && done < n;) {
                const ssize_t w =
                    ::write(pty.master(), buffer + done, static_cast<size_t>(n - done));
                if (w > 0)
                    done += w;
                else if (w < 0 && errno != EAGAIN && errno != EINTR)
                    return 1;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "ptyloop: " << e.what() << "\n";
        return 1;
    }
}
