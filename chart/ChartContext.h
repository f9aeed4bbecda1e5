#pragma once
// What the chart shares with the objects it owns: whom to tell that a value changed (the
// widget then schedules one repaint), and whether the chart is being loaded, which suspends
// the range checks of the axes.

#include <functional>

namespace velkor::chart {

struct ChartContext {
    std::function<void()> changed;
    bool loading = false;

    void Changed() const {
        if (changed)
            changed();
    }
};

} // namespace velkor::chart
