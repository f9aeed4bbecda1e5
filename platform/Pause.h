#pragma once
// The 100 ms waits between a command and its reply go through a Pause, so that tests can
// record them instead of sleeping.

#include <functional>
#include <vector>

namespace velkor {

class Pause {
public:
    virtual ~Pause() = default;
    virtual void sleep(int milliseconds) = 0;
};

// Sleeps for real.
class SleepPause final : public Pause {
public:
    void sleep(int milliseconds) override;
};

// Returns at once and records every wait. An optional hook runs at each wait, so a test can
// let "time pass" for a simulated device (deliver a late reply, for example).
class RecordingPause final : public Pause {
public:
    void sleep(int milliseconds) override;

    std::vector<int> waits;
    std::function<void(int milliseconds)> onSleep;
    long long totalMilliseconds() const;
};

} // namespace velkor
