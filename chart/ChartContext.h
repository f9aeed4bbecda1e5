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

// Stores a property value; only a real change tells the chart, so setting a property to the
// value it has does nothing.
template <class T> void UpdateProperty(const ChartContext* context, T& field, const T& value) {
    if (field == value)
        return;
    field = value;
    if (context)
        context->Changed();
}

} // namespace velkor::chart
