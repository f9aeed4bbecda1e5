#include "cli/TerminalProgress.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

namespace velkor::cli {

namespace {

constexpr int BarWidth = 30;
// The erase polls every 100 ms: ten polls a second.
constexpr int PollsPerDot = 10;

std::string Duration(double seconds) {
    const long total = static_cast<long>(seconds + 0.5);
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60,
                      total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

} // namespace

std::string BarText(int done, int total, double elapsedSeconds, Language lang) {
    total = std::max(total, 1);
    done = std::clamp(done, 0, total);
    const int filled = done * BarWidth / total;
    std::string text = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(BarWidth - filled), '-') + "] ";
    char percent[16];
    std::snprintf(percent, sizeof percent, "%3d %%", done * 100 / total);
    text += percent;
    if (done > 0)
        text +=
            "  " + Text(lang, Msg::Remaining, {Duration(elapsedSeconds / done * (total - done))});
    return text;
}

void DownloadBar::ShowProgress(int maximum) {
    blocks_ = maximum + 1;
    start_ = Clock::now();
}

void DownloadBar::SetProgress(int position) {
    if (!terminal_)
        return;
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    const std::string text = BarText(position, blocks_, elapsed, lang_);
    // Spaces wipe the tail of a longer text drawn before.
    err_ << '\r' << text << std::string(width_ > text.size() ? width_ - text.size() : 0, ' ')
         << std::flush;
    width_ = std::max(width_, text.size());
    drawn_ = true;
}

void DownloadBar::HideProgress() {
    if (drawn_)
        err_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
    drawn_ = false;
}

EraseDots::~EraseDots() {
    HideProgress();
}

void EraseDots::ShowProgress(int) {
    if (!terminal_)
        return;
    err_ << Text(lang_, Msg::Erasing) << std::flush;
    shown_ = true;
}

void EraseDots::SetProgress(int position) {
    if (shown_ && position > 0 && position % PollsPerDot == 0)
        err_ << '.' << std::flush;
}

void EraseDots::HideProgress() {
    if (shown_)
        err_ << '\n' << std::flush;
    shown_ = false;
}

} // namespace velkor::cli
