#include "log/Erase.h"

#include "link/Commands.h"

#include <algorithm>

namespace velkor {

namespace {

constexpr int PollMilliseconds = 100;
// Reading out what waits ends after this many full reads even if a device keeps sending.
constexpr int MaxDiscardReads = 64;

bool Confirmed(const SerialLink& link) {
    return link.ReceiveBuffer[2] == 'O' && link.ReceiveBuffer[3] == 'K';
}

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

    for (int pollCount = 0; pollCount < ErasePollLimit; ++pollCount) {
        pause.sleep(PollMilliseconds);
        progress.SetProgress(pollCount);
        if (processEvents)
            processEvents();
        link.ReadReply(SerialLink::ReceiveBufferSize);
        if (Confirmed(link))
            return true;
    }
    return false;
}

} // namespace velkor
