#include "log/Erase.h"

#include "link/Commands.h"

#include <algorithm>
#include <string>
#include <vector>

namespace velkor {

namespace {

constexpr int PollMilliseconds = 100;
// Reading out what waits ends after this many full reads even if a device keeps sending.
constexpr int MaxDiscardReads = 64;

// The confirmation is "OK" at positions 2 and 3 of a reply ("E!OK" CR). A reply may arrive in
// pieces over several polls, so every read starts a candidate that the following reads extend
// until it holds four bytes.
class ConfirmationCollector {
public:
    // Adds the bytes of one read; true when a candidate is the confirmation.
    bool Add(const std::uint8_t* bytes, std::size_t count) {
        candidates_.emplace_back();
        bool confirmed = false;
        for (std::string& c : candidates_) {
            for (std::size_t i = 0; i < count && c.size() < 4; ++i)
                c += static_cast<char>(bytes[i]);
            confirmed = confirmed || (c.size() == 4 && c[2] == 'O' && c[3] == 'K');
        }
        std::erase_if(candidates_, [](const std::string& c) { return c.size() == 4; });
        return confirmed;
    }

private:
    std::vector<std::string> candidates_;
};

} // namespace

bool EraseMemory(SerialLink& link, Pause& pause, ProgressSink& progress,
                 const std::function<void()>& processEvents) {
    // An unread "OK" of an earlier exchange must not pass for this erase's confirmation.
    for (int i = 0; i < MaxDiscardReads; ++i) {
        if (!link.ReadReply(SerialLink::ReceiveBufferSize) ||
            link.QueuedBytes <= SerialLink::ReceiveBufferSize)
            break;
    }
    std::fill_n(link.ReceiveBuffer.begin(), 4, std::uint8_t{0});

    link.SetCommand(cmd::Erase);
    link.SendCommand();
    progress.ShowProgress(EraseProgressMaximum);

    ConfirmationCollector confirmation;
    for (int pollCount = 0; pollCount < ErasePollLimit; ++pollCount) {
        pause.sleep(PollMilliseconds);
        progress.SetProgress(pollCount);
        if (processEvents)
            processEvents();
        if (!link.ReadReply(SerialLink::ReceiveBufferSize))
            continue;
        const std::size_t n =
            std::min<std::size_t>(link.QueuedBytes, SerialLink::ReceiveBufferSize);
        if (confirmation.Add(link.ReceiveBuffer.data(), n))
            return true;
    }
    return false;
}

} // namespace velkor
