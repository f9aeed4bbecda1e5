#pragma once
// Whether the window has a display to open, asked before QApplication exists: Qt aborts the
// process when its platform cannot connect, and an X server that accepts the connection but
// never replies would hold the start for ever. The check is bounded in time.

#include <QString>

#include <chrono>

namespace velkor {

struct DisplayCheck {
    bool usable = false;
    // What was tried and did not answer, as the user set it ("DISPLAY=:99", "-display :99",
    // "WAYLAND_DISPLAY=wayland-1"); empty when no display was named at all.
    QString tried;
};

// The platforms Qt would try: -platform (`platformOption`) if given, else QT_QPA_PLATFORM, else
// X11 and Wayland; a list separated by ';' is tried in turn, ":options" ignored. Platforms that
// need no display server (offscreen, minimal, vnc...) are usable at once. X11 (xcb) connects to
// `displayOption` or DISPLAY through libxcb, as Qt does; Wayland to the socket named by
// WAYLAND_DISPLAY. All of it ends within `timeout`: an X server that has not answered by then
// counts as not answering.
DisplayCheck CheckDisplay(const QString& platformOption, const QString& displayOption,
                          std::chrono::milliseconds timeout = std::chrono::seconds(2));

} // namespace velkor
