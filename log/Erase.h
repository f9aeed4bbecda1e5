#pragma once
// Erasing the logger's memory: the command and the wait for its confirmation. The question
// before and the result box after are the window's.

#include "link/SerialLink.h"
#include "log/Sinks.h"
#include "platform/Pause.h"

#include <functional>

namespace velkor {

constexpr int ErasePollLimit = 601;
constexpr int EraseProgressMaximum = 200;

// Sends E! and polls for the logger's "OK" at reply positions 3 and 4. In this order: bytes
// waiting from earlier replies are discarded and the first four bytes of ReceiveBuffer cleared,
// so only a confirmation that arrives after the command counts; E! is sent; the progress bar is
// shown with maximum 200; then up to 601 polls of: 100 ms pause, progress position := the
// number of polls already made, processEvents (the window handles its pending events),
// ReadReply(512), the "OK" test. The confirmation is collected across polls: a reply that
// arrives in pieces ("E!O", then "K" CR) counts once its "OK" is complete. True when the
// confirmation was seen. The progress bar stays shown: the window hides it after its result box.
// Errors of the serial channel propagate.
bool EraseMemory(SerialLink& link, Pause& pause, ProgressSink& progress,
                 const std::function<void()>& processEvents);

} // namespace velkor
