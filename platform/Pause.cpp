#include "platform/Pause.h"

#include <numeric>
#include <thread>

namespace velkor {

void SleepPause::sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void RecordingPause::sleep(int milliseconds) {
    waits.push_back(milliseconds);
    if (onSleep)
        onSleep(milliseconds);
}

long long RecordingPause::totalMilliseconds() const {
    return std::accumulate(waits.begin(), waits.end(), 0LL);
}

} // namespace velkor
