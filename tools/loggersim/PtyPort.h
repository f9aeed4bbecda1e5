#pragma once
// The simulated logger's serial port: a pseudo-terminal pair, and a link "COMn" to its device
// side in the ports folder, where the program's COM name resolution finds it.

#include <filesystem>

namespace velkor::sim {

// A pseudo-terminal pair. The logger reads and writes the master side; the program opens the
// device side (/dev/pts/N). The device side is also kept open here, so that the master does not
// report a hang-up each time the program closes its port (the scan opens and closes ports).
class PtyPair {
public:
    // Throws std::runtime_error when no pseudo-terminal can be had.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Non-blocking master descriptor; -1 once closed.
    int master() const { return master_; }
    const std::filesystem::path& devicePath() const { return device_; }

    // Closes both sides: a program that still has the device open sees it hang up, like an
    // unplugged adapter.
    void close();
    // Locks (or unlocks) the device side as a program using the port does, so that the port
    // looks held by another program. False when the lock cannot be had.
    bool hold(bool held);

private:
    int master_ = -1;
    int keeper_ = -1;
    std::filesystem::path device_;
};

// A symbolic link portsFolder/COMn -> device, removed again on destruction. An existing entry
// of that name is replaced only when it is a link left by an earlier simulated logger (a link
// into /dev/pts); anything else is a user's pinned port and is never touched.
class PortLink {
public:
    // Creates portsFolder when missing. Throws std::runtime_error when the link cannot be made.
    PortLink(const std::filesystem::path& portsFolder, int portNumber,
             const std::filesystem::path& device);
    ~PortLink();
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    const std::filesystem::path& path() const { return link_; }
    // Removes the link if it still points to this device (another logger may have taken the
    // name over since).
    void remove();

private:
    std::filesystem::path link_;
    std::filesystem::path device_;
    bool present_ = false;
};

} // namespace velkor::sim
