#pragma once
// Progress on a terminal's standard error: the download's bar with percentage and remaining
// time, and the erase's dot a second. Off a terminal they draw nothing.

#include "log/Sinks.h"

#include "cli/Texts.h"

#include <chrono>
#include <iosfwd>

namespace velkor::cli {

// "[##########----------]  50 %  0:12 left", redrawn in place.
class DownloadBar final : public ProgressSink {
public:
    DownloadBar(std::ostream& err, bool terminal, Language lang)
        : err_(err), terminal_(terminal), lang_(lang) {}
    // A bar left by an error is wiped before the error is reported.
    ~DownloadBar() override { HideProgress(); }
    DownloadBar(const DownloadBar&) = delete;
    DownloadBar& operator=(const DownloadBar&) = delete;
    void ShowProgress(int maximum) override;
    void SetProgress(int position) override;
    void HideProgress() override;

private:
    using Clock = std::chrono::steady_clock;
    std::ostream& err_;
    bool terminal_;
    Language lang_;
    int blocks_ = 1;
    bool drawn_ = false;
    std::size_t width_ = 0;
    Clock::time_point start_;
};

// "Erasing....": a dot for every second of waiting.
class EraseDots final : public ProgressSink {
public:
    EraseDots(std::ostream& err, bool terminal, Language lang)
        : err_(err), terminal_(terminal), lang_(lang) {}
    ~EraseDots() override;
    EraseDots(const EraseDots&) = delete;
    EraseDots& operator=(const EraseDots&) = delete;
    void ShowProgress(int maximum) override;
    void SetProgress(int position) override;
    void HideProgress() override;

private:
    std::ostream& err_;
    bool terminal_;
    Language lang_;
    bool shown_ = false;
};

// The bar's text for `done` of `total` blocks after `elapsedSeconds`: the remaining time is
// estimated from the pace so far and left out before the first block is done.
std::string BarText(int done, int total, double elapsedSeconds, Language lang);

} // namespace velkor::cli
